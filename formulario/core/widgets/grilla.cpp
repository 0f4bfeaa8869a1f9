#include "formulario/core/widgets/grilla.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>

#include "formulario/core/widgets/twips.h"

namespace zvform {

void PreparaGrilla(QTableView& grilla) {
    grilla.setSelectionBehavior(QAbstractItemView::SelectRows);
    grilla.setSelectionMode(QAbstractItemView::SingleSelection);
    grilla.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilla.setSortingEnabled(false);
    grilla.setTabKeyNavigation(false);
    grilla.setWordWrap(false);
    grilla.verticalHeader()->setVisible(false);
    grilla.verticalHeader()->setDefaultSectionSize(TwipsY(255, &grilla));
    grilla.horizontalHeader()->setSectionsClickable(true);
    grilla.horizontalHeader()->setHighlightSections(false);
}

void FijaAnchos(QTableView& grilla, const int* anchosTwips, int columnas, int elastica) {
    QHeaderView* cabecera = grilla.horizontalHeader();
    int total = 0;
    for (int c = 0; c < columnas; ++c) {
        grilla.setColumnHidden(c, anchosTwips[c] == 0);
        if (anchosTwips[c] == 0) continue;
        const int celdas = static_cast<const QAbstractItemView&>(grilla).sizeHintForColumn(c);
        const int ancho = std::max({TwipsX(anchosTwips[c], &grilla), cabecera->sectionSizeHint(c), celdas});
        cabecera->resizeSection(c, ancho);
        total += ancho;
    }
    const int barra = grilla.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grilla);
    const int libre = grilla.width() - 2 * grilla.frameWidth() - barra - total;
    if (libre > 0 && elastica >= 0 && elastica < columnas && anchosTwips[elastica] > 0)
        cabecera->resizeSection(elastica, cabecera->sectionSize(elastica) + libre);
}

int FilaDeGrilla(const QTableView& grilla) {
    const QModelIndex actual = grilla.currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

void VaAFila(QTableView& grilla, int fila, int columna) {
    const QAbstractItemModel* modelo = grilla.model();
    const int filas = modelo ? modelo->rowCount() : 0;
    if (filas == 0) return;
    const QModelIndex indice = modelo->index(std::clamp(fila, 0, filas - 1), columna);
    grilla.setCurrentIndex(indice);
    grilla.scrollTo(indice);
}

}  // namespace zvform
