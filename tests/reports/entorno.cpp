#include "tests/reports/entorno.h"

#include <cstdlib>
#include <fstream>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "platform/textfile.h"
#include "shared/spool.h"

namespace zvreports::prueba {

using zvform::Estado;

std::unique_ptr<zvtest::Installation> ReportesTest::instalacion_;

std::tm RelojFijo() {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 5;
    t.tm_hour = 14;
    t.tm_min = 7;
    t.tm_sec = 9;
    return t;
}

namespace {
std::string errorDeInstalacion;
}

void ReportesTest::SetUpTestSuite() {
    zvtest::Installation::Options o;
    o.runSetup = true;
    try {
        instalacion_ = std::make_unique<zvtest::Installation>(o);
    } catch (const std::exception& e) {
        errorDeInstalacion = e.what();
    }
}

void ReportesTest::TearDownTestSuite() { instalacion_.reset(); }

void ReportesTest::SetUp() {
    ASSERT_TRUE(instalacion_) << "no installation: " << errorDeInstalacion;
    Estado::Reset();
    zvform::ReiniciaCorrida();
    zvform::Corrida().reloj = RelojFijo;
    zv::SetMessageService(&mensajes_);
    ASSERT_TRUE(zvform::LeerIni());
    for (const char* tabla : {"SPOOL", "F841DETDES", "HF841DETDES"}) Base().Execute(std::string("DELETE FROM ") + tabla);
    Base().Execute("DELETE FROM PARAM WHERE Numero = '004' AND Argumento = '77'");
    Base().Execute("INSERT INTO PARAM (Numero, Argumento, Funcion, Correl_param) VALUES ('004', '77', ?, '')",
                   {std::string("BANCO INTERAMERICANO DE PRUEBAS DEL PERÚ Y MÁS TEXTO")});
    for (const auto& f : fs::directory_iterator(RutaRpt())) fs::remove_all(f.path());
}

void ReportesTest::TearDown() {
    zv::SetMessageService(nullptr);
    Estado::Reset();
    zvform::ReiniciaCorrida();
}

dao::Database& ReportesTest::Base() { return *Estado::G().gBase; }

fs::path ReportesTest::RutaRpt() const { return Estado::G().gRutaRpt; }

void ReportesTest::Declaracion() {
    Estado& e = Estado::G();
    e.gRuc = kRuc;
    e.gRazonSocial = kRazonSocial;
    e.gPeriodo = kPeriodo;
    e.gValoresCasilla[28] = "4421234";
    e.gSalida = "ARCHIVO";
}

void ReportesTest::InsertaAfiliado(const Afiliado& a, const std::string& tabla) {
    const bool enviada = tabla == "HF841DETDES";
    std::string sql = "INSERT INTO " + tabla +
                      " (tip_doc_d, doc_id_d, periodo, formulario, " + (enviada ? "Correl, " : "") +
                      "Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, "
                      "Ind_Sexo, Cod_CUSPP, Fec_Afiliac, Fec_SolDesaf, Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, "
                      "Mes_deveng, Mto_Remun, Mto_AporteO, Mto_AporteV, Mto_Rentabi, cnumero) VALUES (6, ?, ?, '0841', " +
                      (enviada ? "?, " : "") + "?, ?, ?, ?, ?, ?, ?, '1', ?, ?, ?, '01', ?, '1', ?, '2000.00', ?, ?, ?, '123456')";
    std::vector<dao::Value> p{std::string(kRuc), std::string(kPeriodo)};
    if (enviada) p.emplace_back(a.correl);
    dao::Date nacimiento{1980, 5, 23}, afiliacion{1995, 7, 1}, solicitud{2008, 9, 15};
    for (dao::Value v : std::vector<dao::Value>{a.rucEmpleador, a.tipoDoc, a.numeroDoc, nacimiento, a.paterno, a.materno,
                                                a.nombres, a.cuspp, afiliacion, solicitud, a.resolucion, a.mes,
                                                a.aporteO, a.aporteV, a.rentabilidad})
        p.push_back(v);
    Base().Execute(sql, p);
}

void ReportesTest::InsertaAfiliados(int n) {
    Base().BeginTrans();
    for (int i = 0; i < n; ++i) {
        Afiliado a;
        a.numeroDoc = std::to_string(40000000 + i * 7);
        a.paterno = i % 5 == 0 ? "ÑAHUI" : "PEREZ";
        a.nombres = "AFILIADO " + std::to_string(i);
        a.aporteO = std::to_string(100 + i) + ".25";
        a.aporteV = std::to_string(i % 3) + ".50";
        a.rentabilidad = i % 4 == 0 ? "-" + std::to_string(i) + ".75" : std::to_string(i) + ".10";
        InsertaAfiliado(a);
    }
    Base().CommitTrans();
}

std::string ReportesTest::Registra(std::string_view codigo) {
    Estado& e = Estado::G();
    std::string nombre = zv::spool::GeneraArchivoSpool(Base(), codigo, e.gRuc, e.gUsuario);
    e.gRutaArchivo = e.gRutaRpt + nombre;
    return nombre;
}

std::vector<std::string> Lineas(const fs::path& archivo) {
    bool completo = false;
    std::vector<std::string> lineas = zvtest::LineasCrLf(archivo, &completo);
    EXPECT_TRUE(completo) << "a line without CR LF in " << archivo;
    return lineas;
}

void ReportesTest::ComparaConReferencia(const fs::path& archivo, const std::string& nombre) const {
    fs::path referencia = fs::path(ZV_REPORTS_GOLDEN_DIR) / nombre;
    std::string obtenido = zvtest::Bytes(archivo);
    const char* actualiza = std::getenv("ZV_UPDATE_GOLDEN");
    if (actualiza && std::string(actualiza) == "1") {
        std::ofstream(referencia, std::ios::binary) << obtenido;
        return;
    }
    ASSERT_TRUE(fs::exists(referencia)) << referencia;
    std::string esperado = zvtest::Bytes(referencia);
    if (obtenido == esperado) return;
    // Point at the first differing line.
    auto a = Lineas(archivo), b = Lineas(referencia);
    for (std::size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
        std::string x = i < a.size() ? a[i] : "<none>", y = i < b.size() ? b[i] : "<none>";
        if (x != y) {
            ADD_FAILURE() << nombre << " differs at line " << i + 1 << "\n  written:  " << x << "\n  expected: " << y;
            return;
        }
    }
    ADD_FAILURE() << nombre << " differs in its bytes";
}

}  // namespace zvreports::prueba
