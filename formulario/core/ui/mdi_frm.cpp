#include "formulario/core/ui/mdi_frm.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/termina.h"
#include "formulario/core/ui/acercade.h"
#include "formulario/core/ui/ayuda.h"
#include "formulario/core/ui/barra_estado.h"
#include "formulario/core/widgets/twips.h"
#include "platform/cursor.h"

namespace zvform::ui {

namespace {

// The window's place and size in twips (1440 to the inch).
constexpr int kIzquierdaTwips = -50;
constexpr int kArribaTwips = -50;
constexpr int kAnchoTwips = 9720;
constexpr int kAltoTwips = 7320;
void Ejecuta(const std::function<void()>& abridor) {
    if (abridor) abridor();
}

// The toolbar: a button's position counts the separators too.
struct BotonToolbar {
    const char* consejo;  // tool tip; nullptr is a separator
    QStyle::StandardPixmap icono;
    const char* nombre;
};

const BotonToolbar kBotones[] = {
    {"Actualizar", QStyle::SP_DialogOpenButton, "btnActualizar"},       // 1
    {"Eliminar", QStyle::SP_TrashIcon, "btnEliminar"},                   // 2
    {nullptr, QStyle::SP_CustomBase, nullptr},                           // 3
    {"Importar", QStyle::SP_ArrowDown, "btnImportar"},                   // 4
    {nullptr, QStyle::SP_CustomBase, nullptr},                           // 5
    {"Copiar", QStyle::SP_FileDialogNewFolder, "btnCopiar"},             // 6
    {"Imprimir", QStyle::SP_FileDialogDetailedView, "btnImprimir"},      // 7
    {nullptr, QStyle::SP_CustomBase, nullptr},                           // 8
    {"Salir", QStyle::SP_DialogCloseButton, "btnSalir"},                 // 9
    {nullptr, QStyle::SP_CustomBase, nullptr},                           // 10
    {"Número de orden", QStyle::SP_FileDialogInfoView, "btnNumeroOrden"},  // 11
    {"Help", QStyle::SP_DialogHelpButton, "btnHelp"},                    // 12
};

}  // namespace

AbridoresFormularios& MDIFrm::Abridores() {
    static AbridoresFormularios abridores;
    return abridores;
}

MDIFrm::MDIFrm(QWidget* parent) : QMainWindow(parent) {
    setObjectName("MDIFrm");
    setWindowTitle("0841 - Solvenda");
    // A title and a close box; no minimise or maximise box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    terminar = [](int codigo) { TerminaPrograma(codigo); };

    area_ = new QMdiArea(this);
    area_->setObjectName("areaMDI");
    area_->viewport()->setMouseTracking(true);
    area_->viewport()->installEventFilter(this);
    setCentralWidget(area_);

    CreaMenus();
    CreaToolbar();
    barra_ = new BarradeEstadoZarvo(this);
    barra_->setObjectName("BarradeEstadoZarvo1");
    setStatusBar(barra_);
    BarradeEstadoZarvo::SetPrincipal(barra_);
}

MDIFrm::~MDIFrm() = default;

QAction* MDIFrm::Item(QMenu* menu, const QString& texto, const char* nombre, void (MDIFrm::*accion)()) {
    QAction* item = menu->addAction(texto);
    item->setObjectName(nombre);
    if (accion) connect(item, &QAction::triggered, this, accion);
    return item;
}

void MDIFrm::CreaMenus() {
    QMenu* declaraciones = menuBar()->addMenu("&Declaraciones");
    declaraciones->setObjectName("mnuDeclaraciones");
    QAction* nueva = Item(declaraciones, "&Nueva", "mnuNueva", &MDIFrm::mnuNueva_Click);
    nueva->setVisible(false);  // declarations enter the system only through the import
    nueva->setEnabled(false);
    Item(declaraciones, "&Actualizar", "mnuActualizar", &MDIFrm::mnuActualizar_Click);
    Item(declaraciones, "&Eliminar", "mnuEliminar", &MDIFrm::mnuEliminar_Click);
    declaraciones->addSeparator();
    Item(declaraciones, "Impor&tar información de afiliados", "mnuImportar", &MDIFrm::mnuImportar_Click);
    declaraciones->addSeparator();
    Item(declaraciones, "&Imprimir", "mnuImprimir", &MDIFrm::mnuImprimir_Click);
    Item(declaraciones, "&Copiar", "mnuCopiar", nullptr)->setEnabled(false);  // no action
    declaraciones->addSeparator();
    Item(declaraciones, "&Salir", "mnuSalir", &MDIFrm::mnuSalir_Click);

    QMenu* enviadas = menuBar()->addMenu("Declaraciones &Enviadas");
    enviadas->setObjectName("mnuEnviadas");
    Item(enviadas, "&Ver declaraciones enviadas", "mnuVerEnviadas", &MDIFrm::mnuVerEnviadas_Click);
    Item(enviadas, "&Eliminar", "mnuEliminarEnviadas", &MDIFrm::mnuEliminarEnviadas_Click);
    Item(enviadas, "&Imprimir", "mnuImprimirEnviadas", &MDIFrm::mnuImprimirEnviadas_Click);

    QMenu* consultas = menuBar()->addMenu("&Consultas");
    consultas->setObjectName("mnuConsultas");
    Item(consultas, "Bancos", "mnuBancos", &MDIFrm::mnuBancos_Click);
    Item(consultas, "Motivos de desafiliación", "mnuMotivos", &MDIFrm::mnuMotivos_Click);

    QMenu* ayuda = menuBar()->addMenu("&Ayuda");
    ayuda->setObjectName("mnuAyuda");
    Item(ayuda, "&Contenido", "mnuContenido", &MDIFrm::mnuContenido_Click);
    QAction* bienvenida = Item(ayuda, "&Bienvenida", "mnuBienvenida", nullptr);  // no action
    bienvenida->setVisible(false);
    bienvenida->setEnabled(false);
    ayuda->addSeparator();
    Item(ayuda, "&Acerca de Zarvo", "mnuAcercade", &MDIFrm::mnuAcercade_Click);
}

void MDIFrm::CreaToolbar() {
    toolbar_ = addToolBar("Toolbar1");
    toolbar_->setObjectName("Toolbar1");
    toolbar_->setMovable(false);
    toolbar_->setFloatable(false);
    toolbar_->setContextMenuPolicy(Qt::PreventContextMenu);
    int indice = 0;
    for (const BotonToolbar& boton : kBotones) {
        ++indice;
        QAction* accion = boton.consejo ? toolbar_->addAction(style()->standardIcon(boton.icono), boton.consejo)
                                        : toolbar_->addSeparator();
        accion->setData(indice);
        if (boton.consejo) {
            accion->setObjectName(boton.nombre);
            accion->setToolTip(boton.consejo);
        }
    }
    connect(toolbar_, &QToolBar::actionTriggered, this,
            [this](QAction* accion) { Toolbar1_ButtonClick(accion->data().toInt()); });
}

void MDIFrm::Toolbar1_ButtonClick(int indice) {
    switch (indice) {
    case 1: mnuActualizar_Click(); break;
    case 2: mnuEliminar_Click(); break;
    case 4: mnuImportar_Click(); break;
    case 7: mnuImprimir_Click(); break;
    case 9: terminar(kSalidaNormal); break;
    case 12: mnuContenido_Click(); break;
    default: break;  // "Copiar", "Número de orden": no action
    }
}

bool MDIFrm::MDIForm_Load() {
    AplicaGeometria();
    ConfiguraInis();
    if (!LeerIni()) return false;
    barra_->SetEstilo(1);
    barra_->Muestra("", "", "", "0841");
    return true;
}

// ---- Actions ------------------------------------------------------------

void MDIFrm::AbreConRelojDeArena(const std::function<void()>& abridor) {
    zv::SetMousePointer(zv::Pointer::Hourglass);
    // Back to the default pointer once the form is up (its modal loop runs).
    QTimer::singleShot(0, this, [] { zv::SetMousePointer(zv::Pointer::Default); });
    Ejecuta(abridor);
    zv::SetMousePointer(zv::Pointer::Default);
}

void MDIFrm::mnuNueva_Click() {
    Estado::G().gOperacion = 0;
    zv::SetMousePointer(zv::Pointer::Hourglass);
    bool valido = ValidaConfigRegional();
    if (valido) AbreConRelojDeArena(Abridores().abrirFrm841);
    zv::SetMousePointer(zv::Pointer::Default);
}

void MDIFrm::mnuActualizar_Click() {
    Estado::G().gOrdenCambiado = false;
    Estado::G().gOperacion = 1;
    Ejecuta(Abridores().abrirListaRegistradas);
}

void MDIFrm::mnuEliminar_Click() {
    Estado::G().gOrdenCambiado = false;
    Estado::G().gOperacion = 3;
    Ejecuta(Abridores().abrirListaRegistradas);
}

void MDIFrm::mnuImportar_Click() { Ejecuta(Abridores().abrirImportar); }

void MDIFrm::mnuImprimir_Click() {
    Estado::G().gTipoReporte = 2;
    Estado::G().gEsEnviada = false;
    Ejecuta(Abridores().abrirImprimir);
}

void MDIFrm::mnuSalir_Click() { terminar(kSalidaNormal); }

void MDIFrm::mnuVerEnviadas_Click() {
    Estado::G().gOrdenCambiado = false;
    Estado::G().gOperacion = 1;
    AbreConRelojDeArena(Abridores().abrirListaEnviadas);
}

void MDIFrm::mnuEliminarEnviadas_Click() {
    Estado::G().gOperacion = 3;
    AbreConRelojDeArena(Abridores().abrirListaEnviadas);
}

void MDIFrm::mnuImprimirEnviadas_Click() {
    Estado::G().gTipoReporte = 2;
    Estado::G().gEsEnviada = true;
    Ejecuta(Abridores().abrirImprimir);
    zv::SetMousePointer(zv::Pointer::Default);
}

void MDIFrm::mnuBancos_Click() {
    Estado::G().gTipoConsulta = "B";
    Ejecuta(Abridores().abrirConsultas);
}

void MDIFrm::mnuMotivos_Click() {
    Estado::G().gTipoConsulta = "M";
    Ejecuta(Abridores().abrirConsultas);
}

void MDIFrm::mnuContenido_Click() { MuestraContenidoAyuda(Estado::G().gArchivoAyuda, this); }

void MDIFrm::mnuAcercade_Click() { MuestraAcercade(this); }

// ---- Window ---------------------------------------------------------------

QRect MDIFrm::GeometriaFija() const {
    return RectTwips(kIzquierdaTwips, kArribaTwips, kAnchoTwips, kAltoTwips, this);
}

void MDIFrm::AplicaGeometria() {
    const QRect fija = GeometriaFija();
    // The fixed size is the window's own, the window manager's frame comes
    // around it: the frame is known only some time after the window shows
    // (and not at all without a manager), and a size taken from it gave the
    // window one size at start and another once restored.
    move(fija.topLeft());
    resize(fija.size());
}

void MDIFrm::RestauraGeometriaLuego() {
    if (restauracionPendiente_) return;
    restauracionPendiente_ = true;
    QTimer::singleShot(0, this, [this] {
        restauracionPendiente_ = false;
        setWindowState(Qt::WindowNoState);
        AplicaGeometria();
    });
}

void MDIFrm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange &&
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)))
        RestauraGeometriaLuego();
}

void MDIFrm::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible() && size() != GeometriaFija().size()) RestauraGeometriaLuego();
}

void MDIFrm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    RestauraGeometriaLuego();  // a manager may have placed it elsewhere
}

bool MDIFrm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == area_->viewport() && event->type() == QEvent::MouseMove) barra_->SetNombre("");
    return QMainWindow::eventFilter(watched, event);
}

void MDIFrm::closeEvent(QCloseEvent* event) {
    terminar(kSalidaNormal);
    event->accept();
}

}  // namespace zvform::ui
