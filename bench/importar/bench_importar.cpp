// bench_importar [--display :N] [lines...]: imports generated affiliates
// files (default 1,000, 10,000 and 40,000 valid lines) into fresh demo
// installations three ways, each in a process of its own: by the import
// engine alone (a form that shows nothing), and by "&Aceptar" of the real
// import form FrmImportar, offscreen and on an X display (DISPLAY, or the
// one given). Prints the seconds of each, the form's ratio to the engine,
// the goal (1.5 times the engine plus one second) and the peak memory.
//
//   build/bin/bench_importar --display :126      (zvbase and zvsetup from the same bin/)
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QWindow>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/medidas.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/import/importacion.h"
#include "formulario/import/ui/frm_importar.h"
#include "formulario/import/unidades.h"
#include "platform/dao/dao.h"
#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using zvbench::PicoRssKb;
using zvbench::Segundos;

constexpr const char* kRuc = "20142829551";  // the first demo declarant
constexpr const char* kDeclarante = "20142829551 PROFUTURO AFP";
constexpr const char* kArchivo = "084120080120142829551.TXT";

enum class Modo { Motor, FueraDePantalla, X };
const char* NombreDe(Modo m) { return m == Modo::Motor ? "engine" : m == Modo::FueraDePantalla ? "offscreen" : "X"; }

// What one run measured, passed from the child to the parent.
struct Medida {
    double segundos = -1;
    long picoKb = 0;
    long crecimientoKb = 0;  // peak growth during the import
    long filas = -1;
};

// Line i of the affiliates file: the demo's first line with its own document number.
std::string Linea(long i) {
    char doc[24];
    std::snprintf(doc, sizeof doc, "%08ld", i);
    return std::string("20100070970|01|") + doc +
           "|23051970|PÉREZ|GÓMEZ|JOSÉ LUIS|1|123456JPGOM1|01071995|15092007|01|RES0001|1|200712|2500.00|250.00|0.00|"
           "12.50|";
}

void Genera(const fs::path& archivo, long lineas) {
    zv::text::TextWriter w(archivo, zv::text::WriteMode::Output);
    for (long i = 0; i < lineas; ++i) w.WriteLine(Linea(i));
    w.Close();
}

long Filas() {
    auto rs = zvform::Estado::G().gBase->OpenRecordset("SELECT COUNT(*) FROM F841DETDES", dao::dbOpenSnapshot);
    return static_cast<long>(rs->Fields(0).AsLong());
}

// The form of a batch run: the same choices as the real form, nothing shown.
class SinPantalla : public zvimport::ImportUi {
public:
    std::string carpeta;
    std::string DeclaranteElegido() const override { return kDeclarante; }
    std::string TextoPeriodo() const override { return "01/2008"; }
    std::string Carpeta() const override { return carpeta; }
    std::string ArchivoSeleccionado() const override { return kArchivo; }
};

Medida ConMotor(const fs::path& origen) {
    SinPantalla pantalla;
    pantalla.carpeta = origen.string();
    zvimport::Importacion importacion(pantalla);
    Medida m;
    const long antes = PicoRssKb();
    const auto t = std::chrono::steady_clock::now();
    importacion.CmdGrabar_Click();
    m.segundos = Segundos(t);
    m.crecimientoKb = PicoRssKb() - antes;
    return m;
}

// The real form: the declarant, the period and the file chosen as a user
// chooses them, then "&Aceptar" clicked; the time is that of the click.
Medida ConFormulario(const fs::path& origen) {
    zvimport::FuenteDeUnidades() = [origen] { return std::vector<zvimport::Unidad>{{"ORIGEN", origen.string(), false}}; };
    zvimport::ui::FrmImportar frm;
    frm.show();
    for (auto t = std::chrono::steady_clock::now();
         !(frm.windowHandle() && frm.windowHandle()->isExposed()) && Segundos(t) < 10;)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    frm.findChild<QComboBox*>("CmbRuc")->setCurrentIndex(0);
    auto* periodo = frm.findChild<QLineEdit*>("MkePeriodo");
    periodo->setText("01/2008");
    auto* archivos = frm.findChild<QListWidget*>("flListaFiles");
    Medida m;
    if (periodo->displayText() != "01/2008" || archivos->count() != 1) {
        std::fprintf(stderr, "the form did not list the file (%d listed)\n", archivos->count());
        return m;
    }
    archivos->item(0)->setSelected(true);
    QCoreApplication::processEvents();
    const long antes = PicoRssKb();
    const auto t = std::chrono::steady_clock::now();
    frm.findChild<QPushButton*>("CmdGrabar")->click();
    m.segundos = Segundos(t);
    m.crecimientoKb = PicoRssKb() - antes;
    return m;
}

// One run in a fresh demo installation of its own.
Medida Corre(int argc, char** argv, long lineas, Modo modo) {
    zvtest::Installation::Options opciones;
    opciones.demo = true;
    opciones.runSetup = true;
    zvtest::Installation inst(opciones);
    const fs::path origen = inst.folder / "origen";
    fs::create_directories(origen);
    Genera(origen / kArchivo, lineas);

    std::unique_ptr<QApplication> app;
    if (modo != Modo::Motor) {
        setenv("QT_QPA_PLATFORM", modo == Modo::X ? "xcb" : "offscreen", 1);
        app = std::make_unique<QApplication>(argc, argv);
        zv::gui::InstallPlatformServices();  // the event pump of the program
    }
    zv::ScriptedMessages mensajes;  // the closing message answered at once
    zv::SetMessageService(&mensajes);
    Medida m;
    if (!zvform::LeerIni()) return m;
    m = modo == Modo::Motor ? ConMotor(origen) : ConFormulario(origen);
    m.picoKb = PicoRssKb();
    m.filas = Filas();
    zvform::Estado::G().gBase->Close();
    return m;
}

// Corre in a child process, so that each run's peak memory is its own.
Medida EnProcesoPropio(int argc, char** argv, long lineas, Modo modo) {
    int tubo[2];
    if (pipe(tubo) != 0) return {};
    std::fflush(stdout);
    const pid_t hijo = fork();
    if (hijo == 0) {
        close(tubo[0]);
        const Medida m = Corre(argc, argv, lineas, modo);
        (void)!write(tubo[1], &m, sizeof m);
        _exit(0);
    }
    close(tubo[1]);
    Medida m;
    Medida leida;
    if (read(tubo[0], &leida, sizeof leida) == static_cast<ssize_t>(sizeof leida)) m = leida;
    close(tubo[0]);
    int estado = 0;
    waitpid(hijo, &estado, 0);
    return m;
}

void ImprimeCarga() {
    if (std::FILE* carga = std::fopen("/proc/loadavg", "r")) {
        double uno = 0, cinco = 0, quince = 0;
        if (std::fscanf(carga, "%lf %lf %lf", &uno, &cinco, &quince) == 3)
            std::printf("load average: %.2f %.2f %.2f\n", uno, cinco, quince);
        std::fclose(carga);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("ZV_BIN_DIR")) setenv("ZV_BIN_DIR", fs::canonical("/proc/self/exe").parent_path().c_str(), 1);
    setenv("ZARVO_MSGBOX", "stderr", 1);
    std::vector<long> cuentas;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--display") == 0 && i + 1 < argc) setenv("DISPLAY", argv[++i], 1);
        else cuentas.push_back(std::atol(argv[i]));
    }
    if (cuentas.empty()) cuentas = {1000, 10000, 40000};
    std::vector<Modo> modos = {Modo::Motor, Modo::FueraDePantalla};
    if (zv::DisplayReachable()) modos.push_back(Modo::X);
    else std::printf("no X display: the form runs offscreen only (give one with --display :N)\n");
    ImprimeCarga();
    std::printf("   lines way         time    ratio  goal(1.5x+1s)   peak KB  +KB in import  rows\n");
    int fallas = 0;
    for (long n : cuentas) {
        double motor = -1;
        for (Modo modo : modos) {
            const Medida m = EnProcesoPropio(argc, argv, n, modo);
            const bool bien = m.segundos >= 0 && m.filas == n;
            if (!bien) ++fallas;
            if (modo == Modo::Motor) motor = m.segundos;
            std::printf("%8ld %-10s %7.3f s", n, NombreDe(modo), m.segundos);
            if (modo == Modo::Motor || motor <= 0) {
                std::printf("  %6s  %14s", "", "");
            } else {
                const double meta = 1.5 * motor + 1.0;
                std::printf("  %5.2fx  %7.3f s %-4s", m.segundos / motor, meta, m.segundos <= meta ? "met" : "OVER");
            }
            std::printf("  %8ld  %13ld  %ld%s\n", m.picoKb, m.crecimientoKb, m.filas, bien ? "" : " WRONG");
            std::fflush(stdout);
        }
    }
    ImprimeCarga();
    return fallas == 0 ? 0 : 1;
}
