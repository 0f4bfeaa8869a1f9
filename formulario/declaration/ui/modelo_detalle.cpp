#include "formulario/declaration/ui/modelo_detalle.h"

namespace zvdecl::ui {

namespace {
// The amounts line up on the right, as the annex prints them.
bool EsMonto(int columna) { return columna >= 15 && columna <= 18; }
}  // namespace

ModeloDetalle::ModeloDetalle(std::vector<FilaAfiliado> filas, QObject* parent)
    : QAbstractTableModel(parent), filas_(std::move(filas)) {}

int ModeloDetalle::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloDetalle::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnasGrilla; }

QVariant ModeloDetalle::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= kColumnasGrilla) return {};
    if (role == Qt::DisplayRole)
        return QString::fromStdString(filas_[static_cast<std::size_t>(index.row())][index.column()]);
    if (role == Qt::TextAlignmentRole && EsMonto(index.column()))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant ModeloDetalle::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    if (section < 0 || section >= kColumnasGrilla) return {};
    return QString::fromUtf8(kColumnasDetalle[static_cast<std::size_t>(section)].titulo);
}

// Rows can be chosen but never edited: the form does not write through the grid.
Qt::ItemFlags ModeloDetalle::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

}  // namespace zvdecl::ui
