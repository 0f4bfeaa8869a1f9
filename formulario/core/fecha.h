#pragma once
// Calendar dates as the forms and the import read them: "dd/mm/yyyy" texts
// and today's date from the system clock.
#include <optional>
#include <string>
#include <string_view>

namespace zvform {

struct Fecha {
    int anio = 0;
    int mes = 0;
    int dia = 0;
    friend auto operator<=>(const Fecha&, const Fecha&) = default;
};

// Today's date in local time.
Fecha Hoy();

// The date as "dd/mm/yyyy", the text the programs store and show.
std::string TextoFecha(const Fecha& f);

// The number written by the `count` digits at `pos` (within `s`), or -1
// when one of them is not a digit.
int Digitos(std::string_view s, std::size_t pos, std::size_t count);

bool EsFechaReal(const Fecha& f);  // 30 February is not; years 1..9999

// "dd/mm/yyyy": two digits, "/", two digits, "/", four digits, and a real
// calendar date; nullopt otherwise.
std::optional<Fecha> LeeFecha(std::string_view texto);

}  // namespace zvform
