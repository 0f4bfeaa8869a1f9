#pragma once
// FrmImportar "Importar información de afiliados": the declarant, the
// period, and the drive and folder of the affiliates file; "&Aceptar" runs
// the import in the form (the engine reaches the form through ImportUi).
//
//   zvimport::ui::FrmImportar frm(principal);
//   frm.exec();   // closes itself at once when there is no declarant
#include <QDialog>
#include <QString>
#include <string>

#include "formulario/core/widgets/ritmo_pantalla.h"
#include "formulario/import/import_ui.h"
#include "formulario/import/importacion.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QProgressBar;
class QPushButton;

namespace zvimport::ui {

class ListaUnidades;

class FrmImportar : public QDialog, public ImportUi {
    Q_OBJECT
public:
    explicit FrmImportar(QWidget* parent = nullptr);
    ~FrmImportar() override;

    // ImportUi: what the import reads from the form and shows on it.
    std::string DeclaranteElegido() const override;
    std::string TextoPeriodo() const override;
    std::string Carpeta() const override;
    std::string ArchivoSeleccionado() const override;
    bool Valida_Datos() override;
    void FijaTransferidos(const std::string& texto) override;
    void FijaRechazados(const std::string& texto) override;
    void FijaContadores(const std::string& transferidos, const std::string& rechazados) override;
    void EmpiezaCuenta() override;
    void TerminaCuenta() override;
    void HabilitaAceptar() override;
    void MuestraProgreso(bool visible) override;
    void FijaProgreso(int valor) override;
    void FijaTextoProgreso(const std::string& texto) override;
    void RepintaProgreso() override;
    void MuestraRangoPaginas(const std::string& archivoSpool, int paginas) override;
    void MuestraReporte(const std::string& archivoSpool) override;

    // The result of filling the declarant list at load.
    bool DeclarantesCargados() const { return declarantesCargados_; }
    // True from the click on "&Aceptar" until the import ends.
    bool Importando() const { return importacion_.Importando(); }
    // The engine's state of this form (totals, counters, flags).
    Importacion& Motor() { return importacion_; }

public slots:
    void CmdGrabar_Click();
    void CmdCancelar_Click();
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaControles();
    void CreaDeclarante();
    void CreaArchivo();
    void CreaResultados();
    void CreaProgreso();
    void FijaOrdenTab();
    void AjustaEtiquetas();
    void Form_Load();
    void FijaAlto(int twips);
    void UbicaBotones(int arriba);

    void CmbRuc_Click();
    void MkePeriodo_Change();
    void RefrescaArchivos();
    void DrvLst_Change();
    void DirList_Change();
    void DirList_Click();
    void DirList_DblClick(QListWidgetItem* item);
    void DirList_Espacio();

    // The folder list pointed at `carpeta`; false after the message of its
    // failure, the list left where it was.
    bool CambiaCarpeta(const std::string& carpeta);
    void LlenaCarpetas(const std::string& carpeta, const std::vector<std::string>& subcarpetas);
    // The drive list set to the drive of the folder list's path, without
    // running its change handler.
    void DrvLstALaCarpeta();
    void LlenaUnidades();
    // The result labels take the counters' last texts.
    void MuestraContadores();

    QGroupBox* Frame1_ = nullptr;
    QGroupBox* Frame2_ = nullptr;
    QGroupBox* Frame3_ = nullptr;
    QGroupBox* Frame4_ = nullptr;
    QComboBox* CmbRuc_ = nullptr;
    QLineEdit* txtNombre_ = nullptr;
    QLineEdit* MkePeriodo_ = nullptr;
    ListaUnidades* DrvLst_ = nullptr;
    QListWidget* DirList_ = nullptr;
    QListWidget* flListaFiles_ = nullptr;
    QLabel* lblTransferidos_ = nullptr;
    QLabel* lblRechazados_ = nullptr;
    QLabel* lblbar1_ = nullptr;
    QProgressBar* pbar1_ = nullptr;
    QPushButton* CmdGrabar_ = nullptr;
    QPushButton* CmdCancelar_ = nullptr;

    std::string rutaCarpetas_;  // the folder list's path
    std::string patron_;        // the file list's pattern: the expected name & ".txt"
    bool declarantesCargados_ = false;
    bool activado_ = false;
    // The counters' last texts; while the transfer counts lines they reach
    // the labels at the screen's pace.
    QString transferidos_, rechazados_;
    bool contando_ = false;
    zvform::RitmoDePantalla ritmo_;
    Importacion importacion_;
};

}  // namespace zvimport::ui
