// bench_frm841 [affiliates...]: makes an installation (zvbase + zvsetup), one
// registered declaration per count (default 1000, 10000 and 100000) with its
// boxes and its detail of affiliates, then opens each in the declaration form
// (offscreen) in a fresh process of its own and prints the time of the load
// and the process's peak RSS.
#include <sys/resource.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/declaration/ui/frm841.h"
#include "platform/msgbox.h"
#include "tests/support/support.h"

namespace fs = std::filesystem;
using zvform::Estado;

namespace {

constexpr const char* kPeriodo = "202301";

std::string RucDe(long filas) { return "20" + std::to_string(200000000 + filas % 100000000).substr(0, 9); }

long PicoRssKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

// The detail made by the engine itself from a counter, and the header and
// boxes an import leaves.
void Declaracion(dao::Database& db, const std::string& ruc, long filas) {
    db.BeginTrans();
    db.Execute(
        "INSERT INTO F841DETDES (tip_doc_d, doc_id_d, periodo, formulario, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, "
        "Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, Fec_SolDesaf, "
        "Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, Mto_AporteV, Mto_Rentabi, "
        "cnumero) WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < ?) "
        "SELECT 6, ?, ?, '0841', '20100070970', '01', 10000000 + i, '1980-05-23', 'PÉREZ', 'GÓMEZ', "
        "'AFILIADO ' || i, '1', '123456ABCDE1', '1995-07-01', '2008-09-15', '01', 'RES0001', '1', '202212', "
        "'2500.00', (100 + i % 900) || '.25', (i % 50) || '.50', (i % 300) || '.10', '000000' FROM n",
        {filas, ruc, std::string(kPeriodo)});
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
    const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    std::printf("%8ld affiliates: form loaded in %.3f s (%.0f rows/s), peak RSS %ld KB (%ld KB before)\n", filas, s,
                static_cast<double>(filas) / s, PicoRssKb(), antes);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--abre") return Abre(argc, argv, argv[2], std::atol(argv[3]));
    const fs::path yo = fs::canonical("/proc/self/exe");
    setenv("ZV_BIN_DIR", yo.parent_path().c_str(), 0);

    std::vector<long> cuentas;
    for (int i = 1; i < argc; ++i) cuentas.push_back(std::atol(argv[i]));
    if (cuentas.empty()) cuentas = {1000, 10000, 100000};

    zvtest::Installation::Options o;
    o.runSetup = true;
    zvtest::Installation instalacion(o);
    {
        zv::StderrMessages mensajes;
        zv::SetMessageService(&mensajes);
        if (!zvform::LeerIni()) return 1;
        for (long n : cuentas) Declaracion(*Estado::G().gBase, RucDe(n), n);
        Estado::Reset();
        zv::SetMessageService(nullptr);
    }
    int fallas = 0;
    for (long n : cuentas) {
        auto r = zvtest::Run(yo.string(), {"--abre", RucDe(n), std::to_string(n)}, instalacion.Env(),
                             instalacion.folder, 600);
        std::cout << r.out << r.err;
        if (r.exitCode != 0) ++fallas;
    }
    return fallas == 0 ? 0 : 1;
}
