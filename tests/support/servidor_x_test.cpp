// The tests' X servers: a number of their own range, held under its lock
// until the server has exited, and a server that answers as soon as it is
// handed out, however many start and stop side by side.
#include "tests/support/servidor_x.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <X11/Xlib.h>  // after gtest: its macros (None, Bool) clash with gtest's names

namespace {

namespace fs = std::filesystem;

std::string RutaCerrojo(int numero) { return zvtest::CarpetaCerrojosX() + "/" + std::to_string(numero) + ".lock"; }

// Whether another holder could take the number's lock right now.
bool CerrojoLibre(int numero) {
    int fd = open(RutaCerrojo(numero).c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return true;
    bool libre = flock(fd, LOCK_EX | LOCK_NB) == 0;
    close(fd);
    return libre;
}

bool Conecta(const std::string& display) {
    Display* d = XOpenDisplay(display.c_str());
    if (d) XCloseDisplay(d);
    return d != nullptr;
}

TEST(ServidorX, TakesANumberOfItsRangeAndHoldsItsLockUntilTheServerHasExited) {
    int numero = -1;
    {
        zvtest::ServidorX x;
        numero = x.Numero();
        EXPECT_GE(numero, zvtest::kPrimerDisplay);
        EXPECT_LE(numero, zvtest::kUltimoDisplay);
        EXPECT_EQ(x.Display(), ":" + std::to_string(numero));
        EXPECT_TRUE(Conecta(x.Display()));
        EXPECT_FALSE(CerrojoLibre(numero));
    }
    EXPECT_TRUE(CerrojoLibre(numero));
    EXPECT_FALSE(fs::exists("/tmp/.X11-unix/X" + std::to_string(numero)));
    EXPECT_FALSE(fs::exists("/tmp/.X" + std::to_string(numero) + "-lock"));
    EXPECT_FALSE(Conecta(":" + std::to_string(numero)));
}

TEST(ServidorX, TwoServersAtOnceGetTwoNumbers) {
    zvtest::ServidorX a;
    zvtest::ServidorX b;
    EXPECT_NE(a.Numero(), b.Numero());
    EXPECT_TRUE(Conecta(a.Display()));
    EXPECT_TRUE(Conecta(b.Display()));
}

// Twelve processes start and stop ten servers each, as a parallel run of
// the suite does: every server answers each client in turn from the moment
// it is handed out, while the others come and go.
TEST(ServidorX, ManyServersStartingAndStoppingSideBySideEachKeepAnswering) {
    constexpr int kProcesos = 12;
    constexpr int kVueltas = 10;
    std::vector<pid_t> hijos;
    for (int p = 0; p < kProcesos; ++p) {
        pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            int fallos = 0;
            for (int v = 0; v < kVueltas; ++v) {
                try {
                    zvtest::ServidorX x;
                    // A program ends and the next one starts at once, as the
                    // host and zvform do; then one more a moment later.
                    bool primero = Conecta(x.Display());
                    bool siguiente = Conecta(x.Display());
                    std::this_thread::sleep_for(std::chrono::milliseconds(500));
                    bool luego = Conecta(x.Display());
                    if (!(primero && siguiente && luego))
                        std::fprintf(stderr, "%s: first client %d, the next at once %d, one a moment later %d\n",
                                     x.Display().c_str(), primero, siguiente, luego);
                    fallos += !(primero && siguiente && luego);
                } catch (const std::exception& e) {
                    std::fprintf(stderr, "%s\n", e.what());
                    ++fallos;
                }
            }
            _exit(fallos);
        }
        hijos.push_back(pid);
    }
    int fallos = 0;
    for (pid_t pid : hijos) {
        int status = 0;
        waitpid(pid, &status, 0);
        fallos += WIFEXITED(status) ? WEXITSTATUS(status) : kVueltas;
    }
    EXPECT_EQ(fallos, 0) << "of " << kProcesos * kVueltas << " servers";
}

}  // namespace

namespace {

int negadas = 0;  // redirections refused to the would-be manager below
int CuentaNegadas(Display*, XErrorEvent* e) {
    if (e->error_code == BadAccess) ++negadas;
    return 0;
}

}  // namespace

// Looking for a window manager must not take the manager's place, even for a
// moment: a manager starting while the test looks would find it taken and
// give up. Here a client keeps taking and leaving the place, as a starting
// manager would, while the test keeps looking for two seconds.
TEST(ServidorX, LookingForAWindowManagerLeavesItsPlaceFree) {
    zvtest::ServidorX x;
    Display* d = XOpenDisplay(x.Display().c_str());
    ASSERT_NE(d, nullptr);
    negadas = 0;
    auto anterior = XSetErrorHandler(CuentaNegadas);
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    // It finds the place sometimes held, sometimes free: only its looking counts.
    std::thread mira([&] {
        while (std::chrono::steady_clock::now() < limite) zvtest::EsperaGestorDeVentanas(x.Display(), 1);
    });
    while (std::chrono::steady_clock::now() < limite) {
        XSelectInput(d, DefaultRootWindow(d), SubstructureRedirectMask);
        XSync(d, False);
        XSelectInput(d, DefaultRootWindow(d), NoEventMask);
        XSync(d, False);
    }
    mira.join();
    XSetErrorHandler(anterior);
    XCloseDisplay(d);
    EXPECT_EQ(negadas, 0);
}
