#include "formulario/app/abridores.h"

#include <QApplication>

#include "formulario/core/ui/mdi_frm.h"
#include "formulario/import/ui/frm_importar.h"

namespace zvform {

// Each opener creates a new instance of its form and shows it modally; an
// item whose form is not registered here opens nothing.
void RegistraFormularios() {
    ui::AbridoresFormularios& abridores = ui::MDIFrm::Abridores();
    abridores.abrirImportar = [] {
        zvimport::ui::FrmImportar frm(QApplication::activeWindow());
        frm.exec();
    };
}

}  // namespace zvform
