#pragma once
// The module's two tables of affiliate detail: F841DETDES (registered
// declarations) and HF841DETDES (sent declarations, one copy per Correl).
#include <string>
#include <string_view>

#include "Inserta/sesion.h"

namespace zvsetup {

// The statements that create each table with its primary key.
std::string SentenciaCreaF841DETDES();
std::string SentenciaCreaHF841DETDES();

// Creates whichever of the two tables is absent. A table that exists is
// never altered.
void CreaTablas(Sesion& s);
// True when a table's name, in capitals, equals `nombre`.
bool ExisteTabla(Sesion& s, std::string_view nombre);
// Lets the two surname columns of F841DETDES or HF841DETDES hold empty text;
// errors leave the setting undone.
void PermiteLongitudCero(Sesion& s, std::string_view tabla);

}  // namespace zvsetup
