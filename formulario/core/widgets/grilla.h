#pragma once
// How the grids of the lists look and behave: whole rows selected one at a
// time, nothing edited in place, no sorting of their own (a header click asks
// the form), rows one line high; and the current row of any grid.
class QTableView;

namespace zvform {

void PreparaGrilla(QTableView& grilla);

// Column widths in twips, widened where a caption or a cell would be cut;
// width 0 hides the column. What is left of the grid's width goes to the
// column `elastica`; when they are wider than the grid, the columns give back
// what they have beyond their own caption and cells, `elastica` first.
void FijaAnchos(QTableView& grilla, const int* anchosTwips, int columnas, int elastica);

// For a grid whose column widths the layout fixes: a text longer than its
// column goes on over further lines, and each row is as tall as its texts
// need (never less than one line).
void FilasAlTexto(QTableView& grilla);

// The row of the current cell, -1 when there is none.
int FilaDeGrilla(const QTableView& grilla);
// Makes row `fila` current (held within the rows there are), its cell of
// column `columna` current and in view. Nothing happens in an empty grid.
void VaAFila(QTableView& grilla, int fila, int columna);

}  // namespace zvform
