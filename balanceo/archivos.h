#pragma once
// The report and marker files of zvcheck.
#include <string>

#include "balanceo/estado.h"

namespace zvcheck {

inline constexpr const char* kExtensionInforme = ".ERR";
inline constexpr const char* kExtensionMarca = ".TXT";

// Writes one line to the open report file; an empty or all-blank line is
// written as a single blank.
void ImprimeLineaArchivo(Estado& e, const std::string& linea);

// True when the path's folder and the file both exist (names matched without
// regard to case). Errors are shown (all but 76) and never stop the test.
bool ExisteArchivo(const std::string& ruta);

// Deletes the file found (without regard to case) at the path.
void BorraArchivo(const std::string& ruta);

// Writes the marker file: "0841 ERROR". Errors are passed over.
void GrabaSenalError(Estado& e, const std::string& ruta);

}  // namespace zvcheck
