#pragma once
// Affiliate detail rows for tests and benchmarks: one declaration's rows in
// F841DETDES, written in one transaction.
#include <string>

namespace dao {
class Database;
}

namespace zvtest {

// `filas` rows of the declaration (6, ruc, periodo, "0841"), with distinct
// document numbers, accented names and varied amounts (every seventh return
// negative).
void LlenaAfiliados(dao::Database& db, const std::string& ruc, const std::string& periodo, long filas);

}  // namespace zvtest
