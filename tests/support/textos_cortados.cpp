#include "tests/support/textos_cortados.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTabBar>

namespace zvtest {

namespace {

// Hidden on its own or inside a hidden control; a tab page that is not
// current is hidden by its tab control only, and counts as shown.
bool Mostrado(const QWidget& control, const QWidget& formulario) {
    for (const QWidget* w = &control; w && w != &formulario; w = w->parentWidget())
        if (w->isHidden() && !qobject_cast<const QStackedWidget*>(w->parentWidget())) return false;
    return true;
}

// The text as drawn: "&&" is one "&", a single "&" marks the access key.
QString SinAcceso(QString texto) {
    texto.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    texto.remove(QLatin1Char('&'));
    texto.replace(QStringLiteral("\x01"), QStringLiteral("&"));
    return texto;
}

QString Nombre(const QWidget& w) {
    return w.objectName().isEmpty() ? QString::fromLatin1(w.metaObject()->className()) : w.objectName();
}

bool EtiquetaCorta(const QLabel& l) {
    if (l.text().isEmpty() || l.textFormat() == Qt::RichText) return false;
    if (l.wordWrap()) return l.heightForWidth(l.width()) > l.height();
    const QString texto = l.buddy() ? SinAcceso(l.text()) : l.text();
    const QSize necesita = l.fontMetrics().size(0, texto);
    const QRect lugar = l.contentsRect().adjusted(l.margin(), l.margin(), -l.margin(), -l.margin());
    return necesita.width() > lugar.width() || necesita.height() > lugar.height();
}

bool BotonCorta(const QAbstractButton& b) {
    if (b.text().isEmpty()) return false;
    const auto* boton = qobject_cast<const QPushButton*>(&b);
    if (!boton) return b.sizeHint().width() > b.width();
    // The room the style draws a caption in: the button less its frame (and
    // the default indicator, where the style draws one).
    QStyleOptionButton opcion;
    opcion.initFrom(boton);
    opcion.text = boton->text();
    if (boton->autoDefault()) opcion.features |= QStyleOptionButton::AutoDefaultButton;
    if (boton->isDefault()) opcion.features |= QStyleOptionButton::DefaultButton;
    const QRect lugar = b.style()->subElementRect(QStyle::SE_PushButtonContents, &opcion, boton);
    const QFontMetrics medidas = b.fontMetrics();
    return medidas.horizontalAdvance(SinAcceso(b.text())) > lugar.width() || medidas.height() > lugar.height();
}

bool MarcoCorta(const QGroupBox& g) {
    if (g.title().isEmpty()) return false;
    return g.fontMetrics().horizontalAdvance(SinAcceso(g.title())) + 2 * g.fontMetrics().averageCharWidth() >
           g.width();
}

}  // namespace

QStringList TextosCortados(const QWidget& formulario) {
    QStringList cortados;
    for (const QWidget* w : formulario.findChildren<QWidget*>()) {
        if (!Mostrado(*w, formulario)) continue;
        QString texto;
        if (auto* l = qobject_cast<const QLabel*>(w); l && EtiquetaCorta(*l)) texto = l->text();
        else if (auto* b = qobject_cast<const QAbstractButton*>(w); b && BotonCorta(*b)) texto = b->text();
        else if (auto* g = qobject_cast<const QGroupBox*>(w); g && MarcoCorta(*g)) texto = g->title();
        else if (auto* t = qobject_cast<const QTabBar*>(w)) {
            const int relleno = t->style()->pixelMetric(QStyle::PM_TabBarTabHSpace, nullptr, t);
            for (int i = 0; i < t->count(); ++i)
                if (t->fontMetrics().horizontalAdvance(SinAcceso(t->tabText(i))) + relleno > t->tabRect(i).width())
                    texto += t->tabText(i) + " ";
        }
        if (!texto.isEmpty()) cortados << Nombre(*w) + ": " + texto;
    }
    return cortados;
}

}  // namespace zvtest
