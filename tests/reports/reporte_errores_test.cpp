// The transfer-errors report (F84103) from the import's error file.
#include "formulario/core/estado.h"
#include "formulario/reports/reporte.h"
#include "formulario/reports/reporte_errores.h"
#include "platform/textfile.h"
#include "tests/reports/entorno.h"

namespace zvreports::prueba {
namespace {

using zvform::Estado;

inline constexpr const char* kBase = "084120230120555555556";

class ReporteErroresTest : public ReportesTest {
protected:
    void SetUp() override {
        ReportesTest::SetUp();
        Declaracion();
        Estado::G().gTipoReporte = 3;
    }
    // The import writes the file as ".Err"; the report opens it as ".err".
    void ArchivoDeErrores(int n) {
        zv::text::TextWriter w(RutaRpt() / (std::string(kBase) + ".Err"), zv::text::WriteMode::Output);
        for (int i = 1; i <= n; ++i) {
            std::string doc = std::to_string(10000000 + i);
            w.WriteLine("20100070970 01 " + doc + "        202301 " +
                        (i % 2 ? "Registro duplicado." : "Número de documento inválido"));
        }
        w.Close();
    }
    std::vector<std::string> Ejecuta() {
        archivo = Registra(zvform::kCodigoErrores);
        EXPECT_TRUE(zvform::ImprimeReporte(kBase, kPeriodo));
        EXPECT_TRUE(mensajes_.shown.empty());
        return Lineas(RutaRpt() / archivo);
    }
    // The text of a text-line record.
    static std::string TextoDe(const std::string& registro) {
        auto a = registro.find('|', registro.find('|', 5) + 1);  // after "pPos|10|y"
        auto b = registro.find('|', a + 1);
        return registro.substr(a + 1, b - a - 1);
    }
    static long Cuenta(const std::vector<std::string>& l, const std::string& t) {
        return std::count(l.begin(), l.end(), t);
    }
    std::string archivo;
};

const std::string kRegla = "  " + std::string(110, '_');

TEST_F(ReporteErroresTest, TenErrorLinesMakeOnePage) {
    ArchivoDeErrores(10);
    auto l = Ejecuta();
    ComparaConReferencia(RutaRpt() / archivo, "errores_10.PRN");
    ASSERT_EQ(l.size(), 4u + 12u + 10u + 3u);
    EXPECT_EQ(l[0], "<!font!>Courier New<!/font!>");
    EXPECT_EQ(l[1], "<!nHojas!>1<!/nHojas!>");
    EXPECT_EQ(l[2], "<!Orientacion!>V<!/Orientacion!>");
    EXPECT_EQ(l[3], "<!Color!>&H80000005&<!/Color!>");
    EXPECT_EQ(l[4], "pPos|10|175||False|8|0|");
    EXPECT_EQ(l[16], "pPos|10|2275|  20100070970 01 10000001        202301 Registro duplicado.|False|8|0|");
    EXPECT_EQ(TextoDe(l[27]), "  Total de Errores:      10");
    EXPECT_EQ(TextoDe(l[28]), kRegla);
    EXPECT_EQ(zvform::PaginasDelReporte(), 1);
}

TEST_F(ReporteErroresTest, TheHeadingLines) {
    ArchivoDeErrores(1);
    auto l = Ejecuta();
    std::string titulo = TextoDe(l[7]);
    EXPECT_EQ(titulo.substr(0, 7), "  ORVAL");
    EXPECT_EQ(titulo.substr(2 + 44 + 5, 14), "Zarvo SOLVENDA");
    EXPECT_EQ(titulo.substr(106, 6), "F84103");
    EXPECT_EQ(titulo.size(), 114u);
    std::string periodo = TextoDe(l[8]);
    EXPECT_EQ(periodo.substr(0, 12), "  05/03/2024");
    EXPECT_NE(periodo.find("REPORTE DE ERRORES DE TRANSFERENCIA - PERIODO 01/2023"), std::string::npos);
    EXPECT_EQ(periodo.substr(2 + 105, 5), "Pag:1");  // positions 106 to 110 behind the margin
    EXPECT_EQ(TextoDe(l[9]).substr(0, 10), "  14:07:09");
    std::string contribuyente = TextoDe(l[12]);
    EXPECT_EQ(contribuyente.rfind(std::string("  CONTRIBUYENTE:  ") + kRuc + "  " + kRazonSocial, 0), 0u);
    EXPECT_EQ(contribuyente.size(), 112u);
    EXPECT_EQ(TextoDe(l[13]), kRegla);
    EXPECT_EQ(TextoDe(l[14]), "  RUC         TD DOCUMENTO       DEVENG. DESCRIPCION DEL ERROR  ");
    EXPECT_EQ(TextoDe(l[15]), kRegla);
}

TEST_F(ReporteErroresTest, SixtySevenErrorLinesGiveASubTotalAndASecondPage) {
    ArchivoDeErrores(67);
    auto l = Ejecuta();
    ComparaConReferencia(RutaRpt() / archivo, "errores_67.PRN");
    EXPECT_EQ(l[1], "<!nHojas!>2<!/nHojas!>");
    // Page 1: 12 heading lines, 67 errors, the sub-total block: the count, which
    // the heading starts at 1, reaches 83 on the block's last line.
    std::size_t fin = 4 + 12 + 67 + 3;
    EXPECT_EQ(TextoDe(l[fin - 2]), "  Sub-Total de Errores:  67");
    EXPECT_EQ(l[fin - 1], "pPos|10|14350|" + kRegla + "|False|8|0|");
    EXPECT_EQ(l[fin], "pNuevaHoja");
    // Page 2: the heading without tags, then the total.
    EXPECT_EQ(l[fin + 1], "pPos|10|175||False|8|1|");
    ASSERT_EQ(l.size(), fin + 1 + 12 + 3);
    EXPECT_NE(TextoDe(l[fin + 5]).find("Pag:2"), std::string::npos);
    EXPECT_EQ(TextoDe(l[fin + 14]), "  Total de Errores:      67");
    EXPECT_EQ(Cuenta(l, "<!Orientacion!>V<!/Orientacion!>"), 1);
    EXPECT_EQ(zvform::PaginasDelReporte(), 2);
}

TEST_F(ReporteErroresTest, EveryBlockOf67StartsAPage) {
    ArchivoDeErrores(150);
    auto l = Ejecuta();
    EXPECT_EQ(l[1], "<!nHojas!>3<!/nHojas!>");
    EXPECT_EQ(Cuenta(l, "pNuevaHoja"), 2);
    EXPECT_EQ(zvform::PaginasDelReporte(), 3);
    EXPECT_EQ(TextoDe(l[l.size() - 2]), "  Total de Errores:      150");
    EXPECT_EQ(zvform::PaginasErrores(0), 1);
    EXPECT_EQ(zvform::PaginasErrores(66), 1);
    EXPECT_EQ(zvform::PaginasErrores(134), 3);
}

TEST_F(ReporteErroresTest, AMissingErrorFileEndsTheRunWithoutAMessage) {
    archivo = Registra(zvform::kCodigoErrores);
    EXPECT_FALSE(zvform::ImprimeReporte(kBase, kPeriodo));
    EXPECT_TRUE(mensajes_.shown.empty());
    // The spool file was closed: a new run can write it again.
    ArchivoDeErrores(2);
    EXPECT_TRUE(zvform::ImprimeReporte(kBase, kPeriodo));
}

TEST_F(ReporteErroresTest, AnotherFailureIsShownAsATechnicalError) {
    ArchivoDeErrores(2);
    Estado::G().gRutaArchivo = (RutaRpt() / "no-existe" / "00000009.PRN").string();
    EXPECT_FALSE(zvform::ImprimeReporte(kBase, kPeriodo));
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].title, "Impresión");
    EXPECT_EQ(mensajes_.shown[0].text.rfind("Error Técnico : ( ", 0), 0u) << mensajes_.shown[0].text;
}

TEST_F(ReporteErroresTest, AnUnknownReportTypeWritesNothing) {
    Estado::G().gTipoReporte = 7;
    archivo = Registra(zvform::kCodigoErrores);
    EXPECT_FALSE(zvform::ImprimeReporte(kBase, kPeriodo));
    EXPECT_FALSE(fs::exists(RutaRpt() / archivo));
    EXPECT_TRUE(mensajes_.shown.empty());
}

TEST(MensajeImpresion, TheReactionOfTheRunToEachError) {
    struct Caso {
        long numero;
        const char* texto;
    } casos[] = {
        {53, ""},
        {2055, ""},
        {55, ""},
        {20545, "La Impresión ha sido Cancelada."},
        {482, "No existe una impresora seleccionada.Verifique."},
        {380, "No Existe Información a Imprimir.Verifique."},
        {57, "Error Técnico : ( 57) Error de E/S en el dispositivo"},
    };
    for (const Caso& c : casos)
        EXPECT_EQ(zvform::MensajeImpresion(c.numero, "Error de E/S en el dispositivo"), c.texto) << c.numero;
}

}  // namespace
}  // namespace zvreports::prueba
