#include "formulario/declaration/grilla_consulta.h"

#include <cstdio>

#include "formulario/core/estado.h"
#include "platform/dao/dao.h"

namespace zvform {

std::string TextoDeCelda(const dao::Value& valor) {
    if (valor.Type() != dao::DataType::Date) return valor.AsText();
    const dao::Date d = valor.AsDate();
    char texto[32];
    if (d.hour == 0 && d.minute == 0 && d.second == 0)
        std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", d.day, d.month, d.year);
    else
        std::snprintf(texto, sizeof texto, "%02d/%02d/%04d %02d:%02d:%02d", d.day, d.month, d.year, d.hour,
                      d.minute, d.second);
    return texto;
}

std::vector<FilaGrilla> LeeFilas(const std::string& sql, const std::vector<dao::Value>& params,
                                 const std::vector<ColumnaGrilla>& columnas) {
    auto& base = Estado::G().gBase;
    if (!base) throw zv::Error(91, "Variable de objeto o bloque With no establecido");
    auto rs = base->OpenRecordset(sql, dao::dbOpenSnapshot, params);
    std::vector<FilaGrilla> filas;
    for (; !rs->EOF_(); rs->MoveNext()) {
        FilaGrilla fila;
        fila.reserve(columnas.size());
        for (const ColumnaGrilla& c : columnas)
            fila.push_back(c.campo.empty() ? std::string() : TextoDeCelda(rs->Fields(c.campo)));
        filas.push_back(std::move(fila));
    }
    rs->Close();
    return filas;
}

}  // namespace zvform
