#include "formulario/core/widgets/ventanas.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace zvform {

void CentrarForm(QWidget& form, const QWidget& principal) {
    QRect marco = principal.frameGeometry();
    QSize tamano = form.frameGeometry().size();
    int left = marco.x() + (marco.width() - tamano.width()) / 2;
    int top = marco.y() + (marco.height() - tamano.height()) / 2;
    form.move(left, top);
}

void PasaTab(std::string_view texto) {
    if (texto != "TAB") return;
    QWidget* activo = QApplication::focusWidget();
    if (!activo) return;
    QKeyEvent pulsa(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(activo, &pulsa);
}

int AnchoParaTitulo(const QWidget& ventana) {
    constexpr int kBotonesDeTitulo = 4;  // the window menu, minimise, maximise and close
    QFont letra = QApplication::font();
    letra.setBold(true);
    letra.setPointSizeF(letra.pointSizeF() * 1.5);
    const int boton = ventana.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &ventana);
    return QFontMetrics(letra).horizontalAdvance(ventana.windowTitle()) + kBotonesDeTitulo * boton;
}

int AnchoCaracter(const QWidget& /*form*/) {
    static const QString kLetras = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    QFontMetrics medidas(QApplication::font());
    return medidas.horizontalAdvance(kLetras) / 52;
}

int FijaAnchoCombo(const QWidget& form, QComboBox& combo, int largo) {
    int ancho = std::max(0, AnchoCaracter(form) * (largo - 2));
    combo.view()->setMinimumWidth(ancho);
    return ancho;
}

int AjustaAnchoCombo(const QWidget& form, QComboBox& combo) {
    int largo = 0;
    for (int i = 0; i < combo.count(); ++i) largo = std::max(largo, static_cast<int>(combo.itemText(i).size()));
    return FijaAnchoCombo(form, combo, largo);
}

}  // namespace zvform
