#pragma once
// The transfer-errors report (F84103): the import's error file
// gRutaRpt + base + ".err" (name matched ignoring case) listed line by line
// on portrait text pages, with a sub-total every 67 lines and the total at
// the end. Inputs: gRuc, gRazonSocial, gRutaRpt, gRutaArchivo (the spool
// file registered for it) of Estado.
//
// The import runs it through the dispatcher:
//   e.gTipoReporte = 3; e.gSalida = "ARCHIVO";
//   e.gRutaArchivo = e.gRutaRpt + zv::spool::GeneraArchivoSpool(*e.gBase, kCodigoErrores, ruc, e.gUsuario);
//   ImprimeReporte(base, periodo);          // base: "0841" + period + RUC
//   int paginas = PaginasDelReporte();
#include <string>

namespace zvform {

// Writes the whole report into gRutaArchivo and closes it; the run's page
// counter is left holding the number of the last page (the page count).
// A missing error file throws zv::Error 53. Other failures throw too.
void ReporteErrores(const std::string& baseRechazos, const std::string& periodo);

// A page heading (12 text lines, tags on the first page only).
void CabeceraErrores(const std::string& periodo);
// The body: the error lines, the sub-totals and the total.
void DetalleErrores(const std::string& baseRechazos, const std::string& periodo);

// Pages the report takes for `lineas` error lines (a new page after every 67).
int PaginasErrores(long lineas);

}  // namespace zvform
