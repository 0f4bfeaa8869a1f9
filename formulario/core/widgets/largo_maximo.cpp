#include "formulario/core/widgets/largo_maximo.h"

#include <QLineEdit>
#include <QValidator>
#include <algorithm>

namespace zvform {

namespace {

// The validator sees every change of the box before it is shown: the
// program's own texts pass, the user's edits are kept within the limit.
class LimiteDelUsuario : public QValidator {
public:
    explicit LimiteDelUsuario(QLineEdit& caja) : QValidator(&caja), caja_(caja), anterior_(caja.text()) {
        connect(&caja, &QLineEdit::textChanged, this, [this](const QString& texto) { anterior_ = texto; });
    }

    void FijaLargo(int largo) { largo_ = largo; }
    int Largo() const { return largo_; }

    State validate(QString& texto, int& posicion) const override {
        if (largo_ <= 0 || texto.size() <= largo_ || !EsDelUsuario()) return Acceptable;
        // The edit replaced the middle of the text before it: what both
        // share at the start and at the end stays, the rest was entered.
        const qsizetype comun = std::min(texto.size(), anterior_.size());
        qsizetype inicio = 0;
        while (inicio < comun && texto[inicio] == anterior_[inicio]) ++inicio;
        qsizetype fin = 0;
        while (fin < comun - inicio && texto[texto.size() - 1 - fin] == anterior_[anterior_.size() - 1 - fin]) ++fin;
        const qsizetype entrado = texto.size() - inicio - fin;
        if (entrado == 0) return Acceptable;  // only deleted
        const qsizetype cabe = largo_ - (inicio + fin);
        if (cabe <= 0) return Invalid;  // the box gives the edit up, as it stood before
        if (cabe >= entrado) return Acceptable;
        texto = texto.left(inicio + cabe) + texto.right(fin);
        posicion = static_cast<int>(inicio + cabe);
        return Acceptable;
    }

private:
    // A text set by the program starts a new undo history before the box
    // checks it; an edit of the user is always the last step of that history.
    bool EsDelUsuario() const { return caja_.isUndoAvailable(); }

    QLineEdit& caja_;
    QString anterior_;  // the text before the change being checked
    int largo_ = 0;
};

LimiteDelUsuario* LimiteDe(const QLineEdit& caja) {
    return dynamic_cast<LimiteDelUsuario*>(const_cast<QValidator*>(caja.validator()));
}

}  // namespace

void FijaLargoMaximo(QLineEdit& caja, int largo) {
    LimiteDelUsuario* limite = LimiteDe(caja);
    if (!limite) {
        limite = new LimiteDelUsuario(caja);
        caja.setValidator(limite);
    }
    limite->FijaLargo(largo);
}

int LargoMaximo(const QLineEdit& caja) {
    const LimiteDelUsuario* limite = LimiteDe(caja);
    return limite ? limite->Largo() : 0;
}

}  // namespace zvform
