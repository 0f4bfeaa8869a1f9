#include "tests/import/entorno.h"

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "platform/textfile.h"

namespace zvimport::prueba {

using zvform::Estado;

const char* const kLinea1 =
    "20100070970|01|12345678|23051980|pérez|gómez|juan carlos|1|123456ABCDE1|01071995|15092008|01|RES0001|1|"
    "202301|1500.00|120.50|10.00|-5.25|";
const char* const kLinea2 =
    "|07|AB12345|01011975|MUÑOZ||MARÍA|2|ABCDEF123456|01061993|28082007|02|R2|2|202212|2000|150.|.50|3.40|";
const char* const kLinea3 =
    "20100070970|11|P0123456789ABCD|10101990||QUISPE|ROSA|2|XYZ123456789|15031999|01012010|03|1234567890|1|"
    "202301|999.99|80.00|0|0|";

std::unique_ptr<zvtest::Installation> ImportacionTest::instalacion_;

void ImportacionTest::SetUpTestSuite() {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    instalacion_ = std::make_unique<zvtest::Installation>(opciones);
}

void ImportacionTest::TearDownTestSuite() { instalacion_.reset(); }

void ImportacionTest::SetUp() {
    Estado::Reset();
    zv::SetMessageService(&mensajes_);
    zvform::FijaCarpetaErrorLog(dir_.path());
    zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
    ASSERT_TRUE(zvform::LeerIni());
    for (const char* tabla : {"F841DETDES", "CAB", "DET", "SPOOL"}) Base().Execute(std::string("DELETE FROM ") + tabla);
    for (const auto& f : fs::directory_iterator(RutaRpt())) fs::remove_all(f.path());
    carpeta_ = dir_.path() / "origen";
    fs::create_directories(carpeta_);
    formulario_.carpeta = carpeta_.string();
    importacion_ = std::make_unique<Importacion>(formulario_);
}

void ImportacionTest::TearDown() {
    importacion_.reset();
    zvform::InstalaTerminador(nullptr);
    zvform::FijaCarpetaErrorLog({});
    zv::SetMessageService(nullptr);
    Estado::Reset();
}

void ImportacionTest::ArchivoDeDatos(const std::string& datos, const std::string& nombre) {
    fs::copy_file(zvtest::SourceDir() / "tests/import/data" / datos, carpeta_ / nombre,
                  fs::copy_options::overwrite_existing);
}

void ImportacionTest::ArchivoConLineas(const std::vector<std::string>& lineas) {
    zv::text::TextWriter w(carpeta_ / (std::string(kBase) + ".TXT"), zv::text::WriteMode::Output);
    for (const auto& l : lineas) w.WriteLine(l);
    w.Close();
}

dao::Database& ImportacionTest::Base() { return *Estado::G().gBase; }

long ImportacionTest::Cuenta(const std::string& tabla) {
    auto rs = Base().OpenRecordset("SELECT COUNT(*) AS n FROM " + tabla, dao::dbOpenSnapshot);
    return static_cast<long>(rs->Fields(0).AsLong());
}

std::map<std::string, std::string> ImportacionTest::Casillas() {
    std::map<std::string, std::string> out;
    auto rs = Base().OpenRecordset("SELECT Casilla, i_valor FROM DET WHERE doc_id_d = ? AND periodo = ?",
                                   dao::dbOpenSnapshot, {kRuc, kPeriodo});
    for (; !rs->EOF_(); rs->MoveNext()) out[rs->Fields(0).AsText()] = rs->Fields(1).AsText();
    return out;
}

std::string ImportacionTest::Texto(const std::string& sql, const std::vector<dao::Value>& params) {
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    return rs->EOF_() ? "<sin fila>" : rs->Fields(0).AsText();
}

fs::path ImportacionTest::RutaRpt() const { return Estado::G().gRutaRpt; }

std::vector<std::string> ImportacionTest::Lineas(const fs::path& archivo) {
    bool completo = false;
    std::vector<std::string> out = zvtest::LineasCrLf(archivo, &completo);
    EXPECT_TRUE(completo) << "every line ends with CR LF";
    return out;
}

std::vector<std::string> ImportacionTest::TextosMostrados() const {
    std::vector<std::string> out;
    for (const auto& m : mensajes_.shown) out.push_back(m.text);
    return out;
}

}  // namespace zvimport::prueba
