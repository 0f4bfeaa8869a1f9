#include "shared/banco.h"

#include "platform/dao/dao.h"
#include "platform/textfile.h"

namespace zv {

std::string DescripcionBanco(dao::Database& base, std::string_view codigo) {
    auto rs = base.OpenRecordset(
        "SELECT MID(ARGUMENTO,1,2) AS codigo, MID(FUNCION,1,36) AS descrip FROM PARAM "
        "WHERE NUMERO='004' AND TRIM(ARGUMENTO) = ?",
        dao::dbOpenSnapshot, {std::string(codigo)});
    std::string nombre = rs->EOF_() ? "" : zv::text::Trim(rs->Fields("descrip").AsText());
    rs->Close();
    return nombre;
}

}  // namespace zv
