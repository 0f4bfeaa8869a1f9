#pragma once
// The utility object behind gUtil: padding, file existence, and the checks
// of RUCs, names, numbers, codes, dates, months and key strokes that the
// import and the declaration form rely on. Every method is virtual so that a
// test can put its own object in Estado::G().gUtil.
//
// Texts are UTF-8; widths count characters, not bytes.
#include <memory>
#include <string>
#include <string_view>

#include "formulario/core/fecha.h"

namespace zvform {

class cUtilitarios {
public:
    virtual ~cUtilitarios() = default;

    // True when the path names an existing file (name matched ignoring case).
    virtual bool ExisteArchivoFisico(const std::string& ruta);

    // 11 digits, a taxpayer prefix (10, 15, 17, 20) and the modulus-11 check
    // digit: weights 5,4,3,2,7,6,5,4,3,2 over the first ten digits, digit =
    // 11 - sum mod 11 (10 gives 0, 11 gives 1), equal to the eleventh digit.
    virtual bool EsRucValido(const std::string& texto);

    // The text cut or filled with blanks on the right to exactly `ancho` characters.
    virtual std::string AjustaLongitud(const std::string& texto, int ancho);

    // A real calendar date "dd/mm/yyyy" between the two bounds (same form),
    // both included. A bound that is not a date refuses every date.
    virtual bool FechaEnRango(const std::string& fecha, const std::string& desde, const std::string& hasta);

    // Key filter of the order-number boxes: digits and Backspace (8) pass;
    // with `punto` also ".", with `signo` also "-", with `letras` also
    // letters (returned in upper case). Any other key gives 0 (discarded).
    virtual int FiltraTecla(int tecla, int punto = 0, int signo = 0, int letras = 0);

    // Digits only, at least one. `signo`: a leading "+" or "-" is allowed;
    // `decimales`: one decimal point is allowed; `blancos`: blanks around
    // the number are allowed.
    virtual bool EsNumerico(const std::string& texto, int signo = 0, int decimales = 0, int blancos = 0);

    // A code: letters (Ñ included) and digits, at least one, and blanks
    // between them. `sinBlancos`: no blank at all (account codes);
    // `signos`: "-", "/" and "." are allowed too.
    virtual bool EsAlfanumerico(const std::string& texto, int sinBlancos = 0, int signos = 0);

    // Left-aligned, filled with the first character of `relleno` (a blank
    // when empty) to exactly `ancho` characters; a longer text keeps its
    // first `ancho` characters.
    virtual std::string RellenaTexto(const std::string& texto, int ancho, std::string_view relleno = " ");
    // Right-aligned the same way; a longer text keeps its last `ancho` characters.
    virtual std::string RellenaNumero(const std::string& texto, int ancho, std::string_view relleno = " ");

    // "MM/YYYY" of a real month, not before `desde` ("MM/YYYY") and not
    // after the month of `hoy`.
    virtual bool MesEnRango(const std::string& mes, const std::string& desde, const Fecha& hoy);

    // A personal name: letters (accented vowels, Ü and Ñ included), the
    // apostrophe, hyphen and period that real names carry, and, when
    // `conBlancos`, blanks between the words. It must hold a letter.
    virtual bool EsNombreValido(const std::string& texto, bool conBlancos = true);

    // The gate asked before a declaration is validated or saved.
    virtual bool PuedeContinuar();
};

// The program's utility object (Estado::G().gUtil), created on first use.
cUtilitarios& Util();

}  // namespace zvform
