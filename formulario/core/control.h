#pragma once
// Guards of stored data: the record digest kept in cNumero of every row
// written to CAB, DET, HCAB and F841DETDES, and the modulus-11 check digit
// of the order number of a sent declaration.
#include <string>

#include "platform/dao/dao.h"

namespace zvform {

// The text a field counts with: numbers with a point and no blanks, dates
// "yyyymmdd", text trimmed of blanks; Null and yes/no values give "".
std::string TextoDeCampo(const dao::Value& valor);

// Six digits over the current row (or the edit buffer): the last three
// digits of the sum of the numeric fields 0 .. desde-1, rounded half away
// from zero, then the last three digits of the sum over the fields desde ..
// next-to-last of each character's position in its field times its
// Windows-1252 code. The last field (cNumero) is left out. Exact: the sums
// are integers (the numeric one in ten-thousandths).
// Callers pass 5 for CAB and 6 for DET, HCAB and F841DETDES.
std::string SumaControlRegistro(const dao::Recordset& rs, int desde);

// The first 17 characters of s, trimmed (written back into s), followed by
// the modulus-11 digit: weights 2,3,4,5,6,7,2,... from the right, a
// non-digit weighs 0, digit = 11 - sum mod 11 with 10 giving 0 and 11 giving 1.
// An empty text gives "".
std::string DigitoVerificador(std::string& s);

// True when the two check digits typed after the order number are the
// digit of the control code and the digit of control & orden & that digit.
bool ValidaNumeroOrden(const std::string& control, const std::string& orden, const std::string& digitos);

}  // namespace zvform
