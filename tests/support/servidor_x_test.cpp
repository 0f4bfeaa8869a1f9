// The tests' X servers: a number of their own range, held under its lock
// until the server has exited, and a server that answers as soon as it is
// handed out and keeps answering when its last client leaves. Each race
// these guard against is brought about here at a step the test chooses.
#include "tests/support/servidor_x.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>

#include <X11/Xatom.h>  // after gtest: its macros (None, Bool) clash with gtest's names
#include <X11/Xlib.h>

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

// Waits (bounded) until the condition holds.
template <typename F>
bool Espera(F condicion) {
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condicion()) {
        if (std::chrono::steady_clock::now() > limite) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A line of the process's status ("State", "ShdPnd" ...): its value.
std::string Estado(pid_t pid, const std::string& clave) {
    std::ifstream estado("/proc/" + std::to_string(pid) + "/status");
    std::string linea;
    while (std::getline(estado, linea))
        if (linea.starts_with(clave + ":")) return linea.substr(clave.size() + 1);
    return "";
}

bool Detenido(pid_t pid) { return Estado(pid, "State").find('T') != std::string::npos; }

// Whether a signal sent to the process waits for it (it is stopped).
bool SenalPendiente(pid_t pid, int senal) {
    const std::string pendientes = Estado(pid, "ShdPnd");
    return !pendientes.empty() && ((std::stoull(pendientes, nullptr, 16) >> (senal - 1)) & 1);
}

// The sockets the process holds open, by inode.
std::set<std::string> Sockets(pid_t pid) {
    std::set<std::string> sockets;
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", ec)) {
        std::string destino = fs::read_symlink(fd.path(), ec).string();
        if (destino.starts_with("socket:")) sockets.insert(destino);
    }
    return sockets;
}

// A server is told to end while it cannot (stopped): until it has exited,
// its number stays taken and its socket in place, so no server can start
// on that number and lose its socket to the old one's clean-up.
TEST(ServidorX, ItsNumberStaysTakenUntilItsServerHasExited) {
    auto x = std::make_unique<zvtest::ServidorX>();
    const int numero = x->Numero();
    const pid_t pid = x->Pid();
    const std::string socket = "/tmp/.X11-unix/X" + std::to_string(numero);
    ASSERT_EQ(kill(pid, SIGSTOP), 0);
    ASSERT_TRUE(Espera([&] { return Detenido(pid); }));
    std::thread detiene([&] { x.reset(); });
    const bool pedido = Espera([&] { return SenalPendiente(pid, SIGTERM); });
    const bool tomado = !CerrojoLibre(numero);
    const bool enSuSitio = fs::exists(socket);
    kill(pid, SIGCONT);
    detiene.join();
    ASSERT_TRUE(pedido) << "the server was never told to end";
    EXPECT_TRUE(tomado) << "the number was freed while its server still ran";
    EXPECT_TRUE(enSuSitio);
    EXPECT_TRUE(CerrojoLibre(numero));
    EXPECT_FALSE(fs::exists(socket));
}

// A program ends and the next one starts at once, as the host and zvform
// do: the server the first leaves without clients goes on as it was (a
// server that reset itself would refuse the next meanwhile, then answer
// with nothing of what the first left). The next connects only once the
// server has closed the first one's connection.
TEST(ServidorX, WhenItsLastClientLeavesItDoesNotResetItself) {
    zvtest::ServidorX x;
    const std::set<std::string> antes = Sockets(x.Pid());
    Display* primero = XOpenDisplay(x.Display().c_str());
    ASSERT_NE(primero, nullptr);
    std::set<std::string> suyo;
    for (const auto& s : Sockets(x.Pid()))
        if (!antes.count(s)) suyo.insert(s);
    ASSERT_EQ(suyo.size(), 1u) << "the server's end of the first client's connection";
    const Atom marca = XInternAtom(primero, "ZV_PRUEBA_SIN_REINICIO", False);
    const unsigned char dato = 1;
    XChangeProperty(primero, DefaultRootWindow(primero), marca, XA_INTEGER, 8, PropModeReplace, &dato, 1);
    XSync(primero, False);
    XCloseDisplay(primero);
    ASSERT_TRUE(Espera([&] { return !Sockets(x.Pid()).count(*suyo.begin()); }));

    Display* siguiente = XOpenDisplay(x.Display().c_str());
    ASSERT_NE(siguiente, nullptr) << "the next client was refused";
    Atom tipo = 0;
    int formato = 0;
    unsigned long n = 0, resto = 0;
    unsigned char* datos = nullptr;
    const Atom suMarca = XInternAtom(siguiente, "ZV_PRUEBA_SIN_REINICIO", True);
    if (suMarca != 0)
        XGetWindowProperty(siguiente, DefaultRootWindow(siguiente), suMarca, 0, 1, False, XA_INTEGER, &tipo,
                           &formato, &n, &resto, &datos);
    EXPECT_EQ(n, 1u) << "the root's property is gone: the server reset itself";
    if (datos) XFree(datos);
    XCloseDisplay(siguiente);
}

}  // namespace

namespace {

// A would-be window manager asks for the manager's place at the last moment
// of each look: just before the looking connection closes, once the server
// has done all it asked. The looks go through here first (this XCloseDisplay
// is found before libX11's).
struct Aspirante {
    Display* d = nullptr;  // its connection; none: the looks pass untouched
    int intentos = 0;
    int negados = 0;
    bool tiene = false;  // it holds the place
};
Aspirante aspirante;

int Ignora(Display*, XErrorEvent*) { return 0; }

void PideElSitio() {
    ++aspirante.intentos;
    const Window raiz = DefaultRootWindow(aspirante.d);
    auto anterior = XSetErrorHandler(Ignora);
    XSelectInput(aspirante.d, raiz, SubstructureRedirectMask);
    XSync(aspirante.d, False);
    XSetErrorHandler(anterior);
    XWindowAttributes atributos{};
    XGetWindowAttributes(aspirante.d, raiz, &atributos);
    aspirante.tiene = (atributos.your_event_mask & SubstructureRedirectMask) != 0;
    aspirante.negados += !aspirante.tiene;
}

}  // namespace

extern "C" int XCloseDisplay(Display* d) {
    static const auto original = reinterpret_cast<int (*)(Display*)>(dlsym(RTLD_NEXT, "XCloseDisplay"));
    if (aspirante.d && d != aspirante.d && !aspirante.tiene) {
        XSync(d, False);
        PideElSitio();
    }
    return original(d);
}

// Looking for a window manager must not take the manager's place, even for a
// moment: a manager starting while the test looks would find it taken and
// give up. Here the would-be manager gets the place at the first look, and
// the next look finds it.
TEST(ServidorX, LookingForAWindowManagerLeavesItsPlaceFree) {
    zvtest::ServidorX x;
    aspirante = {XOpenDisplay(x.Display().c_str())};
    ASSERT_NE(aspirante.d, nullptr);
    const bool hallado = zvtest::EsperaGestorDeVentanas(x.Display(), 2);
    const Aspirante visto = aspirante;
    aspirante = {};
    XCloseDisplay(visto.d);
    ASSERT_GT(visto.intentos, 0) << "no look was made";
    EXPECT_EQ(visto.negados, 0) << "of " << visto.intentos << " asks for the place";
    EXPECT_TRUE(visto.tiene);
    EXPECT_TRUE(hallado);
}
