#pragma once
// The drive list of the import form: a combo box of the drives, read again
// each time it drops down so that a medium plugged in meanwhile shows up.
#include <QComboBox>
#include <vector>

#include "formulario/import/unidades.h"

namespace zvimport::ui {

class ListaUnidades : public QComboBox {
    Q_OBJECT
public:
    explicit ListaUnidades(QWidget* parent = nullptr);

    // Reads the drives again, keeping the chosen one when it is still there
    // (emitting no change); when it is gone, the first drive is chosen and
    // the change is emitted.
    void Refresca();
    const std::vector<Unidad>& Unidades() const { return unidades_; }
    // The chosen drive; nullptr when the list is empty.
    const Unidad* Actual() const;
    // Chooses the drive at `indice` without running the change handler.
    void EligeSinAviso(int indice);

    void showPopup() override;

private:
    std::vector<Unidad> unidades_;
};

}  // namespace zvimport::ui
