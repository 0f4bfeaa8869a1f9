#pragma once
// What the tests of the running programs need from a real X server: a
// private Xvfb, programs left running in the background, and a look at the
// windows by their titles.
//
// Servers that start and stop at once on the lowest free display numbers
// remove each other's socket when a number is reused, so each test server
// gets a number of its own range (kPrimerDisplay..kUltimoDisplay, which no
// other program here uses), chosen under a lock file the test holds until
// its server has fully exited. The server counts as started only once a
// client has connected to it.
#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zvtest {

constexpr int kPrimerDisplay = 200;
constexpr int kUltimoDisplay = 299;

// The folder of the lock files, one per display number ("<n>.lock").
std::string CarpetaCerrojosX();

class ServidorX {
public:
    // Throws when no number of the range gives a server that answers.
    explicit ServidorX(const std::string& pantalla = "1280x1024x24");
    ~ServidorX();  // returns once the server has exited; then frees the number
    ServidorX(const ServidorX&) = delete;
    ServidorX& operator=(const ServidorX&) = delete;
    const std::string& Display() const { return display_; }
    int Numero() const { return numero_; }
    pid_t Pid() const { return pid_; }  // the server's process

private:
    bool Arranca(int numero, const std::string& pantalla);
    void Detiene();

    pid_t pid_ = -1;
    int cerrojo_ = -1;  // the lock file's descriptor, held while the server lives
    int numero_ = -1;
    std::string display_;
};

// A program of bin/ (or one named by its path) started in the background;
// killed when it goes.
class ProcesoEnFondo {
public:
    ProcesoEnFondo(const std::string& programa, const std::map<std::string, std::string>& env,
                   const std::string& carpeta = {});
    ~ProcesoEnFondo();
    ProcesoEnFondo(const ProcesoEnFondo&) = delete;
    ProcesoEnFondo& operator=(const ProcesoEnFondo&) = delete;
    // Waits for the end; nullopt when it is still running after the wait.
    std::optional<int> EsperaFin(int segundos);
    bool Corre();

private:
    pid_t pid_ = -1;
    std::optional<int> codigo_;
};

struct VentanaX {
    unsigned long id = 0;
    int x = 0;  // on the root window
    int y = 0;
    int ancho = 0;
    int alto = 0;
    bool visible = false;
};

// The top-level windows of the display with exactly this title.
std::vector<VentanaX> VentanasConTitulo(const std::string& display, const std::string& titulo);
// The frames the window manager put around the windows with the title (the
// children of the root that hold them; the window itself where there is no
// manager), their outer edges on the root window.
std::vector<VentanaX> MarcosConTitulo(const std::string& display, const std::string& titulo);
// Waits until a visible window has the title.
bool EsperaVentana(const std::string& display, const std::string& titulo, int segundos = 20);
// A click of the left button at (x, y) of the window with the title.
bool PulsaEn(const std::string& display, const std::string& titulo, int x, int y);
// Asks the window with the title to close, as its close box does.
bool CierraVentana(const std::string& display, const std::string& titulo);
// Waits until a window manager runs on the display (holds the root's
// substructure redirection).
bool EsperaGestorDeVentanas(const std::string& display, int segundos = 20);
// Asks for a new size of the client window with the title, as a window
// manager's maximise or a drag of its border does.
bool CambiaTamano(const std::string& display, const std::string& titulo, int ancho, int alto);
// The same request, then the sizes the window takes after it, in order, as
// its ConfigureNotify events tell them (none is missed, however quickly one
// follows another): until it has taken the asked size and after that
// `vuelta`, or until `segundos` have passed. Empty when there is no window.
std::vector<std::pair<int, int>> CambiaTamanoYSigue(const std::string& display, const std::string& titulo,
                                                    int ancho, int alto, std::pair<int, int> vuelta,
                                                    int segundos = 20);
// Asks the window manager to minimise the client window with the title, as
// its minimise button does, and waits until the manager has (WM_STATE
// IconicState, the window unmapped).
bool Minimiza(const std::string& display, const std::string& titulo, int segundos = 20);

}  // namespace zvtest
