// The declaration form: its controls and their places, in twips.
#include "formulario/declaration/ui/frm841.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <functional>
#include <utility>

#include "formulario/core/estado.h"
#include "formulario/core/widgets/largo_maximo.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/declaration/ui/caja_periodo.h"
#include "formulario/declaration/ui/forma_de_pago.h"

namespace zvdecl::ui {

namespace {

constexpr int kAnchoForm = 9495;
constexpr int kAltoForm = 6120;
constexpr int kAltoFila = 315;
// The labels of "Datos Básicos" start here, so that the longest, the
// period's, ends before the boxes at 2430.
constexpr int kIzquierdaEtiquetas = 120;

QLabel* Etiqueta(const char* texto, QWidget* padre, int izquierda, int arriba, int ancho,
                 QWidget* companero = nullptr) {
    auto* etiqueta = new QLabel(QString::fromUtf8(texto), padre);
    zvform::UbicaTwips(*etiqueta, izquierda, arriba, ancho, kAltoFila);
    if (companero) etiqueta->setBuddy(companero);
    return etiqueta;
}

// Runs `alSalir` with the box each time a box it watches loses the focus.
class AlPerderElFoco : public QObject {
public:
    AlPerderElFoco(std::function<void(QObject*)> alSalir, QObject* padre)
        : QObject(padre), alSalir_(std::move(alSalir)) {}

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override {
        if (evento->type() == QEvent::FocusOut) alSalir_(objeto);
        return QObject::eventFilter(objeto, evento);
    }

private:
    std::function<void(QObject*)> alSalir_;
};

template <class Control>
Control* Nuevo(QWidget* padre, const char* nombre) {
    auto* control = new Control(padre);
    control->setObjectName(nombre);
    return control;
}

}  // namespace

Frm841::Frm841(QWidget* parent) : QDialog(parent) {
    setObjectName("Frm841");
    setModal(true);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setFixedSize(zvform::TwipsX(kAnchoForm, this), zvform::TwipsY(kAltoForm, this));
    CreaControles();
    Form_Load();
}

// The boxes lose the focus while the dialog goes; their formatting must
// not run on a form already gone.
Frm841::~Frm841() { delete formatoAlSalir_; }

void Frm841::CreaControles() {
    SSTab1_ = Nuevo<QTabWidget>(this, "SSTab1");
    zvform::UbicaTwips(*SSTab1_, 120, 120, 9255, 5280);
    auto* identificacion = new QWidget;
    auto* detalle = new QWidget;
    auto* determinacion = new QWidget;
    SSTab1_->addTab(identificacion, QString::fromUtf8("&Identificación"));
    SSTab1_->addTab(detalle, "Detalle de los &afiliados");
    SSTab1_->addTab(determinacion, QString::fromUtf8("&Determinación de la deuda"));
    // A click on a tab gives the tab control the focus, as the old tab control took it.
    SSTab1_->tabBar()->setFocusPolicy(Qt::StrongFocus);
    SSTab1_->tabBar()->installEventFilter(this);
    CreaIdentificacion(identificacion);
    CreaNumeroOrden(identificacion);
    CreaDetalle(detalle);
    CreaDeterminacion(determinacion);
    CreaBotones();
    connect(SSTab1_, &QTabWidget::currentChanged, this, &Frm841::SSTab1_Click);
}

void Frm841::CreaIdentificacion(QWidget* pagina) {
    auto* marco = new QGroupBox(QString::fromUtf8("Datos Básicos"), pagina);
    marco->setObjectName("FraDatosBasicos");
    zvform::UbicaTwips(*marco, 120, 120, 8895, 2160);

    CmbRuc_ = Nuevo<QComboBox>(marco, "CmbRuc");
    zvform::UbicaTwips(*CmbRuc_, 2430, 315, 5895, kAltoFila);
    TxtNumRuc_ = Nuevo<QLineEdit>(marco, "TxtNumRuc");
    zvform::FijaLargoMaximo(*TxtNumRuc_, 11);
    zvform::UbicaTwips(*TxtNumRuc_, 2430, 315, 1695, kAltoFila);
    // Both RUC controls share the place; the mode shows one of them.
    auto* lblRuc = Etiqueta("RUC :", marco, kIzquierdaEtiquetas, 345, 2100, CmbRuc_);
    lblRuc->setObjectName("LblRuc");

    TxtRazon_ = Nuevo<QLineEdit>(marco, "TxtRazon");
    zvform::FijaLargoMaximo(*TxtRazon_, 40);
    TxtRazon_->setEnabled(false);
    zvform::UbicaTwips(*TxtRazon_, 2430, 780, 5895, kAltoFila);
    Etiqueta("Razón Social :", marco, kIzquierdaEtiquetas, 810, 2100, TxtRazon_);

    MkePeriodo_ = Nuevo<CajaPeriodo>(marco, "MkePeriodo");
    zvform::UbicaTwips(*MkePeriodo_, 2430, 1245, 1095, kAltoFila);
    // One line, as wide as its text in the forms' letter (2235 twips).
    Etiqueta("Periodo Tributario (mm/aaaa) :", marco, kIzquierdaEtiquetas, 1275, 2250, MkePeriodo_);

    TxtTelefono_ = Nuevo<QLineEdit>(marco, "TxtTelefono");
    zvform::FijaLargoMaximo(*TxtTelefono_, 8);
    zvform::UbicaTwips(*TxtTelefono_, 2430, 1710, 1095, kAltoFila);
    Etiqueta("Teléfono :", marco, kIzquierdaEtiquetas, 1740, 2100, TxtTelefono_);

    ProtegeDePegado(*MkePeriodo_);
    MkePeriodo_->installEventFilter(this);
    connect(CmbRuc_, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0) CmbRuc_Click();
    });
    connect(MkePeriodo_, &QLineEdit::textChanged, this, [this] { MkePeriodo_Change(); });
    connect(TxtTelefono_, &QLineEdit::textChanged, this, [this] { modificado_ = true; });
}

void Frm841::CreaNumeroOrden(QWidget* pagina) {
    FraNumOrden_ = new QGroupBox(QString::fromUtf8("Número de Orden"), pagina);
    FraNumOrden_->setObjectName("FraNumOrden");
    zvform::UbicaTwips(*FraNumOrden_, 120, 2400, 8895, 855);
    for (int i = 0; i < 2; ++i) {
        auto* caja = Nuevo<QLineEdit>(FraNumOrden_, i == 0 ? "TxtNumOrdenE_0" : "TxtNumOrdenE_1");
        zvform::FijaLargoMaximo(*caja, i == 0 ? 8 : 2);
        ProtegeDePegado(*caja);
        caja->installEventFilter(this);
        connect(caja, &QLineEdit::textChanged, this, [this] {
            modificado_ = true;
            zvform::Estado::G().gOrdenCambiado = true;
        });
        TxtNumOrdenE_[i] = caja;
    }
    zvform::UbicaTwips(*TxtNumOrdenE_[0], 3000, 360, 1215, kAltoFila);
    zvform::UbicaTwips(*TxtNumOrdenE_[1], 4530, 360, 495, kAltoFila);
    Etiqueta("Ingrese el número de orden :", FraNumOrden_, 240, 390, 2700, TxtNumOrdenE_[0]);
    LblGuion_ = Etiqueta("-", FraNumOrden_, 4290, 390, 180);
    LblGuion_->setObjectName("LblGuion");
}

void Frm841::CreaDetalle(QWidget* pagina) {
    auto* marco = new QGroupBox("Detalle de afiliados", pagina);
    marco->setObjectName("FraDetalle");
    zvform::UbicaTwips(*marco, 120, 120, 8895, 4440);
    GrdDatos_ = Nuevo<QTableView>(marco, "GrdDatos");
    zvform::UbicaTwips(*GrdDatos_, 120, 285, 8655, 3735);
    GrdDatos_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GrdDatos_->setSelectionBehavior(QAbstractItemView::SelectRows);
    GrdDatos_->setWordWrap(false);
    // The long captions go on up to four lines, as the old grid showed them.
    QHeaderView* titulos = GrdDatos_->horizontalHeader();
    titulos->setDefaultSectionSize(zvform::TwipsX(1800, this));
    titulos->setDefaultAlignment(Qt::Alignment(Qt::AlignCenter | Qt::TextWordWrap));
    titulos->setFixedHeight(4 * titulos->fontMetrics().lineSpacing() + 8);
    GrdDatos_->verticalHeader()->setDefaultSectionSize(GrdDatos_->fontMetrics().lineSpacing() + 6);
    LblCuentaDes_ = Nuevo<QLabel>(marco, "LblCuentaDes");
    zvform::UbicaTwips(*LblCuentaDes_, 120, 4080, 5000, 255);
}

void Frm841::CreaDeterminacion(QWidget* pagina) {
    struct Fila {
        int casilla;
        const char* numero;
        const char* descripcion;
        int arriba;
    };
    const Fila filas[] = {
        {590, "590", "Importe total por aportes obligatorios al SPP", 480},
        {591, "591", "Importe total por aportes voluntarios con fin previsional", 900},
        {592, "592", "Importe total por rentabilidad e intereses", 1320},
        {597, "597", "Total deuda a pagar", 1860},
    };
    auto* totales = Etiqueta("Totales", pagina, 6300, 180, 2100);
    totales->setAlignment(Qt::AlignCenter);
    // Left, a box shows the amount it holds formatted, whatever was typed
    // into it, so that what the save reads is what was seen.
    formatoAlSalir_ = new AlPerderElFoco(
        [this](QObject* caja) {
            for (const auto& [casilla, c] : TxtValor_)
                if (c == caja) Forma(casilla);
        },
        this);
    for (int casilla : kListaCasillas) {
        auto* caja = Nuevo<QLineEdit>(pagina, ("TxtValor_" + std::to_string(casilla)).c_str());
        zvform::FijaLargoMaximo(*caja, kLargoCasillaSinFoco);
        caja->setAlignment(Qt::AlignRight);
        ProtegeDePegado(*caja);
        caja->installEventFilter(this);
        caja->installEventFilter(formatoAlSalir_);
        TxtValor_[casilla] = caja;
    }
    for (const Fila& f : filas) {
        zvform::UbicaTwips(*TxtValor_[f.casilla], 6300, f.arriba, 2100, kAltoFila);
        Etiqueta(f.numero, pagina, 240, f.arriba + 30, 495, TxtValor_[f.casilla]);
        Etiqueta(f.descripcion, pagina, 840, f.arriba + 30, 5340, TxtValor_[f.casilla]);
    }
    // The number of records and the amount to pay are kept but not shown:
    // the payment control shows the amount to pay.
    for (int casilla : {593, 598}) {
        zvform::UbicaTwips(*TxtValor_[casilla], 6300, 1860, 2100, kAltoFila);
        TxtValor_[casilla]->setVisible(false);
    }
    FormaDePagoZarvo1_ = Nuevo<FormaDePagoZarvo>(pagina, "FormaDePagoZarvo1");
    zvform::UbicaTwips(*FormaDePagoZarvo1_, 240, 2400, 8535, 1935);
    connect(FormaDePagoZarvo1_, &FormaDePagoZarvo::Cambio, this, [this] { modificado_ = true; });
}

void Frm841::CreaBotones() {
    const char* const textos[] = {"&Validar", "&Grabar", "&Salir"};
    const int izquierdas[] = {5430, 6735, 8040};
    for (int i = 0; i < 3; ++i) {
        auto* boton = Nuevo<QPushButton>(this, ("CmdValidar_" + std::to_string(i)).c_str());
        boton->setText(textos[i]);
        boton->setAutoDefault(false);
        connect(boton, &QPushButton::clicked, this, [this, i] { CmdValidar_Click(i); });
        CmdValidar_[i] = boton;
        UbicaBoton(*boton, izquierdas[i], 1215);
    }
}

void AbreFrm841(QWidget* padre) {
    Frm841 forma(padre);
    forma.exec();
}

}  // namespace zvdecl::ui
