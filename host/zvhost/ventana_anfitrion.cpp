#include "host/zvhost/ventana_anfitrion.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/msgbox.h"

namespace zvhost {

VentanaAnfitrion::VentanaAnfitrion(QWidget* parent) : QWidget(parent) {
    setObjectName("VentanaAnfitrion");
    setWindowTitle("Zarvomat");  // the module's programs look for exactly this title
    auto* titulo = new QLabel("Ensamblor del Zarvo", this);
    auto* solvenda = new QPushButton("0841 - &Solvenda", this);
    solvenda->setObjectName("cmdSolvenda");
    connect(solvenda, &QPushButton::clicked, this, [this] { IniciaFormulario(); });
    solvenda->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(titulo);
    columna->addWidget(solvenda, 1);
    resize(320, 140);
}

bool VentanaAnfitrion::IniciaFormulario() {
    const QString programa = QDir(QCoreApplication::applicationDirPath()).filePath("zvform");
    if (QFileInfo(programa).isExecutable() && QProcess::startDetached(programa, {})) return true;
    zv::MsgBox("No se pudo iniciar " + programa.toStdString(), zv::Icon::Critical, zv::Buttons::Ok, "Zarvomat");
    return false;
}

}  // namespace zvhost
