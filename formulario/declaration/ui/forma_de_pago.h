#pragma once
// The payment-method control of the declaration form: the payment form
// (cash or cheque), the bank, the cheque number and the amount to pay.
// The form and its steps use it only through five text properties, which
// read back exactly what was written until the user changes a choice; a
// bank code that is not in the list reads back "XX", none chosen, as the
// list shows it.
#include <QWidget>
#include <string>
#include <utility>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace zvdecl::ui {

class FormaDePagoZarvo : public QWidget {
    Q_OBJECT
public:
    explicit FormaDePagoZarvo(QWidget* parent = nullptr);

    // The banks offered (code, name); "XX" stands for none chosen.
    void FijaBancos(const std::vector<std::pair<std::string, std::string>>& bancos);

    std::string NumeroCheque() const;
    void FijaNumeroCheque(const std::string& numero);
    std::string CodigoBanco() const { return codigoBanco_; }
    void FijaCodigoBanco(const std::string& codigo);
    // "C" cheque, "E" cash, "X" none; any other text is kept as written.
    std::string FormaPago() const { return formaPago_; }
    void FijaFormaPago(const std::string& forma);
    std::string Monto() const;
    void FijaMonto(const std::string& monto);
    // "0" makes the control read-only, anything else editable.
    std::string Habilitado() const { return habilitado_; }
    void FijaHabilitado(const std::string& habilitado);

signals:
    // The user changed a choice or typed (not a property written by code).
    void Cambio();

private:
    void MuestraForma();
    void MuestraBanco();
    bool EnLaLista(const std::string& codigo) const;
    void Habilita();

    QRadioButton* efectivo_;
    QRadioButton* cheque_;
    QComboBox* banco_;
    QLineEdit* numeroCheque_;
    QLineEdit* monto_;
    std::string codigoBanco_ = "XX";
    std::string formaPago_ = "X";
    std::string habilitado_ = "1";
};

}  // namespace zvdecl::ui
