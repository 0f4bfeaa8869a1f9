#pragma once
// The list of inconsistencies that "&Validar" leaves in gRutaArchivo
// (Mens.txt), as the viewer FrmConsist shows and prints it.
#include <string>

namespace zvdecl {

// The whole file as it lies on disk (line ends included), in UTF-8.
// Throws zv::Error (53 when the file is missing).
std::string LeeInconsistencias();

// The spool file the viewer prints: gRutaRpt + "Mens.PRN", rewritten each
// time, portrait text pages in Courier New with a heading on each page and
// every line of the list behind a two-blank margin. Returns its bare name.
// Throws zv::Error on a file failure.
std::string EscribeSpoolInconsistencias();

}  // namespace zvdecl
