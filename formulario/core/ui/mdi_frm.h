#pragma once
// zvform's main window "0841 - Solvenda": menus, toolbar and status bar.
// Every action sets the module-level state that tells a form what to do and
// then opens that form modally through the registry of form openers, which
// the program's main fills as the forms exist. The window holds no data.
#include <QMainWindow>
#include <QRect>
#include <functional>
#include <string>

class QAction;
class QMdiArea;
class QToolBar;

namespace zvform::ui {

class BarradeEstadoZarvo;

// How each form is opened (a new instance, shown modally). An empty opener
// opens nothing.
struct AbridoresFormularios {
    std::function<void()> abrirFrm841;            // declaration form (new)
    std::function<void()> abrirListaRegistradas;  // FrmContAbrir
    std::function<void()> abrirListaEnviadas;     // FrmContAbrirE
    std::function<void()> abrirImportar;          // FrmImportar
    std::function<void()> abrirImprimir;          // frmImprimir
    std::function<void()> abrirConsultas;         // FrmConsultas

    // How every report is shown: the spool file `archivo` (its bare name,
    // under gRutaRpt) previewed modally with the mode "Vprevia", printed at
    // once with any other mode. True when it was shown, or printed whole;
    // false once the user has been told why not.
    std::function<bool(const std::string& archivo, const std::string& modo)> muestraReporte;
    // The page-range dialog frmImpxPag over the spool file `archivo` of
    // `paginas` pages, shown modally.
    std::function<void(const std::string& archivo, int paginas)> abrirRangoPaginas;
};

class MDIFrm : public QMainWindow {
    Q_OBJECT
public:
    explicit MDIFrm(QWidget* parent = nullptr);
    ~MDIFrm() override;

    // The program's openers, shared by every main window.
    static AbridoresFormularios& Abridores();

    // The load step: geometry, WIN.INI separators, ZVBAS.INI and the
    // database, status-bar texts. False after a fatal message.
    bool MDIForm_Load();

    // Ends the program (the real ending unless a test replaces it).
    std::function<void(int)> terminar;

    // The toolbar's click rule, by position counting separators from 1.
    void Toolbar1_ButtonClick(int indice);

    BarradeEstadoZarvo* BarradeEstadoZarvo1() const { return barra_; }
    QToolBar* Toolbar1() const { return toolbar_; }
    // The fixed place and size in pixels at the screen's resolution: the
    // place of the frame's corner, the size of the window inside the frame.
    QRect GeometriaFija() const;

public slots:
    void mnuNueva_Click();
    void mnuActualizar_Click();
    void mnuEliminar_Click();
    void mnuImportar_Click();
    void mnuImprimir_Click();
    void mnuSalir_Click();
    void mnuVerEnviadas_Click();
    void mnuEliminarEnviadas_Click();
    void mnuImprimirEnviadas_Click();
    void mnuBancos_Click();
    void mnuMotivos_Click();
    void mnuContenido_Click();
    void mnuAcercade_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaMenus();
    void CreaToolbar();
    QAction* Item(QMenu* menu, const QString& texto, const char* nombre, void (MDIFrm::*accion)());
    void AplicaGeometria();
    void RestauraGeometriaLuego();
    // Runs an opener with the hourglass while the form opens.
    void AbreConRelojDeArena(const std::function<void()>& abridor);

    QMdiArea* area_ = nullptr;
    QToolBar* toolbar_ = nullptr;
    BarradeEstadoZarvo* barra_ = nullptr;
    bool restauracionPendiente_ = false;
};

}  // namespace zvform::ui
