// zvform and zvhost as they run: on a private X server, beside (or without)
// the host's window "Zarvomat", over a fresh installation.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <sstream>
#include <thread>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "platform/textfile.h"
#include "shared/cuentas.h"
#include "tests/support/support.h"
#include "tests/support/servidor_x.h"

namespace {

bool TieneLinea(const std::string& texto, const std::string& linea);

const char* const kPrincipal = "0841 - Solvenda";

// The sizes a window took, for a failure's message.
std::string Tamanos(const std::vector<std::pair<int, int>>& vistos) {
    std::string texto = "; it took:";
    for (auto [ancho, alto] : vistos) texto += " " + std::to_string(ancho) + "x" + std::to_string(alto);
    return texto;
}

class Programa : public ::testing::Test {
protected:
    Programa() { chmod(runtime.path().c_str(), 0700); }

    // The installation's environment on the X server, with a runtime folder
    // and a lock folder of its own (the single-instance lock lives there).
    std::map<std::string, std::string> Env() const {
        auto env = inst.Env();
        env["DISPLAY"] = x.Display();
        env["QT_QPA_PLATFORM"] = "xcb";
        env["XDG_RUNTIME_DIR"] = runtime.path().string();
        env["ZARVO_LOCKDIR"] = runtime.path().string();
        return env;
    }
    zvtest::RunResult Zvform() const { return zvtest::Run("zvform", {}, Env(), inst.folder, 30); }
    // The host's window, up on the display.
    std::unique_ptr<zvtest::ProcesoEnFondo> Anfitrion() const {
        auto host = std::make_unique<zvtest::ProcesoEnFondo>("zvhost", Env());
        EXPECT_TRUE(zvtest::EsperaVentana(x.Display(), "Zarvomat"));
        return host;
    }
    void FijaRegional(const char* clave, const char* valor) {
        ASSERT_TRUE(zv::profile::WriteProfileString("intl", clave, valor));
    }

    void QuitaClavesRegionales(const std::vector<std::string>& claves) {
        auto winIni = zv::profile::ResolveProfileFile("WIN.INI");
        std::string texto = zv::text::ReadAll(winIni), queda, linea;
        std::istringstream lineas(texto);
        while (std::getline(lineas, linea)) {
            if (linea.ends_with('\r')) linea.pop_back();
            bool quitar = false;
            for (const auto& c : claves) quitar |= linea.starts_with(c + "=");
            if (!quitar) queda += linea + "\n";
        }
        zv::text::WriteAll(winIni, queda);
        for (const auto& c : claves) ASSERT_EQ(zv::text::ReadAll(winIni).find(c + "="), std::string::npos) << c;
    }

    // The window manager twm, with its frames and title bars.
    std::unique_ptr<zvtest::ProcesoEnFondo> Twm() const {
        auto env = Env();
        env["HOME"] = inst.folder.string();  // twm reads its .twmrc there
        // Only the server's own font, "fixed": the machine may have no X fonts.
        std::string twmrc = "IconifyByUnmapping\nRandomPlacement\nUsePPosition \"on\"\nDecorateTransients\n";
        for (const char* f : {"TitleFont", "ResizeFont", "MenuFont", "IconFont", "IconManagerFont"})
            twmrc += std::string(f) + " \"fixed\"\n";
        zv::text::WriteAll(inst.folder / ".twmrc", twmrc);
        return std::make_unique<zvtest::ProcesoEnFondo>("/usr/bin/twm", env);
    }

    zvtest::ServidorX x;
    zvtest::Installation inst;
    zvtest::TempDir runtime;
};

// One message on standard error: "title: text" and a blank line.
std::string Caja(const std::string& titulo, const std::string& texto) { return titulo + ": " + texto + "\n\n"; }

bool TieneLinea(const std::string& texto, const std::string& linea) {
    for (auto fin : {"\r\n", "\n"})
        if (texto.find("\n" + linea + fin) != std::string::npos || texto.starts_with(linea + fin)) return true;
    return false;
}

TEST_F(Programa, WithoutTheHostWindowItRefusesToRun) {
    auto r = Zvform();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(Caja("Error al ejecutar el módulo", "Debe ejecutar este módulo desde el Ensamblor del Zarvo")),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(zvtest::VentanasConTitulo(x.Display(), kPrincipal).empty());
}

TEST_F(Programa, WithNoDisplayAtAllItSaysSoToo) {
    auto env = Env();
    env["DISPLAY"] = "";
    env["QT_QPA_PLATFORM"] = "";
    auto r = zvtest::Run("zvform", {}, env, inst.folder, 30);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.err.find(Caja("Error al ejecutar el módulo", "Debe ejecutar este módulo desde el Ensamblor del Zarvo")),
              std::string::npos)
        << r.err;
}

TEST_F(Programa, TheHostWithoutADisplaySaysSoInSpanish) {
    auto env = Env();
    env["DISPLAY"] = "";
    env["QT_QPA_PLATFORM"] = "";
    auto r = zvtest::Run("zvhost", {}, env, inst.folder, 30);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.starts_with("Zarvomat: Zarvomat necesita una pantalla para mostrar su ventana")) << r.err;
}

TEST_F(Programa, BesideTheHostItShowsTheMainWindowOnce) {
    // Without the two keys the settings come from the process's locale; the
    // start writes them.
    QuitaClavesRegionales({"sDecimal", "sThousand"});
    auto host = Anfitrion();
    zvtest::ProcesoEnFondo zvform("zvform", Env(), inst.folder.string());
    ASSERT_TRUE(zvtest::EsperaVentana(x.Display(), kPrincipal)) << "no main window";

    std::string valor;
    zv::profile::GetProfileString("intl", "sDecimal", "", valor, 1024);
    EXPECT_EQ(valor, ".");
    zv::profile::GetProfileString("intl", "sThousand", "", valor, 1024);
    EXPECT_EQ(valor, ",");
    std::string winIni = zv::text::ReadAll(zv::profile::ResolveProfileFile("WIN.INI"));
    EXPECT_TRUE(TieneLinea(winIni, "sDecimal=.")) << winIni;
    EXPECT_TRUE(TieneLinea(winIni, "sThousand=,")) << winIni;

    auto segundo = Zvform();
    EXPECT_NE(segundo.exitCode, 0);
    EXPECT_NE(segundo.err.find(Caja("Solvenda", "La Aplicación ya se encuentra en ejecución")), std::string::npos)
        << segundo.err;
    EXPECT_TRUE(zvform.Corre());
    auto ventanas = zvtest::VentanasConTitulo(x.Display(), kPrincipal);
    ASSERT_EQ(ventanas.size(), 1u);
    // -50, -50, 9720 x 7320 twips at 96 dots per inch (no window manager: no frame).
    EXPECT_EQ(ventanas[0].x, -3);
    EXPECT_EQ(ventanas[0].y, -3);
    EXPECT_EQ(ventanas[0].ancho, 648);
    EXPECT_EQ(ventanas[0].alto, 488);

    // Closing the main window ends the program, normally.
    ASSERT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
    EXPECT_EQ(zvform.EsperaFin(10), 0);
}

// Under a window manager that frames it, the main window keeps one size:
// the size it shows with is the size it comes back to after a maximise (the
// manager sizes the window to the screen) or a drag of its border.
TEST_F(Programa, UnderAWindowManagerItComesBackToTheSizeItStartedWith) {
    auto twm = Twm();
    ASSERT_TRUE(zvtest::EsperaGestorDeVentanas(x.Display())) << "twm did not start";
    auto host = Anfitrion();
    zvtest::ProcesoEnFondo zvform("zvform", Env(), inst.folder.string());
    ASSERT_TRUE(zvtest::EsperaVentana(x.Display(), kPrincipal)) << "no main window";
    auto Tamano = [&] {
        auto v = zvtest::VentanasConTitulo(x.Display(), kPrincipal);
        return v.empty() ? std::pair{0, 0} : std::pair{v[0].ancho, v[0].alto};
    };
    // The size once shown: the window manager has framed it by then.
    auto inicial = Tamano();
    for (int i = 0; i < 50 && inicial != std::pair{648, 488}; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        inicial = Tamano();
    }
    EXPECT_EQ(inicial, (std::pair{648, 488}));
    for (auto [ancho, alto] : {std::pair{1280, 1000}, std::pair{300, 200}}) {
        // The change first takes effect, then the window puts itself back.
        const auto vistos = zvtest::CambiaTamanoYSigue(x.Display(), kPrincipal, ancho, alto, inicial, 10);
        const auto tomado = std::find(vistos.begin(), vistos.end(), std::pair{ancho, alto});
        ASSERT_TRUE(tomado != vistos.end()) << "the window never took " << ancho << "x" << alto << Tamanos(vistos);
        EXPECT_TRUE(std::find(tomado, vistos.end(), inicial) != vistos.end())
            << "it did not come back after " << ancho << "x" << alto << Tamanos(vistos);
        EXPECT_EQ(Tamano(), inicial) << "after " << ancho << "x" << alto;
    }
    EXPECT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
    EXPECT_EQ(zvform.EsperaFin(10), 0);
}

// A minimised host window is still a running host. The window manager
// (twm, minimising by unmapping, as a desktop with a task bar does) unmaps
// the host's window and marks it iconic; zvform starts all the same.
TEST_F(Programa, WhileTheHostIsMinimisedItStartsAllTheSame) {
    auto twm = Twm();
    ASSERT_TRUE(zvtest::EsperaGestorDeVentanas(x.Display())) << "twm did not start";
    auto host = Anfitrion();
    ASSERT_TRUE(zvtest::Minimiza(x.Display(), "Zarvomat"));

    zvtest::ProcesoEnFondo zvform("zvform", Env(), inst.folder.string());
    EXPECT_TRUE(zvtest::EsperaVentana(x.Display(), kPrincipal)) << "zvform refused to start";
    EXPECT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
    EXPECT_EQ(zvform.EsperaFin(10), 0);
}

TEST_F(Programa, TheHostsButtonStartsZvform) {
    auto host = Anfitrion();
    auto anfitrion = zvtest::VentanasConTitulo(x.Display(), "Zarvomat");
    ASSERT_EQ(anfitrion.size(), 1u);
    // The button fills the lower part of the host's window.
    ASSERT_TRUE(zvtest::PulsaEn(x.Display(), "Zarvomat", anfitrion[0].ancho / 2, anfitrion[0].alto * 3 / 4));
    EXPECT_TRUE(zvtest::EsperaVentana(x.Display(), kPrincipal));
    // zvform started by the host runs on its own; the window's close box ends it.
    EXPECT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
}

TEST_F(Programa, WrongRegionalSettingsGiveOneMessage) {
    FijaRegional("sTime", ".");
    FijaRegional("sDate", "-");
    FijaRegional("iCurrDigits", "3");
    auto host = Anfitrion();
    auto r = Zvform();
    EXPECT_NE(r.exitCode, 0);
    const std::string texto =
        "- Debe configurar como separador de Fechas : ( / ) \n"
        "- Debe configurar como separador de Hora : ( : ) \n"
        "- Debe configurar como número de Decimales para Moneda : ( 2 ) \n"
        "Ingrese a la opción :Configuración/Panel de control/Configuración Regional y verificar las secciones "
        "Número, Moneda, Hora y Fecha.\n"
        "Esto es necesario para el correcto funcionamiento del Zarvomat. ";
    EXPECT_NE(r.err.find(Caja("Error de configuración", texto)), std::string::npos) << r.err;
    EXPECT_TRUE(zvtest::VentanasConTitulo(x.Display(), kPrincipal).empty());
}

TEST_F(Programa, ALockedDatabaseEndsTheProgram) {
    dao::DBEngine otro;
    otro.SystemDB = zv::profile::ReadTrimmed("Options", "SysPath", "ZVBAS.INI") + "ZVBAS.MDW";
    otro.DefaultUser = zv::cuentas::Zvform().usuario;
    otro.DefaultPassword = zv::cuentas::Zvform().clave;
    auto exclusiva = otro.OpenDatabase(inst.database.string(), /*exclusive*/ true);
    auto host = Anfitrion();
    auto r = Zvform();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_NE(r.err.find(Caja("Error de Conección", " 3051- Base esta bloqueda")), std::string::npos) << r.err;
}

// Unsets a variable of this process (and so of the programs it starts) for
// the guard's lifetime.
struct SinVariable {
    explicit SinVariable(const char* nombre) : guarda(nombre, "") { unsetenv(nombre); }
    zvtest::ScopedEnv guarda;
};

// One zvform per user, whatever the environment each start was given: the
// host's (scripts/run.sh sets a runtime folder) or a plain shell's, which
// may have none or another one.
TEST_F(Programa, ASecondZvformIsRefusedWhateverTheEnvironmentOfEither) {
    auto host = Anfitrion();
    zvtest::TempDir otroRuntime;
    chmod(otroRuntime.path().c_str(), 0700);
    struct Caso {
        const char* nombre;
        std::optional<std::string> primero, segundo;  // XDG_RUNTIME_DIR of each start; none when empty
    };
    for (const Caso& c : {Caso{"host, then shell without", runtime.path().string(), std::nullopt},
                          Caso{"shell without, then another", std::nullopt, otroRuntime.path().string()}}) {
        SCOPED_TRACE(c.nombre);
        auto Inicio = [&](const std::optional<std::string>& carpeta) {
            auto env = Env();
            env.erase("XDG_RUNTIME_DIR");
            if (carpeta) env["XDG_RUNTIME_DIR"] = *carpeta;
            return env;
        };
        std::optional<zvtest::ProcesoEnFondo> primero;
        {
            SinVariable sin("XDG_RUNTIME_DIR");
            primero.emplace("zvform", Inicio(c.primero), inst.folder.string());
        }
        ASSERT_TRUE(zvtest::EsperaVentana(x.Display(), kPrincipal)) << "no main window";
        zvtest::RunResult segundo;
        {
            SinVariable sin("XDG_RUNTIME_DIR");
            segundo = zvtest::Run("zvform", {}, Inicio(c.segundo), inst.folder, 30);
        }
        EXPECT_NE(segundo.exitCode, 0);
        EXPECT_NE(segundo.err.find(Caja("Solvenda", "La Aplicación ya se encuentra en ejecución")), std::string::npos)
            << segundo.err;
        EXPECT_EQ(zvtest::VentanasConTitulo(x.Display(), kPrincipal).size(), 1u);
        ASSERT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
        EXPECT_EQ(primero->EsperaFin(10), 0);
    }
}

// The frame twm put around the window with the title, once it has (the
// frame is taller than the window by its title bar); nullopt after 20 s.
std::optional<zvtest::VentanaX> MarcoEnmarcado(const std::string& display, const std::string& titulo) {
    for (int i = 0; i < 200; ++i) {
        auto ventanas = zvtest::VentanasConTitulo(display, titulo);
        auto marcos = zvtest::MarcosConTitulo(display, titulo);
        if (ventanas.size() == 1 && marcos.size() == 1 && ventanas[0].visible && marcos[0].alto > ventanas[0].alto)
            return marcos[0];
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return std::nullopt;
}

// Every window opens with its frame, title bar and all, on the screen: the
// host's window, shown before the window manager starts (the manager then
// frames it where it lies); the main window at its place; the preview,
// taller than the room above its owner's centre.
TEST_F(Programa, UnderTwmTheWindowsOpenWithTheirTitleBarsOnTheScreen) {
    auto host = Anfitrion();
    auto twm = Twm();
    ASSERT_TRUE(zvtest::EsperaGestorDeVentanas(x.Display())) << "twm did not start";
    auto anfitrion = MarcoEnmarcado(x.Display(), "Zarvomat");
    ASSERT_TRUE(anfitrion) << "twm did not frame Zarvomat";
    EXPECT_GE(anfitrion->x, 0);
    EXPECT_GE(anfitrion->y, 0);

    {
        zvtest::ProcesoEnFondo zvform("zvform", Env(), inst.folder.string());
        auto principal = MarcoEnmarcado(x.Display(), kPrincipal);
        ASSERT_TRUE(principal) << "twm did not frame the main window";
        // -50, -50 twips at 96 dots per inch: the frame's corner, its title bar below it.
        EXPECT_EQ(principal->x, -3);
        EXPECT_EQ(principal->y, -3);
        ASSERT_TRUE(zvtest::CierraVentana(x.Display(), kPrincipal));
        EXPECT_EQ(zvform.EsperaFin(10), 0);
    }

    zvtest::TempDir reportes;
    zvtest::ProcesoEnFondo preliminar(ZV_PRELIMINAR_X, Env(), reportes.path().string());
    auto preview = MarcoEnmarcado(x.Display(), "Presentación Preliminar");
    ASSERT_TRUE(preview) << "twm did not frame the preview";
    EXPECT_GE(preview->x, 0);
    EXPECT_GE(preview->y, 0);
    ASSERT_TRUE(zvtest::CierraVentana(x.Display(), "Presentación Preliminar"));
    EXPECT_EQ(preliminar.EsperaFin(10), 0);
}

}  // namespace
