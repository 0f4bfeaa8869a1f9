#pragma once
// The shared database as every program of the module opens it, and the
// message of one that could not be opened.
#include <memory>
#include <optional>
#include <string>

#include "platform/dao/dao.h"
#include "shared/cuentas.h"

namespace zv {

// What tells one program's open from another's.
struct AperturaBase {
    std::string ruta;          // the database file
    std::string grupoTrabajo;  // the engine's workgroup file (SystemDB)
    cuentas::Cuenta cuenta;    // the engine's default user and password
    // Written first as SystemDB into [Options] of ZVBAS.INI, where the host
    // finds the workgroup file; nullopt: ZVBAS.INI is left alone.
    std::optional<std::string> registroSystemDB = std::nullopt;
};

// Registers the workgroup file when asked, sets the engine up and opens the
// database, shared and not read-only. Throws zv::Error: the engine's, or 75
// (path or file access) when ZVBAS.INI cannot be written.
std::unique_ptr<dao::Database> AbreBaseCompartida(dao::DBEngine& motor, const AperturaBase& apertura);

// "Error de Conección": a locked database in the program's own words after
// the error number, any other failure its description over the number.
void MuestraErrorConexion(long numero, const std::string& descripcion, const std::string& textoBloqueada);

}  // namespace zv
