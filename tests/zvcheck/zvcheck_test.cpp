// zvcheck run on a fresh installation: the boxes of a registered declaration
// against its affiliates' detail, and what the host finds under TMP/.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/profile.h"
#include "platform/single_instance.h"
#include "shared/cuentas.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using zvtest::Bytes;
using zvtest::Installation;
using zvtest::RunResult;

const std::string kRuc = "20100000001";
const std::string kPeriodo = "202401";
// Type, number padded to 15, form, period, week, control code.
const std::string kClave = "06" + kRuc + "    " + "0841" + kPeriodo + "0" + "12345678";
const std::string kRaiz = "06" + kRuc + "0841" + kPeriodo + "0";

const std::string kTituloInconsistencia = "Error en la información a enviar: ";
const std::string kMensajeValidacion = "Validación: Error en la validación de las casillas";

void Escribe(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Montos {
    std::string aporteO, aporteV, rentabi;
};

// A zvbase installation after zvsetup, with its own runtime folder so that
// the single-instance lock of one test never meets another's.
class Declaracion {
public:
    Declaracion() : instalacion_(Installation::Options{.runSetup = true}) {
        fs::create_directories(runtime_.path());
    }

    const Installation& instalacion() const { return instalacion_; }
    const fs::path& runtime() const { return runtime_.path(); }
    std::string Tmp() const { return instalacion_.folder.string() + "/TMP/"; }
    std::string Informe(const std::string& raiz = kRaiz) const { return Tmp() + raiz + ".ERR"; }
    std::string Marca(const std::string& raiz = kRaiz) const { return Tmp() + raiz + ".TXT"; }

    std::unique_ptr<dao::Database> Abre(bool exclusiva = false) {
        return instalacion_.Open(zv::cuentas::Zvcheck(), exclusiva);
    }

    void Cabecera() {
        Abre()->Execute(
            "INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, estado, cNumero) "
            "VALUES (?, ?, ?, ?, ?, ?, ?)",
            {6, kRuc, kPeriodo, "0841", 0, "9", "000000"});
    }

    void Casilla(const std::string& casilla, const std::string& valor) {
        Abre()->Execute(
            "INSERT INTO DET (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla, i_valor, cNumero) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
            {6, kRuc, kPeriodo, "0841", 0, casilla, valor, "000000"});
    }

    // One affiliate per row; the document number tells them apart.
    void Afiliado(int n, const Montos& m) {
        const dao::Date nacimiento{1970, 5, 17}, afiliacion{1995, 1, 2}, solicitud{2023, 11, 30};
        Abre()->Execute(
            "INSERT INTO F841DETDES (tip_doc_d, doc_id_d, periodo, formulario, Num_RUCEmpl, Tip_Doctrab, "
            "Num_Doctrab, Fec_NacTrab, Nom_ApePat, Nom_ApeMat, Nom_Nombre, Ind_Sexo, Cod_CUSPP, Fec_Afiliac, "
            "Fec_SolDesaf, Cod_MotDesaf, Num_ResDesaf, Ind_CondPago, Mes_deveng, Mto_Remun, Mto_AporteO, "
            "Mto_AporteV, Mto_Rentabi, cnumero) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
            {6, kRuc, kPeriodo, "0841", "20512345671", "1", "4000000" + std::to_string(n), nacimiento,
             "Núñez", "", "José", "M", "123456ABCDE1", afiliacion, solicitud, "01", "R-00001", "1", "202312",
             "2500.00", m.aporteO, m.aporteV, m.rentabi, "000000"});
    }

    RunResult Zvcheck(const std::string& clave = kClave) const {
        auto env = instalacion_.Env();
        env["XDG_RUNTIME_DIR"] = runtime_.path().string();
        env["ZARVO_LOCKDIR"] = runtime_.path().string();
        return zvtest::Run("zvcheck", {clave}, env, instalacion_.folder);
    }

private:
    Installation instalacion_;
    zvtest::TempDir runtime_;
};

std::string HeaderRegex() {
    return "\\d\\d/\\d\\d/\\d{4} {70}\\d\\d:\\d\\d:\\d\\d\r\n \r\n \r\n";
}

// The report file as the host reads it: Windows-1252, CR LF.
void ExpectReport(const std::string& path, const std::vector<std::string>& lineas) {
    ASSERT_TRUE(fs::exists(path)) << path;
    std::string bytes = Bytes(path);
    std::string esperado = std::string(11, ' ') +
                           "Resumen de Inconsistencias en Informaci\xF3n a Enviar - Formulario 0841\r\n";
    for (const auto& l : lineas) esperado += l + "\r\n";
    auto finCabecera = bytes.find("\r\n \r\n \r\n");
    ASSERT_NE(finCabecera, std::string::npos) << bytes;
    std::string fecha = bytes.substr(0, finCabecera + 8);
    EXPECT_TRUE(std::regex_match(fecha, std::regex(HeaderRegex()))) << fecha;
    EXPECT_EQ(bytes.substr(finCabecera + 8), esperado);
}

std::string Linea(const char* orden, const char* casilla) {
    return std::string(orden) + ") El valor de la casilla " + casilla + " no coincide con el detalle del asistente.";
}

struct Caso {
    const char* nombre;
    std::vector<std::pair<std::string, std::string>> casillas;  // DET rows
    std::vector<Montos> detalle;                                 // F841DETDES rows
    std::vector<std::string> lineas;  // disagreement lines; none: the boxes agree
    bool errorEnValidacion = false;
};

void PrintTo(const Caso& caso, std::ostream* os) { *os << caso.nombre; }

const Montos kA{"100.00", "20.00", "4.50"}, kB{"200.00", "30.00", "5.50"};

const Caso kCasos[] = {
    {"todas iguales", {{"005", "0"}, {"590", "300"}, {"591", "50"}, {"592", "10"}}, {kA, kB}, {}},
    {"591 difiere", {{"005", "0"}, {"590", "300"}, {"591", "51"}, {"592", "10"}}, {kA, kB},
     {Linea("001", "591")}},
    {"590 y 592 difieren", {{"590", "301"}, {"591", "50"}, {"592", "11"}}, {kA, kB},
     {Linea("001", "590"), Linea("002", "592")}},
    {"1234.50 contra 1235", {{"590", "1235"}}, {{"617.25", "0", "0"}, {"617.25", "0", "0"}}, {}},
    {"1234.50 contra 1234", {{"590", "1234"}}, {{"617.25", "0", "0"}, {"617.25", "0", "0"}},
     {Linea("001", "590")}},
    // 1643.50 exactly; added in binary floating point it comes to 1643.4999...
    {"suma exacta antes de redondear", {{"590", "1644"}},
     {{"453.12", "0", "0"}, {"302.61", "0", "0"}, {"887.16", "0", "0"}, {"0.61", "0", "0"}}, {}},
    {"indicador 2: nada se compara", {{"005", "2"}, {"590", "1"}, {"591", "2"}, {"592", "3"}}, {kA, kB}, {}},
    {"indicador 1 compara", {{"005", "1"}, {"590", "1"}}, {kA, kB}, {Linea("001", "590")}},
    {"indicador no numérico cuenta como 0", {{"005", "x"}, {"591", "1"}}, {kA, kB}, {Linea("001", "591")}},
    {"indicador vacío cuenta como 0", {{"005", ""}, {"591", "1"}}, {kA, kB}, {Linea("001", "591")}},
    {"indicador 0.5 no compara", {{"005", "0.5"}, {"591", "1"}}, {kA, kB}, {}},
    {"sin detalle y 590 en 0", {{"590", "0"}}, {}, {}},
    {"sin detalle y 590 en 15", {{"590", "15"}}, {}, {Linea("001", "590")}},
    {"casilla sin fila no se informa", {{"591", "50"}}, {kA, kB}, {}},
    // -1234.50 goes to -1235 (half away from zero), stored with its sign.
    {"rentabilidad negativa", {{"590", "0"}, {"591", "0"}, {"592", "-1235"}},
     {{"0", "0", "-617.25"}, {"0", "0", "-617.25"}}, {}},
    {"rentabilidad negativa sin signo no coincide", {{"592", "1235"}},
     {{"0", "0", "-617.25"}, {"0", "0", "-617.25"}}, {Linea("001", "592")}},
    {"valor no numérico", {{"590", "999"}, {"591", "abc"}, {"592", "10"}}, {kA, kB}, {Linea("001", "590")},
     true},
};

class Casos : public ::testing::TestWithParam<Caso> {};

TEST_P(Casos, ComparaCasillasConDetalle) {
    const Caso& caso = GetParam();
    Declaracion d;
    d.Cabecera();
    for (const auto& [casilla, valor] : caso.casillas) d.Casilla(casilla, valor);
    for (std::size_t i = 0; i < caso.detalle.size(); ++i) d.Afiliado(static_cast<int>(i), caso.detalle[i]);
    // What an earlier run left behind.
    const std::string marcaAnterior = "marca anterior\r\n";
    Escribe(d.Marca(), marcaAnterior);
    Escribe(d.Informe(), "informe anterior\r\n");

    RunResult r = d.Zvcheck();

    const bool coinciden = caso.lineas.empty() && !caso.errorEnValidacion;
    if (coinciden) {
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_FALSE(fs::exists(d.Informe()));
        EXPECT_EQ(Bytes(d.Marca()), marcaAnterior);
        return;
    }
    EXPECT_EQ(r.exitCode, caso.errorEnValidacion ? 1 : 0) << r.err;
    EXPECT_EQ(r.err.find(kMensajeValidacion) != std::string::npos, caso.errorEnValidacion) << r.err;
    EXPECT_NE(r.err.find(kTituloInconsistencia + "Existen datos inconsistentes en la información a enviar. "
                                                   "Revisar el archivo " +
                         d.Informe()),
              std::string::npos)
        << r.err;
    ExpectReport(d.Informe(), caso.lineas);
    EXPECT_EQ(Bytes(d.Marca()), "0841 ERROR\r\n");
}

INSTANTIATE_TEST_SUITE_P(Zvcheck, Casos, ::testing::ValuesIn(kCasos),
                         [](const ::testing::TestParamInfo<Caso>& info) {
                             std::string n;
                             for (char c : std::string(info.param.nombre))
                                 n += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return n;
                         });

TEST(Zvcheck, RegistraElArchivoDeGrupoEnZvbasIni) {
    Declaracion d;
    zv::profile::WritePrivateProfileString("Options", "SystemDB", "otro", "ZVBAS.INI");
    RunResult r = d.Zvcheck();
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(zv::profile::ReadTrimmed("Options", "SystemDB", "ZVBAS.INI"),
              d.instalacion().folder.string() + "/ZVBAS.MDW");
}

// Without the control code and the week: the missing positions read as
// empty, so the week is simply absent from the file names.
TEST(Zvcheck, ClaveCortaNoSeRechaza) {
    Declaracion d;
    d.Casilla("591", "7");
    const std::string clave = kClave.substr(0, 27);
    const std::string raiz = kRaiz.substr(0, kRaiz.size() - 1);
    RunResult r = d.Zvcheck(clave);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    ExpectReport(d.Informe(raiz), {Linea("001", "591")});
    EXPECT_EQ(Bytes(d.Marca(raiz)), "0841 ERROR\r\n");
}

// Runs that end on a message before the check leave the host's files alone.
class SinRevision : public ::testing::Test {
protected:
    void SetUp() override {
        d.Casilla("590", "15");
        Escribe(d.Informe(), "informe anterior\r\n");
        Escribe(d.Marca(), "marca anterior\r\n");
    }
    void ExpectFilesUntouched() {
        EXPECT_EQ(Bytes(d.Informe()), "informe anterior\r\n");
        EXPECT_EQ(Bytes(d.Marca()), "marca anterior\r\n");
    }
    Declaracion d;
};

TEST_F(SinRevision, SegundaInstancia) {
    zvtest::ScopedEnv cerrojos("ZARVO_LOCKDIR", d.runtime().string());
    zv::SingleInstance primera("zvcheck");
    ASSERT_FALSE(primera.PrevInstance());
    RunResult r = d.Zvcheck();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err, "Presentación Telemática: La aplicación ya se encuentra en Ejecución\n\n");
    ExpectFilesUntouched();
}

TEST_F(SinRevision, BaseBloqueada) {
    auto exclusiva = d.Abre(/*exclusiva*/ true);
    RunResult r = d.Zvcheck();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err, "Error de Conección:  3051- Base esta bloqueda\n\n");
    ExpectFilesUntouched();
}

// The host finds the workgroup file through ZVBAS.INI: a key that cannot be
// written there is an open that failed.
TEST_F(SinRevision, ZvbasIniQueNoSePuedeEscribir) {
    const fs::path ini = d.instalacion().windir / "ZVBAS.INI";
    zvtest::AbreATodos(d.runtime());
    RunResult r = zvtest::SinPermisoDeEscritura(ini, d.instalacion().windir.parent_path(), [&] { return d.Zvcheck(); });
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err, "Error de Conección: No se puede escribir el archivo de configuración ZVBAS.INI: \"" + ini.string() +
                         "\".\n 75\n\n");
    ExpectFilesUntouched();
}

TEST_F(SinRevision, BaseInexistente) {
    zv::profile::WritePrivateProfileString("Options", "DBName", "NOHAY.MDB", "ZVBAS.INI");
    RunResult r = d.Zvcheck();
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.rfind("Error de Conección: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find("\n 3024\n\n"), std::string::npos) << r.err;
    ExpectFilesUntouched();
}

}  // namespace
