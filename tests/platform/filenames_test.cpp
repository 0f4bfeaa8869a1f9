#include "platform/filenames.h"

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/support.h"

namespace {

using namespace zv::files;
namespace fs = std::filesystem;

class FileNamesTest : public ::testing::Test {
protected:
    zvtest::TempDir dir;
    fs::path root() const { return dir.path(); }
    void Touch(const fs::path& rel) {
        fs::create_directories((root() / rel).parent_path());
        std::ofstream(root() / rel) << "x";
    }
};

TEST_F(FileNamesTest, FindsEachComponentWithoutRegardToCase) {
    Touch("Zarvo/RPT/x.err");
    Touch("Zarvo/RPT/Datos.txt");
    const std::pair<std::string, std::string> cases[] = {
        {"Zarvo/RPT/x.err", "Zarvo/RPT/x.err"},
        {"zarvo/rpt/X.Err", "Zarvo/RPT/x.err"},
        {"ZARVO/Rpt/DATOS.TXT", "Zarvo/RPT/Datos.txt"},
        {"zarvo/rpt", "Zarvo/RPT"},
        {"zarvo/rpt/", "Zarvo/RPT"},
    };
    for (const auto& [asked, onDisk] : cases) {
        auto found = FindIgnoringCase(root() / asked);
        ASSERT_TRUE(found) << asked;
        EXPECT_EQ(found->lexically_normal(), (root() / onDisk).lexically_normal()) << asked;
        EXPECT_TRUE(Exists(root() / asked));
    }
    EXPECT_FALSE(FindIgnoringCase(root() / "zarvo/rpt/y.err"));
    EXPECT_FALSE(FindIgnoringCase(root() / "nada/x.err"));
    EXPECT_FALSE(Exists(root() / "x.er"));
}

TEST_F(FileNamesTest, TheExactNameWinsOverAnotherCase) {
    Touch("a/Mens.txt");
    Touch("a/MENS.TXT");
    EXPECT_EQ(*FindIgnoringCase(root() / "a/MENS.TXT"), root() / "a/MENS.TXT");
    EXPECT_EQ(*FindIgnoringCase(root() / "a/Mens.txt"), root() / "a/Mens.txt");
    EXPECT_EQ(*FindIgnoringCase(root() / "a/mens.txt"), root() / "a/MENS.TXT");  // first in name order
}

TEST_F(FileNamesTest, ResolveKeepsExistingFoldersAndTheAskedName) {
    Touch("Zarvo/tmp/viejo.txt");
    EXPECT_EQ(Resolve(root() / "ZARVO/TMP/VIEJO.TXT"), root() / "Zarvo/tmp/viejo.txt");
    EXPECT_EQ(Resolve(root() / "ZARVO/TMP/Nuevo.ERR"), root() / "Zarvo/tmp/Nuevo.ERR");
    EXPECT_EQ(Resolve(root() / "ZARVO/Nada/Nuevo.ERR"), root() / "Zarvo/Nada/Nuevo.ERR");
}

TEST_F(FileNamesTest, RelativeNamesAreLookedUpFromTheCurrentFolder) {
    Touch("Sub/Archivo.TXT");
    auto old = fs::current_path();
    fs::current_path(root());
    auto found = FindIgnoringCase("sub/archivo.txt");
    fs::current_path(old);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, fs::path("Sub/Archivo.TXT"));
}

TEST_F(FileNamesTest, ListsFilesByExtensionWithoutRegardToCase) {
    Touch("in/b.txt");
    Touch("in/a.TXT");
    Touch("in/c.txt.bak");
    Touch("in/d.Txt");
    fs::create_directories(root() / "in/carpeta.txt");
    std::vector<fs::path> expected{root() / "in/a.TXT", root() / "in/b.txt", root() / "in/d.Txt"};
    EXPECT_EQ(ListWithExtension(root() / "IN", ".TXT"), expected);
    EXPECT_TRUE(ListWithExtension(root() / "nada", ".txt").empty());
}

// The test programs are built into ZV_TESTS_DIR.
TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
    EXPECT_TRUE(fs::equivalent(ProgramFolder(), ZV_TESTS_DIR)) << ProgramFolder();
}

// Where /proc is not mounted the folder comes from how the program was
// started, which no later move of the current folder changes.
TEST(ProgramFolder, IsFoundFromHowTheProgramWasStarted) {
    zvtest::TempDir elsewhere;
    const fs::path before = fs::current_path();
    fs::current_path(elsewhere.path());
    const fs::path started = ProgramAsStarted();
    fs::current_path(before);
    ASSERT_FALSE(started.empty());
    EXPECT_TRUE(fs::equivalent(started.parent_path(), ZV_TESTS_DIR)) << started;
    EXPECT_EQ(started.filename(), "platform_test");
}

TEST_F(FileNamesTest, FindsAProgramAsAShellDoes) {
    Touch("bin/zvform");
    Touch("otro/zvform");
    Touch("otro/zvcheck");
    Touch("sinpermiso/zvreport");
    Touch("zvsetup");
    for (const char* p : {"bin/zvform", "otro/zvform", "otro/zvcheck", "zvsetup"})
        fs::permissions(root() / p, fs::perms::owner_exec, fs::perm_options::add);
    fs::create_directories(root() / "carpeta/zvreport");
    fs::create_symlink(root() / "bin/zvform", root() / "enlace");
    const std::string abs = root().string();
    const struct {
        const char* name;
        std::string path;
        std::string found;  // relative to root(); empty when none
    } cases[] = {
        {"zvform", abs + "/bin:" + abs + "/otro", "bin/zvform"},    // the first folder that has it
        {"zvcheck", abs + "/bin:" + abs + "/otro", "otro/zvcheck"},
        {"zvform", "otro:bin", "otro/zvform"},                      // relative folders are to the working one
        {"zvreport", "carpeta:sinpermiso", ""},                     // a folder and a file that cannot run
        {"zvsetup", abs + "/bin", ""},                              // the working folder is not looked in...
        {"zvsetup", abs + "/bin:", "zvsetup"},                      // ...unless PATH has an empty entry
        {"./zvsetup", "", "zvsetup"},                               // a name with a slash is a path
        {"bin/zvform", abs + "/otro", "bin/zvform"},
        {"enlace", ".", "bin/zvform"},                              // the real file
        {"", abs + "/bin", ""},
    };
    for (const auto& c : cases) {
        const fs::path found = FindProgram(c.name, root(), c.path);
        const fs::path expected = c.found.empty() ? fs::path() : fs::canonical(root() / c.found);
        EXPECT_EQ(found, expected) << c.name << " in " << c.path;
    }
}

}  // namespace
