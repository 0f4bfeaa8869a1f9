#include "formulario/declaration/ui/frm_consultas.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>

#include "formulario/core/estado.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/core/widgets/ventanas.h"
#include "formulario/declaration/consulta_codigos.h"
#include "formulario/declaration/ui/error_lista.h"
#include "formulario/core/widgets/grilla.h"
#include "formulario/declaration/ui/modelo_grilla.h"
#include "platform/cursor.h"

namespace zvform::ui {

namespace {

// Sizes in twips: the banks' list, widened for the motives' descriptions.
struct Medidas {
    int anchoForm, anchoGrilla, anchoDescripcion, izquierdaSalir;
};
constexpr Medidas kBancos{7065, 6515, 5100, 5400};
constexpr Medidas kMotivos{9065, 8515, 7500, 7500};
constexpr int kAltoForm = 4140;
constexpr int kAnchoCodigo = 900;  // leaves the motives' 7500 inside their grid

}  // namespace

FrmConsultas::FrmConsultas(QWidget* principal) : QDialog(principal), principal_(principal) {
    setObjectName("FrmConsultas");
    setWindowTitle("Consultas");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    modelo_ = new ModeloGrilla(this);
    modelo_->setObjectName("Dta1");
    grdBancos_ = new QTableView(this);
    grdBancos_->setObjectName("grdBancos");
    grdBancos_->setModel(modelo_);
    PreparaGrilla(*grdBancos_);

    CmdSalir_ = new QPushButton("&Salir", this);
    CmdSalir_->setObjectName("CmdSalir");
    connect(CmdSalir_, &QPushButton::clicked, this, &FrmConsultas::CmdSalir_Click);

    Form_Load();
}

FrmConsultas::~FrmConsultas() = default;

void FrmConsultas::FijaMedidas(int anchoForm, int anchoGrilla, int anchoDescripcion, int izquierdaSalir) {
    setFixedSize(TwipsX(anchoForm, this), TwipsY(kAltoForm, this));
    UbicaTwips(*grdBancos_, 240, 120, anchoGrilla, 3060);
    UbicaTwips(*CmdSalir_, izquierdaSalir, 3360, 1215, 405);
    grdBancos_->horizontalHeader()->resizeSection(0, TwipsX(kAnchoCodigo, this));
    grdBancos_->horizontalHeader()->resizeSection(1, TwipsX(anchoDescripcion, this));
}

void FrmConsultas::Form_Load() {
    const std::string tipo = Estado::G().gTipoConsulta;
    modelo_->Carga(ColumnasConsulta(), {});
    FijaMedidas(kBancos.anchoForm, kBancos.anchoGrilla, kBancos.anchoDescripcion, kBancos.izquierdaSalir);
    // Centred at the banks' width: the motives' list then grows to the right.
    if (principal_) CentrarForm(*this, *principal_);
    zv::SetMousePointer(zv::Pointer::Hourglass);
    const Medidas& medidas = tipo == "M" ? kMotivos : kBancos;
    if (tipo == "B") setWindowTitle("Bancos");
    if (tipo == "M") setWindowTitle("Motivos de desafiliación");

    std::vector<FilaGrilla> filas;
    try {
        filas = LeeConsulta(tipo);
    } catch (const std::exception& e) {
        zv::SetMousePointer(zv::Pointer::Default);
        MuestraErrorLista(e);
    }
    const bool vacia = filas.empty();
    modelo_->Carga(ColumnasConsulta(), std::move(filas));
    FijaMedidas(medidas.anchoForm, medidas.anchoGrilla, medidas.anchoDescripcion, medidas.izquierdaSalir);
    // The widths are fixed: a long motive goes on over more lines of its row.
    FilasAlTexto(*grdBancos_);
    grdBancos_->setEnabled(!vacia);
    if (!vacia) grdBancos_->setCurrentIndex(modelo_->index(0, 0));
    zv::SetMousePointer(zv::Pointer::Default);
}

void FrmConsultas::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (grdBancos_->isEnabled()) grdBancos_->setFocus();
}

void FrmConsultas::CmdSalir_Click() { close(); }

}  // namespace zvform::ui
