// How the declaration form shows amounts and detail cells, and how a shown
// amount reads back.
#include <gtest/gtest.h>

#include "formulario/declaration/casillas_formato.h"
#include "formulario/declaration/detalle_afiliados.h"
#include "formulario/declaration/frm841_carga.h"

namespace zvdecl {
namespace {

TEST(FormaTest, AmountsGroupedNegativesInParenthesesCountAsStored) {
    struct Caso {
        int casilla;
        const char* texto;
        const char* esperado;
    };
    const Caso casos[] = {
        {592, "-1500", "(1,500)"},   {590, "1234567", "1,234,567"}, {591, "0", "0"},
        {597, "12.5", "13"},         {598, "-0.4", "(0)"},            {590, "999999999999", "999,999,999,999"},
        {593, "1234", "1234"},       {593, "abc", ""},              {590, "", ""},
        {590, "12a", ""},            {592, " -7 ", "(7)"},
        // Beyond the range of an amount: laid on the pattern all the same.
        {590, "999999999999999", "999,999,999,999,999"}, {591, "922337203685478", "922,337,203,685,478"},
        {592, "-999999999999999", "(999,999,999,999,999)"},
        {597, "100000000000000000000", "100,000,000,000,000,000,000"},
        {598, "-9223372036854775808", "(9,223,372,036,854,775,808)"},
    };
    for (const auto& c : casos) EXPECT_EQ(Forma(c.casilla, c.texto), c.esperado) << c.casilla << " " << c.texto;
}

TEST(FormaTest, AmountToPayFromBox598) {
    EXPECT_EQ(CalcularTotal(""), "");
    EXPECT_EQ(CalcularTotal("12345"), "12,345");
    EXPECT_EQ(CalcularTotal("12,345"), "12,345");
    EXPECT_EQ(CalcularTotal("(2,000)"), "0");
    EXPECT_EQ(CalcularTotal("-2000"), "0");
    EXPECT_EQ(CalcularTotal("0"), "0");
    EXPECT_EQ(CalcularTotal("1234567890123"), "1,234,567,890,123");
    EXPECT_EQ(CalcularTotal("999999999999999"), "999,999,999,999,999");
    EXPECT_EQ(CalcularTotal("999,999,999,999,999.5"), "1,000,000,000,000,000");
    EXPECT_EQ(CalcularTotal("(999,999,999,999,999)"), "0");
    EXPECT_EQ(CalcularTotal("100000000000000000000"), "100,000,000,000,000,000,000");
}

TEST(FormaTest, ShownAmountReadsBack) {
    EXPECT_EQ(ValorMostrado("1,234"), zv::Currency::FromUnits(1234));
    EXPECT_EQ(ValorMostrado("(500)"), zv::Currency::FromUnits(-500));
    EXPECT_EQ(ValorMostrado(" (1,500) "), zv::Currency::FromUnits(-1500));
    EXPECT_EQ(ValorMostrado("12abc"), zv::Currency::FromUnits(12));
    EXPECT_EQ(ValorMostrado(""), zv::Currency());
}

TEST(FormaTest, StoredBoxValueAsPlainNumber) {
    EXPECT_EQ(NumeroComoTexto("-1500"), "-1500");
    EXPECT_EQ(NumeroComoTexto(" 351 "), "351");
    EXPECT_EQ(NumeroComoTexto("12.50"), "12.5");
    EXPECT_EQ(NumeroComoTexto("abc"), "0");
    EXPECT_EQ(NumeroComoTexto("999999999999999"), "999999999999999");
    EXPECT_EQ(NumeroComoTexto("922337203685478"), "922337203685478");
    EXPECT_EQ(NumeroComoTexto("-999999999999999"), "-999999999999999");
    EXPECT_EQ(NumeroComoTexto("1e20"), "100000000000000000000");
}

// A box's text as it is shown once left, as it is saved and as it loads
// again: the three read it the same way.
TEST(FormaTest, ShownSavedAndLoadedAgree) {
    struct Caso {
        const char* texto;
        const char* mostrado;  // Forma of box 592
        const char* guardado;  // DET i_valor; "" no row
    };
    const Caso casos[] = {
        {"(1,500)", "(1,500)", "-1500"}, {"(1,500", "(1,500)", "-1500"},   {"1,500)", "(1,500)", "-1500"},
        {"-1,500", "(1,500)", "-1500"},  {"((1,500))", "(1,500)", "-1500"}, {"1,234", "1,234", "1234"},
        {"1,2,3", "123", "123"},          {"(0)", "0", "0"},                {"(", "", ""},
        {"", "", ""},                     {"  ", "", ""},                   {"12a", "", ""},
    };
    for (const auto& c : casos) {
        EXPECT_EQ(Forma(592, c.texto), c.mostrado) << c.texto;
        EXPECT_EQ(EnteroDeTexto(c.texto, "###########0"), c.guardado) << c.texto;
        EXPECT_EQ(Forma(592, NumeroComoTexto(c.guardado)), c.mostrado) << c.texto;
    }
    EXPECT_EQ(NumeroComoTexto(""), "");
    EXPECT_EQ(NumeroComoTexto(" "), "");
    EXPECT_EQ(NumeroComoTexto("(1,500"), "-1500");
}

TEST(CeldaTest, DetailCellsByColumn) {
    struct Caso {
        int columna;
        dao::Value valor;
        const char* esperado;
    };
    const Caso casos[] = {
        {15, dao::Value("1500.00"), "1,500.00"},  {16, dao::Value("120.5"), "120.50"},
        {17, dao::Value("-3.00"), "-3.00"},       {18, dao::Value("-5.25"), "(5.25)"},
        {18, dao::Value("1234567.8"), "1,234,567.80"},
        {7, dao::Value("1"), "MASCULINO"},        {7, dao::Value("2"), "FEMENINO"},   {7, dao::Value("3"), "3"},
        {13, dao::Value("1"), "DEPENDIENTE"},     {13, dao::Value("2"), "INDEPENDIENTE"},
        {3, dao::Value(dao::Date{1980, 5, 23}), "23/05/1980"},
        {0, dao::Value("20100070970"), "20100070970"}, {14, dao::Value("202301"), "202301"},
        {5, dao::Value(), ""},
    };
    for (const auto& c : casos) EXPECT_EQ(TextoCelda(c.columna, c.valor), c.esperado) << c.columna;
}

}  // namespace
}  // namespace zvdecl
