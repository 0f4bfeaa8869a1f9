#include "platform/single_instance.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>

#include "tests/support/support.h"

namespace {

using zv::SingleInstance;

class SingleInstanceTest : public ::testing::Test {
protected:
    zvtest::TempDir runtime;
    zvtest::ScopedEnv env{"XDG_RUNTIME_DIR", runtime.path().string()};

    // A child process that takes the lock of program and then waits to be
    // killed; returns its pid once it holds the lock.
    pid_t StartHolder(const std::string& program) {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        pid_t pid = fork();
        if (pid == 0) {
            close(ready[0]);
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

    static void Kill(pid_t pid) {
        kill(pid, SIGKILL);
        int status = 0;
        waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status));
    }
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

TEST(SingleInstanceFallback, WithoutARuntimeFolderTheLockGoesUnderTmp) {
    zvtest::ScopedEnv env("XDG_RUNTIME_DIR", "/no/such/folder");
    SingleInstance first("zvtest-fallback");
    ASSERT_FALSE(first.PrevInstance());
    SingleInstance second("zvtest-fallback");
    EXPECT_TRUE(second.PrevInstance());
}

}  // namespace
