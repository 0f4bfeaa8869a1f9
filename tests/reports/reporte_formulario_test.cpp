// The form report, alone in its spool file (F84101).
#include "formulario/core/estado.h"
#include "formulario/reports/reporte.h"
#include "tests/reports/entorno.h"
#include "tests/support/disco_lleno.h"

namespace zvreports::prueba {
namespace {

using zvform::Estado;
using zvform::OpcionImpresion;

class ReporteFormularioTest : public ReportesTest {
protected:
    void SetUp() override {
        ReportesTest::SetUp();
        Declaracion();
        auto& c = Estado::G().gValoresCasilla;
        c[590] = "25000";
        c[591] = "1200";
        c[592] = "-1500";
        c[597] = "24700";
        c[598] = "1234567";
        Estado::G().gTipoReporte = 2;
    }
    // Runs the report and returns its lines.
    std::vector<std::string> Ejecuta() {
        archivo = Registra(zvform::CodigoReporte(OpcionImpresion::Declaracion));
        EXPECT_TRUE(zvform::ImprimeReporte("", "", OpcionImpresion::Declaracion));
        EXPECT_TRUE(mensajes_.shown.empty());
        return Lineas(RutaRpt() / archivo);
    }
    static bool Contiene(const std::vector<std::string>& l, const std::string& t) {
        return std::find(l.begin(), l.end(), t) != l.end();
    }
    static bool ContieneTexto(const std::vector<std::string>& l, const std::string& t) {
        for (const auto& x : l)
            if (x.find(t) != std::string::npos) return true;
        return false;
    }
    std::string archivo;
};

// A full report folder: the run tells it, and neither the report's SPOOL row
// nor its empty file stays behind for the host to list.
TEST_F(ReporteFormularioTest, AReportThatCannotBeWrittenLeavesNoRowNorFile) {
    const fs::path siguiente = RutaRpt() / "00000001.PRN";  // the first name of an empty SPOOL
    if (!zvtest::ArchivoDeDiscoLleno(siguiente)) GTEST_SKIP() << "no full device here";
    archivo = Registra(zvform::CodigoReporte(OpcionImpresion::Declaracion));
    ASSERT_EQ(RutaRpt() / archivo, siguiente);
    EXPECT_FALSE(zvform::ImprimeReporte("", "", OpcionImpresion::Declaracion));
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].text, "Error Técnico : ( 57) Error de E/S en el dispositivo");
    EXPECT_EQ(mensajes_.shown[0].title, "Impresión");
    EXPECT_FALSE(fs::exists(fs::symlink_status(siguiente)));
    auto rs = Base().OpenRecordset("SELECT count(*) FROM SPOOL", dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields(0).AsLong(), 0);
}

TEST_F(ReporteFormularioTest, CashWithANegativeBox592) {
    Estado::G().gEfectivo = "1";
    auto lineas = Ejecuta();
    ComparaConReferencia(RutaRpt() / archivo, "formulario_efectivo.PRN");
    EXPECT_EQ(lineas.front(), "<!font!>Courier New<!/font!>");
    EXPECT_EQ(lineas.back(), "<!nHojas!>1<!/nHojas!>");
    // 1,500 in parentheses in 17 characters, the positive amounts in 16.
    EXPECT_TRUE(Contiene(lineas, "pPos|9200|3420|          (1,500)|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|9200|2880|          25,000|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|2000|4500|EFECTIVO|False|8|0|"));
    EXPECT_FALSE(ContieneTexto(lineas, "CODIGO DE BANCO:"));
    EXPECT_FALSE(ContieneTexto(lineas, "pCuadro|150|4710|"));  // no seventh row
    EXPECT_EQ(zvform::PaginasDelReporte(), 1);
}

TEST_F(ReporteFormularioTest, ChequeWithItsBank) {
    Estado& e = Estado::G();
    e.gNroCheque = "00012345";
    e.gBancoPago = "77";
    auto lineas = Ejecuta();
    ComparaConReferencia(RutaRpt() / archivo, "formulario_cheque.PRN");
    EXPECT_TRUE(Contiene(lineas, "pPos|2000|4500|CHEQUE|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|9210|4500|      00012345|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|2000|4770|015|False|8|0|"));
    // The bank's name (first 36 characters of Funcion, trimmed) cut to 17.
    EXPECT_TRUE(Contiene(lineas, "pPos|9210|4770|BANCO INTERAMERIC|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pCuadro|150|4710|11000|4980|0|"));
}

TEST_F(ReporteFormularioTest, AnEmptyChequeNumberShowsTheBankButNeitherChequeNorBox015) {
    Estado& e = Estado::G();
    e.gNroCheque = "   ";
    e.gBancoPago = "77";
    auto lineas = Ejecuta();
    EXPECT_FALSE(ContieneTexto(lineas, "CHEQUE"));
    EXPECT_FALSE(ContieneTexto(lineas, "|015|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|270|4770|CODIGO DE BANCO:|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|9210|4770|BANCO INTERAMERIC|False|8|0|"));
}

TEST_F(ReporteFormularioTest, AnUnknownBankAndEmptyBoxesLeaveBlanks) {
    Estado& e = Estado::G();
    e.gNroCheque = "991";
    e.gBancoPago = "XX";
    e.gValoresCasilla[591] = "";
    auto lineas = Ejecuta();
    EXPECT_TRUE(Contiene(lineas, "pPos|9210|4770|" + std::string(17, ' ') + "|False|8|0|"));
    EXPECT_TRUE(Contiene(lineas, "pPos|9200|3150|" + std::string(16, ' ') + "|False|8|0|"));
}

}  // namespace
}  // namespace zvreports::prueba
