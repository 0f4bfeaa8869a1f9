#pragma once
// The range of pages a report is shown or printed in: the one both roads
// (the preview and the printer) filter by, the checks of the page-range
// dialog (frmImpxPag) on the texts of its fields, and the keys its fields
// accept.
#include <string>
#include <string_view>

namespace zvform {

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

// The dialog's messages, in the order its checks run.
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
