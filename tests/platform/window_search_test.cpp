// Runs on a private X server (zv_con_servidor_x): every window here is its own.
#include "platform/window_search.h"

#include "platform/msgbox.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/support.h"

namespace {

// A helper process that shows one window (see test_window.cpp) until it is
// destroyed.
class TestWindow {
public:
    explicit TestWindow(std::vector<std::string> args) {
        const char* helper = std::getenv("ZV_TEST_WINDOW");
        if (!helper) throw std::runtime_error("ZV_TEST_WINDOW is not set");
        int in[2], out[2];
        if (pipe(in) != 0 || pipe(out) != 0) throw std::runtime_error("pipe");
        pid_ = fork();
        if (pid_ == 0) {
            dup2(in[0], 0);
            dup2(out[1], 1);
            close(in[1]);
            close(out[0]);
            std::vector<char*> argv{const_cast<char*>(helper)};
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(helper, argv.data());
            _exit(127);
        }
        close(in[0]);
        close(out[1]);
        toChild_ = in[1];
        std::string got;
        char c;
        while (got.find('\n') == std::string::npos && read(out[0], &c, 1) == 1) got += c;
        close(out[0]);
        if (got != "ready\n") throw std::runtime_error("helper did not start: " + got);
    }
    ~TestWindow() {
        close(toChild_);  // the helper ends when its input closes
        int status = 0;
        waitpid(pid_, &status, 0);
        // A helper that ends badly (a sanitizer's report, a crash) fails the test.
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ADD_FAILURE() << "zv_test_window ended with " << status;
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1;
};

bool CorreApp(const std::string& title) { return zv::cWindows().CorreApp(title); }

TEST(CorreApp, FindsOnlyAVisibleWindowWithExactlyThatTitle) {
    ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "run under zv_con_servidor_x";
    EXPECT_FALSE(CorreApp("Zarvomat"));
    TestWindow host({"Zarvomat"});
    EXPECT_TRUE(CorreApp("Zarvomat"));
    EXPECT_FALSE(CorreApp("Zarvomat 2"));
    EXPECT_FALSE(CorreApp("zarvomat"));
    EXPECT_FALSE(CorreApp("Zarvo"));
    EXPECT_FALSE(CorreApp(""));
}

TEST(CorreApp, ATitleThatOnlyContainsItOrDiffersInCaseDoesNotCount) {
    TestWindow longer({"Zarvomat 2"});
    TestWindow lower({"zarvomat"});
    EXPECT_FALSE(CorreApp("Zarvomat"));
    EXPECT_TRUE(CorreApp("Zarvomat 2"));
}

TEST(CorreApp, AnUnmappedWindowDoesNotCount) {
    TestWindow hidden({"--unmapped", "Zarvomat"});
    EXPECT_FALSE(CorreApp("Zarvomat"));
    TestWindow insideHidden({"--hidden-parent", "Zarvomat"});
    EXPECT_FALSE(CorreApp("Zarvomat"));
}

TEST(CorreApp, AClientInsideAFrameCounts) {
    TestWindow framed({"--framed", "Zarvomat"});
    EXPECT_TRUE(CorreApp("Zarvomat"));
}

// A minimised host is still a running host: its window manager unmapped the
// client (and its frame) and set WM_STATE to IconicState. A withdrawn one,
// or a window hidden without a state, is not.
TEST(CorreApp, AMinimisedWindowCountsAndAWithdrawnOneDoesNot) {
    {
        TestWindow iconic({"--iconic", "Zarvomat"});
        EXPECT_TRUE(CorreApp("Zarvomat"));
        EXPECT_FALSE(CorreApp("Zarvomat 2"));
    }
    {
        TestWindow iconicInFrame({"--framed", "--iconic", "Zarvomat"});
        EXPECT_TRUE(CorreApp("Zarvomat"));
    }
    TestWindow withdrawn({"--withdrawn", "Zarvomat"});
    TestWindow withdrawnInFrame({"--framed", "--withdrawn", "Zarvomat"});
    EXPECT_FALSE(CorreApp("Zarvomat"));
}

TEST(CorreApp, ReadsWmNameWhenThereIsNoNetWmName) {
    TestWindow plain({"--wm-name-only", "Señal Zarvomat"});
    EXPECT_TRUE(CorreApp("Señal Zarvomat"));
    TestWindow utf8({"Año ñandú"});
    EXPECT_TRUE(CorreApp("Año ñandú"));
}

TEST(CorreApp, WindowsThatVanishDuringTheWalkAreNoError) {
    TestWindow churn({"--churn", "Efímera"});
    TestWindow host({"Zarvomat"});
    // Each walk goes over the whole tree; an X error would end the process.
    for (int i = 0; i < 100; ++i) ASSERT_FALSE(CorreApp("Ausente"));
    EXPECT_TRUE(CorreApp("Zarvomat"));
}

TEST(HasDisplay, ADisplayThatAnswersCountsUnlessInStderrMode) {
    zvtest::ScopedEnv noWayland("WAYLAND_DISPLAY", "");
    {
        zvtest::ScopedEnv mode("ZARVO_MSGBOX", "");
        EXPECT_TRUE(zv::HasDisplay());
    }
    zvtest::ScopedEnv mode("ZARVO_MSGBOX", "stderr");
    EXPECT_FALSE(zv::HasDisplay());
}

TEST(CorreApp, NoDisplayIsFalse) {
    std::string display = std::getenv("DISPLAY") ? std::getenv("DISPLAY") : "";
    unsetenv("DISPLAY");
    bool found = CorreApp("Zarvomat");
    if (!display.empty()) setenv("DISPLAY", display.c_str(), 1);
    EXPECT_FALSE(found);
    zvtest::ScopedEnv bad("DISPLAY", ":987");
    EXPECT_FALSE(CorreApp("Zarvomat"));
}

}  // namespace
