// Random bytes and damaged copies of real spool files through both roads of
// the reader: the reading always ends, the pictures and the sheets stay
// within what a file can name, and every text lies inside its page's store.
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <string>

#include "formulario/reports/impresion_spool.h"
#include "formulario/reports/lector_spool.h"
#include "formulario/reports/paginas_previas.h"
#include "formulario/reports/rango_paginas.h"
#include "tests/preview/spool_prueba.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;
using namespace zvform;

// Bytes that make up the records, more often than the others.
constexpr std::string_view kPiezas[] = {"|", "pPos|", "pCuadro|", "pPosVerti|", "pNuevaHoja", "<!Color!>",
                                        "<!/Color!>", "<!nHojas!>", "<!/nHojas!>", "<!Orientacion!>H",
                                        "<!/Orientacion!>", "True|", "False|", "&H", "\r\n", "\n", "\r",
                                        "99999|", "-40000|", "32767|", "0|", "1|", " ", "aHoja", "!>"};

std::string Azar(std::mt19937& azar, std::size_t largo) {
    std::string s;
    std::uniform_int_distribution<int> byte(0, 255), pieza(0, std::size(kPiezas) - 1), cual(0, 3);
    while (s.size() < largo) {
        if (cual(azar) == 0) s += static_cast<char>(byte(azar));
        else s += kPiezas[static_cast<std::size_t>(pieza(azar))];
    }
    return s;
}

std::string Muta(std::mt19937& azar, std::string s) {
    std::uniform_int_distribution<int> cambios(1, 12), tipo(0, 4), byte(0, 255);
    for (int n = cambios(azar); n > 0 && !s.empty(); --n) {
        std::uniform_int_distribution<std::size_t> pos(0, s.size() - 1);
        std::size_t p = pos(azar);
        switch (tipo(azar)) {
            case 0: s[p] = static_cast<char>(byte(azar)); break;
            case 1: s.erase(p, std::min<std::size_t>(s.size() - p, 1 + p % 7)); break;
            case 2: s.insert(p, kPiezas[p % std::size(kPiezas)]); break;
            case 3: s.resize(p); break;  // cut short
            default: s.insert(p, s.substr(p, std::min<std::size_t>(200, s.size() - p))); break;
        }
    }
    return s;
}

class Contadora : public ImpresoraSpool {
public:
    void Orientacion(int o) override { EXPECT_TRUE(o == kVertical || o == kHorizontal); }
    bool NuevaPagina() override {
        EXPECT_TRUE(abierto_);  // never a break before the first drawing
        paginaVacia_ = true;
        return true;
    }
    bool Dibuja(const Trazo&, std::string_view) override {
        abierto_ = true;
        paginaVacia_ = false;
        return true;
    }
    // The document never ends on a sheet nothing was drawn on.
    void FinDocumento() override {
        EXPECT_FALSE(paginaVacia_);
        abierto_ = false;
    }

private:
    bool abierto_ = false;
    bool paginaVacia_ = false;
};

void PasaPorAmbos(const fs::path& ruta, std::mt19937& azar) {
    std::uniform_int_distribution<int> limite(0, 6);
    RangoPaginas rangos[] = {{}, {true, limite(azar), limite(azar)}};
    for (RangoPaginas rango : rangos) {
        PaginasPrevias previa(rango);
        Contadora impresora;
        ImpresionSpool impresion(impresora, rango);
        ASSERT_TRUE(LeeSpool(ruta, [&](const LineaSpool& l) {
            previa.Toma(l);
            impresion.Toma(l);
        }));
        impresion.Fin();
        ASSERT_FALSE(impresion.Fallo());
        auto paginas = previa.Suelta();
        ASSERT_GE(paginas.size(), 1u);
        ASSERT_LE(paginas.size(), 32768u);
        for (const PaginaPrevia& p : paginas)
            for (const Trazo& t : p.trazos) ASSERT_LE(std::size_t(t.inicio) + t.largo, p.textos.size());
    }
}

TEST(FuzzSpool, RandomBytes) {
    zvtest::TempDir carpeta;
    std::mt19937 azar(20240305);
    std::uniform_int_distribution<std::size_t> largo(0, 6000);
    for (int i = 0; i < 250; ++i) {
        fs::path ruta = carpeta.path() / "azar.PRN";
        std::ofstream(ruta, std::ios::binary) << Azar(azar, largo(azar));
        PasaPorAmbos(ruta, azar);
    }
}

TEST(FuzzSpool, MutationsOfRealFiles) {
    zvtest::TempDir carpeta;
    std::mt19937 azar(841);
    for (const char* nombre : {"formulario_y_detalle.PRN", "detalle.PRN", "errores_67.PRN", "formulario_cheque.PRN"}) {
        const std::string original = zvtest::Bytes(zvpreview::prueba::Referencia(nombre));
        ASSERT_FALSE(original.empty()) << nombre;
        for (int i = 0; i < 80; ++i) {
            fs::path ruta = carpeta.path() / "mutado.PRN";
            std::ofstream(ruta, std::ios::binary) << Muta(azar, original);
            PasaPorAmbos(ruta, azar);
        }
    }
}

}  // namespace
