#include "formulario/import/ui/lista_unidades.h"

#include <QSignalBlocker>

namespace zvimport::ui {

ListaUnidades::ListaUnidades(QWidget* parent) : QComboBox(parent) {}

void ListaUnidades::Refresca() {
    const Unidad* actual = Actual();
    const bool habia = actual != nullptr;
    const std::string raizActual = habia ? actual->raiz : std::string();
    int elegida = -1;
    {
        QSignalBlocker bloqueo(this);
        unidades_ = LeeUnidades();
        clear();
        for (std::size_t i = 0; i < unidades_.size(); ++i) {
            addItem(QString::fromStdString(TextoUnidad(unidades_[i])));
            if (unidades_[i].raiz == raizActual) elegida = static_cast<int>(i);
        }
        if (elegida >= 0 || !habia) {
            setCurrentIndex(elegida >= 0 ? elegida : (unidades_.empty() ? -1 : 0));
            return;
        }
        setCurrentIndex(-1);  // the items added chose the first one already, silently
    }
    // The drive in use went away: the first one takes its place as if the
    // user had chosen it, so that the folder list follows and both agree
    // (and choosing that drive later is not a choice of the same item).
    if (!unidades_.empty()) setCurrentIndex(0);
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
