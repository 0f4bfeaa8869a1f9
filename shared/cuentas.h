#pragma once
// The engine accounts of the four programs, built at run time from character
// codes so that no account stands whole in the program text.
#include <string>

namespace zv::cuentas {

struct Cuenta {
    std::string usuario;
    std::string clave;
};

Cuenta Zvform();    // 5 + 9 characters
Cuenta Zvsetup();   // 8 + 8
Cuenta Zvcheck();   // 8 + 8
Cuenta Zvreport();  // 8 + 8

}  // namespace zv::cuentas
