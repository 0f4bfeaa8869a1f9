// bench_frm841 [affiliates...]: makes an installation (zvbase + zvsetup), one
// registered declaration per count (default 1000, 10000 and 100000) with its
// boxes and its detail of affiliates, then opens each in the declaration form
// (offscreen) in a fresh process of its own and prints the time of the load
// and the process's peak RSS.
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/medidas.h"
#include "bench/por_declaracion.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/declaration/ui/frm841.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "tests/support/afiliados.h"

using zvbench::PicoRssKb;
using zvbench::RucDe;
using zvbench::Segundos;
using zvform::Estado;

namespace {

constexpr const char* kPeriodo = "202301";

// The detail of affiliates, and the header and boxes an import leaves.
void Declaracion(dao::Database& db, const std::string& ruc, long filas) {
    zvtest::LlenaAfiliados(db, ruc, kPeriodo, filas);
    db.BeginTrans();
    db.Execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, estado, rectifica, bcolibrad, "
               "NroCheque, cheque, efectivo, cNumero) VALUES (6, ?, ?, '0841', 0, 9, 0, ' ', ' ', '', '', '000000')",
               {ruc, std::string(kPeriodo)});
    for (const char* casilla : {"590", "591", "592", "593", "597", "598"})
        db.Execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor, idcasilla, "
                   "estado, cNumero) VALUES (6, ?, ?, '0841', 0, ?, '123456', '01', 0, '000000')",
                   {ruc, std::string(kPeriodo), std::string(casilla)});
    db.CommitTrans();
}

// The form's process: the declaration of `ruc` opened as its list opens it.
int Abre(int argc, char** argv, const std::string& ruc, long filas) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    if (!zvform::LeerIni()) return 1;
    Estado& e = Estado::G();
    e.gOperacion = 1;
    e.gEsEnviada = false;
    e.gRuc = ruc;
    e.gRazonSocial = "DECLARANTE DE PRUEBA";
    e.gPeriodo = kPeriodo;
    const long antes = PicoRssKb();
    const auto inicio = std::chrono::steady_clock::now();
    zvdecl::ui::Frm841 forma;
    const double s = Segundos(inicio);
    std::printf("%8ld affiliates: form loaded in %.3f s (%.0f rows/s), peak RSS %ld KB (%ld KB before)\n", filas, s,
                static_cast<double>(filas) / s, PicoRssKb(), antes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return zvbench::CorrePorDeclaracion(
        argc, argv,
        {"--abre", {1000, 10000, 100000}, RucDe, Declaracion,
         [&](const std::string& ruc, long filas) { return Abre(argc, argv, ruc, filas); }});
}
