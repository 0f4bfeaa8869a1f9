#pragma once
// The annex "DETALLE DE AFILIADOS": one fixed-width line per affiliate detail
// row of the declaration, on landscape pages, with the count and the totals.
// Inputs of Estado: gRuc, gRazonSocial, gPeriodo, gCorrel, gEsEnviada,
// gValoresCasilla[28], gBase.
//
// Rows come in the order of the table's primary key (employer's RUC, document
// type, document number, accrual month) and are read one at a time: memory
// does not grow with the number of affiliates.
#include <string>
#include <vector>

#include "platform/dao/value.h"

namespace dao {
class Recordset;
}

namespace zvform {

// Writes the annex; its first page is the page after the run's counter
// (0 when the annex stands alone, 1 after the form report).
// The report run calls it with "F841DETDES", "DETALLE DE AFILIADOS", "DA", true.
void ReporteDetalle(const std::string& tabla, const std::string& titulo, const std::string& tipo, bool bandera);

// Puts the annex's query into gSQL and returns its parameters. For a sent
// declaration the table is HF841DETDES and only the rows of gCorrel.
std::vector<dao::Value> ConsultaDetalle(const std::string& tabla);

// A page heading: advances the page counter into `pagina` (and gPaginasAnexo).
void CabeceraDetalle(int& pagina, int& margen, const std::string& titulo);
// The detail line of the recordset's current row (into gLinea), written at
// (300, y) on `pagina`.
void LineaDetalle(const dao::Recordset& fila, int pagina, int y);
// The two column headings at y and y + 270; leaves y 270 lower.
void TituloDetalle(int pagina, int& y);

}  // namespace zvform
