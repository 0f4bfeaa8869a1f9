#include "formulario/reports/ui/frm_preview.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QPainter>
#include <QPrinter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/reports/impresion_spool.h"
#include "formulario/reports/lector_spool.h"
#include "formulario/reports/rango_paginas.h"
#include "formulario/reports/reporte.h"
#include "formulario/reports/ui/dibujo_spool.h"
#include "formulario/reports/ui/impresora.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"

namespace zvform::ui {

namespace {

constexpr const char* kPresPrevia = "PresPrevia";
constexpr const char* kImprimir = "IMPRIMIR";
constexpr int kErrorImpresora = 482;

// The window and a page picture, in twips. A picture holds an A4 sheet in
// either orientation: the preview does not turn pages.
constexpr int kAnchoVentana = 12000;
constexpr int kAltoVentana = 9000;
constexpr int kLadoImagen = 16840;
constexpr int kPasoBarra = 150;

struct BotonPrevia {
    const char* texto;  // nullptr: a separator
    QStyle::StandardPixmap icono;
    const char* nombre;
};

const BotonPrevia kBotones[] = {
    {nullptr, QStyle::SP_CustomBase, nullptr},                                 // 1
    {"Pag Anterior", QStyle::SP_ArrowBack, "btnPagAnterior"},                  // 2
    {"Pag Sgt", QStyle::SP_ArrowForward, "btnPagSgt"},                         // 3
    {"Imprimir", QStyle::SP_FileDialogDetailedView, "btnImprimir"},            // 4
    {"Salir", QStyle::SP_DialogCloseButton, "btnSalir"},                       // 5
};

void ArchivoNoExiste() {
    zv::MsgBox("El archivo físico del reporte no existe", zv::Icon::Critical, zv::Buttons::Ok, "Error al Imprimir");
}

enum class Lectura { Leida, NoExiste, Ilegible };

// A report file that fails to be read (a failing disk, a medium pulled
// out) is told as the report run tells a file error, and nothing of it is
// shown.
Lectura LeeReporte(const std::string& ruta, const std::function<void(const LineaSpool&)>& toma) {
    try {
        return LeeSpool(ruta, toma) ? Lectura::Leida : Lectura::NoExiste;
    } catch (const zv::Error& e) {
        AtiendeErrorImpresion(e.Number(), e.Description());
        return Lectura::Ilegible;
    }
}

int PixelesATwips(int pixeles, double puntosPorPulgada) {
    return static_cast<int>(pixeles * kTwipsPorPulgada / puntosPorPulgada);
}

}  // namespace

// One page picture: its background and its drawing records, drawn when painted.
class ImagenPagina : public QWidget {
public:
    ImagenPagina(const PaginaPrevia& pagina, QWidget* parent) : QWidget(parent), pagina_(pagina) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        resize(TwipsX(kLadoImagen, parent), TwipsY(kLadoImagen, parent));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), ColorDeFondo(pagina_.color));
        DibujoSpool dibujo(painter, logicalDpiX(), logicalDpiY());
        dibujo.DibujaPagina(pagina_);
    }

private:
    const PaginaPrevia& pagina_;
};

frmPreview::frmPreview(QWidget* parent) : QDialog(parent), paginas_(1) {
    setObjectName("frmPreview");
    setWindowTitle(QStringLiteral("Presentación Preliminar"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    resize(TwipsX(kAnchoVentana, this), TwipsY(kAltoVentana, this));

    auto* columna = new QVBoxLayout(this);
    columna->setContentsMargins(0, 0, 0, 0);
    columna->setSpacing(0);
    CreaToolbar();
    columna->addWidget(tlbPrevia_);

    auto* rejilla = new QGridLayout;
    rejilla->setSpacing(0);
    picFondo_ = new QFrame(this);
    picFondo_->setObjectName("picFondo");
    picFondo_->setFrameShape(QFrame::Box);
    picFondo_->setBackgroundRole(QPalette::Dark);
    picFondo_->setAutoFillBackground(true);
    picFondo_->installEventFilter(this);
    for (int i = 0; i < 2; ++i) {
        vsbPic_[i] = new QScrollBar(Qt::Vertical, this);
        vsbPic_[i]->setObjectName(QStringLiteral("vsbPic_%1").arg(i));
        vsbPic_[i]->setSingleStep(kPasoBarra);
        connect(vsbPic_[i], &QScrollBar::valueChanged, this, [this, i] { vsbPic_Change(i); });
    }
    HScroll1_ = new QScrollBar(Qt::Horizontal, this);
    HScroll1_->setObjectName("HScroll1");
    HScroll1_->setSingleStep(kPasoBarra);
    connect(HScroll1_, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
    rejilla->addWidget(vsbPic_[0], 0, 0);
    rejilla->addWidget(picFondo_, 0, 1);
    rejilla->addWidget(vsbPic_[1], 0, 2);
    rejilla->addWidget(HScroll1_, 1, 1);
    columna->addLayout(rejilla, 1);

    imagenes_.assign(1, nullptr);
    picPrevia(0)->hide();
}

frmPreview::~frmPreview() = default;

void frmPreview::CreaToolbar() {
    tlbPrevia_ = new QToolBar(this);
    tlbPrevia_->setObjectName("tlbPrevia");
    tlbPrevia_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    tlbPrevia_->setContextMenuPolicy(Qt::PreventContextMenu);
    int indice = 0;
    for (const BotonPrevia& boton : kBotones) {
        ++indice;
        QAction* accion = boton.texto ? tlbPrevia_->addAction(style()->standardIcon(boton.icono), QString::fromUtf8(boton.texto))
                                      : tlbPrevia_->addSeparator();
        accion->setData(indice);
        if (boton.texto) {
            accion->setObjectName(boton.nombre);
            accion->setToolTip(QString::fromUtf8(boton.texto));
        }
    }
    connect(tlbPrevia_, &QToolBar::actionTriggered, this,
            [this](QAction* accion) { tlbPrevia_ButtonClick(accion->data().toInt()); });
}

QWidget* frmPreview::picPrevia(int indice) {
    if (indice < 0 || indice >= PaginasContadas()) return nullptr;
    ImagenPagina*& imagen = imagenes_[static_cast<std::size_t>(indice)];
    if (!imagen) {
        imagen = new ImagenPagina(paginas_[static_cast<std::size_t>(indice)], picFondo_);
        imagen->setObjectName(QStringLiteral("picPrevia_%1").arg(indice));
        imagen->hide();
    }
    return imagen;
}

bool frmPreview::Form_Load() {
    zv::SetMousePointer(zv::Pointer::Hourglass);
    sObject = kPresPrevia;
    bool leido = pDesencripta(sRut, sObject);
    pMostrar(0);
    zv::SetMousePointer(zv::Pointer::Default);
    return leido;
}

bool frmPreview::pDesencripta(const std::string& sNombreArchivo, const std::string& sTipo) {
    if (sTipo != kPresPrevia) sObject = kImprimir;
    // gRutaRpt already ends in its separator.
    const std::string ruta = Estado::G().gRutaRpt + sNombreArchivo;
    if (!Util().ExisteArchivoFisico(ruta)) {
        ArchivoNoExiste();
        return false;
    }
    return sObject == kImprimir ? Imprime(ruta) : LeePrevia(ruta);
}

bool frmPreview::LeePrevia(const std::string& ruta) {
    PaginasPrevias lector(RangoPaginas::Vigente());
    const Lectura lectura = LeeReporte(ruta, [&](const LineaSpool& linea) { lector.Toma(linea); });
    if (lectura == Lectura::NoExiste) ArchivoNoExiste();
    if (lectura != Lectura::Leida) return false;
    for (ImagenPagina* imagen : imagenes_) delete imagen;
    mostrada_ = -1;
    paginas_ = lector.Suelta();
    imagenes_.assign(paginas_.size(), nullptr);
    iNroHoja = lector.iNroHoja();
    return true;
}

bool frmPreview::Imprime(const std::string& ruta) {
    impresora_ = NuevaImpresora(ruta);
    Lectura lectura;
    bool fallo;
    int hojas;
    {
        ImpresoraQt salida(*impresora_);
        ImpresionSpool impresion(salida, RangoPaginas::Vigente());
        lectura = LeeReporte(ruta, [&](const LineaSpool& linea) { impresion.Toma(linea); });
        impresion.Fin();
        fallo = impresion.Fallo();
        hojas = impresion.Hojas();
    }
    if (lectura == Lectura::NoExiste) ArchivoNoExiste();
    if (lectura != Lectura::Leida) return false;
    if (fallo) {
        zv::MsgBox(MensajeImpresion(kErrorImpresora, ""), zv::Icon::Critical, zv::Buttons::Ok, "Impresión");
        return false;
    }
    // A file without one record to draw (or a range outside it) makes no
    // sheet and no document: nothing was printed.
    if (hojas == 0) {
        zv::MsgBox("El reporte no tiene nada que imprimir.", zv::Icon::Exclamation, zv::Buttons::Ok, "Impresión");
        return false;
    }
    return true;
}

void frmPreview::MuestraSolo(int indice) {
    QWidget* imagen = picPrevia(indice);
    if (!imagen) return;
    if (mostrada_ >= 0 && mostrada_ != indice) imagenes_[static_cast<std::size_t>(mostrada_)]->hide();
    // The picture keeps the horizontal bar's place: only its top goes back to 0.
    imagen->move(-TwipsX(HScroll1_->value(), this), 0);
    imagen->show();
    mostrada_ = indice;
}

QWidget* frmPreview::Mostrada() const {
    return mostrada_ >= 0 ? imagenes_[static_cast<std::size_t>(mostrada_)] : nullptr;
}

void frmPreview::pMostrar(int Nrohoja) {
    if (Nrohoja == 0) {
        MuestraSolo(0);
        iNroHoja = 0;
    } else if (Nrohoja == -2 && iNroHoja > 0) {
        MuestraSolo(--iNroHoja);
    } else if (Nrohoja == -1 && iNroHoja + 1 < PaginasContadas()) {
        MuestraSolo(++iNroHoja);
    }
    vsbPic_[0]->setValue(0);
    vsbPic_[1]->setValue(0);
}

void frmPreview::vsbPic_Change(int indice) {
    const int valor = vsbPic_[indice]->value();
    QScrollBar* otra = vsbPic_[1 - indice];
    if (otra->value() != valor) otra->setValue(valor);  // its own change moves the picture
    if (QWidget* imagen = Mostrada()) imagen->move(imagen->x(), -TwipsY(vsbPic_[0]->value(), this));
}

void frmPreview::HScroll1_Change() {
    if (QWidget* imagen = Mostrada()) imagen->move(-TwipsX(HScroll1_->value(), this), imagen->y());
}

void frmPreview::tlbPrevia_ButtonClick(int indice) {
    switch (indice) {
        case 2: pMostrar(-2); break;
        case 3: pMostrar(-1); break;
        case 4:
            sObject = kImprimir;
            // Only a printout that went through is reported as printed.
            if (!pDesencripta(sRut, kImprimir)) break;
            zv::MsgBox(AvisoImpreso("Reporte se imprimió satisfactoriamente.", sRut), zv::Icon::Information,
                       zv::Buttons::Ok, windowTitle().toStdString());
            if (Estado::G().gRangoPaginas) close();
            break;
        case 5: close(); break;
        default: break;
    }
}

void frmPreview::AjustaBarras() {
    const QSize vista = picFondo_->size();
    const int alto = std::max(0, kLadoImagen - PixelesATwips(vista.height(), logicalDpiY()));
    const int ancho = std::max(0, kLadoImagen - PixelesATwips(vista.width(), logicalDpiX()));
    for (QScrollBar* barra : vsbPic_) {
        barra->setRange(0, alto);
        barra->setPageStep(std::max(kPasoBarra, PixelesATwips(vista.height(), logicalDpiY())));
    }
    HScroll1_->setRange(0, ancho);
    HScroll1_->setPageStep(std::max(kPasoBarra, PixelesATwips(vista.width(), logicalDpiX())));
}

bool frmPreview::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == picFondo_ && evento->type() == QEvent::Resize) AjustaBarras();
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace zvform::ui
