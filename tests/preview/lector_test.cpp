// Reading spool files back, without a window: the token scan and the field
// rules, damaged lines and files, the preview's page pictures and the
// printer road's pages, with and without a page range.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "formulario/core/estado.h"
#include "formulario/reports/impresion_spool.h"
#include "formulario/reports/lector_spool.h"
#include "formulario/reports/paginas_previas.h"
#include "formulario/reports/rango_paginas.h"
#include "platform/textfile.h"
#include "tests/preview/spool_prueba.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using namespace zvform;
using zvpreview::prueba::Encabezado;
using zvpreview::prueba::EscribeReporte;
using zvpreview::prueba::Opciones;
using zvpreview::prueba::Referencia;

// ---- Token scan and fields ----------------------------------------------

struct CasoToken {
    const char* linea;
    std::optional<std::string> token;
};

TEST(TokenSpool, EndsAtTheFirstBarTagEndOrPageBreak) {
    const CasoToken casos[] = {
        {"pPos|10|20|X|True|8|0|", "pPos"},
        {"<!font!>Courier New<!/font!>", "<!font!>"},
        {"<!nHojas!>4<!/nHojas!>", "<!nHojas!>"},
        {"pNuevaHoja", "pNuevaHoja"},
        {"pNuevaHojaXYZ|", "pNuevaHoja"},
        {" pCuadro |1|", " pCuadro "},
        {"pLinea|1|2|", "pLinea"},
        {"", std::nullopt},
        {"una palabra sin fin", std::nullopt},
        {"pNueva", std::nullopt},
    };
    for (const CasoToken& c : casos) {
        std::size_t despues = 0;
        auto token = TokenSpool(c.linea, despues);
        ASSERT_EQ(token.has_value(), c.token.has_value()) << c.linea;
        if (token) {
            EXPECT_EQ(std::string(*token), *c.token) << c.linea;
        }
    }
}

TEST(NumeroSpool, LeadingNumberRoundedToEvenAndClampedTo16Bits) {
    const std::pair<const char*, int> casos[] = {
        {"10", 10},          {" 1 5", 15},      {"2.5", 2},        {"3.5", 4},          {"-2.5", -2},
        {"", 0},             {"abc", 0},        {"12abc", 12},     {"40000", 32767},    {"-40000", -32768},
        {"1e10", 32767},     {"32767.5", 32767}, {"&H10", 16},     {"&HFFFFFFFFFFFFFFFFFFFFFFFF", 32767},
        {"99999999999999999999999999999", 32767},
    };
    for (const auto& [campo, esperado] : casos) EXPECT_EQ(NumeroSpool(campo), esperado) << campo;
}

TEST(ColorSpool, HexLiteralsAndDecimalNumbers) {
    EXPECT_EQ(ColorSpool("&H00FFFFC0"), 0x00FFFFC0u);
    EXPECT_EQ(ColorSpool(" &H80000005 "), 0x80000005u);
    EXPECT_EQ(ColorSpool("&H00FFFFC"), 0x000FFFFCu);  // a tag without its extra character loses a digit
    EXPECT_EQ(ColorSpool("16777215"), 0xFFFFFFu);
    for (const char* malo : {"", "verde", "&H", "&H123456789", "&HXYZ", "99999999999"})
        EXPECT_FALSE(ColorSpool(malo).has_value()) << malo;
}

struct CasoLinea {
    const char* linea;
    ComandoSpool comando;
};

TEST(AnalizaLinea, DamagedLinesAreSkipped) {
    const CasoLinea casos[] = {
        {"", ComandoSpool::Ninguno},
        {"una palabra sin fin", ComandoSpool::Ninguno},
        {"pPos|10|20|TEXTO|True|8|0", ComandoSpool::Ninguno},         // last field without its "|"
        {"pPos|10|20|TEXTO|Si|8|0|", ComandoSpool::Ninguno},          // bold neither True nor False
        {"pPos|10|20|A|B|False|8|0|", ComandoSpool::Ninguno},         // a "|" inside the text shifts the bold field
        {"pCuadro|1|2|3|4|", ComandoSpool::Ninguno},                  // a field short
        {"<!Color!>&H00FFFFC0&", ComandoSpool::Ninguno},              // no closing tag
        {"<!Color!>&H00FFFFC0&<!/font!>", ComandoSpool::Ninguno},     // another tag's closing
        {"pLinea|1|2|3|4|0|", ComandoSpool::Ninguno},
        {"ppos|1|2|X|True|8|0|", ComandoSpool::Ninguno},              // case counts
        {"pNuevaHoja", ComandoSpool::NuevaHoja},
        {"pCuadro|150|2470|11000|2815|0|", ComandoSpool::Cuadro},
        {"pPosVerti|10|20|ABC|False|8|0|", ComandoSpool::PosVerti},
        {"pPos | 10 | 20 |X| true |8|0|", ComandoSpool::Pos},
        {"<!Orientacion!>H<!/Orientacion!>", ComandoSpool::Orientacion},
    };
    for (const CasoLinea& c : casos) {
        LineaSpool l;
        AnalizaLinea(c.linea, l);
        EXPECT_EQ(l.comando, c.comando) << c.linea;
    }
}

TEST(AnalizaLinea, FieldsAsWrittenAndNumbersClamped) {
    LineaSpool l;
    AnalizaLinea("pPos|70000|-99999|TEXTO  |True|8|3|", l);
    ASSERT_EQ(l.comando, ComandoSpool::Pos);
    EXPECT_EQ(l.x, 32767);
    EXPECT_EQ(l.y, -32768);
    EXPECT_EQ(l.texto, "TEXTO  ");  // a text ending in blanks keeps them
    EXPECT_TRUE(l.negrita);
    EXPECT_EQ(l.tamano, 8);
    EXPECT_EQ(l.hoja, 3);

    AnalizaLinea("<!Color!>&H00FFFFC0&<!/Color!>", l);
    ASSERT_EQ(l.comando, ComandoSpool::Color);
    EXPECT_EQ(l.texto, "&H00FFFFC0&");
}

// ---- Files ------------------------------------------------------------------

// Asks each descriptor number in turn, so that no /proc is needed.
int DescriptoresAbiertos() {
    int n = 0;
    for (int fd = 0, hasta = getdtablesize(); fd < hasta; ++fd)
        if (fcntl(fd, F_GETFD) != -1) ++n;
    return n;
}

std::vector<LineaSpool> Lee(const fs::path& ruta, bool* leido = nullptr) {
    std::vector<LineaSpool> lineas;
    bool ok = LeeSpool(ruta, [&](const LineaSpool& l) { lineas.push_back(l); });
    if (leido) *leido = ok;
    return lineas;
}

class ArchivosTest : public testing::Test {
protected:
    fs::path Ruta(const std::string& nombre) const { return carpeta_.path() / nombre; }
    void Escribe(const std::string& nombre, const std::string& bytes) const {
        std::ofstream(Ruta(nombre), std::ios::binary) << bytes;
    }
    zvtest::TempDir carpeta_;
};

TEST_F(ArchivosTest, EmptyMissingFolderAndPipeEndCleanly) {
    const int antes = DescriptoresAbiertos();
    Escribe("00000001.PRN", "");
    bool leido = false;
    EXPECT_TRUE(Lee(Ruta("00000001.PRN"), &leido).empty());
    EXPECT_TRUE(leido);
    Lee(Ruta("00000002.PRN"), &leido);
    EXPECT_FALSE(leido);
    fs::create_directory(Ruta("00000003.PRN"));
    Lee(Ruta("00000003.PRN"), &leido);
    EXPECT_FALSE(leido);
    // A pipe would wait for a writer for ever.
    ASSERT_EQ(mkfifo(Ruta("00000004.PRN").c_str(), 0600), 0);
    Lee(Ruta("00000004.PRN"), &leido);
    EXPECT_FALSE(leido);
    EXPECT_EQ(DescriptoresAbiertos(), antes);
}

TEST_F(ArchivosTest, NameFoundWithoutRegardToCase) {
    Escribe("00000007.prn", "pNuevaHoja\r\n");
    EXPECT_EQ(Lee(Ruta("00000007.PRN")).size(), 1u);
}

TEST_F(ArchivosTest, FileClosedWhenTheTakerThrows) {
    const int antes = DescriptoresAbiertos();
    Escribe("00000001.PRN", "pNuevaHoja\r\n");
    EXPECT_THROW(LeeSpool(Ruta("00000001.PRN"), [](const LineaSpool&) { throw std::runtime_error("x"); }),
                 std::runtime_error);
    EXPECT_EQ(DescriptoresAbiertos(), antes);
}

TEST_F(ArchivosTest, DamagedLinesSkippedAndReadingGoesOn) {
    Escribe("00000001.PRN",
            "\r\n"
            "sin fin\r\n"
            "pPos|10|20|SIN CIERRE|True|8|0\r\n"
            "pPos|10|20|MAL|Quizas|8|0|\r\n"
            "pPos|99999|20|GRANDE|False|8|0|\r\n"
            "<!Color!>&H00FFFFC0&\r\n"
            "pPos|10|40|BIEN|False|8|0|\r\n");
    auto lineas = Lee(Ruta("00000001.PRN"));
    ASSERT_EQ(lineas.size(), 2u);
    EXPECT_EQ(lineas[0].texto, "GRANDE");
    EXPECT_EQ(lineas[0].x, 32767);
    EXPECT_EQ(lineas[1].texto, "BIEN");
}

TEST_F(ArchivosTest, TextsComeBackFromWindows1252) {
    Escribe("00000001.PRN", zv::text::ToCp1252("pPos|10|20|RAZÓN SOCIAL ÑAHUI|False|8|0|\r\n"));
    auto lineas = Lee(Ruta("00000001.PRN"));
    ASSERT_EQ(lineas.size(), 1u);
    EXPECT_EQ(lineas[0].texto, "RAZÓN SOCIAL ÑAHUI");
}

// ---- Preview road ------------------------------------------------------------

std::vector<PaginaPrevia> Previa(const fs::path& ruta, RangoPaginas rango = {}) {
    PaginasPrevias lector(rango);
    EXPECT_TRUE(LeeSpool(ruta, [&](const LineaSpool& l) { lector.Toma(l); })) << ruta;
    return lector.Suelta();
}

std::vector<std::string> Textos(const PaginaPrevia& p) {
    std::vector<std::string> t;
    for (const Trazo& trazo : p.trazos)
        if (trazo.tipo != Trazo::Tipo::Cuadro) t.emplace_back(p.TextoDe(trazo));
    return t;
}

// The heading of each picture, in order.
std::vector<std::string> Encabezados(const std::vector<PaginaPrevia>& paginas) {
    std::vector<std::string> e;
    for (const PaginaPrevia& p : paginas) e.push_back(Textos(p).empty() ? "" : Textos(p).front());
    return e;
}

std::vector<std::string> Encabezados(int desde, int hasta) {
    std::vector<std::string> e;
    for (int n = desde; n <= hasta; ++n) e.push_back(Encabezado(n));
    return e;
}

class PreviaTest : public ArchivosTest {};

TEST_F(PreviaTest, OnePageAndNPages) {
    auto una = Previa(Referencia("formulario_cheque.PRN"));
    ASSERT_EQ(una.size(), 1u);
    EXPECT_EQ(una[0].color, 0x00FFFFC0u);
    EXPECT_GT(una[0].trazos.size(), 50u);

    auto anexo = Previa(Referencia("formulario_y_detalle.PRN"));
    EXPECT_EQ(anexo.size(), 4u);  // the form and three annex pages, as its page count tag says

    EscribeReporte(Ruta("n.PRN"), 7);
    EXPECT_EQ(Encabezados(Previa(Ruta("n.PRN"))), Encabezados(1, 7));
}

struct CasoRango {
    int paginas, desde, hasta;
    int primera, ultima;  // the pages the pictures show, 1-based
};

TEST_F(PreviaTest, RangeKeepsItsPagesOnConsecutivePictures) {
    const CasoRango casos[] = {
        {5, 2, 3, 2, 3}, {40, 1, 15, 1, 15}, {40, 30, 50, 30, 40}, {40, 40, 40, 40, 40}, {5, 1, 5, 1, 5},
    };
    for (const CasoRango& c : casos) {
        EscribeReporte(Ruta("r.PRN"), c.paginas);
        auto paginas = Previa(Ruta("r.PRN"), {true, c.desde, c.hasta});
        EXPECT_EQ(Encabezados(paginas), Encabezados(c.primera, c.ultima))
            << c.desde << "-" << c.hasta << " of " << c.paginas;
    }
}

TEST_F(PreviaTest, PageCountTagFirstOrLastGivesTheSamePreview) {
    Opciones primero;
    primero.hojasPrimero = true;
    EscribeReporte(Ruta("a.PRN"), 4, primero);
    EscribeReporte(Ruta("b.PRN"), 4);
    for (RangoPaginas rango : {RangoPaginas{}, RangoPaginas{true, 2, 3}}) {
        auto a = Previa(Ruta("a.PRN"), rango), b = Previa(Ruta("b.PRN"), rango);
        ASSERT_EQ(a.size(), b.size());
        for (std::size_t i = 0; i < a.size(); ++i) EXPECT_EQ(Textos(a[i]), Textos(b[i]));
    }
}

TEST_F(PreviaTest, ColourTags) {
    const std::pair<const char*, std::uint32_t> casos[] = {
        {"&H80000005&", 0x80000005u}, {"&H00FFFFC0&", 0x00FFFFC0u}, {"&H00FFFFC0", 0x000FFFFCu}};
    for (const auto& [tag, color] : casos) {
        Opciones o;
        o.color = tag;
        EscribeReporte(Ruta("c.PRN"), 3, o);
        for (const PaginaPrevia& p : Previa(Ruta("c.PRN"))) EXPECT_EQ(p.color, color) << tag;
    }
    // Without a colour tag every page keeps the first picture's background.
    Opciones sin;
    sin.conColor = false;
    EscribeReporte(Ruta("s.PRN"), 3, sin);
    auto paginas = Previa(Ruta("s.PRN"));
    ASSERT_EQ(paginas.size(), 3u);
    for (const PaginaPrevia& p : paginas) EXPECT_EQ(p.color, kColorVentana);
    // A one-page file may carry its colour after its records.
    Escribe("u.PRN", "pPos|10|20|X|False|8|0|\r\n<!Color!>&H00FFFFC0&<!/Color!>\r\n");
    EXPECT_EQ(Previa(Ruta("u.PRN"))[0].color, 0x00FFFFC0u);
}

TEST_F(PreviaTest, PageBreaksAndOrientationChangeNothingInThePreview) {
    Escribe("a.PRN", "pPos|10|20|A|False|8|0|\r\npNuevaHoja\r\npNuevaHoja\r\n<!Orientacion!>H<!/Orientacion!>\r\n"
                     "pPos|10|20|B|False|8|1|\r\npNuevaHoja\r\n");
    Escribe("b.PRN", "pPos|10|20|A|False|8|0|\r\npPos|10|20|B|False|8|1|\r\n");
    EXPECT_EQ(Encabezados(Previa(Ruta("a.PRN"))), Encabezados(Previa(Ruta("b.PRN"))));
}

TEST_F(PreviaTest, PageNumbersThatSkipAheadOrGoBack) {
    Escribe("s.PRN",
            "pPos|10|20|CERO|False|8|0|\r\n"
            "pPos|10|20|UNO|False|8|1|\r\n"
            "pPos|10|20|CINCO|False|8|5|\r\n"
            "pPos|10|40|CERO BIS|False|8|0|\r\n"
            "pPos|10|20|NEGATIVA|False|8|-3|\r\n"
            "pPos|10|20|ULTIMA|False|8|32767|\r\n"
            "<!nHojas!>2<!/nHojas!>\r\n"
            "pPos|10|40|UNO BIS|False|8|1|\r\n");
    auto paginas = Previa(Ruta("s.PRN"));
    ASSERT_EQ(paginas.size(), 4u);  // no blank pictures for the numbers missing
    EXPECT_EQ(Textos(paginas[0]), (std::vector<std::string>{"CERO", "CERO BIS"}));
    EXPECT_EQ(Textos(paginas[1]), (std::vector<std::string>{"UNO", "UNO BIS"}));
    EXPECT_EQ(Textos(paginas[2]), (std::vector<std::string>{"CINCO"}));
    EXPECT_EQ(Textos(paginas[3]), (std::vector<std::string>{"ULTIMA"}));
}

TEST_F(PreviaTest, EmptyFileGivesOneEmptyPicture) {
    Escribe("e.PRN", "");
    auto paginas = Previa(Ruta("e.PRN"));
    ASSERT_EQ(paginas.size(), 1u);
    EXPECT_TRUE(paginas[0].trazos.empty());
}

// ---- Printer road --------------------------------------------------------------

// A printer that writes down what it is asked: "V"/"H" orientation, "N" a
// new page, "D:text" a drawing (boxes as "D:[]"), "F" the end.
class ImpresoraAnotada : public ImpresoraSpool {
public:
    void Orientacion(int o) override { pasos.push_back(o == kHorizontal ? "H" : "V"); }
    bool NuevaPagina() override {
        pasos.push_back("N");
        return true;
    }
    bool Dibuja(const Trazo& t, std::string_view texto) override {
        if (--dibujosHastaFallar == 0) return false;
        pasos.push_back(t.tipo == Trazo::Tipo::Cuadro ? "D:[]" : "D:" + std::string(texto));
        return true;
    }
    void FinDocumento() override { pasos.push_back("F"); }

    // The texts drawn on each sheet.
    std::vector<std::vector<std::string>> Hojas() const {
        std::vector<std::vector<std::string>> hojas;
        for (const std::string& p : pasos) {
            if (p == "N" || (hojas.empty() && p.starts_with("D:"))) hojas.emplace_back();
            if (p.starts_with("D:") && p != "D:[]") hojas.back().push_back(p.substr(2));
        }
        return hojas;
    }
    std::vector<std::string> pasos;
    int dibujosHastaFallar = -1;
};

ImpresionSpool Imprime(const fs::path& ruta, ImpresoraAnotada& impresora, RangoPaginas rango = {}) {
    ImpresionSpool impresion(impresora, rango);
    EXPECT_TRUE(LeeSpool(ruta, [&](const LineaSpool& l) { impresion.Toma(l); }));
    impresion.Fin();
    return impresion;
}

class ImpresionTest : public ArchivosTest {};

TEST_F(ImpresionTest, RangeGivesExactlyItsSheetsAndNoBlankOneAtTheEnd) {
    const CasoRango casos[] = {{5, 2, 3, 2, 3}, {40, 1, 15, 1, 15}, {40, 30, 50, 30, 40}, {5, 5, 5, 5, 5}};
    for (const CasoRango& c : casos) {
        EscribeReporte(Ruta("r.PRN"), c.paginas);
        ImpresoraAnotada impresora;
        ImpresionSpool impresion = Imprime(Ruta("r.PRN"), impresora, {true, c.desde, c.hasta});
        auto hojas = impresora.Hojas();
        ASSERT_EQ(static_cast<int>(hojas.size()), c.ultima - c.primera + 1) << c.desde << "-" << c.hasta;
        EXPECT_EQ(impresion.Hojas(), c.ultima - c.primera + 1);
        for (int i = 0; i < static_cast<int>(hojas.size()); ++i)
            EXPECT_EQ(hojas[static_cast<std::size_t>(i)],
                      (std::vector<std::string>{Encabezado(c.primera + i), "CONCEPTO "}));
        EXPECT_EQ(impresora.pasos.back(), "V");
        EXPECT_EQ(impresora.pasos[impresora.pasos.size() - 2], "F");
    }
}

TEST_F(ImpresionTest, WholeFileOneSheetPerPageEvenWithATrailingBreak) {
    Opciones o;
    o.saltoFinal = true;
    EscribeReporte(Ruta("t.PRN"), 3, o);
    ImpresoraAnotada impresora;
    Imprime(Ruta("t.PRN"), impresora);
    EXPECT_EQ(impresora.Hojas().size(), 3u);
    // A break before anything was drawn ends no page.
    Escribe("b.PRN", "pNuevaHoja\r\npPos|10|20|X|False|8|0|\r\n");
    ImpresoraAnotada otra;
    Imprime(Ruta("b.PRN"), otra);
    EXPECT_EQ(otra.pasos, (std::vector<std::string>{"D:X", "F", "V"}));
}

TEST_F(ImpresionTest, LandscapeTagsTurnTheFollowingPagesAndThePrinterEndsPortrait) {
    ImpresoraAnotada impresora;
    ImpresionSpool impresion = Imprime(Referencia("formulario_y_detalle.PRN"), impresora);
    const auto& p = impresora.pasos;
    ASSERT_GE(p.size(), 4u);
    EXPECT_EQ(p.front(), "V");  // before the form's first record
    // Each annex page: its break, then landscape, then its records.
    int saltos = 0;
    for (std::size_t i = 0; i + 1 < p.size(); ++i) {
        if (p[i] != "N") continue;
        ++saltos;
        EXPECT_EQ(p[i - 1], "H") << i;
    }
    EXPECT_EQ(saltos, 3);
    EXPECT_EQ(impresion.Orientacion(), "H");
    EXPECT_EQ(std::vector<std::string>(p.end() - 2, p.end()), (std::vector<std::string>{"F", "V"}));
}

TEST_F(ImpresionTest, PrinterFailureStopsTheDrawing) {
    EscribeReporte(Ruta("f.PRN"), 3);
    ImpresoraAnotada impresora;
    impresora.dibujosHastaFallar = 2;
    ImpresionSpool impresion = Imprime(Ruta("f.PRN"), impresora);
    EXPECT_TRUE(impresion.Fallo());
    EXPECT_EQ(impresora.pasos, (std::vector<std::string>{"V", "D:PAGINA 1", "F", "V"}));
}

TEST_F(ImpresionTest, RangeFromTheState) {
    Estado::Reset();
    Estado& e = Estado::G();
    e.gRangoPaginas = true;
    e.gPagDesde = 2;
    e.gPagHasta = 3;
    RangoPaginas r = RangoPaginas::Vigente();
    EXPECT_TRUE(r.activo);
    EXPECT_FALSE(r.Contiene(0));
    EXPECT_TRUE(r.Contiene(1));
    EXPECT_TRUE(r.Contiene(2));
    EXPECT_FALSE(r.Contiene(3));
    e.gRangoPaginas = false;
    EXPECT_TRUE(RangoPaginas::Vigente().Contiene(3));
    Estado::Reset();
}

}  // namespace
