#pragma once
// The declaration key of the module's rows: document type 6 (RUC), the RUC,
// the period YYYYMM, form "0841" and week 0. The import and the declaration
// form give it to every new CAB and DET row they add.
#include <string>

namespace dao {
class Recordset;
}

namespace zvform {

// Sets the key columns of the row being added (after AddNew).
void AsignaLlaveDeclaracion(dao::Recordset& rs, const std::string& ruc, const std::string& periodo);

}  // namespace zvform
