#pragma once
// The about box of zvform.
#include <QDialog>

class QLineEdit;

namespace zvform::ui {

class frmAcercade : public QDialog {
    Q_OBJECT
public:
    explicit frmAcercade(QWidget* parent = nullptr);
    QLineEdit* txtApp() const { return txtApp_; }
    QLineEdit* txtVersion() const { return txtVersion_; }

private:
    QLineEdit* txtApp_;
    QLineEdit* txtVersion_;
};

// Shows a new about box modally; it is discarded when closed.
void MuestraAcercade(QWidget* parent);

}  // namespace zvform::ui
