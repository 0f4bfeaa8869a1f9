#pragma once
// The read-only model of the grid GrdDatos: the detail of affiliates as
// Get_Desafiliados reads it, 20 columns with their captions.
#include <QAbstractTableModel>
#include <vector>

#include "formulario/declaration/detalle_afiliados.h"

namespace zvdecl::ui {

class ModeloDetalle : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ModeloDetalle(std::vector<FilaAfiliado> filas, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<FilaAfiliado> filas_;
};

}  // namespace zvdecl::ui
