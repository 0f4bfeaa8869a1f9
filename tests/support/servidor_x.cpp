#include "tests/support/servidor_x.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <thread>

#include "tests/support/support.h"

extern char** environ;

namespace zvtest {

namespace fs = std::filesystem;

namespace {

void Redirige(int fd, const char* ruta, int flags) {
    int nuevo = open(ruta, flags);
    if (nuevo >= 0) {
        dup2(nuevo, fd);
        close(nuevo);
    }
}

std::optional<int> CodigoDe(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return std::nullopt;
}

// True once the child has ended and been reaped (now or before): its number
// may already belong to another process, so it is never signalled again.
bool Acabado(pid_t pid) {
    pid_t r = waitpid(pid, nullptr, WNOHANG);
    return r == pid || (r < 0 && errno == ECHILD);
}

// Asks the child to end, waits for it, and kills it when it will not.
void Termina(pid_t pid) {
    if (Acabado(pid)) return;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (Acabado(pid)) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

std::string Titulo(Display* d, Window w) {
    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom tipo;
    int formato;
    unsigned long n, resto;
    unsigned char* datos = nullptr;
    std::string titulo;
    if (XGetWindowProperty(d, w, netName, 0, 1024, False, utf8, &tipo, &formato, &n, &resto, &datos) ==
            Success &&
        datos) {
        titulo.assign(reinterpret_cast<char*>(datos), n);
        XFree(datos);
        return titulo;
    }
    char* nombre = nullptr;
    if (XFetchName(d, w, &nombre) && nombre) {
        titulo = nombre;
        XFree(nombre);
    }
    return titulo;
}

int IgnoraErrores(Display*, XErrorEvent*) { return 0; }  // windows may vanish during the walk

void Recorre(Display* d, Window w, const std::function<void(Window)>& visita) {
    Window raiz, padre, *hijos = nullptr;
    unsigned int n = 0;
    if (!XQueryTree(d, w, &raiz, &padre, &hijos, &n)) return;
    for (unsigned int i = 0; i < n; ++i) {
        visita(hijos[i]);
        Recorre(d, hijos[i], visita);
    }
    if (hijos) XFree(hijos);
}

template <typename F>
auto ConDisplay(const std::string& display, F f) -> decltype(f(static_cast<Display*>(nullptr))) {
    Display* d = XOpenDisplay(display.c_str());
    if (!d) return {};
    auto anterior = XSetErrorHandler(IgnoraErrores);
    auto resultado = f(d);
    XSync(d, False);
    XSetErrorHandler(anterior);
    XCloseDisplay(d);
    return resultado;
}

}  // namespace

std::string CarpetaCerrojosX() { return (fs::temp_directory_path() / "zvtest-x").string(); }

namespace {

// The folder is shared by every user's tests: anyone may add a lock file.
int AbreCerrojo(int numero) {
    std::string carpeta = CarpetaCerrojosX();
    if (mkdir(carpeta.c_str(), 01777) == 0) chmod(carpeta.c_str(), 01777);
    std::string ruta = carpeta + "/" + std::to_string(numero) + ".lock";
    mode_t antes = umask(0);
    int fd = open(ruta.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    umask(antes);
    if (fd < 0) return -1;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// A server outside this scheme (a person's Xvfb, xvfb-run) may hold the
// number: its lock file names a live process. A stale one the server clears.
bool NumeroEnUsoFuera(int numero) {
    std::ifstream in("/tmp/.X" + std::to_string(numero) + "-lock");
    long pid = 0;
    if (!(in >> pid) || pid <= 0) return false;
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

// Waits until a client connects (the server said it is ready, yet a
// connection is the proof), while the server still runs.
bool EsperaConexion(pid_t pid, const std::string& display, int segundos) {
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (std::chrono::steady_clock::now() < limite) {
        if (Acabado(pid)) return false;
        if (Display* d = XOpenDisplay(display.c_str())) {
            XCloseDisplay(d);
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

// Reads the number the server writes once it listens; "" when it ended first.
std::string LeeListo(int fd, int segundos) {
    std::string numero;
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    char c;
    while (std::chrono::steady_clock::now() < limite) {
        pollfd pfd{fd, POLLIN, 0};
        if (poll(&pfd, 1, 200) <= 0) continue;
        if (read(fd, &c, 1) != 1 || c == '\n') break;
        numero += c;
    }
    return numero;
}

}  // namespace

ServidorX::ServidorX(const std::string& pantalla) {
    const int rango = kUltimoDisplay - kPrimerDisplay + 1;
    const int desde = static_cast<int>(getpid()) % rango;  // side-by-side tests start apart
    for (int i = 0; i < rango; ++i) {
        int numero = kPrimerDisplay + (desde + i) % rango;
        cerrojo_ = AbreCerrojo(numero);
        if (cerrojo_ < 0) continue;
        if (!NumeroEnUsoFuera(numero) && Arranca(numero, pantalla)) return;
        Detiene();
    }
    throw std::runtime_error("no X server could start on displays :" + std::to_string(kPrimerDisplay) + "-" +
                             std::to_string(kUltimoDisplay));
}

bool ServidorX::Arranca(int numero, const std::string& pantalla) {
    int tubo[2];
    if (pipe2(tubo, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    const std::string display = ":" + std::to_string(numero);
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        // A test killed on its timeout takes its server with it. -noreset:
        // a server resets when its last client leaves, and refuses
        // connections meanwhile (the program that comes next would fail).
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        Redirige(0, "/dev/null", O_RDONLY);
        Redirige(1, "/dev/null", O_WRONLY);
        Redirige(2, "/dev/null", O_WRONLY);
        int listo = dup(tubo[1]);  // without close-on-exec
        std::string fd = std::to_string(listo);
        execlp("Xvfb", "Xvfb", display.c_str(), "-displayfd", fd.c_str(), "-screen", "0", pantalla.c_str(),
               "-nolisten", "tcp", "-noreset", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(tubo[1]);
    std::string dicho = LeeListo(tubo[0], 30);
    close(tubo[0]);
    if (dicho != std::to_string(numero) || !EsperaConexion(pid_, display, 30)) return false;
    numero_ = numero;
    display_ = display;
    return true;
}

// The server first, then its number: the lock goes only once the server,
// its socket and its own lock file are gone.
void ServidorX::Detiene() {
    if (pid_ > 0) Termina(pid_);
    pid_ = -1;
    if (cerrojo_ >= 0) close(cerrojo_);
    cerrojo_ = -1;
}

ServidorX::~ServidorX() { Detiene(); }

ProcesoEnFondo::ProcesoEnFondo(const std::string& programa, const std::map<std::string, std::string>& env,
                               const std::string& carpeta) {
    std::string exe = programa.find('/') == std::string::npos ? (BinDir() / programa).string() : programa;
    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        for (const auto& [k, v] : env) setenv(k.c_str(), v.c_str(), 1);
        Redirige(0, "/dev/null", O_RDONLY);
        Redirige(1, "/dev/null", O_WRONLY);
        if (!carpeta.empty() && chdir(carpeta.c_str()) != 0) _exit(126);
        execl(exe.c_str(), exe.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
}

ProcesoEnFondo::~ProcesoEnFondo() {
    if (Corre()) Termina(pid_);
}

bool ProcesoEnFondo::Corre() {
    if (codigo_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        codigo_ = CodigoDe(status);
        return false;
    }
    return true;
}

std::optional<int> ProcesoEnFondo::EsperaFin(int segundos) {
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (Corre()) {
        if (std::chrono::steady_clock::now() > limite) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return codigo_;
}

std::vector<VentanaX> VentanasConTitulo(const std::string& display, const std::string& titulo) {
    return ConDisplay(display, [&](Display* d) {
        std::vector<VentanaX> encontradas;
        Recorre(d, DefaultRootWindow(d), [&](Window w) {
            if (Titulo(d, w) != titulo) return;
            XWindowAttributes a{};
            if (!XGetWindowAttributes(d, w, &a)) return;
            int x = 0, y = 0;
            Window hijo;
            XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &x, &y, &hijo);
            encontradas.push_back({w, x, y, a.width, a.height, a.map_state == IsViewable});
        });
        return encontradas;
    });
}

std::vector<VentanaX> MarcosConTitulo(const std::string& display, const std::string& titulo) {
    return ConDisplay(display, [&](Display* d) {
        std::vector<VentanaX> marcos;
        for (const VentanaX& cliente : VentanasConTitulo(display, titulo)) {
            // Up from the client to the child of the root that holds it.
            Window w = cliente.id, raiz = 0, padre = 0, *hijos = nullptr;
            unsigned int n = 0;
            while (XQueryTree(d, w, &raiz, &padre, &hijos, &n)) {
                if (hijos) XFree(hijos);
                hijos = nullptr;
                if (padre == raiz || padre == 0) break;
                w = padre;
            }
            XWindowAttributes a{};
            if (!XGetWindowAttributes(d, w, &a)) continue;
            // The frame's outer edge, its border included.
            marcos.push_back({w, a.x, a.y, a.width + 2 * a.border_width, a.height + 2 * a.border_width,
                              a.map_state == IsViewable});
        }
        return marcos;
    });
}

bool EsperaVentana(const std::string& display, const std::string& titulo, int segundos) {
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (std::chrono::steady_clock::now() < limite) {
        for (const auto& v : VentanasConTitulo(display, titulo))
            if (v.visible) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool PulsaEn(const std::string& display, const std::string& titulo, int x, int y) {
    auto ventanas = VentanasConTitulo(display, titulo);
    if (ventanas.empty()) return false;
    return ConDisplay(display, [&](Display* d) {
        const Window w = ventanas.front().id;
        XEvent e{};
        e.xbutton.window = w;
        e.xbutton.root = DefaultRootWindow(d);
        e.xbutton.x = x;
        e.xbutton.y = y;
        e.xbutton.x_root = ventanas.front().x + x;
        e.xbutton.y_root = ventanas.front().y + y;
        e.xbutton.button = Button1;
        e.xbutton.same_screen = True;
        e.xbutton.time = CurrentTime;
        e.xbutton.type = ButtonPress;
        XSendEvent(d, w, True, ButtonPressMask, &e);
        e.xbutton.type = ButtonRelease;
        e.xbutton.state = Button1Mask;
        XSendEvent(d, w, True, ButtonReleaseMask, &e);
        XFlush(d);
        return true;
    });
}

bool CierraVentana(const std::string& display, const std::string& titulo) {
    auto ventanas = VentanasConTitulo(display, titulo);
    if (ventanas.empty()) return false;
    return ConDisplay(display, [&](Display* d) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = ventanas.front().id;
        e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
        e.xclient.data.l[1] = CurrentTime;
        XSendEvent(d, ventanas.front().id, False, NoEventMask, &e);
        XFlush(d);
        return true;
    });
}

namespace {

// Only one client may redirect the root's substructure: the manager's. The
// root's attributes show it without taking it: asking for the redirection
// here would, for the moment it is held, make a starting manager find the
// place taken and give up.
bool GestorPresente(const std::string& display) {
    return ConDisplay(display, [](Display* d) {
        XWindowAttributes atributos{};
        return XGetWindowAttributes(d, DefaultRootWindow(d), &atributos) != 0 &&
               (atributos.all_event_masks & SubstructureRedirectMask) != 0;
    });
}

long EstadoCliente(Display* d, Window w) {
    Atom wmState = XInternAtom(d, "WM_STATE", False);
    Atom tipo;
    int formato;
    unsigned long n, resto;
    unsigned char* datos = nullptr;
    long estado = WithdrawnState;
    if (XGetWindowProperty(d, w, wmState, 0, 2, False, wmState, &tipo, &formato, &n, &resto, &datos) == Success &&
        datos && formato == 32 && n >= 1)
        estado = reinterpret_cast<long*>(datos)[0];
    if (datos) XFree(datos);
    return estado;
}

}  // namespace

bool EsperaGestorDeVentanas(const std::string& display, int segundos) {
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (std::chrono::steady_clock::now() < limite) {
        if (GestorPresente(display)) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

bool CambiaTamano(const std::string& display, const std::string& titulo, int ancho, int alto) {
    auto ventanas = VentanasConTitulo(display, titulo);
    if (ventanas.empty()) return false;
    return ConDisplay(display, [&](Display* d) {
        XResizeWindow(d, ventanas.front().id, ancho, alto);
        XFlush(d);
        return true;
    });
}

namespace {

// Waits up to the limit for the connection to have an event to read.
bool EsperaEvento(Display* d, std::chrono::steady_clock::time_point limite) {
    while (!XPending(d)) {
        auto resta = std::chrono::duration_cast<std::chrono::milliseconds>(limite - std::chrono::steady_clock::now());
        if (resta.count() <= 0) return false;
        pollfd pfd{ConnectionNumber(d), POLLIN, 0};
        poll(&pfd, 1, static_cast<int>(resta.count()));
    }
    return true;
}

}  // namespace

std::vector<std::pair<int, int>> CambiaTamanoYSigue(const std::string& display, const std::string& titulo,
                                                    int ancho, int alto, std::pair<int, int> vuelta,
                                                    int segundos) {
    auto ventanas = VentanasConTitulo(display, titulo);
    if (ventanas.empty()) return {};
    const Window w = ventanas.front().id;
    const std::pair pedido{ancho, alto};
    return ConDisplay(display, [&](Display* d) {
        // Selected before the request on the same connection: every change
        // the request brings is reported.
        XSelectInput(d, w, StructureNotifyMask);
        XResizeWindow(d, w, ancho, alto);
        XFlush(d);
        std::vector<std::pair<int, int>> vistos;
        bool tomado = false;
        auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
        while (EsperaEvento(d, limite)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != ConfigureNotify || e.xconfigure.window != w) continue;
            const std::pair tamano{e.xconfigure.width, e.xconfigure.height};
            vistos.push_back(tamano);
            if (tomado && tamano == vuelta) break;
            tomado = tomado || tamano == pedido;
        }
        return vistos;
    });
}

bool Minimiza(const std::string& display, const std::string& titulo, int segundos) {
    auto ventanas = VentanasConTitulo(display, titulo);
    if (ventanas.empty()) return false;
    const Window w = ventanas.front().id;
    ConDisplay(display, [&](Display* d) { return XIconifyWindow(d, w, DefaultScreen(d)) != 0; });
    auto limite = std::chrono::steady_clock::now() + std::chrono::seconds(segundos);
    while (std::chrono::steady_clock::now() < limite) {
        bool hecho = ConDisplay(display, [&](Display* d) {
            XWindowAttributes a{};
            return EstadoCliente(d, w) == IconicState && XGetWindowAttributes(d, w, &a) && a.map_state != IsViewable;
        });
        if (hecho) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
}

}  // namespace zvtest
