#pragma once
// ZVBAS.INI: the configuration the base product leaves in the Windows
// directory; the programs read and write its [Options] section.
#include <optional>
#include <string>
#include <string_view>

namespace zv::configuracion {

inline constexpr const char* kArchivo = "ZVBAS.INI";
inline constexpr const char* kSeccion = "Options";
inline constexpr const char* kGrupoTrabajo = "ZVBAS.MDW";  // the workgroup file, beside the database

// The [Options] value of the key, trimmed of blanks ("" when it is missing).
std::string LeeOpcion(std::string_view clave);
// Why the file cannot be read, with the path where it was looked for
// (missing, or there but unreadable); nullopt when it reads.
std::optional<std::string> FaltaArchivo();
// Writes the [Options] key; false when the file cannot be written.
bool GrabaOpcion(std::string_view clave, std::string_view valor);

}  // namespace zv::configuracion
