#pragma once
// What the preview and the printer draw from a spool file: drawing records
// kept as small values, and the page range both roads filter by.
#include <cstdint>
#include <string_view>

namespace zvform {

struct LineaSpool;

// One drawing record. Positions are twips from the page's top left corner;
// a text lies elsewhere (a page's text store, or the line being read).
struct Trazo {
    enum class Tipo : std::uint8_t { Texto, TextoVertical, Cuadro };
    Tipo tipo = Tipo::Texto;
    bool negrita = false;
    std::int16_t tamano = 0;      // points
    std::int16_t x = 0, y = 0;    // a text's top left corner; a rectangle's first corner
    std::int16_t x2 = 0, y2 = 0;  // a rectangle's second corner
    std::uint32_t inicio = 0;     // the text within its page's store
    std::uint32_t largo = 0;

    // The record of a drawing line (pPos, pPosVerti, pCuadro), its text left out.
    static Trazo De(const LineaSpool& linea);
};

// The pages of a file that the preview shows and the printer prints: all,
// or those whose 1-based number lies between `desde` and `hasta`.
struct RangoPaginas {
    bool activo = false;
    int desde = 0;
    int hasta = 0;

    // `hoja` is a record's 0-based page field.
    bool Contiene(int hoja) const { return !activo || (desde <= hoja + 1 && hoja + 1 <= hasta); }
    // The range in force: gRangoPaginas, gPagDesde, gPagHasta.
    static RangoPaginas Vigente();
};

// Background colours as the spool files write them (&H00BBGGRR, or a system
// colour with the high bit set and its index in the low byte).
inline constexpr std::uint32_t kColorVentana = 0x80000005;  // the system's window background
inline constexpr std::uint32_t kColorSistema = 0x80000000;

}  // namespace zvform
