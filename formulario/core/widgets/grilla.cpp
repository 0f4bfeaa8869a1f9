#include "formulario/core/widgets/grilla.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QTableView>
#include <algorithm>
#include <vector>

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

namespace {

// The width a column needs for its caption and its widest cell.
int AnchoNecesario(const QTableView& grilla, int columna) {
    return std::max(grilla.horizontalHeader()->sectionSizeHint(columna),
                    static_cast<const QAbstractItemView&>(grilla).sizeHintForColumn(columna));
}

}  // namespace

void FijaAnchos(QTableView& grilla, const int* anchosTwips, int columnas, int elastica) {
    QHeaderView* cabecera = grilla.horizontalHeader();
    std::vector<int> necesario(columnas, 0), ancho(columnas, 0);
    int total = 0;
    for (int c = 0; c < columnas; ++c) {
        grilla.setColumnHidden(c, anchosTwips[c] == 0);
        if (anchosTwips[c] == 0) continue;
        necesario[c] = AnchoNecesario(grilla, c);
        ancho[c] = std::max(TwipsX(anchosTwips[c], &grilla), necesario[c]);
        total += ancho[c];
    }
    const int barra = grilla.style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, &grilla);
    const int libre = grilla.width() - 2 * grilla.frameWidth() - barra - total;
    const bool hayElastica = elastica >= 0 && elastica < columnas && anchosTwips[elastica] > 0;
    if (libre > 0 && hayElastica) ancho[elastica] += libre;
    // Too wide for the grid: the columns give back what they have beyond
    // their caption and cells, the elastic one first.
    int exceso = -libre;
    for (int paso = 0; exceso > 0 && paso <= columnas; ++paso) {
        const int c = paso == 0 ? elastica : paso - 1;
        if (c < 0 || c >= columnas || (paso > 0 && c == elastica)) continue;
        const int cede = std::min(exceso, ancho[c] - necesario[c]);
        ancho[c] -= cede;
        exceso -= cede;
    }
    for (int c = 0; c < columnas; ++c)
        if (anchosTwips[c] != 0) cabecera->resizeSection(c, ancho[c]);
}

void FilasAlTexto(QTableView& grilla) {
    grilla.setWordWrap(true);
    QHeaderView* filas = grilla.verticalHeader();
    const int minimo = filas->defaultSectionSize();
    for (int f = 0; f < filas->count(); ++f)
        filas->resizeSection(f, std::max(minimo, static_cast<const QAbstractItemView&>(grilla).sizeHintForRow(f)));
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
