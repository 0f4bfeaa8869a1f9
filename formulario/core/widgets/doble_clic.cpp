#include "formulario/core/widgets/doble_clic.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QStyleHints>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace zvform {

namespace {

bool EsFormModal(const QWidget& ventana) {
    if (!ventana.isWindow()) return false;
    const Qt::WindowType tipo = ventana.windowType();
    if (tipo == Qt::Popup || tipo == Qt::ToolTip || tipo == Qt::SplashScreen) return false;  // menus and lists
    return ventana.isModal() || ventana.windowModality() != Qt::NonModal;
}

class GuardaDobleClic : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        auto* widget = qobject_cast<QWidget*>(objeto);
        if (!widget) return false;  // a window's QWindow sees the mouse before its widgets
        switch (evento->type()) {
            case QEvent::Show: Mostrada(*widget); return false;
            case QEvent::MouseButtonPress: {
                auto& pulsacion = *static_cast<QMouseEvent*>(evento);
                retenidos_ &= ~pulsacion.button();  // a new press of the button starts anew
                return Pulsa(*widget, pulsacion);
            }
            // The second press of a double click may reach the widget as the double click alone.
            case QEvent::MouseButtonDblClick: {
                auto& pulsacion = *static_cast<QMouseEvent*>(evento);
                return Retenido(pulsacion) || Pulsa(*widget, pulsacion);
            }
            case QEvent::MouseButtonRelease: return Retenido(*static_cast<QMouseEvent*>(evento));
            default: return false;
        }
    }

private:
    void Mostrada(QWidget& ventana) {
        if (huboPulsacion_ && EsFormModal(ventana)) nuevas_.emplace_back(&ventana);
    }

    bool Pulsa(const QWidget& widget, QMouseEvent& pulsacion) {
        const QWidget* ventana = widget.window();
        const bool recien = std::any_of(nuevas_.begin(), nuevas_.end(),
                                        [ventana](const QPointer<QWidget>& v) { return v == ventana; });
        const quint64 ahora = pulsacion.timestamp();
        const quint64 intervalo = static_cast<quint64>(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const bool restoDeUnClic = recien && huboPulsacion_ && ahora >= anterior_ && ahora - anterior_ < intervalo;
        nuevas_.clear();
        anterior_ = ahora;
        huboPulsacion_ = true;
        if (!restoDeUnClic) return false;
        retenidos_ |= pulsacion.button();
        pulsacion.accept();
        return true;
    }

    // The double click and the release of a press that was dropped.
    bool Retenido(QMouseEvent& evento) {
        if (!(retenidos_ & evento.button())) return false;
        if (evento.type() == QEvent::MouseButtonRelease) retenidos_ &= ~evento.button();
        evento.accept();
        return true;
    }

    std::vector<QPointer<QWidget>> nuevas_;  // modal windows shown since the last press
    quint64 anterior_ = 0;                   // time stamp of the last press
    bool huboPulsacion_ = false;
    Qt::MouseButtons retenidos_;
};

}  // namespace

void ProtegeDelDobleClic() {
    static QPointer<GuardaDobleClic> guarda;  // a child of the application, gone with it
    QCoreApplication* aplicacion = QCoreApplication::instance();
    if (!aplicacion || guarda) return;
    guarda = new GuardaDobleClic(aplicacion);
    aplicacion->installEventFilter(guarda);
}

}  // namespace zvform
