#pragma once
// zvcheck: the pre-send consistency check of one registered declaration.
#include <string>
#include <vector>

namespace zvcheck {

inline constexpr const char* kNombrePrograma = "zvcheck";

// The whole command line as the declaration key: the host passes it as one
// argument; several arguments are joined again with one blank.
std::string LineaDeComandos(const std::vector<std::string>& argumentos);

// The run, in order: single instance, the key, configuration and database,
// the check, the outcome. Exit status 0 when the check ran, whatever it
// found; 1 when the run ended on an error message.
int Main(const std::string& parametro);

}  // namespace zvcheck
