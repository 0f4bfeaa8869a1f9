// bench_preview [affiliates...]: makes an installation (zvbase + zvsetup),
// fills F841DETDES with one declaration per count (default 37000 and 370000,
// about 1,000 and 10,000 annex pages), writes the annex of each with the
// report writer, then in a fresh process of its own for each file:
//   - opens it in the preview (offscreen) and prints the time until the
//     first page is painted, the pages, and the process's peak RSS;
//   - prints it to PDF (the 1,000 pages only, unless --todo) and prints the
//     time, the PDF's size and the peak RSS.

#include <QApplication>
#include <QEvent>
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
#include "formulario/reports/ui/frm_preview.h"
#include "formulario/reports/ui/impresora.h"
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

// The annex of `ruc` written by the report writer; its file name.
std::string Anexo(const std::string& ruc) {
    std::string nombre = zvbench::RegistraAnexo(ruc);
    if (!zvform::ImprimeReporte("", "", zvform::OpcionImpresion::Detalle)) return "";
    return nombre;
}

// Marks the first paint of a widget.
class PrimeraPintura : public QObject {
public:
    bool pintada = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) pintada = true;
        return false;
    }
};

int Previa(int argc, char** argv, const std::string& rpt, const std::string& nombre) {
    QApplication app(argc, argv);
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    Estado::G().gRutaRpt = rpt;
    const long antes = PicoRssKb();
    auto inicio = std::chrono::steady_clock::now();
    zvform::ui::frmPreview f;
    f.sRut = nombre;
    if (!f.Form_Load()) return 1;
    const double leido = Segundos(inicio);
    PrimeraPintura marca;
    f.picPrevia(0)->installEventFilter(&marca);
    f.show();
    while (!marca.pintada) app.processEvents(QEventLoop::WaitForMoreEvents);
    const double primera = Segundos(inicio);
    std::printf("  preview: %d pages, file read in %.3f s, first page shown after %.3f s, peak RSS %ld KB (%ld KB before)\n",
                f.PaginasContadas(), leido, primera, PicoRssKb(), antes);
    // Page through the first ten, as a user would.
    inicio = std::chrono::steady_clock::now();
    for (int i = 0; i < 10; ++i) {
        f.tlbPrevia_ButtonClick(3);
        f.repaint();
    }
    std::printf("  ten pages shown in %.3f s\n", Segundos(inicio));
    f.picPrevia(0)->removeEventFilter(&marca);
    return 0;
}

int Imprime(int argc, char** argv, const std::string& rpt, const std::string& nombre) {
    QApplication app(argc, argv);
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    zvform::ui::HayImpresora() = [] { return false; };
    Estado::G().gRutaRpt = rpt;
    const long antes = PicoRssKb();
    auto inicio = std::chrono::steady_clock::now();
    zvform::ui::frmPreview f;
    if (!f.pDesencripta(nombre, "xx")) return 1;
    const double s = Segundos(inicio);
    const fs::path pdf = zvform::ui::ArchivoPdf(rpt + nombre);
    std::printf("  print to PDF: %.3f s, %.1f MB PDF, peak RSS %ld KB (%ld KB before)\n", s,
                static_cast<double>(fs::file_size(pdf)) / 1e6, PicoRssKb(), antes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc == 4 && std::string(argv[1]) == "--previa") return Previa(argc, argv, argv[2], argv[3]);
    if (argc == 4 && std::string(argv[1]) == "--imprime") return Imprime(argc, argv, argv[2], argv[3]);
    const fs::path yo = fs::canonical("/proc/self/exe");
    setenv("ZV_BIN_DIR", yo.parent_path().c_str(), 0);

    bool todo = false;
    std::vector<long> cuentas;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--todo") todo = true;
        else cuentas.push_back(std::atol(argv[i]));
    }
    if (cuentas.empty()) cuentas = {37000, 370000};

    zvtest::Installation::Options o;
    o.runSetup = true;
    zvtest::Installation instalacion(o);
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    if (!zvform::LeerIni()) return 1;
    const std::string rpt = Estado::G().gRutaRpt;
    int fallas = 0;
    for (std::size_t i = 0; i < cuentas.size(); ++i) {
        const long n = cuentas[i];
        auto inicio = std::chrono::steady_clock::now();
        zvtest::LlenaAfiliados(*Estado::G().gBase, RucDe(n), kPeriodo, n);
        const double llenado = Segundos(inicio);
        inicio = std::chrono::steady_clock::now();
        const std::string nombre = Anexo(RucDe(n));
        if (nombre.empty()) return 1;
        std::printf("%ld affiliates: filled in %.2f s; annex written in %.2f s, %d pages, %.1f MB spool file\n", n,
                    llenado, Segundos(inicio), zvform::PaginasDelReporte(),
                    static_cast<double>(fs::file_size(rpt + nombre)) / 1e6);
        std::fflush(stdout);
        std::vector<std::string> modos{"--previa"};
        if (i == 0 || todo) modos.push_back("--imprime");
        for (const std::string& modo : modos) {
            auto r = zvtest::Run(yo.string(), {modo, rpt, nombre}, instalacion.Env(), instalacion.folder, 1200);
            std::cout << r.out << r.err << std::flush;
            if (r.exitCode != 0) ++fallas;
        }
    }
    return fallas == 0 ? 0 : 1;
}
