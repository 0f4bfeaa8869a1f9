#include "platform/gui/marco.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QPointer>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

namespace zv::gui {

namespace {

// Windows with a frame and a title bar; menus, tool tips and drop-down
// lists place themselves by their own edges, which are their frames.
bool Enmarcada(const QWidget& w) {
    const Qt::WindowType tipo = w.windowType();
    return w.isWindow() && (tipo == Qt::Window || tipo == Qt::Dialog) && !w.testAttribute(Qt::WA_DontShowOnScreen);
}

// Where a dialog given no place goes: centred over its owner (over the
// screen without one) and kept inside the screen's free area, worked out
// for its frame, whose margins are taken to be its owner's until the
// manager has framed it. Qt's own centring does the same sums but then
// places the client area there, its title bar 21 pixels higher.
QPoint CentroPorMarco(const QWidget& dialogo) {
    const QWidget* dueno = dialogo.parentWidget() ? dialogo.parentWidget()->window() : nullptr;
    if (dueno && !dueno->isVisible()) dueno = nullptr;
    const QScreen* pantalla = dueno ? dueno->screen() : dialogo.screen();
    if (!pantalla) return dialogo.pos();
    const QRect area = pantalla->availableGeometry();
    const QSize borde = dueno ? dueno->frameGeometry().size() - dueno->size() : QSize(0, 0);
    const QSize marco = dialogo.size() + borde;
    const QRect sobre = dueno ? dueno->frameGeometry() : area;
    const int x = sobre.x() + (sobre.width() - marco.width()) / 2;
    const int y = sobre.y() + (sobre.height() - marco.height()) / 2;
    return {std::max(area.left(), std::min(x, area.right() + 1 - marco.width())),
            std::max(area.top(), std::min(y, area.bottom() + 1 - marco.height()))};
}

class PorSuMarco : public QObject {
public:
    using QObject::QObject;

protected:
    // Show comes before the window is mapped and before a dialog centres
    // itself (a dialog placed here is not centred again by Qt).
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() != QEvent::Show) return false;
        auto* ventana = qobject_cast<QWidget*>(objeto);
        if (!ventana || !Enmarcada(*ventana)) return false;
        if (qobject_cast<QDialog*>(ventana) && !ventana->testAttribute(Qt::WA_Moved))
            ventana->move(CentroPorMarco(*ventana));
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
