// The page-range dialog's checks on the texts of its fields and its keys.
#include <gtest/gtest.h>

#include <string>

#include "formulario/reports/rango_paginas.h"

namespace {

using namespace zvform;

struct Caso {
    const char* desde;
    const char* hasta;
    const char* total;
    std::string_view mensaje;
    int pagDesde = 0, pagHasta = 0;
};

TEST(ValidaRangoPaginas, ChecksInOrderAndTheBoundsTaken) {
    const Caso casos[] = {
        {"", "40", "40", kIngresePaginaInicio},
        {"   ", "40", "40", kIngresePaginaInicio},
        {"0", "40", "40", kPaginaInicialDesdeUno},
        {"abc", "40", "40", kPaginaInicialDesdeUno},
        {"-3", "40", "40", kPaginaInicialDesdeUno},
        {"41", "40", "40", kPaginaInicialMayorTotal},
        {"41", "", "40", kPaginaInicialMayorTotal},  // the first failing check speaks
        {"1", "", "40", kIngresePaginaFin},
        {"1", "  ", "40", kIngresePaginaFin},
        {"20", "10", "40", kPaginaFinalMenorInicial},
        {"40", "40", "40", "", 40, 40},
        {"30", "50", "40", "", 30, 50},  // the last page is not held to the total
        {"1", "15", "40", "", 1, 15},
        {"1 5", "20", "40", "", 15, 20},
        {"2.5", "3", "40", "", 2, 3},
        {"3.5", "4.5", "40", "", 4, 4},
        {"1", "99999999999", "40", "", 1, 32768},
    };
    for (const Caso& c : casos) {
        RangoElegido r = ValidaRangoPaginas(c.desde, c.hasta, c.total);
        EXPECT_EQ(r.mensaje, c.mensaje) << "'" << c.desde << "' '" << c.hasta << "'";
        if (!c.mensaje.empty()) continue;
        EXPECT_EQ(r.desde, c.pagDesde) << c.desde;
        EXPECT_EQ(r.hasta, c.pagHasta) << c.hasta;
    }
}

TEST(TeclaDePagina, DigitsPointBlankAndBackspaceOnly) {
    for (int t : {int('0'), int('5'), int('9'), int('.'), int(' '), 8}) EXPECT_TRUE(TeclaDePagina(t)) << t;
    for (int t : {int('a'), int('Z'), int('-'), int(','), 13, 22, 0x00F1}) EXPECT_FALSE(TeclaDePagina(t)) << t;
}

}  // namespace
