#pragma once
// The state of one report run of zvform and the record writers every report
// body uses. A run writes one spool file (shared/spool.h) from start to end;
// its counters are reset at the start of each run and each report.
#include <ctime>
#include <functional>
#include <string>
#include <string_view>

#include "shared/reloj.h"
#include "shared/spool.h"

namespace zvform {

// The report chosen in the print dialog (the index of its option buttons).
enum class OpcionImpresion {
    Declaracion = 0,           // "Declaración": the form report
    Detalle = 1,               // "Detalle de afiliados": the annex alone
    DeclaracionYDetalle = 2,   // "Declaración y detalle de afiliados"
};

// Report codes of SPOOL.
inline constexpr std::string_view kCodigoFormulario = "F84101";  // form, or form and annex
inline constexpr std::string_view kCodigoDetalle = "F84102";     // annex alone
inline constexpr std::string_view kCodigoErrores = "F84103";     // transfer errors

// The code a declaration report is registered under.
std::string_view CodigoReporte(OpcionImpresion opcion);

struct CorridaReporte {
    // The open spool file with the counters gPagina (spool.pagina),
    // gLineaActual (spool.lineaActual), gPosY (spool.posY) and gLinea (spool.linea).
    zv::spool::EscritorSpool spool;
    int gPaginasAnexo = 0;    // index of the last page of the annex
    int gAnchoLinea = 104;    // line width of the text reports (centring)
    std::string gMargen = "  ";
    // The clock of the date and time printed in headings (tests fix it).
    std::function<std::tm()> reloj = zv::HoraLocal;
};

// The run of the program (one at a time, on the user-interface thread).
CorridaReporte& Corrida();
// Starts from fresh counters (a closed file).
void ReiniciaCorrida();

// The record writers, on the run's spool file.
void ImprimePos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina);
void ImprimeCuadro(int x1, int y1, int x2, int y2, int pagina);
void ImprimeLinea(std::string& linea);
std::string SumaPosicion(int& posicion, int paso);

}  // namespace zvform
