#pragma once
// The consult lists of two code lists of PARAM: the banks ("B", list '004')
// and the disaffiliation motives ("M", list '783'). Read only.
#include <string>
#include <vector>

#include "formulario/declaration/grilla_consulta.h"

namespace zvform {

// Código and Descripción.
const std::vector<ColumnaGrilla>& ColumnasConsulta();

// gSQL := the query of the consult type: the two-character code and the
// description (the banks' cut at 36 characters, the motives' trimmed),
// without the entry "00", ordered by code. False, with gSQL unchanged, for
// any other type.
bool ArmaSqlConsulta(const std::string& tipoConsulta);

// The rows of the consult type; none for an unknown type. Errors reach the caller.
std::vector<FilaGrilla> LeeConsulta(const std::string& tipoConsulta);

}  // namespace zvform
