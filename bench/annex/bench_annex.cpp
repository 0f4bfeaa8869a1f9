// bench_annex [affiliates...]: makes an installation (zvbase + zvsetup), fills
// F841DETDES with one declaration per count (default 10000 and 100000), then
// writes the annex of each in a fresh process of its own and prints the rows
// per second, the spool file's size and pages, and the process's peak RSS.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/anexo.h"
#include "bench/medidas.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/reports/reporte.h"
#include "platform/msgbox.h"
#include "shared/spool.h"
#include "tests/support/afiliados.h"
#include "tests/support/support.h"

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
    if (argc == 4 && std::string(argv[1]) == "--anexo") return Anexo(argv[2], std::atol(argv[3]));
    const fs::path yo = fs::canonical("/proc/self/exe");
    setenv("ZV_BIN_DIR", yo.parent_path().c_str(), 0);

    std::vector<long> cuentas;
    for (int i = 1; i < argc; ++i) cuentas.push_back(std::atol(argv[i]));
    if (cuentas.empty()) cuentas = {10000, 100000};

    zvtest::Installation::Options o;
    o.runSetup = true;
    zvtest::Installation instalacion(o);
    {
        zv::StderrMessages mensajes;
        zv::SetMessageService(&mensajes);
        if (!zvform::LeerIni()) return 1;
        for (long n : cuentas) {
            auto inicio = std::chrono::steady_clock::now();
            zvtest::LlenaAfiliados(*Estado::G().gBase, RucDe(n), kPeriodo, n);
            std::printf("filled %ld rows in %.2f s\n", n, Segundos(inicio));
        }
        Estado::Reset();
        zv::SetMessageService(nullptr);
    }
    int fallas = 0;
    for (long n : cuentas) {
        auto r = zvtest::Run(yo.string(), {"--anexo", RucDe(n), std::to_string(n)}, instalacion.Env(),
                             instalacion.folder, 600);
        std::cout << r.out << r.err;
        if (r.exitCode != 0) ++fallas;
    }
    return fallas == 0 ? 0 : 1;
}
