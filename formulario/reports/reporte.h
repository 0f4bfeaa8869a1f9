#pragma once
// The report run of zvform: writes the declaration reports (form report
// and/or annex of affiliates) or the transfer-errors report into the spool
// file the caller registered.
//
// Calling order:
//   auto nombre = zv::spool::GeneraArchivoSpool(*e.gBase, CodigoReporte(opcion), ruc, e.gUsuario);
//   e.gRutaArchivo = e.gRutaRpt + nombre;  e.gSalida = "ARCHIVO";  e.gTipoReporte = 2;
//   bool escrito = ImprimeReporte("", "", opcion);
//   e.gTotalPaginas = PaginasDelReporte();
//   ... MuestraReporte(nombre, "Vprevia") (the preview)
#include <string>

#include "formulario/reports/corrida.h"

namespace zvform {

// Form report and/or annex, by the choice of the print dialog, into
// gRutaArchivo; closes the file. Leaves the page count in the run's page
// counter. Throws on failure (the file is left open: ImprimeReporte closes it).
void GeneraReporte(OpcionImpresion opcion);

// Dispatches on gTipoReporte: 2 runs GeneraReporte(opcion); 3 runs
// ReporteErrores(baseRechazos, periodo); any other writes nothing. Every
// error of the run is trapped here and shown in a box titled "Impresión"
// (none for 53, 2055 and 55), and the spool file is closed; a report 2 or 3
// that was not written completely has its SPOOL row and its file removed.
// True when the report was written completely.
bool ImprimeReporte(const std::string& baseRechazos, const std::string& periodo,
                    OpcionImpresion opcion = OpcionImpresion::Declaracion);

// The text ImprimeReporte shows for an error of the run ("" when it shows none).
std::string MensajeImpresion(long numero, const std::string& descripcion);
// Shows that text, critical, titled "Impresión" (nothing when it is "").
void AtiendeErrorImpresion(long numero, const std::string& descripcion);

// The page counter left by the last run (gPagina): the number of pages written.
int PaginasDelReporte();

}  // namespace zvform
