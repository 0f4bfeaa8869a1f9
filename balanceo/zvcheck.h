#pragma once
// zvcheck: the pre-send consistency check of one registered declaration.
#include <string>

namespace zvcheck {

inline constexpr const char* kNombrePrograma = "zvcheck";

// The run, in order: single instance, the key, configuration and database,
// the check, the outcome. Exit status 0 when the check ran, whatever it
// found; 1 when the run ended on an error message.
int Main(const std::string& parametro);

}  // namespace zvcheck
