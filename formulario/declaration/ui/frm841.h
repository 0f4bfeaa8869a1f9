#pragma once
// The declaration form Frm841: one declaration of form 0841 for one
// declarant and period, in the mode its opener set in the state object:
// new (gOperacion 0), open for update (gOperacion 1) or the view of a sent
// declaration (gOperacion 1 with gEsEnviada), where only the order number
// may change. The form loads itself when it is created; its buttons run the
// steps of zvdecl over what it shows (DatosFrm841) and apply their answer.
#include <QDialog>
#include <array>
#include <map>
#include <string>

#include "formulario/declaration/frm841_datos.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace zvdecl::ui {

class CajaPeriodo;
class FormaDePagoZarvo;
class ModeloDetalle;

// The buttons' row below the tabs, in twips.
inline constexpr int kArribaBotones = 5550;
inline constexpr int kAltoBotones = 420;

// What the user may enter into a box: 12 digits while it has the focus, 15
// characters once it has lost it.
inline constexpr int kLargoCasillaConFoco = 12;
inline constexpr int kLargoCasillaSinFoco = 15;

class Frm841 : public QDialog {
    Q_OBJECT
public:
    // Builds the form and runs its load (Form_Load).
    explicit Frm841(QWidget* parent = nullptr);
    ~Frm841() override;

    // What the form shows, as the steps read it.
    DatosFrm841 Datos() const;
    bool Modificado() const { return modificado_; }

    // The load steps, in the order Form_Load runs them.
    void CargaIdent();
    void CargarCab();
    void Get_Desafiliados();
    void Cuenta_Afiliados();
    void DesTodo();
    // Box display and the amount to pay of the payment control.
    void Forma(int casilla);
    void CalcularTotal();

    // Event handlers.
    void CmdValidar_Click(int indice);
    void CmbRuc_Click();
    void MkePeriodo_Change();
    void SSTab1_Click(int pestana);
    void SSTab1_GotFocus();

    // The exit button runs for Escape and the window's close button too, so
    // that leaving always asks about what was typed.
    void reject() override;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;
    void showEvent(QShowEvent* evento) override;

private:
    void CreaControles();
    void CreaIdentificacion(QWidget* pagina);
    void CreaNumeroOrden(QWidget* pagina);
    void CreaDetalle(QWidget* pagina);
    void CreaDeterminacion(QWidget* pagina);
    void CreaBotones();
    void Form_Load();
    void CargaDeclarantes();
    void OrdenEnviada();
    void AplicaResultado(const Resultado& r, const DatosFrm841& d);
    void Gris(QWidget& control);
    void UbicaBoton(QPushButton& boton, int izquierda, int ancho);

    // Key and mouse rules of the boxes (frm841_teclas.cpp).
    bool TeclaCaja(QKeyEvent& tecla);
    bool TeclaNumeroOrden(QLineEdit& caja, QKeyEvent& tecla);
    bool EsCajaConFiltro(QObject* objeto) const;
    void ProtegeDePegado(QLineEdit& caja);

    int operacion_ = 0;
    bool esEnviada_ = false;
    bool modificado_ = false;
    bool identificacionFija_ = false;
    bool cerrando_ = false;

    QTabWidget* SSTab1_ = nullptr;
    QComboBox* CmbRuc_ = nullptr;
    QLineEdit* TxtNumRuc_ = nullptr;
    QLineEdit* TxtRazon_ = nullptr;
    CajaPeriodo* MkePeriodo_ = nullptr;
    QLineEdit* TxtTelefono_ = nullptr;
    QGroupBox* FraNumOrden_ = nullptr;
    std::array<QLineEdit*, 2> TxtNumOrdenE_{};
    QLabel* LblGuion_ = nullptr;
    QTableView* GrdDatos_ = nullptr;
    ModeloDetalle* modelo_ = nullptr;
    QLabel* LblCuentaDes_ = nullptr;
    FormaDePagoZarvo* FormaDePagoZarvo1_ = nullptr;
    std::map<int, QLineEdit*> TxtValor_;
    std::array<QPushButton*, 3> CmdValidar_{};
    QObject* formatoAlSalir_ = nullptr;  // formats a box the user leaves
};

// The opener of the main window: a new form over `padre`, shown modally,
// released when it closes.
void AbreFrm841(QWidget* padre);

}  // namespace zvdecl::ui
