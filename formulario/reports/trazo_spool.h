#pragma once
// What the preview and the printer draw from a spool file: drawing records
// kept as small values.
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

// Background colours as the spool files write them (&H00BBGGRR, or a system
// colour with the high bit set and its index in the low byte).
inline constexpr std::uint32_t kColorVentana = 0x80000005;  // the system's window background
inline constexpr std::uint32_t kColorSistema = 0x80000000;

}  // namespace zvform
