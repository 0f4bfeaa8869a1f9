// The field rules of a line, case by case.
#include <gtest/gtest.h>

#include "formulario/core/estado.h"
#include "formulario/import/mensajes.h"
#include "formulario/import/validacion.h"
#include "platform/textfile.h"

namespace zvimport {
namespace {

// What the line had set before the field (-: leave as the line starts).
struct Caso {
    int posicion;
    std::string dato;
    bool valido;
    std::string codigo;       // "" when valid
    std::string devuelto;     // the value given back; "=" the trimmed input
    std::string ruc = "-";    // RucEmpleador before the field
    std::string tipo = "-";   // TipoDocumento
    std::string paterno = "-";  // ApellidoPaterno
};

std::ostream& operator<<(std::ostream& os, const Caso& c) {
    os << "campo " << c.posicion + 1 << " \"";
    for (char ch : c.dato) ch == '\r' ? os << "\\r" : os << ch;
    return os << "\"";
}

class Reglas : public testing::TestWithParam<Caso> {
protected:
    void SetUp() override {
        zvform::Estado::Reset();
        reglas.Hoy = {2024, 3, 15};
    }
    void TearDown() override { zvform::Estado::Reset(); }
    ReglasCampo reglas;
};

TEST_P(Reglas, ValidaTransferencia) {
    const Caso& c = GetParam();
    reglas.NuevaLinea();
    if (c.ruc != "-") reglas.RucEmpleador = c.ruc;
    if (c.tipo != "-") reglas.TipoDocumento = c.tipo;
    if (c.paterno != "-") reglas.ApellidoPaterno = c.paterno;
    std::string dato = c.dato;
    EXPECT_EQ(reglas.ValidaTransferencia(dato, c.posicion), c.valido);
    EXPECT_EQ(reglas.CodigoError, c.codigo);
    if (c.valido) {
        EXPECT_EQ(dato, c.devuelto == "=" ? zv::text::Trim(c.dato) : c.devuelto);
    }
}

INSTANTIATE_TEST_SUITE_P(Campos, Reglas, testing::Values(
    // Field 1 and field 14 together.
    Caso{0, "", true, "", "="}, Caso{0, "2010007097", false, "300", ""}, Caso{0, "2010007097A", false, "305", ""},
    Caso{0, "20100070971", false, "306", ""}, Caso{0, " 20100070970 ", true, "", "20100070970"},
    Caso{13, "2", true, "", "=", "0"}, Caso{13, "1", false, "480", "", "0"},
    Caso{13, "2", false, "481", "", "20100070970"}, Caso{13, "1", true, "", "=", "20100070970"},
    Caso{13, "", false, "470", ""}, Caso{13, "3", false, "475", "", "0"},
    // Field 2.
    Caso{1, "05", false, "312", ""}, Caso{1, "1", false, "310", ""}, Caso{1, "0A", false, "311", ""},
    Caso{1, "11", true, "", "="}, Caso{1, "10", false, "312", ""},
    // Field 3 by type.
    Caso{2, "1234567", false, "315", "", "-", "01"}, Caso{2, "1234567A", false, "320", "", "-", "01"},
    Caso{2, "12345678", true, "", "=", "-", "01"},
    Caso{2, "ABCDEFGHIJ12345", true, "", "=", "-", "11"}, Caso{2, "ABCDEFGHIJ123456", false, "315", "", "-", "11"},
    Caso{2, "ABCDEFGHIJ123", false, "315", "", "-", "07"}, Caso{2, "", false, "315", "", "-", "04"},
    Caso{2, "AB-12", false, "320", "", "-", "02"},
    // Fields 5 and 6.
    Caso{4, "", true, "", "="}, Caso{5, "", false, "360", "", "-", "-", ""},
    Caso{5, "QUISPE", true, "", "=", "-", "-", ""}, Caso{5, "", true, "", "=", "-", "-", "PÉREZ"},
    Caso{4, std::string(41, 'A'), false, "340", ""}, Caso{5, std::string(41, 'A'), false, "350", ""},
    Caso{4, "P3REZ", false, "345", ""}, Caso{4, "MUÑOZ DE LA PEÑA", true, "", "="},
    // Field 7: required; the column holds 40 characters.
    Caso{6, "", false, "365", ""}, Caso{6, std::string(40, 'A'), true, "", "="},
    Caso{6, std::string(41, 'A'), false, "371", ""}, Caso{6, std::string(61, 'A'), false, "370", ""},
    Caso{6, "JOSÉ MARÍA", true, "", "="}, Caso{6, "J0SE", false, "375", ""},
    // Fields 8, 9, 12, 13.
    Caso{7, "", false, "380", ""}, Caso{7, "3", false, "385", ""}, Caso{7, "2", true, "", "="},
    Caso{8, "", false, "390", ""}, Caso{8, "ABC", false, "395", ""}, Caso{8, "ABC 12345678", false, "400", ""},
    Caso{8, "ABC123456789", true, "", "="},
    Caso{11, "", false, "445", ""}, Caso{11, "04", false, "450", ""}, Caso{11, "03", true, "", "="},
    Caso{12, "", false, "455", ""}, Caso{12, "12345678901", false, "460", ""}, Caso{12, "R-1", false, "465", ""},
    // Dates: the bounds, a false date, the form, after today.
    Caso{3, "", false, "326", ""}, Caso{3, "2305198", false, "325", ""}, Caso{3, "23O51980", false, "325", ""},
    Caso{3, "30022000", false, "330", ""}, Caso{3, "16032024", false, "335", ""}, Caso{3, "15032024", true, "", "="},
    Caso{9, "31051993", false, "415", ""}, Caso{9, "01061993", true, "", "="}, Caso{9, "", false, "406", ""},
    Caso{9, "1061993", false, "405", ""}, Caso{9, "32011999", false, "410", ""}, Caso{9, "01042024", false, "420", ""},
    Caso{10, "27082007", false, "435", ""}, Caso{10, "28082007", true, "", "="}, Caso{10, "", false, "426", ""},
    Caso{10, "28-08-07", false, "425", ""}, Caso{10, "29022007", false, "430", ""}, Caso{10, "16032024", false, "440", ""},
    // Field 15.
    Caso{14, "", false, "485", ""}, Caso{14, "200713", false, "490", ""}, Caso{14, "20071", false, "490", ""},
    Caso{14, "199305", false, "495", ""}, Caso{14, "199306", true, "", "="}, Caso{14, "202403", true, "", "="},
    Caso{14, "202404", false, "495", ""},
    // Amounts.
    Caso{18, "-", false, "540", ""}, Caso{18, "--5", false, "535", ""}, Caso{18, "-5-", false, "535", ""},
    Caso{18, "-12345678901.50", true, "", "-12345678901.50"}, Caso{18, "-123456789012", false, "545", ""},
    Caso{18, "123456789012", true, "", "="}, Caso{18, "1234567890123", false, "520", ""},
    Caso{18, ".", false, "531", ""}, Caso{18, "-.", false, "531", ""}, Caso{18, "", false, "500", ""},
    Caso{15, "1234567890123", false, "520", ""}, Caso{15, "1.234", false, "525", ""},
    Caso{15, "1.2.3", false, "515", ""}, Caso{15, "12a", false, "505", ""}, Caso{15, "-5", false, "510", ""},
    Caso{15, "1,000.00", false, "505", ""}, Caso{15, "+5", false, "505", ""}, Caso{15, ".", false, "531", ""},
    Caso{15, "150.", true, "", "="}, Caso{15, ".50", true, "", "="},
    Caso{15, "0", false, "530", ""}, Caso{16, "0.00", false, "530", ""}, Caso{16, "0", false, "530", ""},
    Caso{17, "0", true, "", "="}, Caso{17, "-1", false, "510", ""}, Caso{16, "12\r", false, "531", ""}));

// The composed texts of the field that failed.
TEST(Mensajes, TextosCompuestos) {
    ReglasCampo r;
    auto mensaje = [&](int posicion, std::string dato, const char* tipo = "") {
        r.TipoDocumento = tipo;
        r.ValidaTransferencia(dato, posicion);
        return MensajeRechazo(r.CodigoError, r.EtiquetaCampo, r.LongitudCampo);
    };
    EXPECT_EQ(mensaje(2, "1234567", "01"), " El DNI debe ser de 8 dígitos de longitud");
    EXPECT_EQ(mensaje(2, "1234567A", "01"), " El DNI debe ser de 8 dígitos como máximo.");
    EXPECT_EQ(mensaje(2, "ABCDEFGHIJ1234", "07"), " El pasaporte debe ser de 12 dígitos o letras de longitud como máximo.");
    EXPECT_EQ(mensaje(2, "ABCDEFGHIJ123456", "11"),
              " La partida de nacimiento debe ser de 15 dígitos o letras de longitud como máximo.");
    EXPECT_EQ(mensaje(2, "A.B", "03"), " El carné de las Fuerzas Armadas debe ser de 12 dígitos o letras.");
    EXPECT_EQ(mensaje(15, ""), "Debe registrar la remuner. asegurable.");
    EXPECT_EQ(mensaje(16, "0"), "El ap. oblig. al SPP debe ser mayor a cero");
    EXPECT_EQ(mensaje(17, "1.2.3"), "El ap. volunt. con fin prev. tiene mas de un punto decimal.");
    EXPECT_EQ(mensaje(18, "-123456789012"),
              "La rentab. e intereses cuando es negativo debe registrarse nros de 11 ent. y 2 dec. como máximo.");
    EXPECT_EQ(mensaje(18, "."), "La rentab. e intereses debe ser un dato numérico");
    EXPECT_EQ(mensaje(14, "199305"),
              "El mes de devengue no debe ser menor a 06/1993 ni mayor a la fecha del sistema.");
    EXPECT_EQ(mensaje(6, std::string(41, 'A')), "La longitud del nombre del afiliado debe ser hasta de 40 posiciones.");
    EXPECT_EQ(MensajeRechazo("0228", "", 0), "");
    EXPECT_EQ(MensajeRechazo("0912", "", 0), "Registro duplicado.");
}

// Each field starts with no label and no code of its own.
TEST(Mensajes, CadaCampoEmpiezaLimpio) {
    ReglasCampo r;
    std::string dato = "";
    EXPECT_FALSE(r.ValidaTransferencia(dato, 15));
    EXPECT_EQ(r.EtiquetaCampo, "La remuner. asegurable");
    dato = "ROSA";
    EXPECT_TRUE(r.ValidaTransferencia(dato, 6));
    EXPECT_EQ(r.CodigoError, "");
    EXPECT_EQ(r.EtiquetaCampo, "");
    EXPECT_EQ(r.LongitudCampo, 0);
}

TEST(RutinasDelFormulario, Valida_Periodo) {
    EXPECT_FALSE(Valida_Periodo("200713"));
    EXPECT_TRUE(Valida_Periodo("200712"));
    EXPECT_FALSE(Valida_Periodo("200700"));
    EXPECT_FALSE(Valida_Periodo("2007A1"));
}

TEST(RutinasDelFormulario, SoloNumero) {
    int codigo = '5';
    EXPECT_TRUE(SoloNumero(codigo));
    EXPECT_EQ(codigo, '5');
    codigo = 'A';
    EXPECT_FALSE(SoloNumero(codigo));
    EXPECT_EQ(codigo, 0);
    for (int tecla : {8, 13}) {
        codigo = tecla;
        EXPECT_TRUE(SoloNumero(codigo));
        EXPECT_EQ(codigo, tecla);
    }
}

}  // namespace
}  // namespace zvimport
