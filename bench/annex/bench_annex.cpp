// bench_annex [affiliates...]: makes an installation (zvbase + zvsetup), fills
// F841DETDES with one declaration per count (default 10000 and 100000), then
// writes the annex of each in a fresh process of its own and prints the rows
// per second, the spool file's size and pages, and the process's peak RSS.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/anexo.h"
#include "bench/medidas.h"
#include "bench/por_declaracion.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/reports/reporte.h"
#include "platform/msgbox.h"
#include "shared/spool.h"
#include "tests/support/afiliados.h"

namespace fs = std::filesystem;
using zvbench::kPeriodo;
using zvbench::PicoRssKb;
using zvbench::RucDe;
using zvbench::Segundos;
using zvform::Estado;

namespace {

// The report process: the annex of the declaration of `ruc`.
int Anexo(const std::string& ruc, long filas) {
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    if (!zvform::LeerIni()) return 1;
    zvbench::RegistraAnexo(ruc);
    const Estado& e = Estado::G();
    long antes = PicoRssKb();
    auto inicio = std::chrono::steady_clock::now();
    bool escrito = zvform::ImprimeReporte("", "", zvform::OpcionImpresion::Detalle);
    double s = Segundos(inicio);
    if (!escrito) return 1;
    std::printf("%8ld affiliates: %.3f s, %.0f rows/s, %d pages, %.1f MB spool file, peak RSS %ld KB (%ld KB before)\n",
                filas, s, static_cast<double>(filas) / s, zvform::PaginasDelReporte(),
                static_cast<double>(fs::file_size(e.gRutaArchivo)) / 1e6, PicoRssKb(), antes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    auto llena = [](dao::Database& db, const std::string& ruc, long filas) {
        zvtest::LlenaAfiliados(db, ruc, kPeriodo, filas);
    };
    return zvbench::CorrePorDeclaracion(argc, argv, {"--anexo", {10000, 100000}, RucDe, llena, Anexo});
}
