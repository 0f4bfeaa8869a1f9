#include "formulario/import/ui/frm_importar.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyledItemDelegate>
#include <algorithm>

#include "formulario/core/consultas.h"
#include "formulario/core/estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/core/widgets/ventanas.h"
#include "formulario/import/seleccion.h"
#include "formulario/import/ui/lista_unidades.h"
#include "formulario/import/unidades.h"
#include "platform/cursor.h"
#include "platform/filenames.h"
#include "platform/msgbox.h"

namespace zvimport::ui {

namespace {

constexpr int kAncho = 6840;
constexpr int kAltoReposo = 6190;
constexpr int kAltoImportando = 6520;
constexpr int kBotonesReposo = 5260;
constexpr int kBotonesImportando = 5220;
constexpr int kAnchoMarcoProgreso = 6615;

QString Q(const std::string& texto) { return QString::fromStdString(texto); }
std::string S(const QString& texto) { return texto.toStdString(); }

// The declarant list as CargaNumeroDocumento fills it.
class ListaCombo : public zvform::ListaTexto {
public:
    explicit ListaCombo(QComboBox& combo) : combo_(combo) {}
    void Clear() override { combo_.clear(); }
    void AddItem(const std::string& texto) override { combo_.addItem(Q(texto)); }
    void SetSelected(int indice) override { combo_.setCurrentIndex(indice); }

private:
    QComboBox& combo_;
};

QLabel* Etiqueta(QWidget* padre, const char* texto, int izquierda, int arriba, int ancho, int alto,
                 QWidget* companero = nullptr) {
    auto* etiqueta = new QLabel(QString::fromUtf8(texto), padre);
    zvform::UbicaTwips(*etiqueta, izquierda, arriba, ancho, alto);
    if (companero) etiqueta->setBuddy(companero);
    return etiqueta;
}

QGroupBox* Marco(QWidget* padre, const char* nombre, const char* titulo, int izquierda, int arriba, int ancho,
                 int alto) {
    auto* marco = new QGroupBox(QString::fromUtf8(titulo), padre);
    marco->setObjectName(nombre);
    zvform::UbicaTwips(*marco, izquierda, arriba, ancho, alto);
    return marco;
}

template <class Control>
Control* Crea(QWidget* padre, const char* nombre, int izquierda, int arriba, int ancho, int alto) {
    auto* control = new Control(padre);
    control->setObjectName(nombre);
    zvform::UbicaTwips(*control, izquierda, arriba, ancho, alto);
    return control;
}

constexpr int kNivelCarpeta = Qt::UserRole + 1;

// The folder list draws each folder one step in from its parent, as a
// folder list does; the names themselves stay bare so that typing a
// name's first letters finds it.
class SangriaCarpetas : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* opcion, const QModelIndex& indice) const override {
        QStyledItemDelegate::initStyleOption(opcion, indice);
        opcion->rect.adjust(indice.data(kNivelCarpeta).toInt() * zvform::TwipsX(180), 0, 0, 0);
    }
};

}  // namespace

FrmImportar::FrmImportar(QWidget* parent) : QDialog(parent), importacion_(*this) {
    setObjectName("FrmImportar");
    setWindowTitle(QString::fromUtf8(kTituloFormulario));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    CreaControles();
    Form_Load();
}

FrmImportar::~FrmImportar() = default;

void FrmImportar::CreaControles() {
    CreaDeclarante();
    CreaArchivo();
    CreaResultados();
    CmdGrabar_ = Crea<QPushButton>(this, "CmdGrabar", 3480, kBotonesReposo, 1575, 375);
    CmdGrabar_->setText("&Aceptar");
    CmdCancelar_ = Crea<QPushButton>(this, "CmdCancelar", 5100, kBotonesReposo, 1575, 375);
    CmdCancelar_->setText("&Salir");
    // Enter moves between the controls; it must never start an import
    // unless "&Aceptar" itself has the focus (the event filter presses a
    // focused button on Enter, as the keyboard road of the form expects).
    for (QPushButton* boton : {CmdGrabar_, CmdCancelar_}) {
        boton->setAutoDefault(false);
        boton->setDefault(false);
        boton->installEventFilter(this);
    }
    connect(CmdGrabar_, &QPushButton::clicked, this, &FrmImportar::CmdGrabar_Click);
    connect(CmdCancelar_, &QPushButton::clicked, this, &FrmImportar::CmdCancelar_Click);
    CreaProgreso();
    FijaOrdenTab();
    AjustaEtiquetas();
}

// The labels were laid out for a smaller letter than this screen's: each
// one keeps its place and grows to its text within its frame (the labels
// whose text the import changes take all the room there is); a text that
// does not fit even so takes a smaller letter rather than being cut.
void FrmImportar::AjustaEtiquetas() {
    const QLabel* cambiantes[] = {lblTransferidos_, lblRechazados_, lblbar1_};
    for (QLabel* etiqueta : findChildren<QLabel*>()) {
        const int disponible = etiqueta->parentWidget()->width() - etiqueta->x() - zvform::TwipsX(120, this);
        if (std::find(std::begin(cambiantes), std::end(cambiantes), etiqueta) != std::end(cambiantes)) {
            etiqueta->resize(std::max(disponible, etiqueta->width()), etiqueta->height());
            continue;
        }
        QFont letra = etiqueta->font();
        while (letra.pointSizeF() > 6 && QFontMetrics(letra).horizontalAdvance(etiqueta->text()) > disponible)
            letra.setPointSizeF(letra.pointSizeF() - 0.5);
        etiqueta->setFont(letra);
        const int ancho = std::min(QFontMetrics(letra).horizontalAdvance(etiqueta->text()) + 4, disponible);
        if (ancho > etiqueta->width()) etiqueta->resize(ancho, etiqueta->height());
    }
}

void FrmImportar::CreaDeclarante() {
    Frame2_ = Marco(this, "Frame2", "Declarante", 120, 120, 6555, 1395);
    CmbRuc_ = Crea<QComboBox>(Frame2_, "CmbRuc", 240, 480, 1520, 315);
    Etiqueta(Frame2_, "Número de RUC", 240, 240, 1215, 255, CmbRuc_);
    txtNombre_ = Crea<QLineEdit>(Frame2_, "txtNombre", 1920, 480, 3735, 315);
    Etiqueta(Frame2_, "Nombre o razón social", 1920, 240, 1635, 270, txtNombre_);
    MkePeriodo_ = Crea<QLineEdit>(Frame2_, "MkePeriodo", 240, 1020, 825, 285);
    MkePeriodo_->setInputMask("99/9999;_");
    Etiqueta(Frame2_, "Periodo", 240, 840, 975, 195, MkePeriodo_);
    connect(CmbRuc_, &QComboBox::currentIndexChanged, this, [this] { CmbRuc_Click(); });
    connect(MkePeriodo_, &QLineEdit::textChanged, this, [this] { MkePeriodo_Change(); });
    CmbRuc_->installEventFilter(this);
}

void FrmImportar::CreaArchivo() {
    Frame1_ = Marco(this, "Frame1", "Archivo", 120, 1560, 6555, 2580);
    auto* indicacion = Etiqueta(Frame1_, "Seleccione la unidad y el directorio desde el que desea importar la información",
                                240, 240, 5535, 450);
    indicacion->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DrvLst_ = new ListaUnidades(Frame1_);
    DrvLst_->setObjectName("DrvLst");
    zvform::UbicaTwips(*DrvLst_, 240, 720, 2595, 315);
    Etiqueta(Frame1_, "Unidades de Disco :", 240, 480, 1455, 210, DrvLst_);
    DirList_ = Crea<QListWidget>(Frame1_, "DirList", 3000, 720, 3375, 1665);
    DirList_->setItemDelegate(new SangriaCarpetas(DirList_));
    Etiqueta(Frame1_, "Directorios :", 3000, 480, 870, 270, DirList_);
    flListaFiles_ = Crea<QListWidget>(Frame1_, "flListaFiles", 240, 1320, 2595, 1065);
    Etiqueta(Frame1_, "Archivos a Importar :", 240, 1080, 1815, 195, flListaFiles_);
    connect(DrvLst_, &QComboBox::currentIndexChanged, this, [this] { DrvLst_Change(); });
    connect(DirList_, &QListWidget::itemClicked, this, [this] { DirList_Click(); });
    connect(DirList_, &QListWidget::itemDoubleClicked, this, &FrmImportar::DirList_DblClick);
    DrvLst_->installEventFilter(this);
    DirList_->installEventFilter(this);
}

void FrmImportar::CreaResultados() {
    Frame4_ = Marco(this, "Frame4", "Resultados de la Importación", 120, 4200, 6555, 855);
    lblTransferidos_ = Crea<QLabel>(Frame4_, "lblTransferidos", 240, 300, 2655, 195);
    lblRechazados_ = Crea<QLabel>(Frame4_, "lblRechazados", 240, 600, 2715, 195);
    lblTransferidos_->setText("0          Registro(s) transferido(s)");
    lblRechazados_->setText("0          Registro(s) rechazado(s)");
}

void FrmImportar::CreaProgreso() {
    Frame3_ = Marco(this, "Frame3", "Espere un momento...", 120, 5100, kAnchoMarcoProgreso, 915);
    lblbar1_ = Crea<QLabel>(Frame3_, "lblbar1", 240, 360, 5415, 255);
    pbar1_ = Crea<QProgressBar>(Frame3_, "pbar1", 240, 600, kAnchoMarcoProgreso - 555, 255);
    pbar1_->setRange(0, 10);
    pbar1_->setTextVisible(false);
    Frame3_->setAutoFillBackground(true);  // it covers the buttons while shown
    Frame3_->hide();
}

void FrmImportar::FijaOrdenTab() {
    QWidget* orden[] = {CmbRuc_, MkePeriodo_, DrvLst_, DirList_, CmdGrabar_, CmdCancelar_, flListaFiles_};
    for (std::size_t i = 0; i + 1 < std::size(orden); ++i) setTabOrder(orden[i], orden[i + 1]);
    txtNombre_->setFocusPolicy(Qt::NoFocus);
}

void FrmImportar::Form_Load() {
    zv::SetMousePointer(zv::Pointer::Hourglass);
    txtNombre_->clear();
    txtNombre_->setEnabled(false);

    // The drive and folder of the program's own folder; the first drive's
    // root when no drive holds it.
    DrvLst_->Refresca();
    std::string carpeta = zv::files::ProgramFolder().string();
    int unidad = UnidadDeRuta(DrvLst_->Unidades(), carpeta);
    if (unidad < 0 && !DrvLst_->Unidades().empty()) {
        unidad = 0;
        carpeta = DrvLst_->Unidades().front().raiz;
    }
    if (unidad >= 0) {
        DrvLst_->EligeSinAviso(unidad);
        std::vector<std::string> subcarpetas;
        if (!LeeSubcarpetas(carpeta, subcarpetas)) LlenaCarpetas(carpeta, subcarpetas);
    }

    Frame3_->hide();
    UbicaBotones(kBotonesReposo);
    FijaAlto(kAltoReposo);

    ListaCombo lista(*CmbRuc_);
    {
        QSignalBlocker bloqueo(CmbRuc_);
        declarantesCargados_ = zvform::CargaNumeroDocumento(lista, 6, "", 0);
        CmbRuc_->setCurrentIndex(-1);  // no declarant is chosen at opening
    }
    zvform::FijaAnchoCombo(*this, *CmbRuc_, 50);
    zv::SetMousePointer(zv::Pointer::Default);
}

void FrmImportar::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (activado_) return;
    activado_ = true;
    // Form_Activate: with no declarant the user never works in the form.
    if (!declarantesCargados_) QMetaObject::invokeMethod(this, [this] { done(QDialog::Rejected); }, Qt::QueuedConnection);
    declarantesCargados_ = true;
}

void FrmImportar::FijaAlto(int twips) { setFixedSize(zvform::TwipsX(kAncho, this), zvform::TwipsY(twips, this)); }

void FrmImportar::UbicaBotones(int arriba) {
    for (QPushButton* boton : {CmdGrabar_, CmdCancelar_})
        boton->move(boton->x(), zvform::TwipsY(arriba, this));
}

// --- the declarant, the period and the file list ---------------------------

void FrmImportar::CmbRuc_Click() {
    if (CmbRuc_->currentIndex() < 0) return;
    zvform::Estado::G().gRazonSocial = NombreDeItem(DeclaranteElegido());
    RefrescaArchivos();
}

void FrmImportar::MkePeriodo_Change() { RefrescaArchivos(); }

void FrmImportar::RefrescaArchivos() {
    if (CmbRuc_->currentIndex() < 0) return;
    const std::string item = DeclaranteElegido();
    txtNombre_->setText(Q(NombreDeItem(item)));
    patron_ = KeyNombreArchivo(RucDeItem(item), PeriodoDeTexto(TextoPeriodo()));
    DirList_Click();
}

void FrmImportar::DirList_Change() { DirList_Click(); }

// The file list pointed at the folder list's path: only the expected file.
void FrmImportar::DirList_Click() {
    flListaFiles_->clear();
    const std::string nombre = ArchivoEsperado(rutaCarpetas_, patron_);
    if (!nombre.empty()) flListaFiles_->addItem(Q(nombre));
}

// --- drives and folders ------------------------------------------------------

void FrmImportar::DrvLst_Change() {
    const Unidad* unidad = DrvLst_->Actual();
    if (!unidad) return;
    const Unidad elegida = *unidad;
    std::vector<std::string> subcarpetas;
    FallaCarpeta falla = RevisaUnidad(elegida);
    if (!falla) falla = LeeSubcarpetas(elegida.raiz, subcarpetas);
    if (!falla) {
        LlenaCarpetas(elegida.raiz, subcarpetas);
        DirList_Change();
        return;
    }
    zv::SetMousePointer(zv::Pointer::Arrow);
    zv::MsgBox(MensajeErrorUnidad(falla, elegida.nombre), zv::Icon::Critical, zv::Buttons::Ok, kTituloFormulario);
    DrvLstALaCarpeta();
}

void FrmImportar::DrvLstALaCarpeta() { DrvLst_->EligeSinAviso(UnidadDeRuta(DrvLst_->Unidades(), rutaCarpetas_)); }

bool FrmImportar::CambiaCarpeta(const std::string& carpeta) {
    std::vector<std::string> subcarpetas;
    const FallaCarpeta falla = LeeSubcarpetas(carpeta, subcarpetas);
    if (!falla) {
        LlenaCarpetas(carpeta, subcarpetas);
        DirList_Change();
        return true;
    }
    const int unidad = UnidadDeRuta(DrvLst_->Unidades(), carpeta);
    const std::string nombre = unidad >= 0 ? DrvLst_->Unidades()[unidad].nombre : carpeta;
    zv::SetMousePointer(zv::Pointer::Arrow);
    zv::MsgBox(MensajeErrorUnidad(falla, nombre), zv::Icon::Critical, zv::Buttons::Ok, kTituloFormulario);
    // A folder that went away takes its list with it: the list goes up to
    // the nearest folder that can still be read.
    const std::string raiz = unidad >= 0 ? DrvLst_->Unidades()[unidad].raiz : rutaCarpetas_;
    auto camino = CaminoDesdeRaiz(raiz, rutaCarpetas_);
    for (auto it = camino.rbegin(); it != camino.rend(); ++it) {
        if (LeeSubcarpetas(*it, subcarpetas)) continue;
        LlenaCarpetas(*it, subcarpetas);
        break;
    }
    DrvLstALaCarpeta();
    DirList_Change();
    return false;
}

void FrmImportar::LlenaCarpetas(const std::string& carpeta, const std::vector<std::string>& subcarpetas) {
    rutaCarpetas_ = carpeta;
    DirList_->clear();
    const int unidad = UnidadDeRuta(DrvLst_->Unidades(), carpeta);
    const std::string raiz = unidad >= 0 ? DrvLst_->Unidades()[unidad].raiz : carpeta;
    // The folder chain starts at the drive that holds the folder: a folder
    // walked into under another drive of the list (the home folder, a
    // medium) moves the drive list there, so that both lists agree and
    // choosing the drive left behind takes the folder list back to it.
    const Unidad* elegida = DrvLst_->Actual();
    if (!elegida || unidad < 0 || elegida->raiz != raiz) DrvLst_->EligeSinAviso(unidad);
    const auto camino = CaminoDesdeRaiz(raiz, carpeta);
    const QIcon abierta = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon cerrada = style()->standardIcon(QStyle::SP_DirClosedIcon);
    int nivel = 0;
    for (const auto& paso : camino) {
        const std::string nombre = nivel == 0 ? paso : std::filesystem::path(paso).filename().string();
        auto* item = new QListWidgetItem(abierta, Q(nombre), DirList_);
        item->setData(Qt::UserRole, Q(paso));
        item->setData(kNivelCarpeta, nivel++);
    }
    DirList_->setCurrentRow(DirList_->count() - 1);
    for (const auto& nombre : subcarpetas) {
        auto* item = new QListWidgetItem(cerrada, Q(nombre), DirList_);
        item->setData(Qt::UserRole, Q((std::filesystem::path(carpeta) / nombre).string()));
        item->setData(kNivelCarpeta, nivel);
    }
}

void FrmImportar::DirList_DblClick(QListWidgetItem* item) {
    if (item) CambiaCarpeta(S(item->data(Qt::UserRole).toString()));
}

void FrmImportar::DirList_Espacio() { DirList_DblClick(DirList_->currentItem()); }

bool FrmImportar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
    const int tecla = static_cast<QKeyEvent*>(event)->key();
    const bool enter = tecla == Qt::Key_Return || tecla == Qt::Key_Enter;
    if (enter && (watched == CmbRuc_ || watched == DrvLst_ || watched == DirList_)) {
        zvform::PasaTab("TAB");
        return true;
    }
    if (enter && (watched == CmdGrabar_ || watched == CmdCancelar_)) {
        static_cast<QPushButton*>(watched)->click();
        return true;
    }
    if (tecla == Qt::Key_Space && watched == DirList_) {
        DirList_Espacio();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// --- the import ---------------------------------------------------------------

void FrmImportar::CmdGrabar_Click() { importacion_.CmdGrabar_Click(); }

void FrmImportar::CmdCancelar_Click() {
    if (Importando()) return;
    done(QDialog::Rejected);
}

// Escape and the title bar's close: refused while an import runs, since
// its transaction and the form's state are in use.
void FrmImportar::reject() {
    if (!Importando()) QDialog::reject();
}

void FrmImportar::closeEvent(QCloseEvent* event) {
    if (Importando()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

std::string FrmImportar::DeclaranteElegido() const {
    return CmbRuc_->currentIndex() < 0 ? std::string() : S(CmbRuc_->currentText());
}

std::string FrmImportar::TextoPeriodo() const { return S(MkePeriodo_->displayText()); }
std::string FrmImportar::Carpeta() const { return rutaCarpetas_; }

std::string FrmImportar::ArchivoSeleccionado() const {
    const auto elegidos = flListaFiles_->selectedItems();
    return elegidos.isEmpty() ? std::string() : S(elegidos.front()->text());
}

bool FrmImportar::Valida_Datos() {
    switch (RevisaDatos(DeclaranteElegido(), TextoPeriodo())) {
        case FallaDatos::Declarante: CmbRuc_->setFocus(); return false;
        case FallaDatos::Periodo:
            if (MkePeriodo_->isEnabled()) MkePeriodo_->setFocus();
            return false;
        case FallaDatos::Ninguna: break;
    }
    return true;
}

// Outside a count every text is shown at once; during one, painting the
// labels after every line would cost the import most of its time, so they
// follow at the screen's pace, both together, and take the last texts at
// the count's end. A label set alone during a count waits for the next
// showing of both.
void FrmImportar::FijaTransferidos(const std::string& texto) {
    transferidos_ = Q(texto);
    if (!contando_) lblTransferidos_->setText(transferidos_);
}

void FrmImportar::FijaRechazados(const std::string& texto) {
    rechazados_ = Q(texto);
    if (!contando_) lblRechazados_->setText(rechazados_);
}

void FrmImportar::FijaContadores(const std::string& transferidos, const std::string& rechazados) {
    transferidos_ = Q(transferidos);
    rechazados_ = Q(rechazados);
    if (!contando_ || ritmo_.Toca()) MuestraContadores();
}

void FrmImportar::EmpiezaCuenta() {
    transferidos_ = lblTransferidos_->text();
    rechazados_ = lblRechazados_->text();
    contando_ = true;
    ritmo_.Reinicia();
}

void FrmImportar::TerminaCuenta() {
    contando_ = false;
    MuestraContadores();
    Frame4_->repaint();
}

void FrmImportar::MuestraContadores() {
    lblTransferidos_->setText(transferidos_);
    lblRechazados_->setText(rechazados_);
}
void FrmImportar::HabilitaAceptar() { CmdGrabar_->setEnabled(true); }

void FrmImportar::MuestraProgreso(bool visible) {
    Frame3_->setVisible(visible);
    if (visible) Frame3_->raise();
    UbicaBotones(visible ? kBotonesImportando : kBotonesReposo);
    FijaAlto(visible ? kAltoImportando : kAltoReposo);
    // Nothing the import reads may change under it while it yields to the
    // window system between lines.
    for (QWidget* control : {static_cast<QWidget*>(Frame1_), static_cast<QWidget*>(Frame2_),
                             static_cast<QWidget*>(CmdGrabar_), static_cast<QWidget*>(CmdCancelar_)})
        control->setEnabled(!visible);
}

void FrmImportar::FijaProgreso(int valor) { pbar1_->setValue(valor); }
void FrmImportar::FijaTextoProgreso(const std::string& texto) { lblbar1_->setText(Q(texto)); }
void FrmImportar::RepintaProgreso() { Frame3_->repaint(); }

void FrmImportar::MuestraRangoPaginas(const std::string& archivoSpool, int paginas) {
    const auto& abrir = zvform::ui::MDIFrm::Abridores().abrirRangoPaginas;
    if (abrir) abrir(archivoSpool, paginas);
}

void FrmImportar::MuestraReporte(const std::string& archivoSpool) {
    const auto& mostrar = zvform::ui::MDIFrm::Abridores().muestraReporte;
    if (mostrar) mostrar(archivoSpool, "Vprevia");
}

}  // namespace zvimport::ui
