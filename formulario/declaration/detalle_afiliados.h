#pragma once
// The detail of affiliates that the declaration form shows in its grid
// GrdDatos: the query (F841DETDES, or HF841DETDES of the correlative for a
// sent declaration), the 20 columns with their captions and display texts,
// and the record count of the label LblCuentaDes.
#include <array>
#include <string>
#include <vector>

#include "platform/dao/value.h"

namespace zvdecl {

inline constexpr int kColumnasGrilla = 20;

struct ColumnaGrilla {
    const char* titulo;  // caption
    const char* campo;   // field of the detail query
};
extern const std::array<ColumnaGrilla, kColumnasGrilla> kColumnasDetalle;

// The display text of a cell: the amounts of columns 15 to 17 with
// "###,###,###,##0.00", column 18 too, a negative one as its absolute value
// in parentheses; the sex and the payment condition in words; dates as
// dd/mm/yyyy; anything else as stored.
std::string TextoCelda(int columna, const dao::Value& valor);

using FilaAfiliado = std::array<std::string, kColumnasGrilla>;

// Get_Desafiliados: the detail of the declaration in the state object
// (gRuc, gPeriodo, and gCorrel when gEsEnviada), read once, as display
// texts. The query text is left in gSQL.
std::vector<FilaAfiliado> Get_Desafiliados();

// The records of the declaration in the table (its sent copy "H" + table
// when gEsEnviada); 0 when none. An error is shown in a box titled "Error"
// and counts 0.
long Cuenta_Registros(const std::string& sTabla);

// LblCuentaDes: "Cantidad de registros: n", or "" for none.
std::string Cuenta_Afiliados();

}  // namespace zvdecl
