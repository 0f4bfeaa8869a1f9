#pragma once
// What the tests of the running programs need from a real X server: a
// private Xvfb (display number chosen by the server itself, so that tests
// may run side by side), programs left running in the background, and a
// look at the windows by their titles.
#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zvtest {

class ServidorX {
public:
    ServidorX();  // throws when Xvfb cannot start
    ~ServidorX();
    ServidorX(const ServidorX&) = delete;
    ServidorX& operator=(const ServidorX&) = delete;
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

// A program of bin/ started in the background; killed when it goes.
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
// Waits until a visible window has the title.
bool EsperaVentana(const std::string& display, const std::string& titulo, int segundos = 20);
// A click of the left button at (x, y) of the window with the title.
bool PulsaEn(const std::string& display, const std::string& titulo, int x, int y);
// Asks the window with the title to close, as its close box does.
bool CierraVentana(const std::string& display, const std::string& titulo);

}  // namespace zvtest
