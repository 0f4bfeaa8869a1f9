// Runs on a private X server (zv_con_servidor_x): every window here is its own.
#include "platform/window_search.h"

#include "platform/msgbox.h"

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "tests/support/support.h"

#include <X11/Xlib.h>  // after gtest: its macros (None, Bool) clash with gtest's names

namespace {

// Windows made to vanish in the middle of a walk, at the step the test
// chooses. The search's own calls of XQueryTree and XGetWindowAttributes
// come here first (these definitions are found before libX11's); a window
// doomed at that step is destroyed on the test's own connection, and the
// server is done with it, before the call returns to the search.
struct Desapariciones {
    Display* propia = nullptr;      // the test's connection; none: nothing vanishes
    std::set<Window> alListarse;    // once a listing of their parent has named them
    std::set<Window> trasAtributos; // once their attributes have been read
    int hechas = 0;
};
Desapariciones desapariciones;

void Desaparece(std::set<Window>& condenadas, Display* d, Window w) {
    if (!desapariciones.propia || d == desapariciones.propia || !condenadas.erase(w)) return;
    XDestroyWindow(desapariciones.propia, w);
    XSync(desapariciones.propia, False);
    ++desapariciones.hechas;
}

template <typename F>
F Original(const char* nombre) {
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, nombre));
}

}  // namespace

extern "C" Status XQueryTree(Display* d, Window w, Window* raiz, Window* padre, Window** hijos, unsigned int* n) {
    static const auto original = Original<Status (*)(Display*, Window, Window*, Window*, Window**, unsigned int*)>(
        "XQueryTree");
    const Status s = original(d, w, raiz, padre, hijos, n);
    if (s && *hijos)
        for (unsigned int i = 0; i < *n; ++i) Desaparece(desapariciones.alListarse, d, (*hijos)[i]);
    return s;
}

extern "C" Status XGetWindowAttributes(Display* d, Window w, XWindowAttributes* atributos) {
    static const auto original = Original<Status (*)(Display*, Window, XWindowAttributes*)>("XGetWindowAttributes");
    const Status s = original(d, w, atributos);
    if (s) Desaparece(desapariciones.trasAtributos, d, w);
    return s;
}

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

// A mapped top-level window with the title, made on the test's connection.
Window Muestra(Display* d, const std::string& titulo) {
    Window w = XCreateSimpleWindow(d, DefaultRootWindow(d), 10, 10, 200, 100, 1, 0, 0);
    XChangeProperty(d, w, XInternAtom(d, "_NET_WM_NAME", False), XInternAtom(d, "UTF8_STRING", False), 8,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(titulo.data()),
                    static_cast<int>(titulo.size()));
    XMapWindow(d, w);
    XSync(d, False);
    return w;
}

// Some windows vanish once the listing of the root has named them (before
// the search asks for their attributes), others once their attributes have
// been read (before their titles and children); the host's window comes
// after them all in the listing (it is the newest, on top). An X error not
// caught by the search would end the process.
TEST(CorreApp, WindowsThatVanishDuringTheWalkAreNoError) {
    Display* d = XOpenDisplay(nullptr);
    ASSERT_NE(d, nullptr);
    std::vector<Window> efimeras;
    for (int i = 0; i < 6; ++i) efimeras.push_back(Muestra(d, "Efímera"));
    TestWindow host({"Zarvomat"});
    desapariciones = {d, {efimeras.begin(), efimeras.begin() + 3}, {efimeras.begin() + 3, efimeras.end()}, 0};

    EXPECT_TRUE(CorreApp("Zarvomat"));
    EXPECT_EQ(desapariciones.hechas, 6) << "every window was to vanish during the walk";

    desapariciones = {};
    EXPECT_FALSE(CorreApp("Efímera"));
    XCloseDisplay(d);
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
