#include "formulario/app/abridores.h"

#include "formulario/core/ui/mdi_frm.h"

namespace zvform {

// Each opener creates a new instance of its form and shows it modally; an
// item whose form is not registered here opens nothing.
void RegistraFormularios() {
    [[maybe_unused]] ui::AbridoresFormularios& abridores = ui::MDIFrm::Abridores();
}

}  // namespace zvform
