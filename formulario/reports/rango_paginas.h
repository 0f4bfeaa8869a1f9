#pragma once
// The checks of the page-range dialog (frmImpxPag) on the texts of its
// fields, and the keys its fields accept.
#include <string>
#include <string_view>

namespace zvform {

// Their messages, in the order the checks run.
inline constexpr std::string_view kIngresePaginaInicio = "Ingrese página de inicio";
inline constexpr std::string_view kPaginaInicialDesdeUno = "Página inicial debe ser a partir de 1";
inline constexpr std::string_view kPaginaInicialMayorTotal =
    "Página inicial no debe ser mayor a total de páginas del reporte";
inline constexpr std::string_view kIngresePaginaFin = "Ingrese página de Fin";
inline constexpr std::string_view kPaginaFinalMenorInicial = "Página final no debe ser menor a página inicial";

struct RangoElegido {
    std::string mensaje;  // the first check that failed; "" when all pass
    int desde = 0;        // 1-based, rounded (halves to even)
    int hasta = 0;
};

// Each field read as its leading number, blanks skipped wherever they stand
// (" 1 5" is 15, "2.5" is 2.5, a text without a number is 0). The last page
// is not compared with the total: pages beyond it simply do not exist. The
// bounds are kept within the page numbers a spool file can hold.
RangoElegido ValidaRangoPaginas(std::string_view desde, std::string_view hasta, std::string_view total);

// The character keys typed into the page fields: Backspace (8), the digits,
// the point and the blank. Enter (13) moves to the next control instead.
bool TeclaDePagina(int tecla);

}  // namespace zvform
