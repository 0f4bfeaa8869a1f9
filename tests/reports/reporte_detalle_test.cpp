// The annex of affiliates, alone (F84102) and after the form report (F84101).
#include "formulario/core/estado.h"
#include "formulario/reports/reporte.h"
#include "tests/reports/entorno.h"

namespace zvreports::prueba {
namespace {

using zvform::Estado;
using zvform::OpcionImpresion;

class ReporteDetalleTest : public ReportesTest {
protected:
    void SetUp() override {
        ReportesTest::SetUp();
        Declaracion();
        auto& c = Estado::G().gValoresCasilla;
        c[590] = "11000";
        c[591] = "100";
        c[592] = "-25";
        c[597] = "11075";
        c[598] = "11075";
        Estado::G().gEfectivo = "1";
        Estado::G().gTipoReporte = 2;
    }
    std::vector<std::string> Ejecuta(OpcionImpresion opcion) {
        archivo = Registra(zvform::CodigoReporte(opcion));
        EXPECT_TRUE(zvform::ImprimeReporte("", "", opcion));
        EXPECT_TRUE(mensajes_.shown.empty()) << mensajes_.shown.front().text;
        return Lineas(RutaRpt() / archivo);
    }
    static std::vector<std::size_t> Posiciones(const std::vector<std::string>& l, const std::string& t) {
        std::vector<std::size_t> out;
        for (std::size_t i = 0; i < l.size(); ++i)
            if (l[i] == t) out.push_back(i);
        return out;
    }
    static std::vector<std::string> ConPrefijo(const std::vector<std::string>& l, const std::string& p) {
        std::vector<std::string> out;
        for (const auto& x : l)
            if (x.rfind(p, 0) == 0) out.push_back(x);
        return out;
    }
    std::string archivo;
};

// 74 rows: 37 on each of two pages, the totals alone on a third.
TEST_F(ReporteDetalleTest, FormAndAnnexOfThreePages) {
    InsertaAfiliados(74);
    auto lineas = Ejecuta(OpcionImpresion::DeclaracionYDetalle);
    ComparaConReferencia(RutaRpt() / archivo, "formulario_y_detalle.PRN");
    EXPECT_EQ(lineas.back(), "<!nHojas!>4<!/nHojas!>");
    EXPECT_EQ(zvform::PaginasDelReporte(), 4);
    auto saltos = Posiciones(lineas, "pNuevaHoja");
    ASSERT_EQ(saltos.size(), 3u);
    for (std::size_t s : saltos) EXPECT_EQ(lineas[s + 1], "<!Orientacion!>H<!/Orientacion!>");
    // Only the form's tags at the head.
    EXPECT_EQ(Posiciones(lineas, "<!Color!>&H00FFFFC0&<!/Color!>").size(), 1u);
    EXPECT_EQ(Posiciones(lineas, "<!font!>Courier New<!/font!>").size(), 1u);
    EXPECT_EQ(lineas[saltos[0] + 2], "pPos|440|350|ORVAL|True|16|1|");
    EXPECT_EQ(lineas[saltos[0] + 8], "pPos|6640|400|SOLVENDA|True|9|1|");
    EXPECT_EQ(lineas[saltos[0] + 9], "pPos|14140|400|Pág. 2|False|8|1|");
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2550|").size(), 1u);  // the first row
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2580|").size(), 1u);  // the first row of page 2
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2310|Cantidad total de registros  : 74|").size(), 1u);
}

TEST_F(ReporteDetalleTest, AnnexAlone) {
    InsertaAfiliados(40);
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    ComparaConReferencia(RutaRpt() / archivo, "detalle.PRN");
    EXPECT_EQ(lineas[0], "<!font!>Courier New<!/font!>");
    EXPECT_EQ(lineas[1], "<!Orientacion!>H<!/Orientacion!>");
    EXPECT_EQ(lineas[2], "<!Color!>&H00FFFFC0&<!/Color!>");
    EXPECT_EQ(lineas.back(), "<!nHojas!>2<!/nHojas!>");
    EXPECT_EQ(Posiciones(lineas, "pNuevaHoja").size(), 1u);
    EXPECT_EQ(ConPrefijo(lineas, "pPos|14140|400|Pág. 1|False|8|0|").size(), 1u);
    EXPECT_EQ(ConPrefijo(lineas, "pPos|6451|1680|DETALLE DE AFILIADOS|True|14|").size(), 2u);
}

TEST_F(ReporteDetalleTest, AnnexWithoutRows) {
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    ComparaConReferencia(RutaRpt() / archivo, "detalle_vacio.PRN");
    EXPECT_EQ(lineas.back(), "<!nHojas!>1<!/nHojas!>");
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2010|Cantidad total de registros  : 0|").size(), 1u);
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2820|NO EXISTE INFORMACIÓN A DECLARAR|False|8|0|").size(), 1u);
    EXPECT_TRUE(ConPrefijo(lineas, "pNuevaHoja").empty());
}

TEST_F(ReporteDetalleTest, DetailLineColumnsAndTotals) {
    Afiliado a;
    a.rucEmpleador = "0";
    a.numeroDoc = "P0123456789ABCD";
    a.paterno = "DE LA TORRE SANTISTEBAN";
    a.materno = "VILLANUEVA";
    a.nombres = "MARÍA JOSÉ";
    a.aporteO = "1234567.5";
    a.aporteV = "0";
    a.rentabilidad = "-1500.25";
    InsertaAfiliado(a);
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    auto filas = ConPrefijo(lineas, "pPos|300|2550|");
    ASSERT_EQ(filas.size(), 1u);
    auto derecha = [](const std::string& t, std::size_t ancho) { return std::string(ancho - t.size(), ' ') + t; };
    std::string esperada = std::string(11, ' ') + " 01 P0123456789ABCD DE LA TORRE SANTISTEBAN VILLA 123456ABCDE1 " +
                           "RES0001    12/2022 " + derecha("1,234,567.50", 18) + " " + derecha("0.00", 18) + " " +
                           derecha("(1,500.25)", 19);
    EXPECT_EQ(filas[0], "pPos|300|2550|" + esperada + "|False|8|0|");
    // Totals: a zero total prints as "." and a negative returns total one column wider.
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|2850|Cantidad total de registros  : 1|").size(), 1u);
    auto totales = ConPrefijo(lineas, "pPos|90|");
    ASSERT_EQ(totales.size(), 1u);
    EXPECT_EQ(totales[0], "pPos|90|2850|" + std::string(95, ' ') + derecha("1,234,567.50", 18) + " " +
                              derecha(".", 18) + " " + derecha("(1,500.25)", 19) + "|False|8|0|");
}

// Only the returns column puts a negative amount in parentheses; the
// contributions keep the pattern's minus sign in 18 characters.
TEST_F(ReporteDetalleTest, AmountColumnsOfTheDetailLine) {
    struct Caso {
        const char *documento, *obligatorio, *voluntario, *rentabilidad;
        int y;
        std::string montos;
    };
    auto derecha = [](const std::string& t, std::size_t ancho) { return std::string(ancho - t.size(), ' ') + t; };
    const Caso casos[] = {
        {"1", "1500", "2.5", "3", 2550, derecha("1,500.00", 18) + " " + derecha("2.50", 18) + " " + derecha("3.00", 18)},
        {"2", "-1500", "-2.5", "-3", 2750,
         derecha("-1,500.00", 18) + " " + derecha("-2.50", 18) + " " + derecha("(3.00)", 19)},
    };
    for (const Caso& c : casos) {
        Afiliado a;
        a.numeroDoc = c.documento;
        a.aporteO = c.obligatorio;
        a.aporteV = c.voluntario;
        a.rentabilidad = c.rentabilidad;
        InsertaAfiliado(a);
    }
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    for (const Caso& c : casos) {
        auto filas = ConPrefijo(lineas, "pPos|300|" + std::to_string(c.y) + "|");
        ASSERT_EQ(filas.size(), 1u) << c.documento;
        EXPECT_TRUE(filas[0].ends_with("12/2022 " + c.montos + "|False|8|0|")) << filas[0];
    }
}

TEST_F(ReporteDetalleTest, RowsComeInPrimaryKeyOrder) {
    for (const char* doc : {"30000003", "10000001", "20000002"}) {
        Afiliado a;
        a.numeroDoc = doc;
        InsertaAfiliado(a);
    }
    Afiliado otroEmpleador;
    otroEmpleador.rucEmpleador = "10000000001";
    otroEmpleador.numeroDoc = "99999999";
    InsertaAfiliado(otroEmpleador);
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    std::vector<std::string> documentos;
    for (int y = 2550; y <= 3150; y += 200) {
        auto f = ConPrefijo(lineas, "pPos|300|" + std::to_string(y) + "|");
        ASSERT_EQ(f.size(), 1u);
        documentos.push_back(f[0].substr(std::string("pPos|300|2550|").size() + 15, 8));
    }
    EXPECT_EQ(documentos, (std::vector<std::string>{"99999999", "10000001", "20000002", "30000003"}));
}

TEST_F(ReporteDetalleTest, ASentDeclarationReadsOnlyItsSend) {
    Estado& e = Estado::G();
    e.gEsEnviada = true;
    e.gCorrel = "002";
    int n = 0;
    for (const char* correl : {"001", "002", "002"}) {
        Afiliado a;
        a.correl = correl;
        a.numeroDoc = "5000000" + std::to_string(++n);
        InsertaAfiliado(a, "HF841DETDES");
    }
    InsertaAfiliados(5);  // registered rows are not read
    auto lineas = Ejecuta(OpcionImpresion::Detalle);
    EXPECT_EQ(ConPrefijo(lineas, "pPos|300|3050|Cantidad total de registros  : 2|").size(), 1u);
}

TEST_F(ReporteDetalleTest, AnAmountThatIsNotANumberStopsTheRun) {
    Afiliado a;
    a.numeroDoc = "1";
    a.aporteV = "12x";
    InsertaAfiliado(a);
    archivo = Registra(zvform::CodigoReporte(OpcionImpresion::Detalle));
    EXPECT_FALSE(zvform::ImprimeReporte("", "", OpcionImpresion::Detalle));
    ASSERT_EQ(mensajes_.shown.size(), 1u);
    EXPECT_EQ(mensajes_.shown[0].title, "Impresión");
    EXPECT_EQ(mensajes_.shown[0].text.rfind("Error Técnico : ( 13) ", 0), 0u) << mensajes_.shown[0].text;
    EXPECT_EQ(mensajes_.shown[0].icon, zv::Icon::Critical);
}

}  // namespace
}  // namespace zvreports::prueba
