#pragma once
// Reading a spool file back (shared/spool.h writes them): the token scan of a
// line, its fields, and the file read line by line. The reader draws
// nothing itself: the preview's pages (paginas_previas.h) and the printer
// road (impresion_spool.h) take the lines it hands over.
//
// Lines outside what the writers produce never stop the reading:
//   - a line on which no token ending ("|", "!>", "aHoja") ever occurs, a
//     record whose field lacks its closing "|", a tag without its closing
//     tag, a bold field that is neither True nor False, an unknown command:
//     the line is skipped;
//   - a number beyond 16 bits: clamped to -32768..32767.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zvform {

enum class ComandoSpool : std::uint8_t {
    Ninguno,      // the line is skipped
    Fuente,       // <!font!>
    Hojas,        // <!nHojas!>
    Color,        // <!Color!>
    Orientacion,  // <!Orientacion!>
    Pos,          // pPos: text
    PosVerti,     // pPosVerti: vertical text
    Cuadro,       // pCuadro: rectangle or rule
    NuevaHoja,    // pNuevaHoja: page break of the printer
};

// One line as the reader takes it.
struct LineaSpool {
    ComandoSpool comando = ComandoSpool::Ninguno;
    std::int16_t x = 0, y = 0;    // pPos, pPosVerti; pCuadro's first corner
    std::int16_t x2 = 0, y2 = 0;  // pCuadro's second corner
    std::int16_t hoja = 0;        // page, 0-based
    std::int16_t tamano = 0;      // font size in points
    bool negrita = false;
    std::string texto;            // the text of a record, as written; the value of a tag

    bool EsDibujo() const {
        return comando == ComandoSpool::Pos || comando == ComandoSpool::PosVerti || comando == ComandoSpool::Cuadro;
    }
};

// The command token of a line: the characters from its start up to the
// first point where they end in "|" (not part of the token), "!>" or
// "aHoja" (both kept). `despues` is left on the character after the token.
// nullopt when no ending ever occurs.
std::optional<std::string_view> TokenSpool(std::string_view linea, std::size_t& despues);

// A numeric field: its leading number (blanks skipped, 0 when none), to the
// nearest integer with halves to the even one, clamped to 16 bits.
std::int16_t NumeroSpool(std::string_view campo);

// A colour tag's value after its extra last character was dropped, trimmed:
// "&H" and up to eight hex digits, or a decimal number. nullopt otherwise.
std::optional<std::uint32_t> ColorSpool(std::string_view valor);

// Takes one line (without its line end) into `salida`, whose text buffer is
// reused from line to line.
void AnalizaLinea(std::string_view linea, LineaSpool& salida);

// Reads the file to its end and hands every line it takes (not the skipped
// ones) to `toma`. False, handing nothing, when the file is not a regular
// file or cannot be opened. A read that fails on the way throws zv::Error 57
// (the lines before it have been handed). The file is closed when it
// returns, whatever `toma` throws.
bool LeeSpool(const std::filesystem::path& ruta, const std::function<void(const LineaSpool&)>& toma);

}  // namespace zvform
