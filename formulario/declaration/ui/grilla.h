#pragma once
// How the list grids look and behave: whole rows selected one at a time,
// nothing edited in place, no sorting of their own (a header click asks the
// form), rows one line high.
class QTableView;

namespace zvform::ui {

void PreparaGrilla(QTableView& grilla);

// Column widths in twips, widened where a caption or a cell would be cut;
// width 0 hides the column. What is left of the grid's width goes to the
// column `elastica`.
void FijaAnchos(QTableView& grilla, const int* anchosTwips, int columnas, int elastica);

}  // namespace zvform::ui
