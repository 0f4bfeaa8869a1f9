#pragma once
// The module's rows in the base product's tables: its PARAM code lists, its
// report codes and its send descriptors.
#include <string>

#include "Inserta/sesion.h"

namespace zvsetup {

// PARAM, reportes and envio_t, in this order; then closes the database.
void CargaParametros(Sesion& s);
// Updates the PARAM row (numero, argumento) when it exists, inserts it otherwise.
void GrabaParam(Sesion& s, const std::string& numero, const std::string& argumento, const std::string& funcion,
                const std::string& correl);
bool ExisteParam(Sesion& s, const std::string& numero, const std::string& argumento);

}  // namespace zvsetup
