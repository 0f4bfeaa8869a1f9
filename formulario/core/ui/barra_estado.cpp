#include "formulario/core/ui/barra_estado.h"

namespace zvform::ui {

namespace {
BarradeEstadoZarvo*& LaPrincipal() {
    static BarradeEstadoZarvo* barra = nullptr;
    return barra;
}
}  // namespace

BarradeEstadoZarvo::BarradeEstadoZarvo(QWidget* parent) : QStatusBar(parent) {
    setSizeGripEnabled(false);  // the main window keeps a fixed size
    numeroDocumento_ = Panel(110, 0);
    numeroDocumento_->setObjectName("panelNumeroDocumento");
    nombre_ = Panel(200, 1);
    nombre_->setObjectName("panelNombre");
    periodo_ = Panel(70, 0);
    periodo_->setObjectName("panelPeriodo");
    formulario_ = Panel(50, 0);
    formulario_->setObjectName("panelFormulario");
    SetEstilo(0);
}

BarradeEstadoZarvo::~BarradeEstadoZarvo() {
    if (LaPrincipal() == this) LaPrincipal() = nullptr;
}

QLabel* BarradeEstadoZarvo::Panel(int anchoMinimo, int estirar) {
    auto* panel = new QLabel(this);
    panel->setMinimumWidth(anchoMinimo);
    panel->setIndent(3);
    addPermanentWidget(panel, estirar);
    return panel;
}

void BarradeEstadoZarvo::Muestra(const QString& documento, const QString& nombre, const QString& periodo,
                                 const QString& formulario) {
    SetNumeroDocumento(documento);
    SetNombre(nombre);
    SetPeriodo(periodo);
    SetFormulario(formulario);
}

void BarradeEstadoZarvo::SetEstilo(int estilo) {
    estilo_ = estilo;
    const int marco = estilo == 1 ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame;
    for (QLabel* panel : {numeroDocumento_, nombre_, periodo_, formulario_}) panel->setFrameStyle(marco);
}

BarradeEstadoZarvo* BarradeEstadoZarvo::Principal() { return LaPrincipal(); }
void BarradeEstadoZarvo::SetPrincipal(BarradeEstadoZarvo* barra) { LaPrincipal() = barra; }

}  // namespace zvform::ui
