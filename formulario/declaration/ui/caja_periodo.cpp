#include "formulario/declaration/ui/caja_periodo.h"

namespace zvdecl::ui {

CajaPeriodo::CajaPeriodo(QWidget* parent) : QLineEdit(parent) { setInputMask("99/9999;_"); }

std::string CajaPeriodo::Texto() const { return displayText().toStdString(); }

void CajaPeriodo::FijaTexto(const std::string& texto) {
    QString digitos;
    for (QChar c : QString::fromStdString(texto))
        if (c.isDigit()) digitos += c;
    setText(digitos);
}

bool CajaPeriodo::Incompleto() const { return displayText().contains(QLatin1Char('_')); }

}  // namespace zvdecl::ui
