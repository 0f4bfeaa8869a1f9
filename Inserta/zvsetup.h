#pragma once
// zvsetup: installs module 0841 in the shared database. The run goes straight
// through: configuration, database open, tables, field properties, rows.
#include <string>
#include <string_view>

#include "Inserta/sesion.h"

namespace zvsetup {

// The whole run; returns the exit status (see Salida).
int Main();

// SysPath of ZVBAS.INI, trimmed; a trailing double separator loses one.
std::string LeeSysPath();
// A value that ends with two separators keeps only one of them.
std::string QuitaSeparadorDoble(std::string path);

// Opens the database SysPath & DBName with zvsetup's account. On failure it
// shows the connection message and answers false: the run must end.
bool AbrirBase(Sesion& s, const std::string& sysPath);

// Tables, field properties and rows, in this order.
void Instalar(Sesion& s);

}  // namespace zvsetup
