// The key and mouse rules of the declaration form's boxes. A box takes
// digits only and Enter moves on as Tab does; nothing can be pasted into
// the boxes, yet the user's clipboard keeps what it holds.
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>

#include "formulario/core/utilitarios.h"
#include "formulario/core/widgets/largo_maximo.h"
#include "formulario/core/widgets/ventanas.h"
#include "formulario/declaration/ui/caja_periodo.h"
#include "formulario/declaration/ui/frm841.h"

namespace zvdecl::ui {

namespace {

constexpr int kRetroceso = 8;

bool EsEnter(const QKeyEvent& tecla) { return tecla.key() == Qt::Key_Return || tecla.key() == Qt::Key_Enter; }

// Every way a key pastes: Ctrl+V, Shift+Insert, and the context-menu key.
bool Pega(const QKeyEvent& tecla) {
    return tecla.matches(QKeySequence::Paste) || tecla.key() == Qt::Key_Menu ||
           (tecla.key() == Qt::Key_Insert && (tecla.modifiers() & Qt::ShiftModifier));
}

// Delete types no character, though X gives its key the text U+007F.
bool Suprime(const QKeyEvent& tecla) { return tecla.key() == Qt::Key_Delete; }

// The character code of a key that types one (Backspace is 8); 0 for
// keys that type nothing (arrows, Delete, Tab).
int Codigo(const QKeyEvent& tecla) {
    if (tecla.key() == Qt::Key_Backspace) return kRetroceso;
    if (Suprime(tecla)) return 0;
    const QString texto = tecla.text();
    if (texto.size() != 1) return 0;
    const ushort u = texto.at(0).unicode();
    return u == '\t' ? 0 : u;
}

}  // namespace

// No context menu, no middle-button paste and no drop: the keys below are
// then the only way in.
void Frm841::ProtegeDePegado(QLineEdit& caja) {
    caja.setContextMenuPolicy(Qt::NoContextMenu);
    caja.setAcceptDrops(false);
}

bool Frm841::EsCajaConFiltro(QObject* objeto) const {
    if (objeto == MkePeriodo_) return true;
    for (const auto& [casilla, caja] : TxtValor_)
        if (objeto == caja) return true;
    return false;
}

bool Frm841::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == SSTab1_->tabBar() && evento->type() == QEvent::FocusIn) {
        // A click gives the focus before it changes the tab; the old tab
        // control changed the tab first, so the check runs once the click is done.
        QTimer::singleShot(0, this, &Frm841::SSTab1_GotFocus);
        return false;
    }
    auto* caja = qobject_cast<QLineEdit*>(objeto);
    if (!caja) return QDialog::eventFilter(objeto, evento);
    if ((evento->type() == QEvent::MouseButtonPress || evento->type() == QEvent::MouseButtonRelease) &&
        static_cast<QMouseEvent*>(evento)->button() == Qt::MiddleButton)
        return true;  // the selection of X would be pasted
    const bool esCasilla = EsCajaConFiltro(objeto) && objeto != MkePeriodo_;
    if (esCasilla && evento->type() == QEvent::FocusIn) zvform::FijaLargoMaximo(*caja, kLargoCasillaConFoco);
    if (esCasilla && evento->type() == QEvent::FocusOut) zvform::FijaLargoMaximo(*caja, kLargoCasillaSinFoco);
    if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
    auto& tecla = *static_cast<QKeyEvent*>(evento);
    if (EsCajaConFiltro(objeto)) return TeclaCaja(tecla);
    if (caja == TxtNumOrdenE_[0] || caja == TxtNumOrdenE_[1]) return TeclaNumeroOrden(*caja, tecla);
    return QDialog::eventFilter(objeto, evento);
}

// TxtValor and MkePeriodo: true when the key is discarded.
bool Frm841::TeclaCaja(QKeyEvent& tecla) {
    if (Pega(tecla)) return true;
    if (Suprime(tecla)) {
        modificado_ = true;  // it changes the amount as Backspace does
        return false;
    }
    const int codigo = EsEnter(tecla) ? 13 : Codigo(tecla);
    if (codigo == 0) return false;
    modificado_ = true;
    if (codigo == 13) {
        zvform::PasaTab("TAB");
        return true;
    }
    if (codigo == kRetroceso) return false;
    // A digit goes in as far as the box's length allows.
    return codigo < '0' || codigo > '9';
}

// TxtNumOrdenE: Enter moves on; every other key passes through the
// utility object's key filter, whose answer replaces it (0 discards it).
bool Frm841::TeclaNumeroOrden(QLineEdit& caja, QKeyEvent& tecla) {
    if (tecla.key() == Qt::Key_Insert && (tecla.modifiers() & Qt::ShiftModifier)) return true;
    if (tecla.matches(QKeySequence::Paste)) return true;
    if (EsEnter(tecla)) {
        zvform::PasaTab("TAB");
        return true;
    }
    const int codigo = Codigo(tecla);
    if (codigo == 0) return false;
    const int filtrada = zvform::Util().FiltraTecla(codigo, 0, 0, 0);
    if (filtrada == 0) return true;
    if (filtrada == codigo) return false;
    caja.insert(QString(QChar(filtrada)));
    return true;
}

}  // namespace zvdecl::ui
