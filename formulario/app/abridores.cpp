#include "formulario/app/abridores.h"

#include <QApplication>
#include <QMainWindow>

#include "formulario/core/ui/mdi_frm.h"
#include "formulario/core/widgets/doble_clic.h"
#include "formulario/declaration/frm841_datos.h"
#include "formulario/declaration/ui/abre_listas.h"
#include "formulario/declaration/ui/frm841.h"
#include "formulario/declaration/ui/frm_consist.h"
#include "formulario/import/ui/frm_importar.h"
#include "formulario/reports/ui/frm_imprimir.h"
#include "formulario/reports/ui/frm_impxpag.h"
#include "formulario/reports/ui/muestra_reporte.h"

namespace zvform {

namespace {

// The window a form opens over: the active one, else the main window.
QWidget* VentanaPadre() {
    if (QWidget* activa = QApplication::activeWindow()) return activa;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(w) && w->isVisible()) return w;
    return nullptr;
}

}  // namespace

// Each opener creates a new instance of its form and shows it modally; an
// item whose form is not registered here opens nothing. No modal form of
// the program, nor a message box, takes the rest of the double click that
// opened it.
void RegistraFormularios() {
    ProtegeDelDobleClic();
    ui::AbridoresFormularios& abridores = ui::MDIFrm::Abridores();
    abridores.abrirImportar = [] {
        zvimport::ui::FrmImportar frm(VentanaPadre());
        frm.exec();
    };
    abridores.muestraReporte = ui::MuestraReporte;
    abridores.abrirRangoPaginas = ui::AbreRangoPaginas;
    // One opener for the three modes: the form reads gOperacion and gEsEnviada as it loads.
    abridores.abrirFrm841 = [] { zvdecl::ui::AbreFrm841(VentanaPadre()); };
    // The declaration form's "&Validar" shows the list of inconsistencies over itself.
    zvdecl::MuestraInconsistencias() = [] { zvdecl::ui::MuestraFrmConsist(); };
    abridores.abrirListaRegistradas = ui::AbreFrmContAbrir;
    abridores.abrirListaEnviadas = ui::AbreFrmContAbrirE;
    abridores.abrirConsultas = ui::AbreFrmConsultas;
    abridores.abrirImprimir = [] { ui::MuestraImprimir(VentanaPadre()); };
}

}  // namespace zvform
