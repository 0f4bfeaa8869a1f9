#include "tests/grabacion/entorno.h"

#include <cstdio>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/import/importacion.h"
#include "platform/dao/conversion.h"
#include "platform/textfile.h"

namespace zvdecl::prueba {

using zvform::Estado;

namespace {

// The import form with its choices made: the declarant and period of the
// fixture, the affiliates file of the import tests.
class ImportacionDePrueba : public zvimport::ImportUi {
public:
    explicit ImportacionDePrueba(std::string carpeta) : carpeta_(std::move(carpeta)) {}
    std::string DeclaranteElegido() const override { return std::string(kRuc) + "         AFP DE PRUEBA"; }
    std::string TextoPeriodo() const override { return "01/2023"; }
    std::string Carpeta() const override { return carpeta_; }
    std::string ArchivoSeleccionado() const override { return std::string("0841") + kPeriodo + kRuc + ".txt"; }

private:
    std::string carpeta_;
};

// The text a field counts with in the digest.
std::string TextoDigesto(const dao::Value& v) {
    switch (v.Type()) {
        case dao::DataType::Null:
        case dao::DataType::Boolean:
            return "";
        case dao::DataType::Text:
            return zv::text::Trim(v.AsText());
        case dao::DataType::Date: {
            const dao::Date d = v.AsDate();
            char texto[16];
            std::snprintf(texto, sizeof texto, "%04d%02d%02d", d.year, d.month, d.day);
            return texto;
        }
        default:
            return v.AsText();
    }
}

}  // namespace

bool PuertaGuionada::PuedeContinuar() {
    ++preguntas;
    if (respuestas.empty()) return true;
    bool r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
}

std::unique_ptr<zvtest::Installation> GrabacionTest::instalacion_;

void GrabacionTest::SetUpTestSuite() {
    zvtest::Installation::Options opciones;
    opciones.runSetup = true;
    instalacion_ = std::make_unique<zvtest::Installation>(opciones);
}

void GrabacionTest::TearDownTestSuite() { instalacion_.reset(); }

void GrabacionTest::SetUp() {
    Estado::Reset();
    zv::SetMessageService(&mensajes_);
    zvform::FijaCarpetaErrorLog(dir_.path());
    zvform::InstalaTerminador([](int codigo) { throw ProgramaTerminado{codigo}; });
    ASSERT_TRUE(zvform::LeerIni());
    for (const char* tabla : {"F841DETDES", "HF841DETDES", "CAB", "DET", "HCAB", "HDET", "SPOOL"})
        Base().Execute(std::string("DELETE FROM ") + tabla);
    fs::remove_all(Mens());

    const fs::path origen = dir_.path() / "origen";
    fs::create_directories(origen);
    fs::copy_file(zvtest::SourceDir() / "tests/import/data/limpio.txt",
                  origen / (std::string("0841") + kPeriodo + kRuc + ".TXT"));
    ImportacionDePrueba formulario(origen.string());
    zvimport::Importacion(formulario).CmdGrabar_Click();
    ASSERT_EQ(Casillas().size(), 6u) << "the import wrote the declaration";
    mensajes_.shown.clear();

    Estado& e = Estado::G();
    e.gOperacion = 1;
    e.gRuc = kRuc;
    e.gPeriodo = kPeriodo;
    puerta_ = std::make_shared<PuertaGuionada>();
    e.gUtil = puerta_;
    MuestraInconsistencias() = [this] { ++visorMostrado_; };
}

void GrabacionTest::TearDown() {
    MuestraInconsistencias() = nullptr;
    zvform::InstalaTerminador(nullptr);
    zvform::FijaCarpetaErrorLog({});
    zv::SetMessageService(nullptr);
    Estado::Reset();
}

DatosFrm841 GrabacionTest::DatosAbiertos() const {
    DatosFrm841 d;
    d.operacion = 1;
    d.caption = CaptionFrm841(false);
    d.txtNumRuc = kRuc;
    d.txtRazon = "AFP DE PRUEBA";
    d.mkePeriodo = "01/2023";
    d.txtValor = {{590, "351"}, {591, "11"}, {592, "(2)"}, {593, "3"}, {597, "360"}, {598, "360"}};
    d.formaDePago.monto = "360";
    return d;
}

dao::Database& GrabacionTest::Base() { return *Estado::G().gBase; }

std::vector<Fila> GrabacionTest::Filas(const std::string& sql, const std::vector<dao::Value>& params) {
    std::vector<Fila> filas;
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    for (; !rs->EOF_(); rs->MoveNext()) {
        Fila fila;
        for (int i = 0; i < rs->FieldCount(); ++i) {
            const dao::Value& v = rs->Fields(i);
            fila[dao::conv::Lower(rs->FieldDefs()[i].Name())] = v.IsNull() ? "<null>" : v.AsText();
        }
        filas.push_back(fila);
    }
    return filas;
}

Fila GrabacionTest::Cabecera() {
    auto filas = Filas("SELECT * FROM CAB WHERE doc_id_d = ? AND periodo = ?", {kRuc, kPeriodo});
    EXPECT_EQ(filas.size(), 1u);
    return filas.empty() ? Fila{} : filas[0];
}

std::map<std::string, std::string> GrabacionTest::Casillas() {
    std::map<std::string, std::string> out;
    for (auto& f : Filas("SELECT casilla, i_valor FROM DET WHERE doc_id_d = ? AND periodo = ?", {kRuc, kPeriodo}))
        out[f["casilla"]] = f["i_valor"];
    return out;
}

std::vector<std::pair<std::string, std::string>> GrabacionTest::Digestos(const std::string& sql, int desde,
                                                                         const std::vector<dao::Value>& params) {
    std::vector<std::pair<std::string, std::string>> out;
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    for (; !rs->EOF_(); rs->MoveNext()) {
        std::vector<dao::Value> valores;
        for (int i = 0; i < rs->FieldCount(); ++i) valores.push_back(rs->Fields(i));
        out.emplace_back(DigestoEsperado(valores, desde), valores.back().AsText());
    }
    return out;
}

std::vector<std::string> GrabacionTest::TextosMostrados() const {
    std::vector<std::string> out;
    for (const auto& m : mensajes_.shown) out.push_back(m.text);
    return out;
}

fs::path GrabacionTest::Mens() const { return Estado::G().gSysPath + "Mens.txt"; }

std::string DigestoEsperado(const std::vector<dao::Value>& valores, int desde) {
    long long numerica = 0, ponderada = 0;
    for (int i = 0; i < desde; ++i) {
        const std::string t = TextoDigesto(valores[i]);
        if (dao::conv::IsNumeric(t)) numerica += static_cast<long long>(dao::conv::Val(t) + 0.5);
    }
    for (std::size_t i = desde; i + 1 < valores.size(); ++i) {
        const std::string bytes = zv::text::ToCp1252(TextoDigesto(valores[i]));
        for (std::size_t p = 0; p < bytes.size(); ++p)
            ponderada += static_cast<long long>(p + 1) * static_cast<unsigned char>(bytes[p]);
    }
    char texto[8];
    std::snprintf(texto, sizeof texto, "%03lld%03lld", numerica % 1000, ponderada % 1000);
    return texto;
}

namespace {
// The modulus-11 digit of a digit string: weights 2..7 from the right.
char Modulo11(const std::string& s) {
    int suma = 0, peso = 2;
    for (auto it = s.rbegin(); it != s.rend(); ++it) {
        if (*it >= '0' && *it <= '9') suma += (*it - '0') * peso;
        peso = peso == 7 ? 2 : peso + 1;
    }
    int d = 11 - suma % 11;
    if (d == 11) d = 1;
    if (d == 10) d = 0;
    return static_cast<char>('0' + d);
}
}  // namespace

std::string DigitosDeOrden(const std::string& control, const std::string& orden) {
    const char c1 = Modulo11(control);
    const std::string segunda = (control + orden + c1).substr(0, 17);
    return std::string(1, c1) + Modulo11(segunda);
}

}  // namespace zvdecl::prueba
