#include "formulario/declaration/consulta_codigos.h"

#include "formulario/core/estado.h"

namespace zvform {

const std::vector<ColumnaGrilla>& ColumnasConsulta() {
    static const std::vector<ColumnaGrilla> columnas = {{"Código", "codigo"}, {"Descripción", "descrip"}};
    return columnas;
}

bool ArmaSqlConsulta(const std::string& tipoConsulta) {
    std::string& sql = Estado::G().gSQL;
    if (tipoConsulta == "B") {
        sql = "SELECT MID(ARGUMENTO,1,2) as codigo, mid(FUNCION,1,36) as descrip ";
        sql += "FROM PARAM ";
        sql += "WHERE NUMERO='004' AND TRIM(ARGUMENTO)<> '00' order by 1";
        return true;
    }
    if (tipoConsulta == "M") {
        sql = "SELECT MID(ARGUMENTO,1,2) as codigo, trim(FUNCION) as descrip ";
        sql += "FROM PARAM ";
        sql += "WHERE NUMERO='783' AND TRIM(ARGUMENTO)<> '00' order by 1";
        return true;
    }
    return false;
}

std::vector<FilaGrilla> LeeConsulta(const std::string& tipoConsulta) {
    if (!ArmaSqlConsulta(tipoConsulta)) return {};
    return LeeFilas(Estado::G().gSQL, {}, ColumnasConsulta());
}

}  // namespace zvform
