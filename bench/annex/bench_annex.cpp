// bench_annex [affiliates...]: makes an installation (zvbase + zvsetup), fills
// F841DETDES with one declaration per count (default 10000 and 100000), then
// writes the annex of each in a fresh process of its own and prints the rows
// per second, the spool file's size and pages, and the process's peak RSS.
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/reports/reporte.h"
#include "platform/msgbox.h"
#include "shared/spool.h"
#include "tests/support/support.h"

namespace fs = std::filesystem;
using zvform::Estado;

namespace {

constexpr const char* kPeriodo = "202301";

std::string RucDe(long filas) { return "20" + std::to_string(100000000 + filas % 100000000).substr(0, 9); }

long PicoRssKb() {
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

double Segundos(std::chrono::steady_clock::time_point desde) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - desde).count();
}

void Llena(dao::Database& db, const std::string& ruc, long filas) {
    const std::string sql =
        "INSERT INTO F841DETDES (tip_doc_d, doc_id_d, periodo, formulario, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, "
        "Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, Fec_SolDesaf, "
        "Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, Mto_AporteV, Mto_Rentabi, "
        "cnumero) VALUES (6, ?, ?, '0841', '20100070970', '01', ?, ?, 'PÉREZ', 'GÓMEZ', ?, '1', '123456ABCDE1', ?, "
        "?, '01', 'RES0001', '1', '202212', '2500.00', ?, ?, ?, '000000')";
    db.BeginTrans();
    for (long i = 0; i < filas; ++i) {
        db.Execute(sql, {ruc, std::string(kPeriodo), std::to_string(10000000 + i), dao::Date{1980, 5, 23},
                         "AFILIADO NÚMERO " + std::to_string(i), dao::Date{1995, 7, 1}, dao::Date{2008, 9, 15},
                         std::to_string(100 + i % 900) + ".25", std::to_string(i % 50) + ".50",
                         (i % 7 == 0 ? "-" : "") + std::to_string(i % 300) + ".10"});
    }
    db.CommitTrans();
}

// The report process: the annex of the declaration of `ruc`.
int Anexo(const std::string& ruc, long filas) {
    zv::StderrMessages mensajes;
    zv::SetMessageService(&mensajes);
    if (!zvform::LeerIni()) return 1;
    Estado& e = Estado::G();
    e.gRuc = ruc;
    e.gRazonSocial = "DECLARANTE DE PRUEBA";
    e.gPeriodo = kPeriodo;
    e.gTipoReporte = 2;
    e.gSalida = "ARCHIVO";
    std::string nombre = zv::spool::GeneraArchivoSpool(*e.gBase, "F84102", ruc, e.gUsuario);
    e.gRutaArchivo = e.gRutaRpt + nombre;
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
            Llena(*Estado::G().gBase, RucDe(n), n);
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
