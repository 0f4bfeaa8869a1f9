// Files replaced whole: by the test's own user, and by another user over a
// file the first one left (the tests of another user need root to become
// "nobody"; without root they are skipped); what reaches the disk, in what
// order, and what a failing call leaves behind.
#include "platform/replace_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <fstream>

#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;

class ReplaceFileTest : public ::testing::Test {
protected:
    zvtest::TempDir dir;
    fs::path desde = dir.path() / "nuevo.PRN";
    fs::path hacia = dir.path() / "copia.PRN";

    ReplaceFileTest() {
        Put(desde, "nuevo\r\ncontenido\r\n");
        Put(hacia, "copia anterior\r\n");
    }
    static void Put(const fs::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }
    std::vector<std::string> Nombres() const {
        std::vector<std::string> n;
        for (const auto& e : fs::directory_iterator(dir.path())) n.push_back(e.path().filename());
        std::sort(n.begin(), n.end());
        return n;
    }
    // The copy made by another user, as its exit code: 0 copied, 1 refused.
    // Every file is open to it; the folder too, unless carpetaAbierta is false.
    std::optional<int> CopiaComoOtro(bool carpetaAbierta = true) {
        zvtest::AbreATodos(dir.path());
        if (!carpetaAbierta)
            fs::permissions(dir.path(), fs::perms::others_write | fs::perms::group_write, fs::perm_options::remove);
        return zvtest::ComoOtroUsuario([&] {
            std::error_code ec;
            return zv::files::CopyReplacing(desde, hacia, ec) ? 0 : 1;
        });
    }
};

TEST_F(ReplaceFileTest, ACopyReplacesTheFileWholeAndLeavesNothingBeside) {
    std::error_code ec;
    ASSERT_TRUE(zv::files::CopyReplacing(desde, hacia, ec)) << ec.message();
    EXPECT_EQ(zvtest::Bytes(hacia), "nuevo\r\ncontenido\r\n");
    EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));
    ASSERT_TRUE(zv::files::CopyReplacing(desde, dir.path() / "otra.PRN", ec));  // none there before
    EXPECT_EQ(zvtest::Bytes(dir.path() / "otra.PRN"), "nuevo\r\ncontenido\r\n");
}

TEST_F(ReplaceFileTest, AMissingSourceOrFolderLeavesEverythingAsItWas) {
    std::error_code ec;
    EXPECT_FALSE(zv::files::CopyReplacing(dir.path() / "no-hay", hacia, ec));
    EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
    EXPECT_EQ(zvtest::Bytes(hacia), "copia anterior\r\n");
    EXPECT_FALSE(zv::files::CopyReplacing(desde, dir.path() / "no" / "copia.PRN", ec));
    EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));
}

TEST_F(ReplaceFileTest, AnotherUsersFileIsReplacedAndItsPermissionsAreNotCopied) {
    fs::permissions(desde, fs::perms::owner_exec | fs::perms::others_exec, fs::perm_options::add);
    auto copiado = CopiaComoOtro();
    if (!copiado) GTEST_SKIP() << "needs root to become another user";
    ASSERT_EQ(*copiado, 0);
    EXPECT_EQ(zvtest::Bytes(hacia), "nuevo\r\ncontenido\r\n");
    struct stat st {};
    ASSERT_EQ(stat(hacia.c_str(), &st), 0);
    EXPECT_NE(st.st_uid, 0u);               // the copier's new file
    EXPECT_EQ(st.st_mode & S_IXUSR, 0u);    // not the source's modes
    EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));
}

TEST_F(ReplaceFileTest, ACopyThatFailsLeavesTheEarlierFileWhole) {
    // The other user may write the file but not its folder: nothing can be
    // put beside it, and the earlier copy stays.
    auto r = CopiaComoOtro(false);
    if (!r) GTEST_SKIP() << "needs root to become another user";
    EXPECT_EQ(*r, 1);
    EXPECT_EQ(zvtest::Bytes(hacia), "copia anterior\r\n");
    EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));
}

// The real calls, each written down as it is made ("sync" names the file or
// folder its descriptor was opened on); one of them may be made to fail.
class Recorded : public zv::files::SystemCalls {
public:
    std::vector<std::string> calls;
    std::string failing;    // the call that fails, as it is written down
    int failure = EIO;      // its errno
    bool writeTakesNothing = false;

    int Open(const char* path, int flags, mode_t mode) override {
        const std::string kind = (flags & O_DIRECTORY) ? "folder" : "file";
        if (!Note("open " + kind)) return -1;
        int fd = SystemCalls::Open(path, flags, mode);
        if (fd >= 0) opened_[fd] = kind;
        return fd;
    }
    ssize_t Write(int fd, const void* data, std::size_t size) override {
        if (!Note("write")) return -1;
        if (!writeTakesNothing) return SystemCalls::Write(fd, data, size);
        errno = EINTR;  // stale: such a write sets none
        return 0;
    }
    int Sync(int fd) override { return Note("sync " + opened_[fd]) ? SystemCalls::Sync(fd) : -1; }
    int Close(int fd) override {  // closed even when it fails, as the system does
        const bool ok = Note("close " + opened_[fd]);
        return SystemCalls::Close(fd) == 0 && ok ? 0 : -1;
    }
    int Rename(const char* from, const char* to) override {
        return Note("rename") ? SystemCalls::Rename(from, to) : -1;
    }
    int Unlink(const char* path) override {
        Note("unlink");
        return SystemCalls::Unlink(path);
    }

private:
    std::map<int, std::string> opened_;
    bool Note(const std::string& call) {
        calls.push_back(call);
        if (call != failing) return true;
        errno = failure;
        return false;
    }
};

TEST_F(ReplaceFileTest, TheNewFileReachesTheDiskBeforeItsRenameAndTheFolderAfter) {
    Recorded os;
    std::error_code ec;
    ASSERT_TRUE(zv::files::WriteReplacing(hacia, "nuevo\r\n", ec, os)) << ec.message();
    EXPECT_EQ(os.calls, (std::vector<std::string>{"open file", "write", "sync file", "close file", "rename",
                                                  "open folder", "sync folder", "close folder"}));
    EXPECT_EQ(zvtest::Bytes(hacia), "nuevo\r\n");
}

TEST_F(ReplaceFileTest, EveryFailingCallIsReportedAndBeforeTheRenameLeavesTheEarlierFileWhole) {
    struct Caso {
        std::string failing;
        bool replaced;  // the new contents are in place all the same
    };
    const Caso casos[] = {
        {"open file", false},  {"write", false},        {"sync file", false},   {"close file", false},
        {"rename", false},     {"open folder", true},   {"sync folder", true},  {"close folder", true},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.failing);
        Put(hacia, "copia anterior\r\n");
        Recorded os;
        os.failing = c.failing;
        std::error_code ec;
        EXPECT_FALSE(zv::files::WriteReplacing(hacia, "nuevo\r\n", ec, os));
        EXPECT_EQ(ec, std::errc::io_error);
        EXPECT_EQ(zvtest::Bytes(hacia), c.replaced ? "nuevo\r\n" : "copia anterior\r\n");
        EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));  // no leftover beside
    }
}

TEST_F(ReplaceFileTest, AWriteThatTakesNothingIsADiskFull) {
    Recorded os;
    os.writeTakesNothing = true;
    std::error_code ec;
    EXPECT_FALSE(zv::files::WriteReplacing(hacia, "nuevo\r\n", ec, os));
    EXPECT_EQ(ec, std::errc::no_space_on_device);
    EXPECT_EQ(zvtest::Bytes(hacia), "copia anterior\r\n");
    EXPECT_EQ(Nombres(), (std::vector<std::string>{"copia.PRN", "nuevo.PRN"}));
}

TEST_F(ReplaceFileTest, AFolderThatKeepsNothingToFlushIsNoFailure) {
    Recorded os;
    os.failing = "sync folder";
    os.failure = EINVAL;
    std::error_code ec;
    EXPECT_TRUE(zv::files::WriteReplacing(hacia, "nuevo\r\n", ec, os)) << ec.message();
    EXPECT_EQ(zvtest::Bytes(hacia), "nuevo\r\n");
}

}  // namespace
