// The declaration form's load: the identification by mode, the boxes and
// payment data, the order number of a sent declaration, the detail grid.
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "formulario/core/estado.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/core/widgets/ventanas.h"
#include "formulario/declaration/casillas_formato.h"
#include "formulario/declaration/detalle_afiliados.h"
#include "formulario/declaration/frm841_carga.h"
#include "formulario/declaration/ui/caja_periodo.h"
#include "formulario/declaration/ui/forma_de_pago.h"
#include "formulario/declaration/ui/frm841.h"
#include "formulario/declaration/ui/modelo_detalle.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvdecl::ui {

namespace {

using zvform::Estado;

QString Q(const std::string& s) { return QString::fromStdString(s); }

zvform::ui::BarradeEstadoZarvo* Barra() { return zvform::ui::BarradeEstadoZarvo::Principal(); }

// "MM/YYYY" of a YYYYMM period.
std::string MesAnio(const std::string& periodo) {
    return zv::text::Mid(periodo, 5, 2) + "/" + zv::text::Left(periodo, 4);
}

}  // namespace

void Frm841::Form_Load() {
    const Estado& g = Estado::G();
    operacion_ = g.gOperacion;
    esEnviada_ = operacion_ != 0 && g.gEsEnviada;
    move(0, 0);
    zv::SetMousePointer(zv::Pointer::Hourglass);
    setWindowTitle(Q(CaptionFrm841(esEnviada_)));
    FraNumOrden_->setVisible(esEnviada_);
    if (operacion_ == 0) {
        CargaDeclarantes();
        zvform::UbicaTwips(*CmbRuc_, 2430, 315, 5895, 315);
        zvform::AjustaAnchoCombo(*this, *CmbRuc_);
    }
    FormaDePagoZarvo1_->FijaBancos(BancosDePago());
    FormaDePagoZarvo1_->FijaFormaPago("X");
    if (esEnviada_) {
        // The correlative until the stored order number replaces it; the
        // check characters are never stored, so their box starts empty.
        TxtNumOrdenE_[0]->setText(g.gCorrel == "0" ? "" : Q(g.gCorrel));
        TxtNumOrdenE_[1]->setText("");
        Estado::G().gOrdenCambiado = false;
    }
    CargaIdent();
    if (operacion_ != 0) CargarCab();
    CalcularTotal();
    if (esEnviada_) OrdenEnviada();
    Get_Desafiliados();
    if (esEnviada_) DesTodo();
    modificado_ = false;
    zv::SetMousePointer(zv::Pointer::Default);
}

void Frm841::CargaDeclarantes() {
    CmbRuc_->blockSignals(true);
    CmbRuc_->clear();
    for (const std::string& item : zvdecl::CargaDeclarantes()) CmbRuc_->addItem(Q(item));
    // Nothing is chosen until the user picks a declarant.
    CmbRuc_->setCurrentIndex(-1);
    CmbRuc_->blockSignals(false);
}

void Frm841::CargaIdent() {
    const bool nueva = operacion_ == 0;
    TxtNumRuc_->setVisible(!nueva);
    TxtNumRuc_->setEnabled(false);
    CmbRuc_->setVisible(nueva);
    CmbRuc_->setEnabled(nueva);
    TxtRazon_->setEnabled(false);
    if (nueva) return;
    MkePeriodo_->setEnabled(false);
    // The list that opened the form keeps these in step with its current row.
    const Estado& g = Estado::G();
    TxtNumRuc_->setText(Q(g.gRuc));
    TxtRazon_->setText(Q(g.gRazonSocial));
    MkePeriodo_->FijaTexto(MesAnio(g.gPeriodo));
}

void Frm841::CargarCab() {
    const DatosFrm841 d = Datos();
    const CabeceraCargada cab = zvdecl::CargarCab(RucDelFormulario(d), PeriodoDelFormulario(d));
    if (cab.telefono) TxtTelefono_->setText(Q(*cab.telefono));
    for (const auto& [casilla, valor] : cab.casillas) {
        TxtValor_.at(casilla)->setText(Q(valor));
        Forma(casilla);
    }
    PropiedadesFormaDePago pago = Datos().formaDePago;
    AplicaPagoCargado(cab, pago);
    FormaDePagoZarvo1_->FijaFormaPago(pago.formaPago);
    FormaDePagoZarvo1_->FijaCodigoBanco(pago.codigoBanco);
    FormaDePagoZarvo1_->FijaNumeroCheque(pago.numeroCheque);
    CalcularTotal();
}

void Frm841::OrdenEnviada() {
    const DatosFrm841 d = Datos();
    if (auto norden = NumeroOrdenEnviada(RucDelFormulario(d), PeriodoDelFormulario(d)))
        TxtNumOrdenE_[0]->setText(Q(*norden));
    Estado::G().gOrdenCambiado = false;
}

// A text already in its format is left alone, its cursor and undo with it.
void Frm841::Forma(int casilla) {
    QLineEdit* caja = TxtValor_.at(casilla);
    const QString formado = Q(zvdecl::Forma(casilla, caja->text().toStdString()));
    if (formado != caja->text()) caja->setText(formado);
}

void Frm841::CalcularTotal() {
    FormaDePagoZarvo1_->FijaMonto(zvdecl::CalcularTotal(TxtValor_.at(598)->text().toStdString()));
}

void Frm841::Get_Desafiliados() {
    auto* anterior = modelo_;
    modelo_ = new ModeloDetalle(zvdecl::Get_Desafiliados(), this);
    GrdDatos_->setModel(modelo_);
    delete anterior;
    Cuenta_Afiliados();
}

void Frm841::Cuenta_Afiliados() { LblCuentaDes_->setText(Q(zvdecl::Cuenta_Afiliados())); }

void Frm841::Gris(QWidget& control) {
    QPalette paleta = control.palette();
    const QColor gris(0xC0, 0xC0, 0xC0);
    paleta.setColor(QPalette::Base, gris);
    paleta.setColor(QPalette::Window, gris);
    // The style's pale text of a disabled box would vanish on the grey.
    paleta.setColor(QPalette::Disabled, QPalette::Text, QColor(0x50, 0x50, 0x50));
    control.setPalette(paleta);
}

// A button of the row below the tabs at its place in twips; the sent view
// moves and narrows two of them, and their places are the form's own.
void Frm841::UbicaBoton(QPushButton& boton, int izquierda, int ancho) {
    zvform::UbicaTwips(boton, izquierda, kArribaBotones, ancho, kAltoBotones);
}

void Frm841::DesTodo() {
    FormaDePagoZarvo1_->FijaHabilitado("0");
    for (QWidget* c : {static_cast<QWidget*>(TxtNumRuc_), static_cast<QWidget*>(MkePeriodo_),
                       static_cast<QWidget*>(TxtRazon_)})
        Gris(*c);
    TxtTelefono_->setEnabled(false);
    Gris(*TxtTelefono_);
    for (int casilla : {590, 591, 592, 597}) {
        TxtValor_.at(casilla)->setEnabled(false);
        Gris(*TxtValor_.at(casilla));
    }
    CmdValidar_[0]->setVisible(false);
    CmdValidar_[1]->setText("&Registrar Nro. Orden");
    // Its caption takes 1530 twips in the forms' letter and the style asks
    // for a margin on each side: wider to the left, its right edge kept.
    UbicaBoton(*CmdValidar_[1], 5925, 1680);
    UbicaBoton(*CmdValidar_[2], 7650, 1605);
}

void Frm841::CmbRuc_Click() {
    const std::string item = CmbRuc_->currentText().toStdString();
    TxtRazon_->setText(Q(zv::text::Trim(zv::text::Mid(item, 16, 50))));
    zvform::AjustaAnchoCombo(*this, *CmbRuc_);
    if (operacion_ == 0 && MkePeriodo_->isEnabled()) MkePeriodo_->setFocus();
    if (auto* barra = Barra()) {
        barra->SetNumeroDocumento(Q(zv::text::Trim(zv::text::Left(item, 11))));
        barra->SetNombre(TxtRazon_->text());
    }
}

void Frm841::MkePeriodo_Change() {
    if (operacion_ != 0) return;
    if (MkePeriodo_->Incompleto()) {
        SSTab1_->setCurrentIndex(0);
        return;
    }
    zv::SetMousePointer(zv::Pointer::Hourglass);
    const DatosFrm841 d = Datos();
    const std::string ruc = RucDelFormulario(d);
    const std::string periodo = PeriodoDelFormulario(d);
    if (auto* barra = Barra()) barra->SetPeriodo(Q(MesAnio(periodo)));
    const bool registrada = DeclaracionRegistrada(ruc, periodo);
    zv::SetMousePointer(zv::Pointer::Default);
    if (!registrada) return;
    zv::MsgBox("La declaración ya ha sido registrada.", zv::Icon::Critical, zv::Buttons::Ok,
               windowTitle().toStdString());
    MkePeriodo_->setFocus();
}

}  // namespace zvdecl::ui
