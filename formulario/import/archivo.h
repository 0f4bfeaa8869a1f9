#pragma once
// Names and fields of the affiliates file: the base name shared by the file
// and its reject logs, their paths, and the field picker of a line.
#include <string>
#include <string_view>

namespace zvimport {

// "0841" & period YYYYMM & RUC, the RUC as given.
std::string NombreBase(const std::string& sRuc, const std::string& sPeriodo);

// A folder and a file name joined by one "/" (none added when the folder
// already ends with "/" or "\").
std::string UneRuta(const std::string& carpeta, const std::string& nombre);

// The affiliates file: the folder, then the base name and ".TXT".
std::string RutaArchivoImportacion(const std::string& sOrigen, const std::string& sRuc, const std::string& sPeriodo);

// The reject logs: the report folder, then the base name and ".Log" / ".Err".
std::string RutaLog(const std::string& rutaRpt, const std::string& base);
std::string RutaErr(const std::string& rutaRpt, const std::string& base);

// Field `PosCampo` (0-based, given as text) of a "|"-terminated line,
// trimmed; "" when the line has fewer fields. Lines of any length.
std::string RetornaCampo(std::string_view sCadenaNoEncryp, const std::string& PosCampo);

// The 37-character key of a rejected line: fields 1, 2, 3 and 15 of the raw
// line, each trimmed and made 11, 2, 15 and 6 characters wide, joined by
// single blanks. "" for a line without any "|".
std::string ClaveRechazo(std::string_view linea);

}  // namespace zvimport
