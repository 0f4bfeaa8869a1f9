#pragma once
// The name of a bank from its code, as the payment data of a declaration
// shows it (zvform's form report, zvreport's send summary).
#include <string>
#include <string_view>

namespace dao {
class Database;
}

namespace zv {

// The trimmed first 36 characters of Funcion of the PARAM '004' row whose
// trimmed Argumento is `codigo`; "" when there is none. Throws dao::Error.
std::string DescripcionBanco(dao::Database& base, std::string_view codigo);

}  // namespace zv
