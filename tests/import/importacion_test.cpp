// The import driver and the transfer on affiliates files: what is written,
// what is refused, and what the reject logs hold.
#include <gtest/gtest.h>

#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/import/mensajes.h"
#include "formulario/reports/reporte.h"
#include "formulario/reports/reporte_errores.h"
#include "tests/import/entorno.h"

namespace zvimport::prueba {
namespace {

using zvform::Estado;
using Lineas_ = std::vector<std::string>;

const std::string kSinEmpleador(11, ' ');
const std::string kPreguntaFinal =
    "¡Algunos registros han sido rechazados!. En estas condiciones no puede elaborar su declaración.\n"
    "Verifique Archivo Log: ";

std::string ArchivoEsperado(const fs::path& carpeta) { return carpeta.string() + "/" + kBase + ".TXT"; }

// ---- a clean file -----------------------------------------------------------

TEST_F(ImportacionTest, ArchivoLimpioEscribeDetalleCabeceraYCasillas) {
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();

    EXPECT_EQ(Cuenta("F841DETDES"), 3);
    EXPECT_EQ(Casillas(), (std::map<std::string, std::string>{
                              {"590", "351"}, {"591", "11"}, {"592", "-2"},  // 350.50, 10.50, -1.85
                              {"593", "3"}, {"597", "360"}, {"598", "360"}}));
    EXPECT_EQ(Texto("SELECT estado FROM CAB WHERE doc_id_d = ? AND periodo = ? AND formulario = '0841'",
                    {kRuc, kPeriodo}),
              "9");
    EXPECT_EQ(Texto("SELECT idcasilla || '/' || estado FROM DET WHERE casilla = '593'"), "05/0");
    EXPECT_EQ(formulario_.transferidos, "3 registro(s) transferido(s)");
    EXPECT_EQ(formulario_.rechazados, "0 registro(s) rechazado(s)");
    EXPECT_EQ(formulario_.progreso, (std::vector<int>{1, 8, 9, 10}));
    EXPECT_EQ(formulario_.textoProgreso, "Proceso finalizado satisfactoriamente.");
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "Archivo : " + ArchivoEsperado(carpeta_) + " transferido");
    EXPECT_EQ(mensajes_.shown[0].title, kTituloFormulario);
    EXPECT_TRUE(formulario_.preguntas.empty());
    EXPECT_FALSE(fs::exists(Log()));
}

TEST_F(ImportacionTest, FilasConCadaColumnaEnMayusculasFechasYMontos) {
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();
    auto rs = Base().OpenRecordset("SELECT * FROM F841DETDES WHERE Num_Doctrab = 'AB12345'", dao::dbOpenSnapshot);
    ASSERT_FALSE(rs->EOF_());
    const std::vector<std::pair<const char*, const char*>> esperado = {
        {"tip_doc_d", "6"},          {"doc_id_d", kRuc},          {"periodo", kPeriodo},
        {"formulario", "0841"},      {"Num_RUCEmpl", "0"},         {"Tip_Doctrab", "07"},
        {"Fec_NacTrab", "1975-01-01"}, {"Nom_ApePat", "MUÑOZ"},    {"Nom_ApeMat", ""},
        {"Nom_Nombre", "MARÍA"},     {"Ind_Sexo", "2"},            {"Cod_CUSPP", "ABCDEF123456"},
        {"Fec_Afiliac", "1993-06-01"}, {"Fec_SolDesaf", "2007-08-28"}, {"Cod_MotDesaf", "02"},
        {"Num_ResDesaf", "R2"},      {"Ind_CondPago", "2"},        {"Mes_deveng", "202212"},
        {"Mto_Remun", "2000.00"},    {"Mto_AporteO", "150.00"},    {"Mto_AporteV", "0.50"},
        {"Mto_Rentabi", "3.40"}};
    for (const auto& [columna, valor] : esperado) EXPECT_EQ(rs->Fields(columna).AsText(), valor) << columna;
    EXPECT_EQ(rs->Fields("Fec_NacTrab").Type(), dao::DataType::Date);
    // Letters are stored in upper case, accented ones too.
    EXPECT_EQ(Texto("SELECT Nom_ApePat || '/' || Nom_ApeMat || '/' || Nom_Nombre || '/' || Mto_Rentabi "
                    "FROM F841DETDES WHERE Num_Doctrab = '12345678'"),
              "PÉREZ/GÓMEZ/JUAN CARLOS/-5.25");
}

TEST_F(ImportacionTest, CadaFilaLlevaSuDigesto) {
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();
    auto detalle = Base().OpenRecordset("SELECT * FROM F841DETDES", dao::dbOpenDynaset);
    int filas = 0;
    for (; !detalle->EOF_(); detalle->MoveNext(), ++filas)
        EXPECT_EQ(detalle->Fields("cNumero").AsText(), zvform::SumaControlRegistro(*detalle, 6));
    EXPECT_EQ(filas, 3);
    auto det = Base().OpenRecordset("SELECT * FROM DET", dao::dbOpenDynaset);
    for (filas = 0; !det->EOF_(); det->MoveNext(), ++filas)
        EXPECT_EQ(det->Fields("cNumero").AsText(), zvform::SumaControlRegistro(*det, 6));
    EXPECT_EQ(filas, 6);
    auto cab = Base().OpenRecordset("SELECT * FROM CAB", dao::dbOpenDynaset);
    ASSERT_FALSE(cab->EOF_());
    EXPECT_EQ(cab->Fields("cNumero").AsText(), zvform::SumaControlRegistro(*cab, 5));
    EXPECT_EQ(cab->Fields("cNumero").AsText().size(), 6u);
}

TEST_F(ImportacionTest, ExisteAfiliadoYDevengueSobreLaClave) {
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();
    EXPECT_TRUE(importacion_->Existe_afiliado_y_devengue(kRuc, kPeriodo, "0", "07", "AB12345", "202212"));
    EXPECT_FALSE(importacion_->Existe_afiliado_y_devengue(kRuc, kPeriodo, "0", "07", "AB12345", "202301"));
    EXPECT_FALSE(importacion_->Existe_afiliado_y_devengue(kRuc, "202302", "0", "07", "AB12345", "202212"));
    EXPECT_FALSE(importacion_->Existe_afiliado_y_devengue(kRuc, kPeriodo, "0", "07", "O'HARA", "202212"));
}

// Box 597 adds the totals each rounded to whole units, and is 0 when the
// unrounded sum is negative; box 598 holds the same.
struct CasoDeuda {
    const char* archivo;
    const char* c590;
    const char* c591;
    const char* c592;
    const char* c597;
};

std::ostream& operator<<(std::ostream& os, const CasoDeuda& c) { return os << c.archivo; }

class ReglaDeuda : public ImportacionTest, public testing::WithParamInterface<CasoDeuda> {};

TEST_P(ReglaDeuda, Casillas597Y598) {
    const CasoDeuda& c = GetParam();
    ArchivoDeDatos(c.archivo);
    importacion_->CmdGrabar_Click();
    auto casillas = Casillas();
    EXPECT_EQ(casillas["590"], c.c590);
    EXPECT_EQ(casillas["591"], c.c591);
    EXPECT_EQ(casillas["592"], c.c592);
    EXPECT_EQ(casillas["597"], c.c597);
    EXPECT_EQ(casillas["598"], c.c597);
    EXPECT_EQ(casillas["593"], "1");
}

INSTANTIATE_TEST_SUITE_P(Totales, ReglaDeuda,
                         testing::Values(CasoDeuda{"regla_060.txt", "1", "1", "0", "2"},
                                         CasoDeuda{"regla_980.txt", "1000", "0", "-20", "980"},
                                         CasoDeuda{"regla_cero.txt", "10", "0", "-11", "0"}));

TEST(DeudaTotal, RedondeaCadaTotalLejosDeCero) {
    auto c = [](const char* t) { return *zv::Currency::Parse(t); };
    EXPECT_EQ(DeudaTotal(c("0.60"), c("0.60"), c("0")), 2);
    EXPECT_EQ(DeudaTotal(c("0.50"), c("0.50"), c("-0.50")), 1);  // 1 + 1 - 1
    EXPECT_EQ(DeudaTotal(c("0.40"), c("0.40"), c("-0.50")), 0);  // 0 + 0 - 1 is no debt
    EXPECT_EQ(DeudaTotal(c("10"), c("0"), c("-10.50")), 0);
    EXPECT_EQ(DeudaTotal(c("0"), c("0"), c("0")), 0);
}

TEST_F(ImportacionTest, ArchivoVacioEscribeCabeceraYCasillasEnCero) {
    ArchivoConLineas({});
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("CAB"), 1);
    EXPECT_EQ(Casillas(), (std::map<std::string, std::string>{
                              {"590", "0"}, {"591", "0"}, {"592", "0"}, {"593", "0"}, {"597", "0"}, {"598", "0"}}));
}

// ---- rejected lines ---------------------------------------------------------

TEST_F(ImportacionTest, LineaDuplicadaSeRechazaYNadaQueda) {
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();

    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
    EXPECT_EQ(Lineas(Err()), (Lineas_{kSinEmpleador + " 07 AB12345         202212 Registro duplicado.",
                                      "20100070970 01 12345678        202301 Registro duplicado."}));
    EXPECT_EQ(Lineas(Log()), (Lineas_{kLinea2, kLinea1}));  // as read: letters as in the file
    EXPECT_EQ(formulario_.transferidos, "2 registro(s) procesado(s) correctamente");
    EXPECT_EQ(formulario_.rechazados, "2 registro(s) rechazado(s)");
    ASSERT_EQ(formulario_.preguntas.size(), 1u);
    const auto& p = formulario_.preguntas[0];
    EXPECT_EQ(p.text, kPreguntaFinal + Log().string() + "\n¿Desea Visualizar Reporte de errores?");
    EXPECT_EQ(p.title, "Confirmar");
    EXPECT_EQ(p.icon, zv::Icon::Question);
    EXPECT_EQ(p.buttons, zv::Buttons::YesNo);
    EXPECT_EQ(p.defaultButton, 1);
    EXPECT_TRUE(mensajes_.shown.empty()) << "no closing message";
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
}

TEST_F(ImportacionTest, ReporteDeErroresSeRegistraYSoloSeMuestraConSi) {
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();  // answered No
    EXPECT_EQ(Texto("SELECT CodRep || ' ' || Archivo FROM SPOOL"), "F84103 00000001.PRN");
    EXPECT_TRUE(fs::exists(RutaRpt() / "00000001.PRN"));
    EXPECT_TRUE(formulario_.reportesMostrados.empty());
    EXPECT_EQ(Estado::G().gTipoReporte, 3);

    formulario_.respuesta = zv::Answer::Yes;
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("SPOOL"), 2) << "the report's row outlives the rolled-back import";
    EXPECT_EQ(formulario_.reportesMostrados, (Lineas_{"00000002.PRN"}));
    EXPECT_EQ(Estado::G().gRutaArchivo, (RutaRpt() / "00000002.PRN").string());
    EXPECT_EQ(Estado::G().gTotalPaginas, 1);
    EXPECT_FALSE(Estado::G().gRangoPaginas);
    EXPECT_NE(zv::text::ReadAll(RutaRpt() / "00000002.PRN").find("Registro duplicado."), std::string::npos);
}

TEST_F(ImportacionTest, ReporteDeMasDeQuincePaginasPasaPorElRango) {
    ArchivoConLineas(Lineas_(1100, kLinea1));  // one written, 1099 duplicates
    formulario_.respuesta = zv::Answer::Yes;
    importacion_->CmdGrabar_Click();
    EXPECT_TRUE(formulario_.reportesMostrados.empty());
    ASSERT_EQ(formulario_.rangos.size(), 1u);
    EXPECT_EQ(formulario_.rangos[0].first, "00000001.PRN");
    EXPECT_EQ(formulario_.rangos[0].second, zvform::PaginasErrores(1099));
    EXPECT_GT(formulario_.rangos[0].second, 15);
    EXPECT_TRUE(Estado::G().gRangoPaginas);
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
}

TEST_F(ImportacionTest, LineaVaciaEnMedioOAlFinalFaltanCampos) {
    for (const char* archivo : {"vacia_medio.txt", "vacia_final.txt"}) {
        SCOPED_TRACE(archivo);
        ArchivoDeDatos(archivo);
        importacion_->CmdGrabar_Click();
        EXPECT_EQ(Cuenta("F841DETDES"), 0);
        EXPECT_EQ(Cuenta("CAB"), 0);
        EXPECT_EQ(Lineas(Log()), (Lineas_{""}));
        EXPECT_EQ(Lineas(Err()), (Lineas_{std::string(37, ' ') + " Faltan campos en su archivo de transferencia"}));
        EXPECT_EQ(formulario_.rechazados, "1 registro(s) rechazado(s)");
        EXPECT_EQ(formulario_.transferidos, "2 registro(s) procesado(s) correctamente");
    }
}

// After the first blank line the structure check no longer looks: a line
// of 18 fields lacks fields, one of 20 is written with its first 19.
TEST_F(ImportacionTest, DieciochoYVeinteCamposDespuesDeUnaLineaVacia) {
    ArchivoDeDatos("campos_18_20.txt");
    Base().BeginTrans();  // the transfer's rows, seen before the rollback
    EXPECT_FALSE(importacion_->Transferencia(kRuc, kPeriodo, carpeta_.string()));
    EXPECT_EQ(Cuenta("F841DETDES"), 2);
    EXPECT_EQ(Texto("SELECT Mto_Rentabi || '/' || Nom_Nombre FROM F841DETDES WHERE Tip_Doctrab = '11'"), "0.00/ROSA");
    Base().Rollback();
    EXPECT_EQ(Lineas(Err()), (Lineas_{std::string(37, ' ') + " Faltan campos en su archivo de transferencia",
                                      kSinEmpleador + " 07 AB12345         202212 Faltan campos en su archivo de transferencia"}));
}

TEST_F(ImportacionTest, LineaDeBlancosDespuesDeMenosDeDiecinueveCampos) {
    std::string dieciocho = kLinea2;
    dieciocho.resize(dieciocho.rfind("3.40|"));
    ArchivoConLineas({kLinea1, "", dieciocho + "   ", "     "});
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Lineas(Err()), (Lineas_{std::string(37, ' ') + " Faltan campos en su archivo de transferencia",
                                      kSinEmpleador + " 07 AB12345         202212 Faltan campos en su archivo de transferencia",
                                      std::string(37, ' ') + " Faltan campos en su archivo de transferencia"}));
}

TEST_F(ImportacionTest, ErrLineasExactas) {
    ArchivoDeDatos("rechazos.txt");
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Lineas(Err()),
              (Lineas_{
                  "20100070970 01 1234567         202301  El DNI debe ser de 8 dígitos de longitud",
                  kSinEmpleador + " 07 AB12345         202212 Debe registrar la remuner. asegurable.",
                  "20100070970 01 12345678        202301 Registro duplicado.",
                  "20100070970 11 P0123456789ABCD 202301 La longitud del nombre del afiliado debe ser hasta de 40 posiciones.",
                  "20100070970 11 Q1              202301 La rentab. e intereses debe ser un dato numérico",
              }));
    auto log = Lineas(Log());
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[2], kLinea1);
    EXPECT_EQ(formulario_.rechazados, "5 registro(s) rechazado(s)");
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
}

TEST_F(ImportacionTest, RechazosEmpiezanLosArchivosDeUnaCorridaAnterior) {
    zv::text::WriteAll(Log(), "vieja 1\r\nvieja 2\r\n");
    zv::text::WriteAll(Err(), "vieja 1\r\nvieja 2\r\n");
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Lineas(Log()).size(), 2u);
    EXPECT_EQ(Lineas(Log())[0], kLinea2);
    // A second run of the same form starts them again too.
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Lineas(Err()).size(), 2u);
}

TEST_F(ImportacionTest, CorridaSinRechazosNoTocaLosArchivosAnteriores) {
    ArchivoDeDatos("duplicado.txt");
    importacion_->CmdGrabar_Click();
    std::string err = zv::text::ReadAll(Err());
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("F841DETDES"), 3);
    EXPECT_EQ(zv::text::ReadAll(Err()), err);
}

// ---- structure of the file --------------------------------------------------

struct CasoEstructura {
    const char* archivo;
    const char* texto;
    const char* titulo;
};

std::ostream& operator<<(std::ostream& os, const CasoEstructura& c) { return os << c.archivo; }

class Estructura : public ImportacionTest, public testing::WithParamInterface<CasoEstructura> {};

TEST_P(Estructura, ArchivoMalFormadoSeRefiereSinLeerLineas) {
    const CasoEstructura& c = GetParam();
    ArchivoDeDatos(c.archivo);
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, c.texto);
    EXPECT_EQ(mensajes_.shown[0].title, c.titulo);
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
    for (const char* tabla : {"F841DETDES", "CAB", "DET"}) EXPECT_EQ(Cuenta(tabla), 0) << tabla;
    EXPECT_FALSE(fs::exists(Log()));
    EXPECT_TRUE(formulario_.preguntas.empty());
    EXPECT_EQ(formulario_.marcos, (std::vector<bool>{true, false}));
}

const char* const kCamposIncorrectos = "El archivo de importación no tiene el número de campos correctos";

INSTANTIATE_TEST_SUITE_P(
    Archivos, Estructura,
    testing::Values(
        CasoEstructura{"campos_incorrectos.txt", kCamposIncorrectos, kTituloFormulario},
        CasoEstructura{"sin_separador.txt", kCamposIncorrectos, kTituloFormulario},
        CasoEstructura{"sin_separador_despues.txt", "Cada línea del archivo debe terminar con el separador |",
                       "Error en archivo de importación"},
        CasoEstructura{"tabulador.txt", "El archivo de carga de Declaraciones tiene el caracter [TAB].",
                       "Error en archivo de carga de Declaraciones"}));

TEST_F(ImportacionTest, VeinteCamposAntesDeLaLineaVaciaSeRefieren) {
    ArchivoConLineas({kLinea1, std::string(kLinea3) + "EXTRA|"});
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, kCamposIncorrectos);
    EXPECT_EQ(formulario_.transferidos, "0          registro(s) transferido(s)");
    EXPECT_EQ(formulario_.rechazados, "0          registro(s) rechazado(s)");
    EXPECT_EQ(formulario_.habilitaciones, 1);
}

TEST_F(ImportacionTest, ArchivoQueNoEstaEnLaCarpeta) {
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text,
              "En la ruta indicada, no se encuentra el archivo a transferir, verifique la ruta");
    EXPECT_EQ(mensajes_.shown[0].title, "Error");
    EXPECT_EQ(formulario_.habilitaciones, 1);
    EXPECT_EQ(Cuenta("CAB"), 0);
}

TEST_F(ImportacionTest, NombreDelArchivoSinDistinguirMayusculas) {
    ArchivoDeDatos("limpio.txt", std::string(kBase) + ".txt");
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("F841DETDES"), 3);
}

// ---- checks before the import -----------------------------------------------

TEST_F(ImportacionTest, DeclaracionExistenteSeRefiere) {
    Base().Execute("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, semana, estado, cNumero) "
                   "VALUES (6, ?, ?, '0841', 0, 0, '000000')",
                   {kRuc, kPeriodo});
    ArchivoDeDatos("limpio.txt");
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text,
              "Ya existe una declaración para el RUC y periodo seleccionado. Elimine la declaración e importe el "
              "archivo nuevamente.");
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
    EXPECT_EQ(Cuenta("DET"), 0);
    EXPECT_TRUE(formulario_.marcos.empty());

    // With no file selected the file message comes instead, and CAB is not asked.
    formulario_.archivo.clear();
    importacion_->CmdGrabar_Click();
    ASSERT_EQ(mensajes_.shown.size(), 2u);
    EXPECT_EQ(mensajes_.shown[1].text,
              "No se ha encontrado el archivo del detalle de afiliados para el RUC y periodo seleccionado");
    EXPECT_EQ(mensajes_.shown[1].icon, zv::Icon::Information);
    EXPECT_EQ(formulario_.transferidos, "0          Registro(s) transferido(s)");
}

TEST_F(ImportacionTest, DatosDelFormularioInvalidosNoImportan) {
    ArchivoDeDatos("limpio.txt");
    formulario_.datosValidos = false;
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("F841DETDES"), 0);
    EXPECT_TRUE(formulario_.marcos.empty());
    EXPECT_TRUE(mensajes_.shown.empty());
}

TEST_F(ImportacionTest, UnClicDuranteLaImportacionSeIgnora) {
    ArchivoDeDatos("limpio.txt");
    int clics = 0;
    formulario_.alEscribirContador = [&] {
        if (clics++ == 1) importacion_->CmdGrabar_Click();
    };
    importacion_->CmdGrabar_Click();
    EXPECT_EQ(Cuenta("F841DETDES"), 3);
    EXPECT_EQ(Cuenta("CAB"), 1);
}

}  // namespace
}  // namespace zvimport::prueba
