// The spool line writer: records, tags, text lines and the page break.
#include <gtest/gtest.h>

#include "platform/textfile.h"
#include "shared/spool.h"
#include "tests/reports/entorno.h"
#include "tests/support/support.h"

namespace {

namespace sp = zv::spool;

class EscritorSpoolTest : public testing::Test {
protected:
    void SetUp() override { w.Abre(ruta); }
    std::string Bytes() {
        w.Cierra();
        return zvtest::Bytes(ruta);
    }
    std::vector<std::string> Lineas() {
        w.Cierra();
        return zvreports::prueba::Lineas(ruta);
    }

    zvtest::TempDir dir;
    std::filesystem::path ruta = dir.path() / "00000001.PRN";
    sp::EscritorSpool w;
};

TEST_F(EscritorSpoolTest, RecordsAreWrittenInWindows1252WithCrLf) {
    w.ImprimePos(300, 2540, "CONCEPTO", true, 10, 0);
    w.ImprimePos(1750, 1450, "RAZÓN SOCIAL", false, 8, 2);
    w.ImprimeCuadro(150, 2470, 11000, 2815, 0);
    w.ImprimePos(0, 0, "pNuevaHoja", false, 8, 1);
    EXPECT_EQ(Bytes(),
              "pPos|300|2540|CONCEPTO|True|10|0|\r\n"
              "pPos|1750|1450|RAZ\xD3N SOCIAL|False|8|2|\r\n"
              "pCuadro|150|2470|11000|2815|0|\r\n"
              "pNuevaHoja\r\n");
}

TEST_F(EscritorSpoolTest, TagsGivenToImprimePosAreDroppedAfterTheSecondPage) {
    for (int pagina : {0, 1, 2, 3}) {
        w.pagina = pagina;
        w.ImprimePos(0, 0, "<!Orientacion!>H<!/Orientacion!>", false, 8, pagina);
    }
    EXPECT_EQ(Lineas(), (std::vector<std::string>{"<!Orientacion!>H<!/Orientacion!>",
                                                  "<!Orientacion!>H<!/Orientacion!>"}));
}

TEST_F(EscritorSpoolTest, TextLinesAdvance175TwipsFromTheLastPosition) {
    w.pagina = 1;
    std::string a = "", b = "  HOLA";
    w.ImprimeLinea(a);
    w.ImprimeLinea(b);
    EXPECT_EQ(a, "pPos|10|175||False|8|0|");  // the caller's line holds the record
    EXPECT_EQ(Lineas(), (std::vector<std::string>{"pPos|10|175||False|8|0|", "pPos|10|350|  HOLA|False|8|0|"}));
}

TEST_F(EscritorSpoolTest, The83rdTextLineIsFollowedByAPageBreak) {
    w.pagina = 1;
    std::string tag(sp::kTagFuente);
    w.ImprimeLinea(tag);  // tags never count
    for (int i = 1; i <= 84; ++i) {
        std::string l = "L" + std::to_string(i);
        w.ImprimeLinea(l);
    }
    auto lineas = Lineas();
    ASSERT_EQ(lineas.size(), 1u + 84u + 1u);
    EXPECT_EQ(lineas[83], "pPos|10|14525|L83|False|8|0|");
    EXPECT_EQ(lineas[84], "pNuevaHoja");
    EXPECT_EQ(lineas[85], "pPos|10|14700|L84|False|8|1|");  // next page; y runs on until a heading resets it
    EXPECT_EQ(w.pagina, 2);
    EXPECT_EQ(w.lineaActual, 1);
}

TEST_F(EscritorSpoolTest, AfterTheFirstPageOnlyOrientationTagsPassedThroughTheLineSurvive) {
    w.pagina = 2;
    std::string fuente(sp::kTagFuente), vertical(sp::kTagVertical);
    w.ImprimeLinea(fuente);
    w.ImprimeLinea(vertical);  // `linea` holds no orientation tag: dropped
    w.linea = sp::kTagHorizontal;
    w.ImprimeLinea(w.linea);
    EXPECT_EQ(Lineas(), (std::vector<std::string>{"<!Orientacion!>H<!/Orientacion!>"}));
    EXPECT_EQ(w.lineaActual, 0);
}

TEST_F(EscritorSpoolTest, AWriterWithoutPageLengthNeverBreaks) {
    sp::EscritorSpool unaHoja(0);
    auto otra = dir.path() / "otra.PRN";
    unaHoja.Abre(otra);
    unaHoja.pagina = 1;
    for (int i = 0; i < 100; ++i) {
        std::string l = "x";
        unaHoja.ImprimeLinea(l);
    }
    unaHoja.Cierra();
    EXPECT_EQ(zv::text::ReadAll(otra).find("pNuevaHoja"), std::string::npos);
}

TEST(SpoolTags, TheTagLinesOfTheFormat) {
    EXPECT_EQ(sp::TagHojas(4), "<!nHojas!>4<!/nHojas!>");
    EXPECT_TRUE(sp::EsTagOrientacion("<!Orientacion!>V<!/Orientacion!>"));
    EXPECT_FALSE(sp::EsTagOrientacion("<!Color!>&H80000005&<!/Color!>"));
    int y = 0;
    EXPECT_EQ(sp::SumaPosicion(y, 175), "175");
    EXPECT_EQ(y, 175);
}

}  // namespace
