#pragma once
// FrmConsist "Inconsistencias detectadas": the list that "&Validar" wrote
// (gRutaArchivo), shown as it lies in the file, in Courier New. "&Aceptar"
// closes it; "&Imprimir" prints the list at once through a spool file.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zvdecl::ui {

class FrmConsist : public QDialog {
    Q_OBJECT
public:
    explicit FrmConsist(QWidget* parent = nullptr);

    QPlainTextEdit* TxtPreliminar() const { return txtPreliminar_; }

    // Loads the file into TxtPreliminar; a file that cannot be read goes to
    // the central error handler (retry, or the end of the program).
    void Form_Load();
    void CmdGrabar_Click();
    void Command1_Click();

private:
    QLabel* label1_ = nullptr;
    QPlainTextEdit* txtPreliminar_ = nullptr;
    QPushButton* cmdGrabar_ = nullptr;
    QPushButton* command1_ = nullptr;
};

// A new viewer over `parent` (the active modal window when null), shown modally.
void MuestraFrmConsist(QWidget* parent = nullptr);

}  // namespace zvdecl::ui
