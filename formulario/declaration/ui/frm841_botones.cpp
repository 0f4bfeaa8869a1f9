// The declaration form's buttons, tabs and exit: the form hands what it
// shows to the steps of zvdecl and applies their answer (the tab made
// current, the control that gets the focus, closing).
#include <QComboBox>
#include <QLineEdit>
#include <QTabWidget>

#include "formulario/declaration/ui/caja_periodo.h"
#include "formulario/declaration/ui/forma_de_pago.h"
#include "formulario/declaration/ui/frm841.h"

namespace zvdecl::ui {

namespace {
constexpr int kContextosAyuda[] = {1015, 1014, 1013};
}  // namespace

DatosFrm841 Frm841::Datos() const {
    DatosFrm841 d;
    d.operacion = operacion_;
    d.esEnviada = esEnviada_;
    d.caption = windowTitle().toStdString();
    d.cmbRuc = CmbRuc_->currentText().toStdString();
    d.txtNumRuc = TxtNumRuc_->text().toStdString();
    d.txtRazon = TxtRazon_->text().toStdString();
    d.mkePeriodo = MkePeriodo_->Texto();
    d.txtTelefono = TxtTelefono_->text().toStdString();
    for (const auto& [casilla, caja] : TxtValor_) d.txtValor[casilla] = caja->text().toStdString();
    d.formaDePago.numeroCheque = FormaDePagoZarvo1_->NumeroCheque();
    d.formaDePago.codigoBanco = FormaDePagoZarvo1_->CodigoBanco();
    d.formaDePago.formaPago = FormaDePagoZarvo1_->FormaPago();
    d.formaDePago.monto = FormaDePagoZarvo1_->Monto();
    d.formaDePago.habilitado = FormaDePagoZarvo1_->Habilitado();
    for (int i = 0; i < 2; ++i) d.txtNumOrdenE[i] = TxtNumOrdenE_[i]->text().toStdString();
    d.modificado = modificado_;
    d.identificacionFija = identificacionFija_;
    return d;
}

void Frm841::AplicaResultado(const Resultado& r, const DatosFrm841& d) {
    modificado_ = d.modificado;
    if (d.identificacionFija && !identificacionFija_) {
        identificacionFija_ = true;
        CmbRuc_->setEnabled(false);
        MkePeriodo_->setEnabled(false);
    }
    if (r.pestana >= 0) SSTab1_->setCurrentIndex(r.pestana);
    if (!r.foco.empty())
        if (auto* control = findChild<QWidget*>(QString::fromStdString(r.foco))) control->setFocus();
    if (r.cerrar) {
        cerrando_ = true;
        done(QDialog::Accepted);
    }
}

void Frm841::CmdValidar_Click(int indice) {
    DatosFrm841 d = Datos();
    const Resultado r = zvdecl::CmdValidar_Click(d, indice);
    AplicaResultado(r, d);
}

void Frm841::reject() {
    if (cerrando_) return;
    CmdValidar_Click(2);
}

void Frm841::SSTab1_Click(int pestana) {
    if (pestana >= 0 && pestana < 3) setProperty("HelpContextID", kContextosAyuda[pestana]);
}

void Frm841::SSTab1_GotFocus() {
    if (esEnviada_) return;
    const int pestana = SSTab1_->currentIndex();
    SSTab1_Click(pestana);
    if (pestana != 1 && pestana != 2) return;
    DatosFrm841 d = Datos();
    AplicaResultado(ValIdent(d, "1"), d);
}

void Frm841::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    SSTab1_Click(SSTab1_->currentIndex());
    // Form_Activate: a sent declaration starts at its order number; the
    // others at their first box rather than at the tabs, so that the first
    // click on a tab is the tab control getting the focus.
    if (TxtNumOrdenE_[0]->isVisibleTo(this)) TxtNumOrdenE_[0]->setFocus();
    else if (operacion_ == 0) CmbRuc_->setFocus();
    else TxtTelefono_->setFocus();
}

}  // namespace zvdecl::ui
