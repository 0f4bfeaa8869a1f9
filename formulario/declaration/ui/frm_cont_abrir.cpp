#include "formulario/declaration/ui/frm_cont_abrir.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <algorithm>
#include <iterator>

#include "formulario/core/consultas.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/declaration/lista_declaraciones.h"
#include "formulario/declaration/ui/error_lista.h"
#include "formulario/core/widgets/grilla.h"
#include "formulario/declaration/ui/modelo_grilla.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"
#include "shared/formato.h"

namespace zvform::ui {

namespace col = columna_lista;

namespace {

// The form's layout in twips.
// The layout in twips; the sent list is wider for the send's four columns.
constexpr int kAnchoRegistradas = 9480;
constexpr int kAnchoEnviadas = 13200;
constexpr int kAltoForm = 5400;
constexpr int kAnchoBoton = 1695;

// The grid as ValidaSeleccion sees it: its rows and the current row's cells.
class Seleccion : public GrillaSeleccion {
public:
    Seleccion(const ModeloGrilla& modelo, int fila) : modelo_(modelo), fila_(fila) {}
    long Filas() const override { return modelo_.rowCount(); }
    std::string CeldaFilaActual(int columna) const override {
        return modelo_.Celda(fila_, columna).toStdString();
    }

private:
    const ModeloGrilla& modelo_;
    int fila_;
};

// Captions of one family in one mode.
struct Textos {
    const char* formulario;
    const char* accion;
    const char* indicacion;
};

Textos TextosDelModo(bool enviada, int operacion) {
    if (operacion == 3)
        return enviada ? Textos{"Eliminar Declaraciones enviadas", "&Eliminar",
                                "Seleccione la declaración enviada que desea eliminar :"}
                       : Textos{"Eliminar Declaraciones", "&Eliminar",
                                "Seleccione la declaración que desea eliminar :"};
    return enviada ? Textos{"Ver Declaraciones enviadas", "&Ver Declaración",
                            "Seleccione la declaración enviada que desea ver :"}
                   : Textos{"Actualizar Declaraciones", "&Actualizar",
                            "Seleccione la declaración que desea actualizar :"};
}

// Column widths in twips; 0 hides the column. The document type's code,
// the empty "Entidad", the week and the payment data of the registered
// list are read, not shown.
constexpr int kAnchosRegistradas[] = {0, 1100, 1400, 3000, 1000, 700, 0, 0, 900, 0, 0};
constexpr int kAnchosEnviadas[] = {0, 1100, 1400, 1900, 1000, 700, 0, 0, 900, 1100, 1300, 1000, 1100};

BarradeEstadoZarvo* Barra() { return BarradeEstadoZarvo::Principal(); }

}  // namespace

FrmContAbrir::FrmContAbrir(QWidget* parent) : FrmContAbrir(false, parent) {}

FrmContAbrir::FrmContAbrir(bool enviada, QWidget* parent) : QDialog(parent), enviada_(enviada) {
    setObjectName(enviada ? "FrmContAbrirE" : "FrmContAbrir");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    CreaControles();
    Form_Load();
}

FrmContAbrir::~FrmContAbrir() = default;

FrmContAbrirE::FrmContAbrirE(QWidget* parent) : FrmContAbrir(true, parent) {}

void FrmContAbrir::CreaControles() {
    const int ancho = enviada_ ? kAnchoEnviadas : kAnchoRegistradas;
    setFixedSize(TwipsX(ancho, this), TwipsY(kAltoForm, this));
    Frame1_ = new QGroupBox(enviada_ ? "Declaraciones Enviadas" : "Declaraciones Registradas", this);
    Frame1_->setObjectName("Frame1");
    UbicaTwips(*Frame1_, 120, 60, ancho - 240, 4560);

    Label1_0_ = new QLabel(Frame1_);
    Label1_0_->setObjectName("Label1_0");
    UbicaTwips(*Label1_0_, 240, 300, ancho - 720, 285);

    modelo_ = new ModeloGrilla(this);
    modelo_->setObjectName("DtaNew");
    grdContrib_ = new QTableView(Frame1_);
    grdContrib_->setObjectName("grdContrib");
    grdContrib_->setModel(modelo_);
    PreparaGrilla(*grdContrib_);
    grdContrib_->installEventFilter(this);
    UbicaTwips(*grdContrib_, 120, 660, ancho - 480, 3780);
    Label1_0_->setBuddy(grdContrib_);

    connect(grdContrib_->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int columna) { grdContrib_HeadClick(columna); });
    connect(grdContrib_, &QAbstractItemView::doubleClicked, this, [this] { grdContrib_DblClick(); });
    connect(grdContrib_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { grdContrib_RowColChange(); });

    CmdOpciones_0_ = new QPushButton(this);
    CmdOpciones_0_->setObjectName("CmdOpciones_0");
    UbicaTwips(*CmdOpciones_0_, ancho - 2 * kAnchoBoton - 240, 4800, kAnchoBoton, 420);
    connect(CmdOpciones_0_, &QPushButton::clicked, this, [this] { CmdOpciones_Click(0); });
    CmdOpciones_1_ = new QPushButton("&Salir", this);
    CmdOpciones_1_->setObjectName("CmdOpciones_1");
    UbicaTwips(*CmdOpciones_1_, ancho - kAnchoBoton - 120, 4800, kAnchoBoton, 420);
    connect(CmdOpciones_1_, &QPushButton::clicked, this, [this] { CmdOpciones_Click(1); });
    AplicaTextos(1);  // the design's captions are the open mode's
}

void FrmContAbrir::CaptionsPorModo() {
    const int operacion = Estado::G().gOperacion;
    if (operacion == 1 || operacion == 3) AplicaTextos(operacion);
}

void FrmContAbrir::AplicaTextos(int operacion) {
    const Textos textos = TextosDelModo(enviada_, operacion);
    setWindowTitle(textos.formulario);
    CmdOpciones_0_->setText(textos.accion);
    Label1_0_->setText(textos.indicacion);
}

void FrmContAbrir::Form_Load() {
    zv::SetMousePointer(zv::Pointer::Hourglass);
    Estado::G().gEsEnviada = enviada_;
    CaptionsPorModo();
    Llena(kOrdenDeCarga);
    zv::SetMousePointer(zv::Pointer::Default);
}

void FrmContAbrir::Llena(int columnaOrden) {
    std::vector<FilaGrilla> filas;
    try {
        filas = LeeLista(enviada_, columnaOrden);
    } catch (const std::exception& e) {
        zv::SetMousePointer(zv::Pointer::Default);
        MuestraErrorLista(e);
    }
    const bool vacia = filas.empty();
    modelo_->Carga(ColumnasLista(enviada_), std::move(filas));
    AjustaColumnas();
    grdContrib_->setEnabled(!vacia);
    if (!vacia) FijaFilaActual(0);
}

void FrmContAbrir::AjustaColumnas() {
    // The period reads better centred; "Entidad" stays hidden.
    modelo_->FijaAlineacion(col::kPeriodo, Qt::AlignCenter);
    if (enviada_)
        FijaAnchos(*grdContrib_, kAnchosEnviadas, std::size(kAnchosEnviadas), col::kRazonSocial);
    else
        FijaAnchos(*grdContrib_, kAnchosRegistradas, std::size(kAnchosRegistradas), col::kRazonSocial);
}

int FrmContAbrir::FilaActual() const { return FilaDeGrilla(*grdContrib_); }

void FrmContAbrir::FijaFilaActual(int fila) {
    if (modelo_->rowCount() == 0) return;
    VaAFila(*grdContrib_, fila, col::kRuc);
    grdContrib_RowColChange();  // also when the row number was already current
}

std::string FrmContAbrir::Texto(int columna) const {
    return modelo_->Celda(FilaActual(), columna).toStdString();
}

void FrmContAbrir::grdContrib_RowColChange() {
    if (FilaActual() < 0) return;
    if (BarradeEstadoZarvo* barra = Barra())
        barra->Muestra(QString::fromStdString(Texto(col::kRuc)), QString::fromStdString(Texto(col::kRazonSocial)),
                       QString::fromStdString(Texto(col::kPeriodo)), QString::fromStdString(Texto(col::kFormulario)));
    Estado& g = Estado::G();
    g.gRuc = Texto(col::kRuc);
    g.gRazonSocial = Texto(col::kRazonSocial);
}

void FrmContAbrir::grdContrib_HeadClick(int colIndex) { Llena(colIndex); }

void FrmContAbrir::grdContrib_DblClick() { CmdOpciones_Click(0); }

void FrmContAbrir::CopiaFilaActual() {
    Estado& g = Estado::G();
    g.gPeriodo = PeriodoDeLista(Texto(col::kPeriodo));
    if (!enviada_) return;
    g.gNumOrden = Texto(col::kNumOrden);
    g.gCodControl = Texto(col::kControl);
    g.gCorrel = Texto(col::kCorrel);
}

void FrmContAbrir::CmdOpciones_Click(int index) {
    try {
        CopiaFilaActual();
        if (index == 1) {
            close();
            zv::SetMousePointer(zv::Pointer::Default);
            return;
        }
        if (index != 0) return;
        switch (Estado::G().gOperacion) {
            case 1: AbreDeclaracion(); break;
            case 3: EliminaSeleccionada(); break;
            default: break;
        }
        zv::SetMousePointer(zv::Pointer::Default);
    } catch (const std::exception& e) {
        HabilitaControles(true);
        zv::SetMousePointer(zv::Pointer::Default);
        MuestraErrorLista(e);
    }
}

void FrmContAbrir::HabilitaControles(bool habilitar) {
    // The controls, not the dialog: the declaration form may be a child
    // window of this one and must stay usable.
    Frame1_->setEnabled(habilitar);
    CmdOpciones_0_->setEnabled(habilitar);
    CmdOpciones_1_->setEnabled(habilitar);
}

void FrmContAbrir::AbreDeclaracion() {
    if (!ValidaSeleccion(Seleccion(*modelo_, FilaActual()), enviada_ ? 3 : 1)) return;
    if (!ValidaConfigRegional()) return;
    const int fila = FilaActual();
    if (fila < 0) return;
    HabilitaControles(false);
    zv::SetMousePointer(zv::Pointer::Hourglass);
    if (const auto& abrir = MDIFrm::Abridores().abrirFrm841) abrir();
    zv::SetMousePointer(zv::Pointer::Default);
    zv::DoEvents();
    HabilitaControles(true);
    // The same row number, not necessarily the same declaration.
    Form_Load();
    FijaFilaActual(fila);
    if (grdContrib_->isEnabled()) grdContrib_->setFocus();  // disabling took the focus away
}

void FrmContAbrir::EliminaSeleccionada() {
    if (!ValidaSeleccion(Seleccion(*modelo_, FilaActual()), 2)) return;
    if (FilaActual() < 0) return;
    const zv::Answer respuesta = zv::MsgBox("¿Confirma que va a eliminar la declaración seleccionada?",
                                            zv::Icon::Question, zv::Buttons::YesNo,
                                            windowTitle().toStdString(), 1);
    if (respuesta != zv::Answer::Yes) return;
    const int tipoDocumento = static_cast<int>(zv::Val(Texto(col::kTipoDocumento)));
    EliminaDeclaracion(tipoDocumento, Texto(col::kRuc), enviada_ ? Texto(col::kCorrel) : std::string());
    grdContrib_HeadClick(col::kRuc);
}

bool FrmContAbrir::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grdContrib_ && event->type() == QEvent::KeyPress) {
        auto* tecla = static_cast<QKeyEvent*>(event);
        if (tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter) {
            CmdOpciones_Click(0);
            return true;
        }
        // A typed character does nothing (no search, no edit); the keys that
        // move through the rows or the focus still act.
        const bool mueveFoco = tecla->key() == Qt::Key_Tab || tecla->key() == Qt::Key_Backtab;
        if (!tecla->text().isEmpty() && !mueveFoco) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmContAbrir::done(int resultado) {
    if (BarradeEstadoZarvo* barra = Barra()) barra->Muestra("", "", "", "");
    QDialog::done(resultado);
}

}  // namespace zvform::ui
