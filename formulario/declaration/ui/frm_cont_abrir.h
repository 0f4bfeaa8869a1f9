#pragma once
// The twin lists of declarations of form 0841: FrmContAbrir lists the
// registered ones (CAB) to update or delete one, FrmContAbrirE the sent ones
// (HCAB, one row per send) to view or delete one send. gOperacion (1 open,
// 3 delete) chooses the action. The current row is kept in the state
// (gRuc, gRazonSocial) and on the main window's status bar; the action
// copies the rest of the row (gPeriodo and, for a send, gNumOrden,
// gCodControl and gCorrel) into the state before it runs, and the
// declaration form reads the state only.
#include <QDialog>
#include <string>

class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

namespace zvform::ui {

class ModeloGrilla;

class FrmContAbrir : public QDialog {
    Q_OBJECT
public:
    explicit FrmContAbrir(QWidget* parent = nullptr);  // the registered declarations
    ~FrmContAbrir() override;

    bool Enviada() const { return enviada_; }

    // Captions by mode, gEsEnviada, the list in its load order.
    void Form_Load();
    // 0: the action of the mode; 1: closes the list.
    void CmdOpciones_Click(int index);
    void grdContrib_DblClick();
    // The list read again, ordered by the clicked column.
    void grdContrib_HeadClick(int colIndex);
    // The current row to the status bar, gRuc and gRazonSocial.
    void grdContrib_RowColChange();

    QTableView* grdContrib() const { return grdContrib_; }
    const ModeloGrilla& Modelo() const { return *modelo_; }
    // The current row number, -1 when there is none.
    int FilaActual() const;
    // Makes a row current (clamped to the rows there are).
    void FijaFilaActual(int fila);

    // Form_Unload: clears the status bar's panels.
    void done(int resultado) override;

protected:
    FrmContAbrir(bool enviada, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaControles();
    void CaptionsPorModo();
    void AplicaTextos(int operacion);
    void Llena(int columnaOrden);
    void AjustaColumnas();
    void CopiaFilaActual();
    void AbreDeclaracion();
    void EliminaSeleccionada();
    void HabilitaControles(bool habilitar);
    std::string Texto(int columna) const;

    bool enviada_;
    ModeloGrilla* modelo_ = nullptr;
    QGroupBox* Frame1_ = nullptr;
    QLabel* Label1_0_ = nullptr;
    QTableView* grdContrib_ = nullptr;
    QPushButton* CmdOpciones_0_ = nullptr;
    QPushButton* CmdOpciones_1_ = nullptr;
};

// The sent declarations.
class FrmContAbrirE : public FrmContAbrir {
    Q_OBJECT
public:
    explicit FrmContAbrirE(QWidget* parent = nullptr);
};

}  // namespace zvform::ui
