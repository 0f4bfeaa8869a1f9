#include "tests/grabacion/entorno.h"

#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "platform/dao/conversion.h"

namespace zvdecl::prueba {

using zvform::Estado;

bool PuertaGuionada::PuedeContinuar() {
    ++preguntas;
    if (respuestas.empty()) return true;
    bool r = respuestas.front();
    respuestas.erase(respuestas.begin());
    return r;
}

std::unique_ptr<Entorno> GrabacionTest::entorno_;

void GrabacionTest::SetUpTestSuite() { entorno_ = std::make_unique<Entorno>(); }

void GrabacionTest::TearDownTestSuite() { entorno_.reset(); }

void GrabacionTest::SetUp() {
    entorno_->Reinicia();
    fs::remove_all(Mens());
    entorno_->AbreDesdeLista(false);
    puerta_ = std::make_shared<PuertaGuionada>();
    Estado::G().gUtil = puerta_;
    MuestraInconsistencias() = [this] { ++visorMostrado_; };
}

void GrabacionTest::TearDown() { MuestraInconsistencias() = nullptr; }

DatosFrm841 GrabacionTest::DatosAbiertos() const {
    DatosFrm841 d;
    d.operacion = 1;
    d.caption = CaptionFrm841(false);
    d.txtNumRuc = kRuc;
    d.txtRazon = kRazon;
    d.mkePeriodo = "01/2023";
    d.txtValor = {{590, "351"}, {591, "11"}, {592, "(2)"}, {593, "3"}, {597, "360"}, {598, "360"}};
    d.formaDePago.monto = "360";
    return d;
}

dao::Database& GrabacionTest::Base() { return entorno_->Base(); }

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
    for (; !rs->EOF_(); rs->MoveNext())
        out.emplace_back(zvform::SumaControlRegistro(*rs, desde), rs->Fields(rs->FieldCount() - 1).AsText());
    return out;
}

std::vector<std::string> GrabacionTest::TextosMostrados() const { return entorno_->Textos(); }

fs::path GrabacionTest::Mens() const { return Estado::G().gSysPath + "Mens.txt"; }

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
