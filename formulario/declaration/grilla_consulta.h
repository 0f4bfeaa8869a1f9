#pragma once
// The rows a list grid shows, read from one query as texts: each column of
// the grid names the query field it shows.
#include <string>
#include <vector>

#include "platform/dao/value.h"

namespace zvform {

struct ColumnaGrilla {
    std::string titulo;  // the column's caption
    std::string campo;   // the query field it shows; "" for a column the query does not fill
};

using FilaGrilla = std::vector<std::string>;  // one text per column

// Runs the query on gBase as a read-only snapshot and reads every row, one
// text per column in the columns' order. Numbers show as stored, dates as
// "dd/mm/yyyy" (with the time when there is one), Null as "". Errors reach
// the caller.
std::vector<FilaGrilla> LeeFilas(const std::string& sql, const std::vector<dao::Value>& params,
                                 const std::vector<ColumnaGrilla>& columnas);

// A field value as a grid shows it.
std::string TextoDeCelda(const dao::Value& valor);

}  // namespace zvform
