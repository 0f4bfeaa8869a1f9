#include "formulario/reports/ui/dibujo_spool.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <limits>

#include "formulario/core/widgets/twips.h"

namespace zvform::ui {

namespace {

// A size beyond the writers' 8 to 16 points only comes from a damaged file;
// a glyph of thousands of points would cost far more than the page itself.
constexpr int kTamanoMinimo = 1;
constexpr int kTamanoMaximo = 144;
// No text of a page reaches past this many characters: 16000 twips at the
// narrowest character there is, starting as far left as a position goes.
constexpr qsizetype kCaracteresMaximos = 4096;
constexpr int kPasoVertical = 190;

QString Texto(std::string_view texto) {
    return QString::fromUtf8(texto.data(), static_cast<qsizetype>(std::min<std::size_t>(texto.size(), kCaracteresMaximos * 4)))
        .left(kCaracteresMaximos);
}

}  // namespace

QColor ColorDeFondo(std::uint32_t color) {
    if (color & kColorSistema) {
        QPalette paleta = QGuiApplication::palette();
        switch (color & 0xFF) {
            case 15: return paleta.color(QPalette::Button);      // button face
            case 8: return paleta.color(QPalette::WindowText);   // window text
            default: return paleta.color(QPalette::Base);        // 5, the window background
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

DibujoSpool::DibujoSpool(QPainter& painter, double puntosX, double puntosY)
    : painter_(painter), puntosX_(puntosX), puntosY_(puntosY) {
    // Texts and rules in black, whatever colours the device starts with (a
    // widget takes its parent's foreground).
    painter_.setPen(QPen(Qt::black, 0));
}

double DibujoSpool::X(int twips) const { return TwipsAPixeles(twips, puntosX_); }
double DibujoSpool::Y(int twips) const { return TwipsAPixeles(twips, puntosY_); }

const DibujoSpool::Fuente& DibujoSpool::FuenteDe(int tamano, bool negrita) {
    tamano = std::clamp(tamano, kTamanoMinimo, kTamanoMaximo);
    if (actual_ && actual_->tamano == tamano && actual_->negrita == negrita) return *actual_;
    auto it = std::find_if(fuentes_.begin(), fuentes_.end(),
                           [&](const Fuente& f) { return f.tamano == tamano && f.negrita == negrita; });
    if (it == fuentes_.end()) {
        QFont fuente(QStringLiteral("Courier New"));
        fuente.setStyleHint(QFont::TypeWriter);
        fuente.setPointSize(tamano);
        fuente.setBold(negrita);
        QFontMetricsF medidas(fuente, painter_.device());
        fuentes_.push_back({tamano, negrita, fuente, medidas.ascent()});
        it = std::prev(fuentes_.end());
    }
    actual_ = &*it;
    return *actual_;
}

void DibujoSpool::pPos(int x, int y, std::string_view texto, bool negrita, int tamano) {
    const Fuente& f = FuenteDe(tamano, negrita);
    painter_.setFont(f.fuente);
    painter_.drawText(QPointF(X(x), Y(y) + f.ascenso), Texto(texto));
}

void DibujoSpool::pPosVerti(int x, int y, std::string_view texto, bool negrita, int tamano) {
    const Fuente& f = FuenteDe(tamano, negrita);
    painter_.setFont(f.fuente);
    const QString caracteres = Texto(texto);
    int fila = y;
    for (qsizetype i = 0; i < caracteres.size(); ++i) {
        painter_.drawText(QPointF(X(x), Y(fila) + f.ascenso), caracteres.mid(i, 1));
        // The positions are 16-bit: the characters end where they would run past.
        if (fila > std::numeric_limits<std::int16_t>::max() - kPasoVertical) break;
        fila += kPasoVertical;
    }
}

void DibujoSpool::pCuadro(int x1, int y1, int x2, int y2) {
    // The pen is the one set at the start: one device pixel, whatever the resolution.
    const double l = X(x1), t = Y(y1), r = X(x2), b = Y(y2);
    painter_.drawLine(QPointF(l, t), QPointF(l, b));
    painter_.drawLine(QPointF(r, t), QPointF(r, b));
    painter_.drawLine(QPointF(l, t), QPointF(r, t));
    painter_.drawLine(QPointF(l, b), QPointF(r, b));
}

void DibujoSpool::Dibuja(const Trazo& t, std::string_view texto) {
    switch (t.tipo) {
        case Trazo::Tipo::Texto: pPos(t.x, t.y, texto, t.negrita, t.tamano); break;
        case Trazo::Tipo::TextoVertical: pPosVerti(t.x, t.y, texto, t.negrita, t.tamano); break;
        case Trazo::Tipo::Cuadro: pCuadro(t.x, t.y, t.x2, t.y2); break;
    }
}

void DibujoSpool::DibujaPagina(const PaginaPrevia& pagina) {
    for (const Trazo& t : pagina.trazos) Dibuja(t, pagina.TextoDe(t));
}

}  // namespace zvform::ui
