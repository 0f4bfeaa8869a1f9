#include "formulario/core/widgets/twips.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

#include "platform/gui/letra.h"

namespace zvform {

namespace {

const QScreen* PantallaDe(const QWidget* widget) {
    if (widget && widget->screen()) return widget->screen();
    return QGuiApplication::primaryScreen();
}

}  // namespace

int TwipsAPixeles(int twips, double puntosPorPulgada) {
    return static_cast<int>(std::lround(twips * puntosPorPulgada / kTwipsPorPulgada));
}

int TwipsX(int twips, const QWidget* widget) {
    const QScreen* pantalla = PantallaDe(widget);
    return TwipsAPixeles(twips, pantalla ? pantalla->logicalDotsPerInchX() : 96.0);
}

int TwipsY(int twips, const QWidget* widget) {
    const QScreen* pantalla = PantallaDe(widget);
    return TwipsAPixeles(twips, pantalla ? pantalla->logicalDotsPerInchY() : 96.0);
}

QRect RectTwips(int izquierda, int arriba, int ancho, int alto, const QWidget* widget) {
    return {TwipsX(izquierda, widget), TwipsY(arriba, widget), TwipsX(ancho, widget), TwipsY(alto, widget)};
}

void UbicaTwips(QWidget& widget, int izquierda, int arriba, int ancho, int alto) {
    widget.setGeometry(RectTwips(izquierda, arriba, ancho, alto, &widget));
}

}  // namespace zvform

namespace {
void LetraAlIniciar() { zv::gui::FijaLetraDeFormularios(); }
}  // namespace

// Run when the application object is created (at once when it already exists).
Q_COREAPP_STARTUP_FUNCTION(LetraAlIniciar)
