#pragma once
// How the grids of the lists look and behave: whole rows selected one at a
// time, nothing edited in place, no sorting of their own (a header click asks
// the form), rows one line high; and the current row of any grid.
class QTableView;

namespace zvform {

void PreparaGrilla(QTableView& grilla);

// Column widths in twips, widened where a caption or a cell would be cut;
// width 0 hides the column. What is left of the grid's width goes to the
// column `elastica`.
void FijaAnchos(QTableView& grilla, const int* anchosTwips, int columnas, int elastica);

// The row of the current cell, -1 when there is none.
int FilaDeGrilla(const QTableView& grilla);
// Makes row `fila` current (held within the rows there are), its cell of
// column `columna` current and in view. Nothing happens in an empty grid.
void VaAFila(QTableView& grilla, int fila, int columna);

}  // namespace zvform
