#include <gtest/gtest.h>

#include <fstream>

#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "tests/support/support.h"

namespace {

using zvform::cUtilitarios;
using zvform::Fecha;

struct CasoTexto {
    const char* texto;
    bool esperado;
};

class Ruc : public testing::TestWithParam<CasoTexto> {};
TEST_P(Ruc, ModuloOnce) {
    cUtilitarios u;
    EXPECT_EQ(u.EsRucValido(GetParam().texto), GetParam().esperado) << GetParam().texto;
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Ruc,
    testing::Values(
        // The four pension fund administrators.
        CasoTexto{"20142829551", true}, CasoTexto{"20157036794", true}, CasoTexto{"20143980821", true},
        CasoTexto{"20510398158", true},
        // Check digit 10 -> 0 and 11 -> 1; the other prefixes.
        CasoTexto{"10000000031", true}, CasoTexto{"10000000030", false}, CasoTexto{"10000000090", true},
        CasoTexto{"20000000010", true}, CasoTexto{"20000000011", false}, CasoTexto{"15000000008", true},
        CasoTexto{"17000000001", true}, CasoTexto{"16000000001", false},
        // Wrong digit, prefix, length or characters.
        CasoTexto{"20142829552", false}, CasoTexto{"30142829551", false}, CasoTexto{"2014282955", false},
        CasoTexto{"201428295511", false}, CasoTexto{"2014282955A", false}, CasoTexto{" 20142829551", false},
        CasoTexto{"", false}));

TEST(Ruc, PrefijosConocidos) {
    // Every prefix accepts a RUC whose digit is computed: 10..., 15..., 17..., 20...
    cUtilitarios u;
    for (std::string base : {"1012345678", "1512345678", "1712345678", "2012345678"}) {
        static const int pesos[] = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
        int suma = 0;
        for (int i = 0; i < 10; ++i) suma += (base[i] - '0') * pesos[i];
        int d = 11 - suma % 11;
        d = d == 10 ? 0 : d == 11 ? 1 : d;
        EXPECT_TRUE(u.EsRucValido(base + char('0' + d))) << base;
        EXPECT_FALSE(u.EsRucValido(base + char('0' + (d + 1) % 10))) << base;
    }
}

class Nombre : public testing::TestWithParam<CasoTexto> {};
TEST_P(Nombre, LetrasDeNombres) {
    cUtilitarios u;
    EXPECT_EQ(u.EsNombreValido(GetParam().texto, true), GetParam().esperado) << GetParam().texto;
}
INSTANTIATE_TEST_SUITE_P(
    Casos, Nombre,
    testing::Values(CasoTexto{"PEREZ", true}, CasoTexto{"NÚÑEZ DEL ÁLAMO", true}, CasoTexto{"Müller", true},
                    CasoTexto{"O'BRIEN", true}, CasoTexto{"SAN-ROMÁN", true}, CasoTexto{"STA. ROSA", true},
                    CasoTexto{"péréz", true}, CasoTexto{"PEREZ2", false}, CasoTexto{"ANA_MARIA", false},
                    CasoTexto{"", false}, CasoTexto{"  ", false}, CasoTexto{"'-.", false},
                    CasoTexto{"LÓPEZ@", false}, CasoTexto{"ŁUKASZ", false}));

TEST(Nombre, SinBlancos) {
    cUtilitarios u;
    EXPECT_FALSE(u.EsNombreValido("ANA MARIA", false));
    EXPECT_TRUE(u.EsNombreValido("ANA", false));
}

TEST(Numerico, BanderasAmplianLoAceptado) {
    cUtilitarios u;
    EXPECT_TRUE(u.EsNumerico("0012345678"));
    EXPECT_FALSE(u.EsNumerico(""));
    EXPECT_FALSE(u.EsNumerico("12 34"));
    EXPECT_FALSE(u.EsNumerico("-12"));
    EXPECT_FALSE(u.EsNumerico("12.5"));
    EXPECT_FALSE(u.EsNumerico(" 12"));
    EXPECT_TRUE(u.EsNumerico("-12", 1));
    EXPECT_FALSE(u.EsNumerico("-", 1));
    EXPECT_TRUE(u.EsNumerico("12.5", 0, 1));
    EXPECT_FALSE(u.EsNumerico("1.2.5", 0, 1));
    EXPECT_TRUE(u.EsNumerico(" 12 ", 0, 0, 1));
}

TEST(Alfanumerico, CodigosYBanderas) {
    cUtilitarios u;
    EXPECT_TRUE(u.EsAlfanumerico("AB123456"));
    EXPECT_TRUE(u.EsAlfanumerico("PEÑA 12"));
    EXPECT_FALSE(u.EsAlfanumerico(""));
    EXPECT_FALSE(u.EsAlfanumerico("   "));
    EXPECT_FALSE(u.EsAlfanumerico("AB-12"));
    EXPECT_TRUE(u.EsAlfanumerico("AB-12/3.4", 0, 1));
    EXPECT_FALSE(u.EsAlfanumerico("ABC 123", 1));  // account codes carry no blank
    EXPECT_TRUE(u.EsAlfanumerico("123456ABCDE1", 1));
    EXPECT_FALSE(u.EsAlfanumerico("ÁB"));
}

TEST(FechaEnRango, CalendarioReal) {
    cUtilitarios u;
    const std::string d = "01/01/1850", h = "01/01/2500";
    EXPECT_TRUE(u.FechaEnRango("29/02/2024", d, h));
    EXPECT_FALSE(u.FechaEnRango("29/02/2023", d, h));
    EXPECT_FALSE(u.FechaEnRango("30/02/2024", d, h));
    EXPECT_FALSE(u.FechaEnRango("31/04/2020", d, h));
    EXPECT_TRUE(u.FechaEnRango("31/12/1999", d, h));
    EXPECT_FALSE(u.FechaEnRango("00/01/2000", d, h));
    EXPECT_FALSE(u.FechaEnRango("01/13/2000", d, h));
    EXPECT_TRUE(u.FechaEnRango("01/01/1850", d, h));
    EXPECT_FALSE(u.FechaEnRango("31/12/1849", d, h));
    EXPECT_TRUE(u.FechaEnRango("01/01/2500", d, h));
    EXPECT_FALSE(u.FechaEnRango("02/01/2500", d, h));
    EXPECT_FALSE(u.FechaEnRango("1/1/2000", d, h));
    EXPECT_FALSE(u.FechaEnRango("01/01/2000", "xx", h));
    EXPECT_TRUE(u.FechaEnRango("29/02/2000", d, h));   // every 400 years
    EXPECT_FALSE(u.FechaEnRango("29/02/1900", d, h));  // not every 100
}

TEST(MesEnRango, DesdeHastaElMesDeHoy) {
    cUtilitarios u;
    Fecha hoy{2026, 3, 15};
    EXPECT_TRUE(u.MesEnRango("06/1993", "06/1993", hoy));
    EXPECT_FALSE(u.MesEnRango("05/1993", "06/1993", hoy));
    EXPECT_TRUE(u.MesEnRango("03/2026", "06/1993", hoy));
    EXPECT_FALSE(u.MesEnRango("04/2026", "06/1993", hoy));
    EXPECT_FALSE(u.MesEnRango("13/2000", "06/1993", hoy));
    EXPECT_FALSE(u.MesEnRango("00/2000", "06/1993", hoy));
    EXPECT_FALSE(u.MesEnRango("1/2000", "06/1993", hoy));
}

TEST(FiltraTecla, DigitosYRetroceso) {
    cUtilitarios u;
    for (int tecla = 0; tecla < 256; ++tecla) {
        bool pasa = tecla == 8 || (tecla >= '0' && tecla <= '9');
        EXPECT_EQ(u.FiltraTecla(tecla, 0, 0, 0), pasa ? tecla : 0) << tecla;
    }
    EXPECT_EQ(u.FiltraTecla('.', 1, 0, 0), '.');
    EXPECT_EQ(u.FiltraTecla('-', 0, 1, 0), '-');
    EXPECT_EQ(u.FiltraTecla('a', 0, 0, 1), 'A');
}

TEST(Relleno, AnchoExactoEnCaracteres) {
    cUtilitarios u;
    EXPECT_EQ(u.RellenaTexto("AB", 5, " "), "AB   ");
    EXPECT_EQ(u.RellenaTexto("ABCDEF", 3, " "), "ABC");
    EXPECT_EQ(u.RellenaTexto("ÑA", 4, "*"), "ÑA**");
    EXPECT_EQ(u.RellenaTexto("AB", 4, ""), "AB  ");
    EXPECT_EQ(u.RellenaNumero("12", 5, " "), "   12");
    EXPECT_EQ(u.RellenaNumero("12345", 3, " "), "345");
    EXPECT_EQ(u.RellenaNumero("", 110, "_"), std::string(110, '_'));
    EXPECT_EQ(u.RellenaNumero("x", 3, "Ñ"), "ÑÑx");
    EXPECT_EQ(u.AjustaLongitud("CLAVE", 8), "CLAVE   ");
    EXPECT_EQ(u.AjustaLongitud(std::string(40, 'x'), 37), std::string(37, 'x'));
    EXPECT_EQ(u.RellenaTexto("AB", 0, " "), "");
    EXPECT_EQ(u.RellenaTexto("AB", -3, " "), "");
}

TEST(ExisteArchivoFisico, ArchivosNoCarpetas) {
    zvtest::TempDir dir;
    std::ofstream(dir.path() / "Reporte.PRN") << "x";
    cUtilitarios u;
    EXPECT_TRUE(u.ExisteArchivoFisico((dir.path() / "Reporte.PRN").string()));
    EXPECT_TRUE(u.ExisteArchivoFisico((dir.path() / "reporte.prn").string()));
    EXPECT_FALSE(u.ExisteArchivoFisico((dir.path() / "otro.prn").string()));
    EXPECT_FALSE(u.ExisteArchivoFisico(dir.path().string()));
    EXPECT_FALSE(u.ExisteArchivoFisico(""));
}

class Cerrado : public cUtilitarios {
public:
    bool PuedeContinuar() override { return false; }
};

TEST(Util, ReemplazableEnPruebas) {
    zvform::Estado::Reset();
    EXPECT_TRUE(zvform::Util().PuedeContinuar());
    zvform::Estado::G().gUtil = std::make_shared<Cerrado>();
    EXPECT_FALSE(zvform::Util().PuedeContinuar());
    zvform::Estado::Reset();
}

}  // namespace
