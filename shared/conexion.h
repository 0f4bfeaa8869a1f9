#pragma once
// The message of a shared database that could not be opened.
#include <string>

namespace zv {

// "Error de Conección": a locked database in the program's own words after
// the error number, any other failure its description over the number.
void MuestraErrorConexion(long numero, const std::string& descripcion, const std::string& textoBloqueada);

}  // namespace zv
