#include "formulario/declaration/ui/forma_de_pago.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <algorithm>
#include <utility>

#include "formulario/core/widgets/largo_maximo.h"
#include "formulario/core/widgets/twips.h"

namespace zvdecl::ui {

namespace {
constexpr const char* kNingunBanco = "XX";

QString Q(const std::string& s) { return QString::fromStdString(s); }
}  // namespace

FormaDePagoZarvo::FormaDePagoZarvo(QWidget* parent) : QWidget(parent) {
    auto* marco = new QGroupBox("Forma de pago", this);
    marco->setObjectName("FraFormaPago");
    zvform::UbicaTwips(*marco, 0, 0, 8535, 1935);

    efectivo_ = new QRadioButton("&Efectivo", marco);
    efectivo_->setObjectName("OptEfectivo");
    zvform::UbicaTwips(*efectivo_, 240, 330, 1500, 285);
    cheque_ = new QRadioButton("C&heque", marco);
    cheque_->setObjectName("OptCheque");
    zvform::UbicaTwips(*cheque_, 1860, 330, 1500, 285);
    // Exclusive by hand: "none chosen" must be shown as both unchecked.
    for (QRadioButton* b : {efectivo_, cheque_}) b->setAutoExclusive(false);

    auto* lblBanco = new QLabel("&Banco :", marco);
    zvform::UbicaTwips(*lblBanco, 240, 780, 2000, 255);
    banco_ = new QComboBox(marco);
    banco_->setObjectName("CmbBanco");
    zvform::UbicaTwips(*banco_, 2340, 735, 4200, 315);
    lblBanco->setBuddy(banco_);

    auto* lblCheque = new QLabel("&Número de cheque :", marco);
    zvform::UbicaTwips(*lblCheque, 240, 1200, 2000, 255);
    numeroCheque_ = new QLineEdit(marco);
    numeroCheque_->setObjectName("TxtNroCheque");
    zvform::FijaLargoMaximo(*numeroCheque_, 15);
    zvform::UbicaTwips(*numeroCheque_, 2340, 1155, 2000, 315);
    lblCheque->setBuddy(numeroCheque_);

    auto* lblMonto = new QLabel("Importe a pagar :", marco);
    zvform::UbicaTwips(*lblMonto, 4560, 1200, 1700, 255);
    monto_ = new QLineEdit(marco);
    monto_->setObjectName("TxtMonto");
    monto_->setReadOnly(true);  // the amount to pay comes from box 598
    monto_->setAlignment(Qt::AlignRight);
    zvform::UbicaTwips(*monto_, 6300, 1155, 2000, 315);
    lblMonto->setBuddy(monto_);

    for (auto [boton, forma] : {std::pair{efectivo_, "E"}, std::pair{cheque_, "C"}})
        connect(boton, &QRadioButton::clicked, this, [this, forma = forma] {
            formaPago_ = forma;
            // Cash carries no cheque: the declaration keeps no cheque number
            // nor bank boxes that its header contradicts.
            if (formaPago_ == "E") {
                codigoBanco_ = kNingunBanco;
                numeroCheque_->clear();
                MuestraBanco();
            }
            MuestraForma();
            emit Cambio();
        });
    connect(banco_, &QComboBox::activated, this, [this](int i) {
        codigoBanco_ = banco_->itemData(i).toString().toStdString();
        emit Cambio();
    });
    connect(numeroCheque_, &QLineEdit::textEdited, this, [this] { emit Cambio(); });
    FijaBancos({});
}

void FormaDePagoZarvo::FijaBancos(const std::vector<std::pair<std::string, std::string>>& bancos) {
    banco_->clear();
    banco_->addItem("", kNingunBanco);
    for (const auto& [codigo, nombre] : bancos) banco_->addItem(Q(codigo + " - " + nombre), Q(codigo));
    MuestraBanco();
}

std::string FormaDePagoZarvo::NumeroCheque() const { return numeroCheque_->text().toStdString(); }
void FormaDePagoZarvo::FijaNumeroCheque(const std::string& numero) { numeroCheque_->setText(Q(numero)); }

void FormaDePagoZarvo::FijaCodigoBanco(const std::string& codigo) {
    codigoBanco_ = codigo;
    MuestraBanco();
}

bool FormaDePagoZarvo::EnLaLista(const std::string& codigo) const { return banco_->findData(Q(codigo)) > 0; }

void FormaDePagoZarvo::FijaFormaPago(const std::string& forma) {
    formaPago_ = forma;
    MuestraForma();
}

std::string FormaDePagoZarvo::Monto() const { return monto_->text().toStdString(); }
void FormaDePagoZarvo::FijaMonto(const std::string& monto) { monto_->setText(Q(monto)); }

void FormaDePagoZarvo::FijaHabilitado(const std::string& habilitado) {
    habilitado_ = habilitado;
    Habilita();
}

void FormaDePagoZarvo::MuestraForma() {
    efectivo_->setChecked(formaPago_ == "E");
    cheque_->setChecked(formaPago_ == "C");
    Habilita();
}

// A code that is not in the list (empty, unknown) is no bank chosen: the
// list shows its empty item and the bank code reads "XX", so what the
// checks and the save see is what the user sees.
void FormaDePagoZarvo::MuestraBanco() {
    if (!EnLaLista(codigoBanco_)) codigoBanco_ = kNingunBanco;
    banco_->setCurrentIndex(std::max(banco_->findData(Q(codigoBanco_)), 0));
}

void FormaDePagoZarvo::Habilita() {
    const bool editable = habilitado_ != "0";
    efectivo_->setEnabled(editable);
    cheque_->setEnabled(editable);
    // The bank and the cheque number belong to a cheque only.
    banco_->setEnabled(editable && formaPago_ == "C");
    numeroCheque_->setEnabled(editable && formaPago_ == "C");
}

}  // namespace zvdecl::ui
