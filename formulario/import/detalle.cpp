#include "formulario/import/detalle.h"

namespace zvimport {

const char* const TablaDetalle::kSqlCuenta =
    "SELECT COUNT(*) As nReg  FROM F841DETDES  WHERE doc_id_d = ? AND periodo = ? AND Num_RUCEmpl = ?"
    " AND Tip_Doctrab = ? AND Num_Doctrab = ? AND Mes_deveng = ?";

namespace {

// The key's columns in the order of kSqlCuenta's values; a transfer adds
// the rows of one declarant and period (the first two).
const std::vector<std::string> kColumnasClave = {"doc_id_d",    "periodo",     "Num_RUCEmpl",
                                                 "Tip_Doctrab", "Num_Doctrab", "Mes_deveng"};
constexpr std::size_t kColumnasDeclaracion = 2;

}  // namespace

TablaDetalle::TablaDetalle(dao::Database& base)
    : inserta_(base, "F841DETDES"), cuenta_(inserta_, kSqlCuenta, kColumnasClave, kColumnasDeclaracion) {}

}  // namespace zvimport
