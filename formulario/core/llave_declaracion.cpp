#include "formulario/core/llave_declaracion.h"

#include "platform/dao/dao.h"

namespace zvform {

void AsignaLlaveDeclaracion(dao::Recordset& rs, const std::string& ruc, const std::string& periodo) {
    rs.SetField("tip_doc_d", dao::Value(6));
    rs.SetField("Doc_id_d", dao::Value(ruc));
    rs.SetField("periodo", dao::Value(periodo));
    rs.SetField("Formulario", dao::Value("0841"));
    rs.SetField("Semana", dao::Value(0));
}

}  // namespace zvform
