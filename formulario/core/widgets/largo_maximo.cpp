#include "formulario/core/widgets/largo_maximo.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QValidator>
#include <algorithm>

namespace zvform {

namespace {

// The text of the box's own "Paste" menu entry: its caption ends with the
// paste shortcut after a tab.
bool EsPegarDelMenu(const QAction& accion) {
    const QString atajo = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    return !atajo.isEmpty() && accion.text().endsWith(QLatin1Char('\t') + atajo);
}

// Whatever road the user's text takes into the box, it is put in at the
// cursor (over the selection) through QLineEdit::insert, as Qt puts it, so
// undo takes it back; only the part that fits goes in. The roads Qt takes
// by itself are watched as events: typing, the paste keys, the middle
// button's paste of the X selection, the context menu's paste, a drop and
// an input method's text.
class LimiteDelUsuario : public QObject {
public:
    explicit LimiteDelUsuario(QLineEdit& caja) : QObject(&caja), caja_(caja) {}

    void FijaLargo(int largo) { largo_ = largo; }
    int Largo() const { return largo_; }
    // While the box moves its own text within itself.
    bool Moviendo() const { return moviendo_; }

    // How many characters an insert at the cursor may bring in: the
    // selection it replaces leaves room too.
    qsizetype Cabe() const {
        const qsizetype queda = caja_.text().size() - caja_.selectedText().size();
        return std::max<qsizetype>(0, largo_ - queda);
    }

    bool eventFilter(QObject* objeto, QEvent* evento) override {
        // The box is asked nothing before the event is known to be one of
        // the user's: others reach the filter while the box is destroyed.
        if (objeto != &caja_ || !DelUsuario(evento->type())) return false;
        if (largo_ <= 0 || caja_.isReadOnly()) return false;
        switch (evento->type()) {
            case QEvent::KeyPress: return Tecla(*static_cast<QKeyEvent*>(evento));
            case QEvent::MouseButtonRelease: return BotonCentral(*static_cast<QMouseEvent*>(evento));
            case QEvent::ContextMenu: return Menu(*static_cast<QContextMenuEvent*>(evento));
            case QEvent::Drop: return Suelta(*static_cast<QDropEvent*>(evento));
            case QEvent::InputMethod: return MetodoDeEntrada(*static_cast<QInputMethodEvent*>(evento));
            default: return false;
        }
    }

    // Puts in what fits of the text; when none of it fits the box is left
    // as it stood. A paste is an undo step of its own, as Qt's paste makes it.
    void Inserta(const QString& texto, bool pasoPropio) {
        if (!texto.isEmpty() && Cabe() == 0) return;
        if (pasoPropio) SeparaDeshacer();
        caja_.insert(texto.left(Cabe()));
    }

private:
    static bool DelUsuario(QEvent::Type tipo) {
        switch (tipo) {
            case QEvent::KeyPress:
            case QEvent::MouseButtonRelease:
            case QEvent::ContextMenu:
            case QEvent::Drop:
            case QEvent::InputMethod: return true;
            default: return false;
        }
    }

    bool Tecla(QKeyEvent& tecla) {
        if (tecla.matches(QKeySequence::Paste)) {
            // Ctrl+Shift+Insert pastes the X selection, as Qt has it.
            const bool seleccion = tecla.key() == Qt::Key_Insert &&
                                   tecla.modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
            Pega(seleccion ? QClipboard::Selection : QClipboard::Clipboard);
            return true;
        }
        const QString texto = tecla.text();
        if (texto.isEmpty() || !texto.at(0).isPrint() || (tecla.modifiers() & Qt::ControlModifier)) return false;
        if (texto.size() <= Cabe()) return false;  // Qt types it whole
        Inserta(texto, false);
        return true;
    }

    bool BotonCentral(const QMouseEvent& clic) {
        if (clic.button() != Qt::MiddleButton || !QApplication::clipboard()->supportsSelection()) return false;
        caja_.deselect();
        Pega(QClipboard::Selection);
        return true;
    }

    // The box's own menu, its paste kept within the limit.
    bool Menu(const QContextMenuEvent& pedido) {
        QMenu* menu = caja_.createStandardContextMenu();
        if (!menu) return false;
        menu->setAttribute(Qt::WA_DeleteOnClose);
        for (QAction* accion : menu->actions()) {
            if (!EsPegarDelMenu(*accion)) continue;
            disconnect(accion, &QAction::triggered, nullptr, nullptr);
            connect(accion, &QAction::triggered, this, [this] { Pega(QClipboard::Clipboard); });
        }
        menu->popup(pedido.globalPos());
        return true;
    }

    bool Suelta(QDropEvent& soltado) {
        if (!soltado.mimeData() || !soltado.mimeData()->hasText()) return false;
        const bool propio = soltado.source() == &caja_;
        if (propio && soltado.dropAction() == Qt::MoveAction) return MueveDentro(soltado);
        if (propio) caja_.deselect();  // a copy within the box keeps what it copies
        const QString texto = soltado.mimeData()->text();
        if (texto.size() <= Cabe()) return false;
        soltado.acceptProposedAction();
        Inserta(texto, true);  // at the cursor, which the drag has moved to the drop point
        return true;
    }

    // A move of the box's own text keeps its length, though Qt puts the
    // text in before it takes it from where it was: the box handles it freely.
    bool MueveDentro(QDropEvent& soltado) {
        moviendo_ = true;
        static_cast<QObject&>(caja_).event(&soltado);
        moviendo_ = false;
        return true;
    }

    bool MetodoDeEntrada(QInputMethodEvent& entrada) {
        const QString texto = entrada.commitString();
        const qsizetype cabe = Cabe() + std::max(0, entrada.replacementLength());
        if (texto.size() <= cabe) return false;
        entrada.setCommitString(texto.left(cabe), entrada.replacementStart(), entrada.replacementLength());
        return false;
    }

    void Pega(QClipboard::Mode modo) {
        const QString texto = QApplication::clipboard()->text(modo);
        if (texto.isEmpty() && !caja_.hasSelectedText()) return;
        Inserta(texto, true);
    }

    // Qt starts a new undo step when the cursor moves, and an insert over a
    // selection is one already: a step there and back ends the typing just
    // before, so undo takes the insert back alone.
    void SeparaDeshacer() {
        if (caja_.hasSelectedText() || caja_.text().isEmpty()) return;
        const int cursor = caja_.cursorPosition();
        caja_.setCursorPosition(cursor > 0 ? cursor - 1 : cursor + 1);
        caja_.setCursorPosition(cursor);
    }

    QLineEdit& caja_;
    int largo_ = 0;
    bool moviendo_ = false;
};

// The last guard, for a road no event shows (a call of QLineEdit::paste,
// an insert on behalf of a key): an edit of the user that would leave the
// text longer than the limit, and longer than it was, is refused; the
// program's own texts always pass.
class TopeDelUsuario : public QValidator {
public:
    TopeDelUsuario(QLineEdit& caja, const LimiteDelUsuario& limite)
        : QValidator(&caja), caja_(caja), limite_(limite), largoAnterior_(caja.text().size()) {
        connect(&caja, &QLineEdit::textChanged, this, [this](const QString& texto) { largoAnterior_ = texto.size(); });
    }

    State validate(QString& texto, int& /*posicion*/) const override {
        const int largo = limite_.Largo();
        if (largo <= 0 || texto.size() <= largo || texto.size() <= largoAnterior_ || limite_.Moviendo())
            return Acceptable;
        return EsDelUsuario() ? Invalid : Acceptable;
    }

private:
    // A text set by the program starts a new undo history before the box
    // checks it; an edit of the user is always the last step of that history.
    bool EsDelUsuario() const { return caja_.isUndoAvailable(); }

    QLineEdit& caja_;
    const LimiteDelUsuario& limite_;
    qsizetype largoAnterior_;
};

LimiteDelUsuario* LimiteDe(const QLineEdit& caja) {
    for (QObject* hijo : caja.children())
        if (auto* limite = dynamic_cast<LimiteDelUsuario*>(hijo)) return limite;
    return nullptr;
}

}  // namespace

void FijaLargoMaximo(QLineEdit& caja, int largo) {
    LimiteDelUsuario* limite = LimiteDe(caja);
    if (!limite) {
        limite = new LimiteDelUsuario(caja);
        caja.installEventFilter(limite);
        caja.setValidator(new TopeDelUsuario(caja, *limite));
    }
    limite->FijaLargo(largo);
}

int LargoMaximo(const QLineEdit& caja) {
    const LimiteDelUsuario* limite = LimiteDe(caja);
    return limite ? limite->Largo() : 0;
}

}  // namespace zvform
