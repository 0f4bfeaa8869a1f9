#pragma once
// The reject codes of the affiliates file and the message of each, as the
// .Err file shows it after the line's key.
#include <string>

namespace zvimport {

// Line codes set by the transfer.
inline constexpr const char* kFaltanCampos = "0911";
inline constexpr const char* kDuplicado = "0912";
inline constexpr const char* kViolacionClave = "0228";  // has no message

// The message of a code; the composed ones (315, 320, 500-545) take the
// label and the length limit of the failing field. "" for a code without
// a message or not in the table.
std::string MensajeRechazo(const std::string& codigo, const std::string& etiqueta, int longitud);

}  // namespace zvimport
