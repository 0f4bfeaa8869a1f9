// "&Grabar" of a registered or new declaration: the CAB header, the DET
// boxes and their digests, the state and its message, and a save that
// fails part way, which leaves the stored declaration as it was.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>

#include "formulario/core/estado.h"
#include "formulario/core/fecha.h"
#include "formulario/core/inicio.h"
#include "tests/support/conexion_prueba.h"
#include "tests/grabacion/entorno.h"
#include "tests/support/disco_lleno.h"

namespace zvdecl::prueba {
namespace {

using zvform::Estado;
using Casillas_ = std::map<std::string, std::string>;

const char* const kGrabadaBien = "Toda la información del formulario fue grabada satisfactoriamente.";
const char* const kGrabadaMal =
    "La información del formulario fue grabada con inconsistencias.\nEn estas condiciones no podrá ser enviado a "
    "ORVAL.";

std::string Hoy() {
    const zvform::Fecha h = zvform::Hoy();
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", h.dia, h.mes, h.anio);
    return texto;
}

class GuardadoTest : public GrabacionTest {
protected:
    // Every stored row of the declaration has the digest of the row as stored.
    void DigestosCorrectos() {
        for (auto& [esperado, guardado] :
             Digestos("SELECT * FROM CAB WHERE doc_id_d = ? AND periodo = ?", 5, {kRuc, kPeriodo}))
            EXPECT_EQ(guardado, esperado) << "CAB";
        for (auto& [esperado, guardado] :
             Digestos("SELECT * FROM DET WHERE doc_id_d = ? AND periodo = ?", 6, {kRuc, kPeriodo}))
            EXPECT_EQ(guardado, esperado) << "DET";
    }
    void UnMensaje(const char* texto) {
        ASSERT_EQ(mensajes_.shown.size(), 1u);
        EXPECT_EQ(mensajes_.shown[0].text, texto);
        EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Exclamation);
        EXPECT_EQ(mensajes_.shown[0].title, "0841 Solvenda");
    }
};

TEST_F(GuardadoTest, EfectivoEscribeCabeceraCasillasYDigestos) {
    DatosFrm841 d = DatosAbiertos();
    d.txtTelefono = "4412345";
    d.formaDePago.formaPago = "E";
    d.modificado = true;
    const std::string antes = Hoy();

    Resultado r = CmdValidar_Click(d, 1);

    EXPECT_TRUE(r.ok);
    EXPECT_FALSE(d.modificado);
    EXPECT_EQ(puerta_->preguntas, 2) << "the button and the save each ask the gate";
    Fila cab = Cabecera();
    EXPECT_EQ(cab["semana"], "0");
    EXPECT_EQ(cab["estado"], "0");
    EXPECT_EQ(cab["rectifica"], "0");
    EXPECT_TRUE(cab["fec_pro"] == antes || cab["fec_pro"] == Hoy()) << cab["fec_pro"];
    EXPECT_EQ(cab["bcolibrad"], " ");
    EXPECT_EQ(cab["nrocheque"], " ");
    EXPECT_EQ(cab["cheque"], "");
    EXPECT_EQ(cab["efectivo"], "360");
    EXPECT_EQ(Casillas(), (Casillas_{{"002", kRuc}, {"007", kPeriodo}, {"028", "4412345"}, {"590", "351"},
                                     {"591", "11"}, {"592", "-2"}, {"593", "3"}, {"597", "360"}, {"598", "360"},
                                     {"599", "E"}, {"721", "1.0"}}));
    for (auto& fila : Filas("SELECT * FROM DET WHERE doc_id_d = ?", {kRuc})) {
        EXPECT_EQ(fila["idcasilla"], "01") << fila["casilla"];
        EXPECT_EQ(fila["semana"], "0") << fila["casilla"];
        EXPECT_EQ(fila["tip_doc_d"], "6") << fila["casilla"];
        EXPECT_EQ(fila["formulario"], "0841") << fila["casilla"];
    }
    DigestosCorrectos();
    // Worked by hand. The keys of a box, 6 + 20555555556 + 202301 + 841 + 0
    // + casilla, end in 704 + casilla; then the weights of i_valor, plus 146
    // for idcasilla "01" (1x48 + 2x49); estado is empty.
    std::map<std::string, std::string> digestos;
    for (auto& fila : Filas("SELECT casilla, cNumero FROM DET WHERE doc_id_d = ?", {kRuc}))
        digestos[fila["casilla"]] = fila["cnumero"];
    EXPECT_EQ(digestos, (std::map<std::string, std::string>{
                            // 1x50 + 2x48 + (3+4+...+10)x53 + 11x54 = 3496; + 146 = 3642
                            {"002", "706642"},
                            // 1x50 + 2x48 + 3x50 + 4x51 + 5x48 + 6x49 = 1034; + 146 = 1180
                            {"007", "711180"},
                            // 1x52 + 2x52 + 3x49 + 4x50 + 5x51 + 6x52 + 7x53 = 1441; + 146 = 1587
                            {"028", "732587"},
                            {"590", "294450"},  // 1x51 + 2x53 + 3x49 = 304; + 146
                            {"591", "295293"},  // 1x49 + 2x49 = 147; + 146
                            {"592", "296291"},  // "-2": 1x45 + 2x50 = 145; + 146
                            {"593", "297197"},  // 1x51; + 146
                            {"597", "301449"},  // 704 + 597 = 1301; 1x51 + 2x54 + 3x48 = 303; + 146
                            {"598", "302449"},
                            {"599", "303215"},  // "E": 69; + 146
                            {"721", "425431"},  // 704 + 721 = 1425; "1.0": 1x49 + 2x46 + 3x48 = 285; + 146
                        }));
    // The header's keys, 6 + 20555555556 + 202301 + 841 + 0, end in 704; its
    // weights take in today's date.
    EXPECT_EQ(cab["cnumero"].substr(0, 3), "704");
    UnMensaje(kGrabadaBien);
}

TEST_F(GuardadoTest, ChequeEscribeBancoNumeroYElMontoDelControlDePago) {
    DatosFrm841 d = DatosAbiertos();
    d.txtValor[590] = "1,234";
    d.txtValor[592] = "(500)";
    d.formaDePago = {"00123456", "02", "C", "1,290", "1"};

    EXPECT_TRUE(GrabarForm(d).ok);

    Fila cab = Cabecera();
    EXPECT_EQ(cab["estado"], "0");
    EXPECT_EQ(cab["bcolibrad"], "02");
    EXPECT_EQ(cab["nrocheque"], "00123456");
    EXPECT_EQ(cab["cheque"], "1290");
    EXPECT_EQ(cab["efectivo"], "");
    Casillas_ det = Casillas();
    EXPECT_EQ(det["590"], "1234");
    EXPECT_EQ(det["592"], "-500");
    EXPECT_EQ(det["012"], "00123456");
    EXPECT_EQ(det["015"], "02");
    EXPECT_EQ(det["598"], "1290") << "the payment control's amount, not box 598";
    EXPECT_EQ(det["599"], "C");
    EXPECT_EQ(det.count("028"), 0u) << "no telephone, no row";
    DigestosCorrectos();
    UnMensaje(kGrabadaBien);
}

// Amounts as the form shows them, of any size, are stored as their whole
// numbers; the header takes the amount to pay whole too.
TEST_F(GuardadoTest, MontosMasAllaDelTipoMontoSeGrabanEnteros) {
    DatosFrm841 d = DatosAbiertos();
    d.txtValor[590] = "999,999,999,999,999";
    d.txtValor[591] = "922,337,203,685,478";
    d.txtValor[592] = "(10,000,000,000)";
    d.txtValor[597] = "10,000,000,000,000";
    d.formaDePago = {"", "XX", "E", "10,000,000,000,000", "1"};

    EXPECT_TRUE(GrabarForm(d).ok);

    Casillas_ det = Casillas();
    EXPECT_EQ(det["590"], "999999999999999");
    EXPECT_EQ(det["591"], "922337203685478");
    EXPECT_EQ(det["592"], "-10000000000");
    EXPECT_EQ(det["597"], "10000000000000");
    EXPECT_EQ(det["598"], "10000000000000");
    EXPECT_EQ(Cabecera()["efectivo"], "10000000000000");
    DigestosCorrectos();
    UnMensaje(kGrabadaBien);
}

TEST_F(GuardadoTest, ChequeSinBancoQuedaInconsistenteYSinCasilla015) {
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago = {"777", "XX", "C", "360", "1"};
    EXPECT_TRUE(GrabarForm(d).ok);
    EXPECT_EQ(Cabecera()["estado"], "9");
    EXPECT_EQ(Cabecera()["bcolibrad"], "XX");
    EXPECT_EQ(Casillas().count("015"), 0u);
    DigestosCorrectos();
    UnMensaje(kGrabadaMal);
}

TEST_F(GuardadoTest, SinFormaDePagoDejaLasColumnasDePagoYEsInconsistente) {
    Base().Execute("UPDATE CAB SET bcolibrad = '03', NroCheque = '55', cheque = '10', efectivo = ''");
    DatosFrm841 d = DatosAbiertos();
    EXPECT_TRUE(GrabarForm(d).ok);
    Fila cab = Cabecera();
    EXPECT_EQ(cab["bcolibrad"] + "/" + cab["nrocheque"] + "/" + cab["cheque"], "03/55/10");
    EXPECT_EQ(cab["estado"], "9");
    EXPECT_EQ(Casillas()["599"], "X");
    DigestosCorrectos();
}

TEST_F(GuardadoTest, CasillaVaciadaPierdeSuFila) {
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago.formaPago = "E";
    d.txtValor[591] = "";
    d.txtValor[597] = "   ";
    ASSERT_TRUE(GrabarForm(d).ok);
    Casillas_ det = Casillas();
    EXPECT_EQ(det.count("591"), 0u);
    EXPECT_EQ(det.count("597"), 0u);
    EXPECT_EQ(det["590"], "351");
}

TEST_F(GuardadoTest, TelefonoMalNoGrabaNada) {
    const auto cab = Filas("SELECT * FROM CAB");
    const auto det = Filas("SELECT * FROM DET ORDER BY casilla");
    DatosFrm841 d = DatosAbiertos();
    d.txtTelefono = "98765";
    d.formaDePago.formaPago = "E";
    d.modificado = true;
    Resultado r = CmdValidar_Click(d, 1);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.foco, "TxtTelefono");
    EXPECT_EQ(r.pestana, 0);
    EXPECT_EQ(TextosMostrados(), std::vector<std::string>{"Identificación : Ingrese correctamente el teléfono"});
    EXPECT_TRUE(d.modificado);
    EXPECT_EQ(Filas("SELECT * FROM CAB"), cab);
    EXPECT_EQ(Filas("SELECT * FROM DET ORDER BY casilla"), det);
}

TEST_F(GuardadoTest, PuertaCerradaEnElGrabadoNoEscribeNiDiceNada) {
    const auto cab = Filas("SELECT * FROM CAB");
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago.formaPago = "E";
    puerta_->respuestas = {true, false};  // the button passes, the save stops
    EXPECT_FALSE(CmdValidar_Click(d, 1).ok);
    EXPECT_TRUE(mensajes_.shown.empty());
    EXPECT_EQ(Filas("SELECT * FROM CAB"), cab);
}

// A new declaration gets the key with week 0 on every row, even where the
// tables give no default for it, and its identification becomes fixed.
TEST_F(GuardadoTest, NuevaDeclaracionConSemanaCeroEscritaSinDefectoDeLaTabla) {
    Base().Execute("DROP TABLE CAB");
    Base().Execute(
        "CREATE TABLE CAB (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), semana Byte, "
        "estado Byte, rectifica Byte, fec_pro Text(10), bcolibrad Text(2), NroCheque Text(15), cheque Text(15), "
        "efectivo Text(15), cNumero Text(6), "
        "CONSTRAINT PK_CAB PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana))");
    Base().Execute("DROP TABLE DET");
    Base().Execute(
        "CREATE TABLE DET (tip_doc_d Byte, doc_id_d Text(15), periodo Text(6), formulario Text(4), semana Byte, "
        "casilla Text(3), i_valor Text(60), idcasilla Text(2), estado Byte, cNumero Text(6), "
        "CONSTRAINT PK_DET PRIMARY KEY (tip_doc_d, doc_id_d, periodo, formulario, semana, casilla))");
    for (const char* t : {"CAB", "DET"})
        for (const char* c : {"bcolibrad", "NroCheque", "cheque", "efectivo", "i_valor"})
            if (Base().FindTableDef(t)->FindField(c)) Base().SetAllowZeroLength(t, c, true);

    DatosFrm841 d = DatosAbiertos();
    d.operacion = 0;
    d.txtNumRuc.clear();
    d.cmbRuc = std::string(kRuc) + "       AFP DE PRUEBA          ";
    d.mkePeriodo = "02/2023";
    d.formaDePago.formaPago = "E";
    Resultado r = GrabarForm(d);

    ASSERT_TRUE(r.ok) << (mensajes_.shown.empty() ? "" : mensajes_.shown[0].text);
    EXPECT_TRUE(d.identificacionFija);
    auto cab = Filas("SELECT semana, estado FROM CAB WHERE doc_id_d = ? AND periodo = '202302'", {kRuc});
    ASSERT_EQ(cab.size(), 1u);
    EXPECT_EQ(cab[0]["semana"], "0");
    EXPECT_EQ(cab[0]["estado"], "0") << "the state step found the row by SEMANA=0";
    auto det = Filas("SELECT DISTINCT semana FROM DET WHERE periodo = '202302'");
    ASSERT_EQ(det.size(), 1u);
    EXPECT_EQ(det[0]["semana"], "0");
    UnMensaje(kGrabadaBien);
}

// ---- a save that fails part way --------------------------------------------

struct CasoFalla {
    const char* nombre;
    const char* disparador;  // makes one statement of the save fail
};

void PrintTo(const CasoFalla& c, std::ostream* os) { *os << c.nombre; }

class FallaTest : public GuardadoTest, public testing::WithParamInterface<CasoFalla> {};

TEST_P(FallaTest, LaDeclaracionGuardadaQuedaComoEstaba) {
    const std::vector<Fila> cab = Filas("SELECT * FROM CAB");
    const std::vector<Fila> det = Filas("SELECT * FROM DET ORDER BY casilla");
    char* error = nullptr;
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(Base()), GetParam().disparador, nullptr, nullptr, &error), SQLITE_OK)
        << error;

    DatosFrm841 d = DatosAbiertos();
    d.formaDePago = {"123", "02", "C", "360", "1"};
    d.modificado = true;
    Resultado r = GrabarForm(d);

    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(d.modificado);
    EXPECT_FALSE(Base().InTransaction());
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
    EXPECT_EQ(mensajes_.shown[0].text.rfind("La declaración no fue grabada; la información registrada no ha cambiado.",
                                            0),
              0u)
        << mensajes_.shown[0].text;
    sqlite3_exec(zvtest::Conexion(Base()), "DROP TRIGGER falla", nullptr, nullptr, nullptr);
    EXPECT_EQ(Filas("SELECT * FROM CAB"), cab);
    EXPECT_EQ(Filas("SELECT * FROM DET ORDER BY casilla"), det);
}

INSTANTIATE_TEST_SUITE_P(
    Casos, FallaTest,
    testing::Values(
        CasoFalla{"AlBorrarLasCasillas",
                  "CREATE TEMP TRIGGER falla BEFORE DELETE ON DET BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"},
        CasoFalla{"EnLaPrimeraCasilla",
                  "CREATE TEMP TRIGGER falla BEFORE INSERT ON DET WHEN NEW.casilla = '590' "
                  "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"},
        CasoFalla{"EnLaUltimaCasilla",
                  "CREATE TEMP TRIGGER falla BEFORE INSERT ON DET WHEN NEW.casilla = '599' "
                  "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"},
        CasoFalla{"AlFijarElEstado",
                  "CREATE TEMP TRIGGER falla BEFORE UPDATE ON CAB WHEN EXISTS "
                  "(SELECT 1 FROM DET WHERE casilla = '599' AND doc_id_d = NEW.doc_id_d) "
                  "BEGIN SELECT RAISE(ABORT, 'disco lleno'); END"}),
    [](const testing::TestParamInfo<CasoFalla>& i) { return std::string(i.param.nombre); });

// ---- a full disk ------------------------------------------------------------

// The commit finds no space: the engine undoes the save itself, the user
// hears of the full disk, and no transaction stays open for the rest of
// the session (a later SPOOL registration would not wait for another
// program's write otherwise).
TEST_F(GuardadoTest, DiscoLlenoLoDiceNoCambiaNadaYNoDejaTransaccionAbierta) {
    zvtest::DiscoLleno disco;
    Estado::G().gBase.reset();
    ASSERT_TRUE(zvform::LeerIni());  // the connection now writes through the disk
    const std::vector<Fila> cab = Filas("SELECT * FROM CAB");
    const std::vector<Fila> det = Filas("SELECT * FROM DET ORDER BY casilla");
    DatosFrm841 d = DatosAbiertos();
    d.formaDePago = {"00123456", "02", "C", "360", "1"};
    d.modificado = true;
    disco.Llena(0);

    EXPECT_FALSE(GrabarForm(d).ok);
    ASSERT_GT(disco.Rechazos(), 0);
    EXPECT_FALSE(Base().InTransaction());
    EXPECT_TRUE(d.modificado);
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text,
              "La declaración no fue grabada; la información registrada no ha cambiado.\n"
              "Error : 3026 Descripción : No hay espacio suficiente en el disco.");
    disco.Libera();
    EXPECT_EQ(Filas("SELECT * FROM CAB"), cab);
    EXPECT_EQ(Filas("SELECT * FROM DET ORDER BY casilla"), det);

    // With space again the same save goes through.
    mensajes_.shown.clear();
    EXPECT_TRUE(GrabarForm(d).ok);
    EXPECT_EQ(Cabecera()["nrocheque"], "00123456");
    DigestosCorrectos();
    UnMensaje(kGrabadaBien);
}

}  // namespace
}  // namespace zvdecl::prueba
