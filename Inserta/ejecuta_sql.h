#pragma once
// The one door of every action statement of the installer.
#include <string_view>
#include <vector>

#include "Inserta/sesion.h"
#include "platform/dao/value.h"

namespace zvsetup {

// Runs one statement on the shared database. Never fails towards the caller:
// 3010 (table exists) asks the overwrite question and goes on, 3283 (key
// exists) is silent, any other refusal is shown and counted. Returns true
// when the statement took effect.
bool EjecutaSQL(Sesion& s, std::string_view sql, const std::vector<dao::Value>& params = {});

}  // namespace zvsetup
