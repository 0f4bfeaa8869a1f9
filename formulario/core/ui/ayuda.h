#pragma once
// Help contents: the help file (a Windows-1252 text) shown in a viewer of
// our own, modally.
#include <QDialog>
#include <string>

class QTextBrowser;

namespace zvform::ui {

class VisorAyuda : public QDialog {
    Q_OBJECT
public:
    VisorAyuda(const QString& texto, QWidget* parent = nullptr);
    QTextBrowser* Texto() const { return texto_; }

private:
    QTextBrowser* texto_;
};

// Shows the help file; a message when it is not there.
void MuestraContenidoAyuda(const std::string& archivoAyuda, QWidget* parent);

}  // namespace zvform::ui
