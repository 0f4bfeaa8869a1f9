#include "formulario/core/ui/acercade.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "formulario/core/inicio.h"
#include "formulario/core/widgets/ventanas.h"
#include "platform/cursor.h"

namespace zvform::ui {

namespace {
QLineEdit* CajaSoloLectura(QWidget* parent, const QString& texto, const char* nombre) {
    auto* caja = new QLineEdit(texto, parent);
    caja->setObjectName(nombre);
    caja->setReadOnly(true);
    caja->setFrame(false);
    return caja;
}
}  // namespace

frmAcercade::frmAcercade(QWidget* parent) : QDialog(parent) {
    setObjectName("frmAcercade");
    setWindowTitle("Acerca de Zarvomat ");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* familia = new QLabel("Zarvomat", this);
    familia->setObjectName("lblZarvomat");
    QFont grande = familia->font();
    grande.setPointSize(grande.pointSize() + 6);
    grande.setBold(true);
    familia->setFont(grande);

    txtApp_ = CajaSoloLectura(this, kProducto, "txtApp");
    txtVersion_ = CajaSoloLectura(this, "Versión 1.0", "txtVersion");

    auto* aceptar = new QPushButton("&Aceptar", this);
    aceptar->setObjectName("cmdAceptar");
    aceptar->setDefault(true);
    connect(aceptar, &QPushButton::clicked, this, &QDialog::accept);

    auto* rejilla = new QGridLayout(this);
    rejilla->addWidget(familia, 0, 0, 1, 2);
    rejilla->addWidget(txtApp_, 1, 0, 1, 2);
    rejilla->addWidget(txtVersion_, 2, 0, 1, 2);
    rejilla->addWidget(aceptar, 3, 1);
    rejilla->setColumnStretch(0, 1);
    // The box holds little; it is made wide enough for its title.
    setMinimumWidth(AnchoParaTitulo(*this));

    zv::SetMousePointer(zv::Pointer::Default);
}

void MuestraAcercade(QWidget* parent) {
    frmAcercade acercade(parent);
    acercade.exec();
}

}  // namespace zvform::ui
