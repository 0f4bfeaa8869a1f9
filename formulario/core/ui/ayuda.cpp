#include "formulario/core/ui/ayuda.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/filenames.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvform::ui {

VisorAyuda::VisorAyuda(const QString& texto, QWidget* parent) : QDialog(parent) {
    setObjectName("VisorAyuda");
    setWindowTitle("Ayuda de Solvenda");
    texto_ = new QTextBrowser(this);
    texto_->setObjectName("txtAyuda");
    texto_->setPlainText(texto);
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, this);
    botones->button(QDialogButtonBox::Close)->setText("Cerrar");
    connect(botones, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* columna = new QVBoxLayout(this);
    columna->addWidget(texto_);
    columna->addWidget(botones);
    resize(560, 420);
}

void MuestraContenidoAyuda(const std::string& archivoAyuda, QWidget* parent) {
    auto encontrado = archivoAyuda.empty() ? std::nullopt : zv::files::FindIgnoringCase(archivoAyuda);
    std::string texto;
    bool leido = false;
    if (encontrado) {
        try {
            texto = zv::text::ReadAll(*encontrado);
            leido = true;
        } catch (const std::exception&) {
        }
    }
    if (!leido) {
        zv::MsgBox("No se encuentra el archivo de ayuda " + archivoAyuda, zv::Icon::Exclamation, zv::Buttons::Ok,
                   "Ayuda");
        return;
    }
    QString contenido = QString::fromStdString(texto);
    contenido.replace("\r\n", "\n");
    VisorAyuda visor(contenido, parent);
    visor.exec();
}

}  // namespace zvform::ui
