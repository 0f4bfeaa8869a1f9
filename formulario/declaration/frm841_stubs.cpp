// Placeholders while the buttons and the save are written.
#include "formulario/declaration/frm841_datos.h"

namespace zvdecl {

Resultado CmdValidar_Click(DatosFrm841&, int) { return {}; }
Resultado ValidaTodo(const DatosFrm841&, const std::string&) { return {}; }
Resultado ValIdent(const DatosFrm841&, const std::string&, zv::text::TextWriter*) { return {}; }
Resultado GrabarForm(DatosFrm841&) { return {}; }
bool GrabaValorCasilla(const std::string&, const std::string&, const std::string&, const std::string&) { return false; }

}  // namespace zvdecl
