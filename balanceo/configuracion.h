#pragma once
// ZVBAS.INI and the database open of zvcheck.
#include "balanceo/estado.h"

namespace zvcheck {

// Reads SysPath, DBPath and DBName, makes SysPath the current folder, opens
// the database and sets gRutaTmp. False when the database could not be
// opened (the message was shown). A SysPath that names no folder raises
// zv::Error 76.
bool LeerIni(Estado& e);

// Registers the workgroup file in ZVBAS.INI and opens DBPath & DBName into
// gBase. On failure shows one of the two "Error de Conección" messages and
// answers False: the program ends.
bool AbrirBase(Estado& e);

}  // namespace zvcheck
