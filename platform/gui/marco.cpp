#include "platform/gui/marco.h"

#include <QApplication>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace zv::gui {

namespace {

// Windows with a frame and a title bar; menus, tool tips and drop-down
// lists place themselves by their own edges, which are their frames.
bool Enmarcada(const QWidget& w) {
    const Qt::WindowType tipo = w.windowType();
    return w.isWindow() && (tipo == Qt::Window || tipo == Qt::Dialog) && !w.testAttribute(Qt::WA_DontShowOnScreen);
}

class PorSuMarco : public QObject {
public:
    using QObject::QObject;

protected:
    // Show comes before the window is mapped and before a dialog centres
    // itself: the position taken from here on (this one, or the dialog's
    // centre) is the frame's.
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::Show) return false;
        auto* ventana = qobject_cast<QWidget*>(objeto);
        if (!ventana || !Enmarcada(*ventana)) return false;
        if (QWindow* nativa = ventana->windowHandle()) nativa->setFramePosition(ventana->pos());
        return false;
    }
};

}  // namespace

void PlaceWindowsByTheirFrame() {
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (!app) return;
    static QPointer<PorSuMarco> instalado;  // clears itself when its application goes
    if (instalado) return;
    instalado = new PorSuMarco(app);  // the application owns it
    app->installEventFilter(instalado);
}

}  // namespace zv::gui
