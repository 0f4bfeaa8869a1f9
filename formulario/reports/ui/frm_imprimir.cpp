#include "formulario/reports/ui/frm_imprimir.h"
#include "formulario/reports/ui/impresora.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/grilla.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/reports/reporte.h"
#include "platform/cursor.h"
#include "platform/error.h"
#include "platform/msgbox.h"

namespace zvform::ui {

namespace {

constexpr int kColumnaRuc = 2;
constexpr int kColumnaNombre = 3;
constexpr int kColumnaFormulario = 4;
constexpr int kColumnaPeriodo = 7;
constexpr int kColumnaCorrelativo = 8;
constexpr int kColumnaFechaEnvio = 9;

// The dialog's size in twips: every column of a declaration in view, the
// send's two more for sent declarations.
constexpr int kAnchoTwips = 11400;
constexpr int kAnchoEnviadasTwips = 13500;
constexpr int kAltoTwips = 6600;

constexpr int kAyudaRegistradas = 1011;
constexpr int kAyudaEnviadas = 1012;

const char* const kCabeceras[kColumnasImpresion] = {
    "tip_doc_d", "Tipo docum.", "RUC", "Razón social", "Formulario",
    "Entidad",   "semana",      "Periodo", "Correlativo", "Fecha de envío",
};

const char* const kOpciones[] = {"Declaración", "Detalle de afiliados", "Declaración y detalle de afiliados"};
const char* const kBotones[] = {"&Preliminar", "&Imprimir", "&Salir"};

const char* const kPreliminar = "Vprevia";
const char* const kDirecto = "xx";

QString Q(const std::string& texto) { return QString::fromStdString(texto); }

// An error the dialog does not expect (the database, the registration of
// the spool file): told in the run's own words; the dialog stays open.
template <typename F>
bool SinFallas(F&& paso) {
    try {
        paso();
        return true;
    } catch (const zv::Error& e) {
        AtiendeErrorImpresion(e.Number(), e.Description());
    } catch (const std::exception& e) {
        AtiendeErrorImpresion(51, e.what());
    }
    return false;
}

// The report shown ("Vprevia") or printed (any other mode) through the
// registry; false when it was not, once the user has been told why.
bool MuestraReporte(const std::string& archivo, const std::string& modo) {
    const auto& muestra = MDIFrm::Abridores().muestraReporte;
    return muestra && muestra(archivo, modo);
}

}  // namespace

// ---- The list ---------------------------------------------------------------

ModeloImprimir::ModeloImprimir(QObject* parent) : QAbstractTableModel(parent) { setObjectName("dtaDecRegis"); }

void ModeloImprimir::Refresca() {
    std::vector<DeclaracionImpresion> filas = LeeDeclaracionesImpresion();
    beginResetModel();
    filas_ = std::move(filas);
    endResetModel();
}

int ModeloImprimir::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloImprimir::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumnasImpresion; }

QVariant ModeloImprimir::data(const QModelIndex& indice, int rol) const {
    if (!indice.isValid() || rol != Qt::DisplayRole) return {};
    const DeclaracionImpresion& fila = Fila(indice.row());
    if (indice.column() == kColumnaPeriodo) return Q(PeriodoMostrado(fila.periodo));
    return Q(fila.Columna(indice.column()));
}

QVariant ModeloImprimir::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
    if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole) return {};
    if (seccion < 0 || seccion >= kColumnasImpresion) return {};
    return QString(kCabeceras[seccion]);
}

// ---- The dialog -------------------------------------------------------------

frmImprimir::frmImprimir(QWidget* parent) : QDialog(parent) {
    setObjectName("frmImprimir");
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    CreaControles();
    Form_Load();
}

frmImprimir::~frmImprimir() = default;

void frmImprimir::CreaControles() {
    Frame1_ = new QGroupBox("&Opciones", this);
    Frame1_->setObjectName("Frame1");
    auto* opciones = new QVBoxLayout(Frame1_);
    for (int i = 0; i < 3; ++i) {
        OptImp_[i] = new QRadioButton(kOpciones[i], Frame1_);
        OptImp_[i]->setObjectName(QString("OptImp_%1").arg(i));
        opciones->addWidget(OptImp_[i]);
    }
    OptImp_[0]->setChecked(true);

    Frame2_ = new QGroupBox("Declaraciones registradas", this);
    Frame2_->setObjectName("Frame2");
    dtaDecRegis_ = new ModeloImprimir(this);
    grdImprimir_ = new QTableView(Frame2_);
    grdImprimir_->setObjectName("grdImprimir");
    grdImprimir_->setModel(dtaDecRegis_);
    grdImprimir_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdImprimir_->setSelectionMode(QAbstractItemView::SingleSelection);
    grdImprimir_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdImprimir_->verticalHeader()->setDefaultSectionSize(grdImprimir_->fontMetrics().height() + 6);
    grdImprimir_->horizontalHeader()->setStretchLastSection(true);
    grdImprimir_->installEventFilter(this);
    connect(grdImprimir_, &QTableView::doubleClicked, this, [this] { CmdImprimir_Click(0); });
    connect(grdImprimir_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { MuestraEnBarra(); });
    auto* lista = new QVBoxLayout(Frame2_);
    lista->addWidget(grdImprimir_);

    auto* botones = new QHBoxLayout;
    botones->addStretch(1);
    for (int i = 0; i < 3; ++i) {
        CmdImprimir_[i] = new QPushButton(kBotones[i], this);
        CmdImprimir_[i]->setObjectName(QString("CmdImprimir_%1").arg(i));
        // Enter presses the focused button; in the grid it is "&Preliminar" (the filter below).
        CmdImprimir_[i]->setAutoDefault(true);
        connect(CmdImprimir_[i], &QPushButton::clicked, this, [this, i] { CmdImprimir_Click(i); });
        botones->addWidget(CmdImprimir_[i]);
    }

    auto* arriba = new QHBoxLayout;
    arriba->addWidget(Frame1_);
    arriba->addStretch(1);
    auto* todo = new QVBoxLayout(this);
    todo->addLayout(arriba);
    todo->addWidget(Frame2_, 1);
    todo->addLayout(botones);
    resize(TwipsX(kAnchoTwips, this), TwipsY(kAltoTwips, this));
}

void frmImprimir::Form_Load() {
    const bool enviada = Estado::G().gEsEnviada;
    setWindowTitle(enviada ? "Imprimir Declaraciones enviadas" : "Imprimir Declaraciones");
    dtaDecRegis_->Refresca();
    if (dtaDecRegis_->rowCount() == 0) {
        grdImprimir_->setEnabled(false);
    } else {
        IrAFila(dtaDecRegis_->rowCount() - 1);
        IrAFila(0);
    }
    grdImprimir_->setColumnHidden(kColumnaCorrelativo, !enviada);
    grdImprimir_->setColumnHidden(kColumnaFechaEnvio, !enviada);
    grdImprimir_->resizeColumnsToContents();
    if (enviada) resize(TwipsX(kAnchoEnviadasTwips, this), height());
    setProperty("HelpContextID", enviada ? kAyudaEnviadas : kAyudaRegistradas);
}

bool frmImprimir::event(QEvent* evento) {
    if (evento->type() == QEvent::WindowActivate) Form_Activate();
    return QDialog::event(evento);
}

// Back from a report, or from another program: the list as the database
// holds it now, on the same row.
void frmImprimir::Form_Activate() {
    if (!grdImprimir_->isEnabled()) return;
    const int fila = FilaActual();
    try {
        dtaDecRegis_->Refresca();
    } catch (const std::exception&) {
        // Keep the rows shown; the buttons report the failure when used.
    }
    IrAFila(fila < 0 ? 0 : fila);
    grdImprimir_->setFocus();
    MuestraEnBarra();
}

bool frmImprimir::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == grdImprimir_ && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            CmdImprimir_Click(0);
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

int frmImprimir::FilaActual() const {
    if (!grdImprimir_->isEnabled()) return -1;
    return FilaDeGrilla(*grdImprimir_);
}

void frmImprimir::IrAFila(int fila) { VaAFila(*grdImprimir_, fila, kColumnaRuc); }

void frmImprimir::MuestraEnBarra() {
    BarradeEstadoZarvo* barra = BarradeEstadoZarvo::Principal();
    const int fila = FilaActual();
    if (!barra || fila < 0) return;
    const DeclaracionImpresion& d = dtaDecRegis_->Fila(fila);
    barra->Muestra(Q(d.Columna(kColumnaRuc)), Q(d.Columna(kColumnaNombre)), Q(PeriodoMostrado(d.periodo)),
                   Q(d.Columna(kColumnaFormulario)));
}

OpcionImpresion frmImprimir::Opcion() const {
    if (OptImp_[1]->isChecked()) return OpcionImpresion::Detalle;
    if (OptImp_[2]->isChecked()) return OpcionImpresion::DeclaracionYDetalle;
    return OpcionImpresion::Declaracion;
}

void frmImprimir::CargarCasillas() {
    const int fila = FilaActual();
    if (fila >= 0) zvform::CargarCasillas(dtaDecRegis_->Fila(fila));
}

void frmImprimir::BorraArray() { zvform::BorraArray(); }

// ---- The buttons ------------------------------------------------------------

void frmImprimir::CmdImprimir_Click(int indice) {
    switch (indice) {
        case 0: Preliminar(); break;
        case 1: Imprimir(); break;
        case 2: close(); break;
        default: break;
    }
}

bool frmImprimir::EscribeReporte(int& fila, CorridaImpresion& corrida) {
    if (!ValidaConfigRegional()) {
        zv::SetMousePointer(zv::Pointer::Default);
        return false;
    }
    Estado::G().gTipoReporte = 2;
    fila = FilaActual();
    if (fila < 0) return false;
    // A copy: the list may be read again while the report is shown.
    const DeclaracionImpresion declaracion = dtaDecRegis_->Fila(fila);
    if (!SinFallas([&] { corrida = EscribeReporteImpresion(declaracion, Opcion()); })) return false;
    // A run that stopped has told the user why; nothing is shown or printed
    // from the incomplete file.
    return corrida.escrito;
}

void frmImprimir::Preliminar() {
    int fila = -1;
    CorridaImpresion corrida;
    if (EscribeReporte(fila, corrida)) {
        Estado& e = Estado::G();
        if (corrida.paginas > kPaginasSinRango) {
            e.gRangoPaginas = true;
            if (const auto& rango = MDIFrm::Abridores().abrirRangoPaginas) rango(corrida.archivo, corrida.paginas);
        } else {
            e.gRangoPaginas = false;
            MuestraReporte(corrida.archivo, kPreliminar);
        }
    }
    RestauraFila(fila);
}

void frmImprimir::Imprimir() {
    Estado::G().gRangoPaginas = false;  // every page of the new report
    int fila = -1;
    CorridaImpresion corrida;
    if (EscribeReporte(fila, corrida)) {
        zv::SetMousePointer(zv::Pointer::Hourglass);
        const bool impreso = MuestraReporte(corrida.archivo, kDirecto);
        zv::SetMousePointer(zv::Pointer::Default);
        // Said only when the printer took the whole report: a missing file or
        // a printer failure has been told instead.
        if (impreso)
            zv::MsgBox(AvisoImpreso("El reporte se imprimió satisfactoriamente", corrida.archivo), zv::Icon::Information,
                       zv::Buttons::Ok, kProducto);
    }
    RestauraFila(fila);
    zv::SetMousePointer(zv::Pointer::Default);
}

void frmImprimir::RestauraFila(int fila) {
    if (fila < 0) return;
    zv::DoEvents();
    IrAFila(fila);
}

void MuestraImprimir(QWidget* parent) {
    std::unique_ptr<frmImprimir> dialogo;
    if (!SinFallas([&] { dialogo = std::make_unique<frmImprimir>(parent); })) return;
    dialogo->exec();
}

}  // namespace zvform::ui
