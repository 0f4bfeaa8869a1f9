#pragma once
// A thin table model for the list grids: the columns' captions and the
// rows of texts read from one query. It holds only what the query gave.
#include <QAbstractTableModel>
#include <vector>

#include "formulario/declaration/grilla_consulta.h"

namespace zvform::ui {

class ModeloGrilla : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloGrilla(QObject* parent = nullptr);

    // Replaces columns and rows at once.
    void Carga(const std::vector<ColumnaGrilla>& columnas, std::vector<FilaGrilla> filas);
    void FijaAlineacion(int columna, Qt::Alignment alineacion);
    // Text of a cell; "" outside the rows or columns.
    QString Celda(int fila, int columna) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<ColumnaGrilla> columnas_;
    std::vector<FilaGrilla> filas_;
    std::vector<Qt::Alignment> alineaciones_;
};

}  // namespace zvform::ui
