#include "formulario/import/ui/lista_unidades.h"

#include <QSignalBlocker>

namespace zvimport::ui {

ListaUnidades::ListaUnidades(QWidget* parent) : QComboBox(parent) {}

void ListaUnidades::Refresca() {
    const Unidad* actual = Actual();
    const std::string raizActual = actual ? actual->raiz : std::string();
    QSignalBlocker bloqueo(this);
    unidades_ = LeeUnidades();
    clear();
    int elegida = -1;
    for (std::size_t i = 0; i < unidades_.size(); ++i) {
        addItem(QString::fromStdString(TextoUnidad(unidades_[i])));
        if (unidades_[i].raiz == raizActual) elegida = static_cast<int>(i);
    }
    setCurrentIndex(elegida >= 0 ? elegida : (unidades_.empty() ? -1 : 0));
}

const Unidad* ListaUnidades::Actual() const {
    const int i = currentIndex();
    return i >= 0 && i < static_cast<int>(unidades_.size()) ? &unidades_[i] : nullptr;
}

void ListaUnidades::EligeSinAviso(int indice) {
    QSignalBlocker bloqueo(this);
    setCurrentIndex(indice);
}

void ListaUnidades::showPopup() {
    Refresca();
    QComboBox::showPopup();
}

}  // namespace zvimport::ui
