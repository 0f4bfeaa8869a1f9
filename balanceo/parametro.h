#pragma once
// The declaration key the host passes on the command line: 36 characters at
// fixed positions, with no separators. Positions beyond a shorter key read
// as empty text; the length is never checked.
#include <string>

namespace zvcheck {

struct ParametroEnvio {
    std::string tipoDocumento;  // 1-2
    std::string numeroDocumento;  // 3-17, blanks kept
    std::string formulario;     // 18-21
    std::string periodo;        // 22-27
    std::string semana;         // 28
    std::string codigoControl;  // 29-36, taken but never used here
};

ParametroEnvio CortaParametro(const std::string& linea);

// gRutaTmp & type & trimmed number & form & period & week: the name of the
// report (".ERR") and marker (".TXT") files without extension.
std::string RaizArchivos(const std::string& rutaTmp, const ParametroEnvio& p);

}  // namespace zvcheck
