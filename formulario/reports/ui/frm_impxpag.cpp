#include "formulario/reports/ui/frm_impxpag.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

#include "formulario/core/estado.h"
#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/core/widgets/ventanas.h"
#include "formulario/reports/rango_paginas.h"
#include "formulario/reports/ui/muestra_reporte.h"
#include "platform/msgbox.h"

namespace zvform::ui {

namespace {

const char* const kTextoAviso =
    "El reporte generado contiene                  páginas.\r\n"
    "\r\n"
    "Si su consulta contiene más de 10 páginas puede \r\n"
    "ocasionar la caida del programa debido a la saturación de \r\n"
    "la memoria de la computadora.\r\n"
    "Se recomienda imprimir en rangos no mayores a 10 páginas.";
constexpr int kInicioHueco = 29;  // after "El reporte generado contiene" and a blank
constexpr int kAnchoHueco = 16;   // blanks, one left free on either side

QLineEdit* CampoPagina(QWidget* padre, const char* nombre) {
    auto* campo = new QLineEdit(padre);
    campo->setObjectName(nombre);
    campo->setContextMenuPolicy(Qt::NoContextMenu);  // nothing reaches the field but its keys
    campo->setAcceptDrops(false);
    return campo;
}

// A key that moves or edits without typing a character.
bool TeclaSinCaracter(const QKeyEvent& tecla) {
    switch (tecla.key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
        case Qt::Key_Escape:
            return true;
        default:
            return tecla.text().isEmpty();
    }
}

}  // namespace

frmImpxPag::frmImpxPag(QWidget* parent) : QDialog(parent) {
    setObjectName("frmImpxPag");
    setFixedSize(TwipsX(7260, this), TwipsY(3360, this));

    Text1 = new QPlainTextEdit(this);
    Text1->setObjectName("Text1");
    Text1->setReadOnly(true);
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Text1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The control keeps its lines as CR LF; the widget shows each as a line.
    Text1->setPlainText(QString::fromUtf8(kTextoAviso).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    UbicaTwips(*Text1, 120, 120, 7020, 1680);

    txtTotPaginas = new QLineEdit(Text1->viewport());
    txtTotPaginas->setObjectName("txtTotPaginas");
    txtTotPaginas->setReadOnly(true);
    txtTotPaginas->setFrame(false);
    txtTotPaginas->setFocusPolicy(Qt::NoFocus);
    txtTotPaginas->setAlignment(Qt::AlignCenter);
    txtTotPaginas->setAutoFillBackground(false);
    txtTotPaginas->setStyleSheet(QStringLiteral("background: transparent"));

    Frame1 = new QGroupBox(QStringLiteral("Imprimir"), this);
    Frame1->setObjectName("Frame1");
    UbicaTwips(*Frame1, 120, 1920, 4800, 1260);
    Label2 = new QLabel(QStringLiteral("&Desde :"), Frame1);
    Label2->setObjectName("Label2");
    UbicaTwips(*Label2, 240, 540, 900, 285);
    txtPagDesde = CampoPagina(Frame1, "txtPagDesde");
    UbicaTwips(*txtPagDesde, 1140, 480, 1080, 315);
    Label1 = new QLabel(QStringLiteral("&Hasta :"), Frame1);
    Label1->setObjectName("Label1");
    UbicaTwips(*Label1, 2520, 540, 900, 285);
    txtPagHasta = CampoPagina(Frame1, "txtPagHasta");
    UbicaTwips(*txtPagHasta, 3420, 480, 1080, 315);
    Label2->setBuddy(txtPagDesde);
    Label1->setBuddy(txtPagHasta);
    for (QLineEdit* campo : {txtPagDesde, txtPagHasta}) campo->installEventFilter(this);

    const char* const kAcciones[] = {"&Preliminar", "&Cancelar"};
    for (int i = 0; i < 2; ++i) {
        cmdAccion[i] = new QPushButton(QString::fromUtf8(kAcciones[i]), this);
        cmdAccion[i]->setObjectName(QStringLiteral("cmdAccion_%1").arg(i));
        cmdAccion[i]->setAutoDefault(false);
        cmdAccion[i]->installEventFilter(this);  // Enter presses the focused button
        UbicaTwips(*cmdAccion[i], 5280, 2040 + i * 540, 1620, 435);
        connect(cmdAccion[i], &QPushButton::clicked, this, [this, i] { cmdAccion_Click(i); });
    }
    setTabOrder(txtPagDesde, txtPagHasta);
    setTabOrder(txtPagHasta, cmdAccion[0]);
    setTabOrder(cmdAccion[0], cmdAccion[1]);
    Form_Load();
}

void frmImpxPag::Form_Load() {
    setProperty("HelpContextID", Estado::G().gEsEnviada ? 1012 : 1011);
    txtPagDesde->setText(QStringLiteral("1"));
    txtPagHasta->setText(QStringLiteral("15"));
    txtPagDesde->setFocus();
}

void frmImpxPag::showEvent(QShowEvent* evento) {
    QDialog::showEvent(evento);
    UbicaTotal();
}

void frmImpxPag::UbicaTotal() {
    QTextCursor cursor(Text1->document()->firstBlock());
    cursor.setPosition(kInicioHueco);
    const QRect lugar = Text1->cursorRect(cursor);
    const int ancho = Text1->fontMetrics().horizontalAdvance(QString(kAnchoHueco, QLatin1Char(' ')));
    txtTotPaginas->setGeometry(lugar.x(), lugar.y(), ancho, lugar.height());
}

void frmImpxPag::cmdAccion_Click(int indice) {
    if (indice == 1) {
        close();
        return;
    }
    if (indice != 0) return;
    RangoElegido rango = ValidaRangoPaginas(txtPagDesde->text().toStdString(), txtPagHasta->text().toStdString(),
                                            txtTotPaginas->text().toStdString());
    if (!rango.mensaje.empty()) {
        zv::MsgBox(rango.mensaje, zv::Icon::Critical, zv::Buttons::Ok, windowTitle().toStdString());
        return;
    }
    Estado& e = Estado::G();
    e.gPagDesde = rango.desde;
    e.gPagHasta = rango.hasta;
    const auto& muestra = MDIFrm::Abridores().muestraReporte;
    if (muestra) muestra(tag, "Vprevia");
    else MuestraReporte(tag, "Vprevia");
}

bool frmImpxPag::eventFilter(QObject* objeto, QEvent* evento) {
    if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
    auto* tecla = static_cast<QKeyEvent*>(evento);
    const bool enter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
    for (QPushButton* boton : cmdAccion) {
        if (objeto != boton || !enter) continue;
        boton->click();
        return true;
    }
    if (objeto != txtPagDesde && objeto != txtPagHasta) return QDialog::eventFilter(objeto, evento);
    if (enter) {
        PasaTab("TAB");
        return true;
    }
    if (tecla->matches(QKeySequence::Paste)) return true;
    if (TeclaSinCaracter(*tecla)) return false;
    const int caracter = tecla->key() == Qt::Key_Backspace ? 8 : tecla->text().at(0).unicode();
    return !TeclaDePagina(caracter);
}

void AbreRangoPaginas(const std::string& archivo, int paginas) {
    frmImpxPag dialogo(QApplication::activeWindow());
    const QString total = QString::number(paginas);
    dialogo.setWindowTitle(QStringLiteral("Impresión de ") + total + QStringLiteral(" páginas"));
    dialogo.txtTotPaginas->setText(total);
    dialogo.txtPagHasta->setText(total);
    dialogo.tag = archivo;
    dialogo.exec();
}

}  // namespace zvform::ui
