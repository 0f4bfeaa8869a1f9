#include "formulario/declaration/ui/frm_consist.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/termina.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/declaration/inconsistencias.h"
#include "formulario/reports/ui/impresora.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"

namespace zvdecl::ui {

using zvform::UbicaTwips;

FrmConsist::FrmConsist(QWidget* parent) : QDialog(parent) {
    setObjectName("FrmConsist");
    setWindowTitle("Inconsistencias detectadas");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // Wide enough for a payment line with its suffix in Courier New.
    setFixedSize(zvform::TwipsX(10800, this), zvform::TwipsY(4800, this));

    label1_ = new QLabel("En su declaración se han detectado las siguientes inconsistencias :", this);
    label1_->setObjectName("Label1");
    UbicaTwips(*label1_, 120, 120, 10560, 255);

    txtPreliminar_ = new QPlainTextEdit(this);
    txtPreliminar_->setObjectName("TxtPreliminar");
    txtPreliminar_->setReadOnly(true);
    txtPreliminar_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont courier("Courier New");
    courier.setStyleHint(QFont::Monospace);
    txtPreliminar_->setFont(courier);
    UbicaTwips(*txtPreliminar_, 120, 435, 10560, 3600);
    label1_->setBuddy(txtPreliminar_);

    cmdGrabar_ = new QPushButton("&Aceptar", this);
    cmdGrabar_->setObjectName("CmdGrabar");
    cmdGrabar_->setDefault(true);
    UbicaTwips(*cmdGrabar_, 8100, 4200, 1215, 375);
    connect(cmdGrabar_, &QPushButton::clicked, this, &FrmConsist::CmdGrabar_Click);

    command1_ = new QPushButton("&Imprimir", this);
    command1_->setObjectName("Command1");
    UbicaTwips(*command1_, 9465, 4200, 1215, 375);
    connect(command1_, &QPushButton::clicked, this, &FrmConsist::Command1_Click);

    Form_Load();
}

void FrmConsist::Form_Load() {
    zv::SetMousePointer(zv::Pointer::Default);
    for (;;) {
        try {
            txtPreliminar_->setPlainText(QString::fromStdString(LeeInconsistencias()));
            return;
        } catch (const std::exception& e) {
            if (zvform::ManejaError("Form_Load", e) == 1) zvform::TerminaPrograma(1);
        }
    }
}

void FrmConsist::CmdGrabar_Click() { accept(); }

// The list goes to the printer at once, as the print dialog's "&Imprimir"
// prints a report, and the user is told (where the PDF is, without a
// printer); without a registered printing road nothing happens.
void FrmConsist::Command1_Click() {
    auto& muestra = zvform::ui::MDIFrm::Abridores().muestraReporte;
    if (!muestra) return;
    std::string archivo;
    try {
        archivo = EscribeSpoolInconsistencias();
    } catch (const zv::Error& e) {
        zv::MsgBox(e.Description(), zv::Icon::Critical, zv::Buttons::Ok, "Impresión");
        return;
    }
    zvform::Estado::G().gRangoPaginas = false;
    if (muestra(archivo, "xx"))
        zv::MsgBox(zvform::ui::AvisoImpreso("La lista de inconsistencias se imprimió satisfactoriamente.", archivo),
                   zv::Icon::Information, zv::Buttons::Ok, windowTitle().toStdString());
}

void MuestraFrmConsist(QWidget* parent) {
    if (!parent) parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    FrmConsist visor(parent);
    visor.exec();
}

}  // namespace zvdecl::ui
