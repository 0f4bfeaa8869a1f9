#pragma once
// The state of one zvcheck run: configuration, the open database, the
// report file being written and the detail sum of the box in work.
#include <memory>
#include <string>

#include "platform/currency.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"

namespace zvcheck {

struct Estado {
    std::unique_ptr<dao::DBEngine> gEngine;
    std::unique_ptr<dao::Database> gBase;
    std::string gSysPath;   // [Options] SysPath, expected to end in "/"
    std::string gDBPath;    // [Options] DBPath
    std::string gDBName;    // [Options] DBName
    std::string gRutaBase;  // DBPath & DBName
    std::string gRutaTmp;   // gSysPath & "TMP/"
    zv::text::TextWriter gArchivo;  // the report or marker file being written
    zv::Currency gSuma;     // detail sum of the box being compared
    // The check stopped on an error (its message was shown).
    bool gErrorEnValidacion = false;
};

}  // namespace zvcheck
