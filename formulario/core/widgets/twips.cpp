#include "formulario/core/widgets/twips.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace zvform {

namespace {

constexpr double kPuntosDeLetra = 8.0;

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

QFont LetraDeFormularios() {
    QFont letra;
    letra.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    letra.setStyleHint(QFont::SansSerif);
    letra.setPointSizeF(kPuntosDeLetra);
    return letra;
}

void FijaLetraDeFormularios() {
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) QApplication::setFont(LetraDeFormularios());
}

}  // namespace zvform

namespace {
void LetraAlIniciar() { zvform::FijaLetraDeFormularios(); }
}  // namespace

// Run when the application object is created (at once when it already exists).
Q_COREAPP_STARTUP_FUNCTION(LetraAlIniciar)
