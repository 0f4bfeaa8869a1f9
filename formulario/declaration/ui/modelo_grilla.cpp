#include "formulario/declaration/ui/modelo_grilla.h"

namespace zvform::ui {

ModeloGrilla::ModeloGrilla(QObject* parent) : QAbstractTableModel(parent) {}

void ModeloGrilla::Carga(const std::vector<ColumnaGrilla>& columnas, std::vector<FilaGrilla> filas) {
    beginResetModel();
    columnas_ = columnas;
    filas_ = std::move(filas);
    alineaciones_.resize(columnas_.size(), Qt::AlignLeft | Qt::AlignVCenter);
    endResetModel();
}

void ModeloGrilla::FijaAlineacion(int columna, Qt::Alignment alineacion) {
    if (columna < 0) return;
    if (static_cast<std::size_t>(columna) >= alineaciones_.size())
        alineaciones_.resize(columna + 1, Qt::AlignLeft | Qt::AlignVCenter);
    alineaciones_[columna] = alineacion;
}

QString ModeloGrilla::Celda(int fila, int columna) const {
    if (fila < 0 || columna < 0 || static_cast<std::size_t>(fila) >= filas_.size()) return {};
    const FilaGrilla& f = filas_[fila];
    if (static_cast<std::size_t>(columna) >= f.size()) return {};
    return QString::fromStdString(f[columna]);
}

int ModeloGrilla::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloGrilla::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columnas_.size());
}

QVariant ModeloGrilla::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole) return Celda(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && static_cast<std::size_t>(index.column()) < alineaciones_.size())
        return static_cast<int>(alineaciones_[index.column()]);
    return {};
}

QVariant ModeloGrilla::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return QAbstractTableModel::headerData(section, orientation, role);
    if (section < 0 || static_cast<std::size_t>(section) >= columnas_.size()) return {};
    return QString::fromStdString(columnas_[section].titulo);
}

}  // namespace zvform::ui
