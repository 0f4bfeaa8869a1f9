#pragma once
// The lists of registered (CAB) and sent (HCAB, one row per send)
// declarations of form 0841 that the current user may see: their columns,
// their query, the period as they show it, and the deletion of the chosen
// declaration. No window here: the list forms and the tests call these.
#include <string>
#include <vector>

#include "formulario/declaration/grilla_consulta.h"

namespace zvform {

// The columns the lists read by position.
namespace columna_lista {
inline constexpr int kTipoDocumento = 0;
inline constexpr int kDesTipoDocumento = 1;
inline constexpr int kRuc = 2;
inline constexpr int kRazonSocial = 3;
inline constexpr int kFormulario = 4;
inline constexpr int kEstado = 5;
inline constexpr int kEntidad = 6;  // the query does not fill it
inline constexpr int kSemana = 7;
inline constexpr int kPeriodo = 8;  // MMYYYY
// Registered list.
inline constexpr int kNroCheque = 9;
inline constexpr int kEfectivo = 10;
// Sent list.
inline constexpr int kNumOrden = 9;
inline constexpr int kFechaEnvio = 10;
inline constexpr int kControl = 11;
inline constexpr int kCorrel = 12;
}  // namespace columna_lista

// The grid's columns: 11 for the registered list, 13 for the sent one.
const std::vector<ColumnaGrilla>& ColumnasLista(bool enviada);

// The order a list is read in: at load by document number; after a click
// on a header, by that column (1 first column, 2 document number, 3 name;
// any other column leaves the engine's order).
inline constexpr int kOrdenDeCarga = -1;

// gSQL := the list query of the family (sent when `enviada`) in the given
// order, restricted to the declarants of gUsuario unless TipoUsuario() is
// "0". Returns the values bound to it.
std::vector<dao::Value> ArmaSqlLista(bool enviada, int columnaOrden);

// Builds the query (ArmaSqlLista) and reads its rows. Errors reach the caller.
std::vector<FilaGrilla> LeeLista(bool enviada, int columnaOrden);

// The list shows the period month first: "122007" is the period "200712".
std::string PeriodoDeLista(const std::string& mesAnio);

// Deletes the declaration of gPeriodo with this document type and number
// from the three tables of its family (gEsEnviada: HCAB, HDET and
// HF841DETDES for the correlative; otherwise CAB, DET and F841DETDES), in
// one transaction: either all three deletes take effect or none does. A
// failure rolls back and throws the engine's error.
void EliminaDeclaracion(int tipoDocumento, const std::string& numeroDocumento, const std::string& correlativo);

}  // namespace zvform
