#pragma once
// State of one installation run: the base folder, the engine and the open
// shared database, and how many statements the engine refused.
#include <memory>
#include <string>

#include "platform/dao/dao.h"

namespace zvsetup {

struct Sesion {
    std::string sysPath;  // ZVBAS.INI SysPath, ends with "/"
    dao::DBEngine engine;
    std::unique_ptr<dao::Database> base;  // the shared database
    int rechazadas = 0;                   // statements refused by the engine
};

// Exit status of the program.
enum Salida : int {
    kCompleta = 0,            // every statement took effect
    kSentenciaRechazada = 1,  // at least one statement was refused and skipped
    kInterrumpida = 2,        // the run ended on an error message
};

}  // namespace zvsetup
