// Imports generated affiliates files of 1,000, 10,000 and 100,000 valid
// lines (and 100,000 with 1% rejected) into fresh installations, and prints
// lines per second and peak memory of each run beside the time sqlite3's
// own ".import" takes to load the same rows into the same table.
//
//   build/bin/bench_import            (zvbase and zvsetup from the same bin/)
//   build/bin/bench_import 10000      (only that many valid lines, as for a profiler)
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/import/importacion.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using Reloj = std::chrono::steady_clock;

constexpr const char* kRuc = "20555555556";
constexpr const char* kPeriodo = "202301";

// The form of a batch run: nothing to show, No to the closing question.
class SinPantalla : public zvimport::ImportUi {
public:
    std::string carpeta;
    std::string DeclaranteElegido() const override { return kRuc; }
    std::string TextoPeriodo() const override { return "01/2023"; }
    std::string Carpeta() const override { return carpeta; }
    std::string ArchivoSeleccionado() const override { return "x"; }
    zv::Answer Pregunta(const zv::MessageRequest&) override { return zv::Answer::No; }
};

std::string Documento(long i) {
    char doc[24];
    std::snprintf(doc, sizeof doc, "%08ld", i);
    return doc;
}

// Line i of the affiliates file; every hundredth has a wrong sex code when asked.
std::string Linea(long i, bool conRechazos) {
    const char* sexo = conRechazos && i % 100 == 99 ? "3" : "2";
    return "20100070970|01|" + Documento(i) + "|01021970|ROJAS|VEGA|ANA MARÍA|" + sexo +
           "|QWERTY123456|01011996|01092007|01|RS9|1|202301|1000.00|100.00|0|0|";
}

// The same row as the table stores it, for sqlite3's .import.
std::string Fila(long i) {
    return std::string("6|") + kRuc + "|" + kPeriodo + "|0841|20100070970|01|" + Documento(i) +
           "|1970-02-01|ROJAS|VEGA|ANA MARÍA|2|QWERTY123456|1996-01-01|2007-09-01|01|RS9|1|202301|1000.00|100.00|"
           "0.00|0.00|000000";
}

void Genera(const fs::path& archivo, long lineas, bool conRechazos) {
    std::ofstream out(archivo, std::ios::binary);
    for (long i = 0; i < lineas; ++i) {
        std::string l = Linea(i, conRechazos);
        // Windows-1252: the one accented letter of the lines.
        auto p = l.find("Í");
        l.replace(p, 2, "\xCD");
        out << l << "\r\n";
    }
}

long PicoKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

double Segundos(Reloj::time_point desde) { return std::chrono::duration<double>(Reloj::now() - desde).count(); }

// sqlite3's .import of the same rows into the same table of another fresh
// installation (an empty table in a new file, as the import finds it).
double Piso(long lineas) {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    zvtest::Installation inst(opciones);
    fs::path filas = inst.folder / "filas.txt";
    {
        std::ofstream out(filas, std::ios::binary);
        for (long i = 0; i < lineas; ++i) out << Fila(i) << "\n";
    }
    std::string orden = "sqlite3 -batch -cmd '.mode list' -cmd '.separator |' '" + inst.database.string() +
                        "' \".import '" + filas.string() + "' F841DETDES\"";
    auto t = Reloj::now();
    int rc = std::system(orden.c_str());
    double s = Segundos(t);
    return rc == 0 ? s : -1;
}

// One case in its own process, so that its peak memory is its own.
int Caso(long lineas, bool conRechazos) {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    zvtest::Installation inst(opciones);
    fs::path carpeta = inst.folder / "origen";
    fs::create_directories(carpeta);
    Genera(carpeta / (std::string("0841") + kPeriodo + kRuc + ".TXT"), lineas, conRechazos);

    zv::ScriptedMessages mensajes;
    zv::SetMessageService(&mensajes);
    if (!zvform::LeerIni()) return 1;
    long antes = PicoKb();
    SinPantalla pantalla;
    pantalla.carpeta = carpeta.string();
    zvimport::Importacion importacion(pantalla);
    auto t = Reloj::now();
    importacion.CmdGrabar_Click();
    double s = Segundos(t);
    long pico = PicoKb();

    auto rs = zvform::Estado::G().gBase->OpenRecordset("SELECT COUNT(*) FROM F841DETDES", dao::dbOpenSnapshot);
    long filas = static_cast<long>(rs->Fields(0).AsLong());
    rs->Close();
    zvform::Estado::G().gBase->Close();
    long esperadas = conRechazos ? 0 : lineas;
    double piso = conRechazos ? -1 : Piso(lineas);
    std::printf("%8ld %-14s %8.3f s %10.0f lines/s  peak %7ld KB (+%6ld KB in the import)  rows %ld%s",
                lineas, conRechazos ? "1% rejected" : "valid", s, lineas / s, pico, pico - antes, filas,
                filas == esperadas ? "" : " WRONG");
    if (piso > 0) std::printf("  sqlite3 .import %.3f s (%.2fx)", piso, s / piso);
    std::printf("\n");
    std::fflush(stdout);
    return filas == esperadas ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("ZV_BIN_DIR")) setenv("ZV_BIN_DIR", fs::absolute(argv[0]).parent_path().c_str(), 1);
    setenv("ZARVO_MSGBOX", "stderr", 1);
    // The figures depend on what else the machine runs: its load goes with them.
    if (std::FILE* carga = std::fopen("/proc/loadavg", "r")) {
        double uno = 0, cinco = 0, quince = 0;
        if (std::fscanf(carga, "%lf %lf %lf", &uno, &cinco, &quince) == 3)
            std::printf("load average: %.2f %.2f %.2f\n", uno, cinco, quince);
        std::fclose(carga);
    }
    std::printf("   lines case           time       speed          memory\n");
    std::fflush(stdout);
    struct Prueba { long lineas; bool rechazos; };
    std::vector<Prueba> casos = {{1000, false}, {10000, false}, {100000, false}, {100000, true}};
    if (argc > 1) casos = {{std::atol(argv[1]), false}};
    int fallas = 0;
    for (const auto& c : casos) {
        pid_t hijo = fork();
        if (hijo == 0) _exit(Caso(c.lineas, c.rechazos));
        int estado = 0;
        waitpid(hijo, &estado, 0);
        if (!WIFEXITED(estado) || WEXITSTATUS(estado) != 0) ++fallas;
    }
    return fallas == 0 ? 0 : 1;
}
