#include "platform/gui/letra.h"

#include <QApplication>
#include <QCoreApplication>

namespace zv::gui {

namespace {
constexpr double kPuntosDeLetra = 8.0;
}  // namespace

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

}  // namespace zv::gui
