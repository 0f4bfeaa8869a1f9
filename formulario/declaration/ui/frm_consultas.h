#pragma once
// The consult list of one code list, by gTipoConsulta: the banks ("B") or
// the disaffiliation motives ("M"). Read only; centred in the main window.
#include <QDialog>

class QPushButton;
class QTableView;

namespace zvform::ui {

class ModeloGrilla;

class FrmConsultas : public QDialog {
    Q_OBJECT
public:
    // `principal` is the window the list is centred in (none: not moved).
    explicit FrmConsultas(QWidget* principal = nullptr);
    ~FrmConsultas() override;

    // Sizes, caption and query by gTipoConsulta, the grid filled.
    void Form_Load();
    void CmdSalir_Click();

    QTableView* grdBancos() const { return grdBancos_; }
    const ModeloGrilla& Modelo() const { return *modelo_; }

protected:
    // Form_Activate: the focus to the grid when it is enabled.
    void showEvent(QShowEvent* event) override;

private:
    void FijaMedidas(int anchoForm, int anchoGrilla, int anchoDescripcion, int izquierdaSalir);

    QWidget* principal_;
    ModeloGrilla* modelo_ = nullptr;
    QTableView* grdBancos_ = nullptr;
    QPushButton* CmdSalir_ = nullptr;
};

}  // namespace zvform::ui
