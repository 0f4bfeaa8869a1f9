#include <gtest/gtest.h>

#include "formulario/core/control.h"
#include "tests/core/fila_fija.h"

namespace {

using dao::Value;
using zvform::SumaControlRegistro;
using zvtest::FilaFija;

TEST(SumaControlRegistro, EjemploDeCuatroCampos) {
    // 6 + "0841" read as 841 = 847; "AB" weighs 1x65 + 2x66 = 197.
    FilaFija fila({Value(6), Value("0841"), Value("AB"), Value("")});
    EXPECT_EQ(SumaControlRegistro(fila, 2), "847197");
}

TEST(SumaControlRegistro, NulosYSiNoCuentanComoTextoVacio) {
    FilaFija fila({Value(6), Value(), Value(true), Value("0841"), Value(), Value(false), Value("A"), Value("x")});
    EXPECT_EQ(SumaControlRegistro(fila, 4), "847065");
}

TEST(SumaControlRegistro, ElUltimoCampoNoCuenta) {
    FilaFija a({Value(1), Value("A"), Value("123456")});
    FilaFija b({Value(1), Value("A"), Value("999999")});
    EXPECT_EQ(SumaControlRegistro(a, 1), SumaControlRegistro(b, 1));
    EXPECT_EQ(SumaControlRegistro(a, 1), "001065");
}

TEST(SumaControlRegistro, RucDeOnceDigitosSinPerdida) {
    // 6 + 20142829551 + 202401 + 841 = 20143032799 -> "799".
    FilaFija fila({Value(6), Value("20142829551"), Value("202401"), Value("0841"), Value("")});
    EXPECT_EQ(SumaControlRegistro(fila, 4), "799000");
}

TEST(SumaControlRegistro, SumaRedondeadaAUnidades) {
    FilaFija medio({Value("1.25"), Value("1.25"), Value("")});        // 2.5 -> 3
    FilaFija bajo({Value("1.2"), Value("1.2"), Value("")});           // 2.4 -> 2
    FilaFija negativo({Value("-1234.5"), Value(""), Value("")});      // -1235 -> 235
    EXPECT_EQ(SumaControlRegistro(medio, 2), "003000");
    EXPECT_EQ(SumaControlRegistro(bajo, 2), "002000");
    EXPECT_EQ(SumaControlRegistro(negativo, 2), "235000");
}

TEST(SumaControlRegistro, TextoNoNumericoSumaCero) {
    FilaFija fila({Value("12A"), Value("1.2.3"), Value(" 7 "), Value("-"), Value("")});
    EXPECT_EQ(SumaControlRegistro(fila, 4), "007000");
}

TEST(SumaControlRegistro, CodigosWindows1252) {
    // "Ñ" weighs 209 (not its two UTF-8 bytes); blanks around the text are trimmed.
    FilaFija fila({Value(0), Value("  Ñ "), Value("")});
    EXPECT_EQ(SumaControlRegistro(fila, 1), "000209");
    FilaFija acentos({Value(0), Value("ÁÉ"), Value("")});  // 193 + 2 x 201 = 595
    EXPECT_EQ(SumaControlRegistro(acentos, 1), "000595");
}

TEST(SumaControlRegistro, FechasYNumerosComoTexto) {
    // A date is "yyyymmdd": "19800715" weighs 1*49+2*57+3*56+4*48+5*48+6*55+7*49+8*53.
    FilaFija fecha({Value(0), Value(dao::Date{1980, 7, 15}), Value("")});
    int esperado = 1 * 49 + 2 * 57 + 3 * 56 + 4 * 48 + 5 * 48 + 6 * 55 + 7 * 49 + 8 * 53;
    char texto[8];
    std::snprintf(texto, sizeof texto, "000%03d", esperado % 1000);
    EXPECT_EQ(SumaControlRegistro(fecha, 1), texto);
    // A currency amount is its text with a point: "12.5" -> 1*49 + 2*50 + 3*46 + 4*53 = 499.
    FilaFija monto({Value(0), Value(zv::Currency::FromRaw(125000)), Value("")});
    EXPECT_EQ(SumaControlRegistro(monto, 1), "000499");
}

TEST(SumaControlRegistro, SumaPonderadaGrande) {
    // 17 fields of 40 "z" (122): 17 * 122 * (40 * 41 / 2) = 1700680 -> "680".
    std::vector<Value> v{Value(0)};
    for (int i = 0; i < 17; ++i) v.emplace_back(std::string(40, 'z'));
    v.emplace_back("");
    FilaFija fila(v);
    EXPECT_EQ(SumaControlRegistro(fila, 1), "000680");
}

struct CasoDigito {
    const char* entrada;
    const char* resultado;
    const char* queda;  // the caller's variable afterwards
};

class Digito : public testing::TestWithParam<CasoDigito> {};
TEST_P(Digito, ModuloOnce) {
    std::string s = GetParam().entrada;
    EXPECT_EQ(zvform::DigitoVerificador(s), GetParam().resultado);
    EXPECT_EQ(s, GetParam().queda);
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Digito,
    testing::Values(CasoDigito{"123", "1236", "123"},          // 16 mod 11 = 5 -> 6
                    CasoDigito{"0", "01", "0"},                // d = 11 -> 1
                    CasoDigito{"", "", ""},
                    CasoDigito{"   ", "", ""},
                    CasoDigito{"  123  ", "1236", "123"},
                    CasoDigito{"5", "51", "5"},                // 10 mod 11 -> d = 1
                    CasoDigito{"1", "19", "1"},                // 2 -> 9
                    CasoDigito{"6", "60", "6"},                // 12 mod 11 = 1 -> d = 10 -> 0
                    CasoDigito{"1A3", "1A31", "1A3"},          // a letter weighs 0: 6 + 4 = 10 -> 1
                    // 20 characters: cut to the first 17.
                    CasoDigito{"12345678901234567890", "123456789012345673", "12345678901234567"}));

TEST(Digito, PesosCiclicos) {
    // Weights 2..7 then 2 again: "1000000" has its 1 at weight 2 (7th from the right).
    std::string s = "1000000";
    EXPECT_EQ(zvform::DigitoVerificador(s), "10000009");
}

TEST(ValidaNumeroOrden, DigitosDelControlYDelConjunto) {
    std::string control = "12345678";
    std::string c1 = zvform::DigitoVerificador(control).substr(8, 1);
    std::string todo = "12345678" "00001234" + c1;
    std::string c2 = zvform::DigitoVerificador(todo).substr(todo.size(), 1);
    EXPECT_TRUE(zvform::ValidaNumeroOrden("12345678", "00001234", c1 + c2));
    std::string otro = c2 == "9" ? "0" : std::to_string(std::stoi(c2) + 1);
    EXPECT_FALSE(zvform::ValidaNumeroOrden("12345678", "00001234", c1 + otro));
    EXPECT_FALSE(zvform::ValidaNumeroOrden("12345678", "00001235", c1 + c2 + "x"));
}

TEST(ValidaNumeroOrden, ControlConBlancosCuentaRecortado) {
    // The first digit trims the control code; the second digit is taken
    // over that trimmed code, not over the code as it was stored.
    std::string control = "12345678";
    std::string c1 = zvform::DigitoVerificador(control).substr(8, 1);
    std::string todo = "12345678" "00001234" + c1;
    std::string c2 = zvform::DigitoVerificador(todo).substr(todo.size(), 1);
    for (const char* guardado : {"12345678  ", "  12345678", " 12345678 "})
        EXPECT_TRUE(zvform::ValidaNumeroOrden(guardado, "00001234", c1 + c2)) << '"' << guardado << '"';
}

}  // namespace
