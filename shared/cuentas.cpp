// Each program's engine account, put together from character codes at run
// time so that neither the user name nor the password stands whole in the
// program text. The codes are kept shifted by a small key.
#include "shared/cuentas.h"

#include <initializer_list>

namespace zv::cuentas {

namespace {

constexpr int kShift = 7;

std::string FromCodes(std::initializer_list<int> shifted) {
    std::string s;
    for (int c : shifted) s += static_cast<char>(c - kShift);
    return s;
}

}  // namespace

Cuenta Zvform() {
    return {FromCodes({129, 125, 109, 118, 121}),                         // 5
            FromCodes({90, 118, 115, 125, 55, 63, 59, 56, 77})};          // 9
}

Cuenta Zvsetup() {
    return {FromCodes({129, 125, 122, 108, 123, 124, 119, 56}),            // 8
            FromCodes({80, 117, 122, 123, 55, 63, 59, 56})};               // 8
}

Cuenta Zvcheck() {
    return {FromCodes({129, 125, 106, 111, 108, 106, 114, 56}),            // 8
            FromCodes({93, 108, 121, 109, 55, 63, 59, 56})};               // 8
}

Cuenta Zvreport() {
    return {FromCodes({129, 125, 121, 108, 119, 118, 121, 123}),           // 8
            FromCodes({89, 108, 122, 124, 55, 63, 59, 56})};               // 8
}

}  // namespace zv::cuentas
