#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>

#include "tests/support/support.h"

namespace {

using zv::SingleInstance;

// A child process that takes the lock of program and then waits to be
// killed; returns its pid once it holds the lock. `entorno` runs in the
// child first, to start it in an environment of its own.
pid_t StartHolder(const std::string& program, const std::function<void()>& entorno = {}) {
    int ready[2];
    EXPECT_EQ(pipe(ready), 0);
    pid_t pid = fork();
    if (pid == 0) {
        close(ready[0]);
        if (entorno) entorno();
        SingleInstance mine(program);
        char c = mine.PrevInstance() ? 'n' : 'y';
        if (write(ready[1], &c, 1) != 1) _exit(2);
        for (;;) pause();
    }
    close(ready[1]);
    char c = 0;
    EXPECT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);
    EXPECT_EQ(c, 'y');
    return pid;
}

void Kill(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status));
}

class SingleInstanceTest : public ::testing::Test {
protected:
    zvtest::TempDir locks;
    zvtest::ScopedEnv env{"ZARVO_LOCKDIR", locks.path().string()};
};

TEST_F(SingleInstanceTest, SecondInstanceIsRefusedAndAKilledFirstDoesNotBlock) {
    pid_t first = StartHolder("zvform");
    {
        SingleInstance second("zvform");
        EXPECT_TRUE(second.PrevInstance());
        SingleInstance otherProgram("zvcheck");
        EXPECT_FALSE(otherProgram.PrevInstance());
    }
    Kill(first);
    SingleInstance next("zvform");
    EXPECT_FALSE(next.PrevInstance());
}

TEST_F(SingleInstanceTest, TheLockLastsAsLongAsTheObject) {
    {
        SingleInstance first("zvform");
        ASSERT_FALSE(first.PrevInstance());
        SingleInstance second("zvform");
        EXPECT_TRUE(second.PrevInstance());
    }
    SingleInstance again("zvform");
    EXPECT_FALSE(again.PrevInstance());
}

TEST_F(SingleInstanceTest, AProgramStartedFromAnInstanceDoesNotInheritTheLock) {
    std::optional<SingleInstance> first;
    first.emplace("zvform");
    ASSERT_FALSE(first->PrevInstance());
    int execed[2];
    ASSERT_EQ(pipe2(execed, O_CLOEXEC), 0);
    pid_t child = fork();
    if (child == 0) {
        execl("/bin/sleep", "sleep", "30", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(execed[1]);
    char c;
    EXPECT_EQ(read(execed[0], &c, 1), 0);  // end of file once the child has run exec
    close(execed[0]);
    first.reset();  // the starting program ends while the started one lives
    SingleInstance next("zvform");
    EXPECT_FALSE(next.PrevInstance());
    Kill(child);
}

// Unsets a variable for the test's lifetime and restores it.
struct SinVariable {
    explicit SinVariable(const char* nombre) : guarda(nombre, "") { unsetenv(nombre); }
    zvtest::ScopedEnv guarda;
};

// Starts of one user meet in one lock folder whether the program was given
// a runtime folder (as a host or a desktop session gives it) or not (as a
// plain shell may start it).
TEST(SingleInstanceFolder, StartsOfOneUserMeetWhateverTheirRuntimeFolder) {
    SinVariable sinCarpeta("ZARVO_LOCKDIR");
    zvtest::TempDir runtime;
    const auto folder = zv::InstanceLockFolder();
    EXPECT_EQ(folder, std::filesystem::path("/tmp/zarvo-" + std::to_string(geteuid())));
    {
        zvtest::ScopedEnv conRuntime("XDG_RUNTIME_DIR", runtime.path().string());
        EXPECT_EQ(zv::InstanceLockFolder(), folder);
    }

    // A program name no real program has, in the user's real folder.
    const std::string program = "zvtest-entorno-" + std::to_string(getpid());
    pid_t holder = StartHolder(program, [&] { setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1); });
    {
        SinVariable sinRuntime("XDG_RUNTIME_DIR");
        SingleInstance second(program);
        EXPECT_TRUE(second.PrevInstance());
    }
    Kill(holder);
    std::error_code ec;
    std::filesystem::remove(folder / (program + ".lock"), ec);

    struct stat st {};
    ASSERT_EQ(lstat(folder.c_str(), &st), 0);
    EXPECT_TRUE(S_ISDIR(st.st_mode));
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(st.st_mode & 0777, 0700u);
}

// The lock folder as it may be found in a place others can write into.
TEST(SingleInstanceFolder, OnlyAPrivateFolderOfTheUserHoldsTheLock) {
    zvtest::TempDir base;
    const auto folder = base.path() / "zarvo";
    const auto Lock = [&] { return folder / "zvform.lock"; };
    struct stat st {};

    // Missing: made, for the user alone.
    {
        SingleInstance first("zvform", folder);
        EXPECT_FALSE(first.PrevInstance());
        SingleInstance second("zvform", folder);
        EXPECT_TRUE(second.PrevInstance());
        ASSERT_EQ(lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
        EXPECT_TRUE(std::filesystem::exists(Lock()));
    }
    // The user's own, left open to others: closed again, and used.
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    {
        SingleInstance first("zvform", folder);
        EXPECT_FALSE(first.PrevInstance());
        SingleInstance second("zvform", folder);
        EXPECT_TRUE(second.PrevInstance());
        ASSERT_EQ(lstat(folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u);
    }
    // A link planted under the folder's name: not followed, nothing is made
    // where it points, and the program runs.
    std::filesystem::remove_all(folder);
    const auto target = base.path() / "elsewhere";
    std::filesystem::create_directory(target);
    std::filesystem::create_directory_symlink(target, folder);
    {
        SingleInstance first("zvform", folder);
        EXPECT_FALSE(first.PrevInstance());
    }
    EXPECT_TRUE(std::filesystem::is_empty(target));
    // A link planted under the lock file's name: not followed either.
    std::filesystem::remove(folder);
    std::filesystem::create_directory(folder);
    ASSERT_EQ(chmod(folder.c_str(), 0700), 0);
    const auto victim = base.path() / "victim";
    std::filesystem::create_symlink(victim, Lock());
    {
        SingleInstance first("zvform", folder);
        EXPECT_FALSE(first.PrevInstance());
    }
    EXPECT_FALSE(std::filesystem::exists(victim));
}

}  // namespace
