// "&Validar": the telephone and payment rules, each failure a line of
// Mens.txt in Windows-1252 with CR LF, and what the user is shown.
#include <gtest/gtest.h>

#include "formulario/core/estado.h"
#include "platform/textfile.h"
#include "tests/grabacion/entorno.h"

namespace zvdecl::prueba {
namespace {

using zvform::Estado;

// The lines as they lie on disk: "ó" is the byte F3, "ú" FA.
const std::string kSufijo = "( dato ubicado en el rubro Determinaci\xF3n de la deuda )\r\n";
const std::string kFormaDePago = "Ingrese la Forma de pago" + kSufijo;
const std::string kBanco = "Ingrese el banco" + kSufijo;
const std::string kNumeroCheque = "Ingrese el N\xFAmero del cheque" + kSufijo;
const std::string kMontoCero = "No puede girar un cheque con monto cero" + kSufijo;
const std::string kChequeCero = "El n\xFAmero de cheque no puede ser cero" + kSufijo;
const std::string kTelefono1 = "Identificaci\xF3n : Ingrese correctamente el tel\xE9" "fono\r\n";
const std::string kTelefono2 =
    "Identificaci\xF3n : El n\xFAmero de tel\xE9" "fono ingresado debe ser de 7 d\xED" "gitos, o un celular de 8 \xF3 7 "
    "d\xED" "gitos\r\n";
const std::string kTelefono3 = "Identificaci\xF3n : El celular debe ser de 8 o 7 d\xED" "gitos\r\n";
const char* const kSinInconsistencias = "La información de la declaración no presenta inconsistencias.";

struct CasoPago {
    const char* nombre;
    const char* forma;
    const char* banco;
    const char* cheque;
    const char* monto;
    std::string mens;
};

void PrintTo(const CasoPago& c, std::ostream* os) { *os << c.nombre; }

class PagoTest : public GrabacionTest, public testing::WithParamInterface<CasoPago> {};

TEST_P(PagoTest, MensTxtByteABytePorLasReglasDePago) {
    const CasoPago& c = GetParam();
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago.formaPago = c.forma;
    d.formaDePago.codigoBanco = c.banco;
    d.formaDePago.numeroCheque = c.cheque;
    d.formaDePago.monto = c.monto;

    Resultado r = CmdValidar_Click(d, 0);

    EXPECT_EQ(Estado::G().gRutaArchivo, Estado::G().gSysPath + "Mens.txt");
    EXPECT_EQ(zvtest::Bytes(Mens()), c.mens);
    EXPECT_EQ(r.ok, c.mens.empty());
    EXPECT_FALSE(r.cerrar);
    EXPECT_EQ(puerta_->preguntas, 1);
    if (c.mens.empty()) {
        EXPECT_EQ(visorMostrado_, 0);
        ASSERT_EQ(mensajes_.shown.size(), 1u);
        EXPECT_EQ(mensajes_.shown[0].text, kSinInconsistencias);
        EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Exclamation);
        EXPECT_EQ(mensajes_.shown[0].title, "0841 Solvenda");
        EXPECT_EQ(Estado::G().gInconsistencia, 0);
    } else {
        EXPECT_EQ(visorMostrado_, 1) << "the viewer shows the list";
        EXPECT_TRUE(mensajes_.shown.empty());
        EXPECT_EQ(Estado::G().gInconsistencia, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Casos, PagoTest,
    testing::Values(
        CasoPago{"Efectivo", "E", "XX", "", "", ""},
        CasoPago{"ChequeCompleto", "C", "02", "123456", "360", ""},
        CasoPago{"NingunaFormaSoloUnaLinea", "X", "XX", "", "0", kFormaDePago},
        CasoPago{"FormaVacia", "", "02", "0", "0", kFormaDePago},
        CasoPago{"ChequeSinBancoNiNumeroNiMonto", "C", "XX", "", "0", kBanco + kNumeroCheque + kMontoCero},
        CasoPago{"ChequeBancoConBlancos", "C", " XX ", "9", "1", kBanco},
        CasoPago{"ChequeMontoVacio", "C", "02", "77", " ", kMontoCero},
        CasoPago{"ChequeDeCeros", "C", "02", "0000", "360", kChequeCero},
        CasoPago{"ChequeNoNumericoNoEsCero", "C", "02", "A0", "360", ""},
        CasoPago{"ChequeSinNumeroYMontoCero", "C", "11", " ", "0", kNumeroCheque + kMontoCero}),
    [](const testing::TestParamInfo<CasoPago>& i) { return std::string(i.param.nombre); });

struct CasoTelefono {
    const char* nombre;
    int operacion;
    const char* telefono;
    std::string mens;
};

void PrintTo(const CasoTelefono& c, std::ostream* os) { *os << c.nombre; }

class TelefonoTest : public GrabacionTest, public testing::WithParamInterface<CasoTelefono> {};

TEST_P(TelefonoTest, ReglasDelTelefonoAntesQueLasDePago) {
    const CasoTelefono& c = GetParam();
    DatosFrm841 d = DatosAbiertos();
    d.operacion = c.operacion;
    d.cmbRuc = std::string(kRuc) + "       AFP DE PRUEBA          ";
    d.txtTelefono = c.telefono;
    d.formaDePago.formaPago = "X";
    CmdValidar_Click(d, 0);
    EXPECT_EQ(zvtest::Bytes(Mens()), c.mens + kFormaDePago);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, TelefonoTest,
    testing::Values(CasoTelefono{"Vacio", 1, "", ""}, CasoTelefono{"UnCaracter", 1, "1", kTelefono1},
                    CasoTelefono{"Cinco", 1, "12345", kTelefono1},
                    CasoTelefono{"CincoConNueveDaDosLineas", 1, "98765", kTelefono1 + kTelefono3},
                    CasoTelefono{"SeisConNueve", 1, "912345", kTelefono3},
                    CasoTelefono{"Seis", 1, "123456", ""}, CasoTelefono{"Siete", 1, "1234567", ""},
                    CasoTelefono{"CelularDeSiete", 1, "9123456", ""},
                    CasoTelefono{"OchoSinNueve", 1, "12345678", kTelefono2},
                    CasoTelefono{"CelularDeOcho", 1, "98765432", ""},
                    CasoTelefono{"Nueve", 1, "123456789", ""},
                    CasoTelefono{"BlancosCuentanComoTexto", 1, "  1", kTelefono1},
                    CasoTelefono{"NuevaNoRevisaElTelefono", 0, "12345", ""}),
    [](const testing::TestParamInfo<CasoTelefono>& i) { return std::string(i.param.nombre); });

TEST_F(GrabacionTest, SegundaValidacionVaciaMensTxtAntesDeEscribir) {
    DatosFrm841 d = DatosAbiertos();
    d.txtTelefono = "98765";
    d.formaDePago.formaPago = "C";
    d.formaDePago.monto = "0";
    CmdValidar_Click(d, 0);
    ASSERT_EQ(zvtest::Bytes(Mens()), kTelefono1 + kTelefono3 + kBanco + kNumeroCheque + kMontoCero);

    d.txtTelefono = "";
    d.formaDePago = {"5", "02", "C", "360", "1"};
    CmdValidar_Click(d, 0);
    EXPECT_EQ(zvtest::Bytes(Mens()), "");
    EXPECT_EQ(TextosMostrados(), std::vector<std::string>{kSinInconsistencias});
    EXPECT_EQ(Estado::G().gInconsistencia, 1) << "the flag stays once a failure was logged";
    EXPECT_EQ(Estado::G().gMensaje, "No puede girar un cheque con monto cero") << "the last failure found";
}

TEST_F(GrabacionTest, PuertaCerradaNoValidaNiEscribe) {
    DatosFrm841 d = DatosAbiertos();
    puerta_->respuestas = {false};
    Resultado r = CmdValidar_Click(d, 0);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(fs::exists(Mens()));
    EXPECT_TRUE(mensajes_.shown.empty());
    EXPECT_EQ(visorMostrado_, 0);
}

TEST_F(GrabacionTest, ValidacionSilenciosaParaEnLaPrimeraReglaDePagoYNoEscribe) {
    DatosFrm841 d = DatosAbiertos();
    d.txtTelefono = "12345";
    d.formaDePago.formaPago = "C";
    EXPECT_FALSE(ValidaTodo(d, "2").ok);
    d.formaDePago = {"1", "02", "C", "360", "1"};
    EXPECT_TRUE(ValidaTodo(d, "2").ok) << "the telephone is not its business";
    EXPECT_FALSE(fs::exists(Mens()));
    EXPECT_TRUE(mensajes_.shown.empty());
    EXPECT_EQ(Estado::G().gInconsistencia, 0);
}

TEST_F(GrabacionTest, ValIdentConMensajeMuestraSoloLaPrimeraYLlevaAlTelefono) {
    DatosFrm841 d = DatosAbiertos();
    d.txtTelefono = "98765";
    Resultado r = ValIdent(d, "1");
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.pestana, 0);
    EXPECT_EQ(r.foco, "TxtTelefono");
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "Identificación : Ingrese correctamente el teléfono");
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
}

TEST_F(GrabacionTest, MensTxtQueNoSePuedeCrearSeDiceYNoMuestraElVisor) {
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago.formaPago = "X";
    fs::create_directory(Mens());  // a folder where the file should go
    Resultado r = CmdValidar_Click(d, 0);
    fs::remove(Mens());
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(visorMostrado_, 0);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text,
              "No se pudo crear el archivo de inconsistencias " + Mens().string() +
                  "\nError de acceso a la ruta o el archivo");
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
}

}  // namespace
}  // namespace zvdecl::prueba
