// The declarant, period and caption of the declaration form, as every step reads them.
#include "formulario/declaration/frm841_datos.h"

#include "formulario/core/inicio.h"
#include "platform/textfile.h"

namespace zvdecl {

std::string CaptionFrm841(bool esEnviada) {
    std::string caption = std::string("0841") + " " + zvform::kProducto;
    if (esEnviada) caption += " - Enviadas";
    return caption;
}

std::string RucDelFormulario(const DatosFrm841& d) {
    if (d.operacion == 0) return zv::text::Trim(zv::text::Left(d.cmbRuc, 11));
    return zv::text::Trim(d.txtNumRuc);
}

// Last four then first two characters of "MM/YYYY".
std::string PeriodoDelFormulario(const DatosFrm841& d) {
    return zv::text::Right(d.mkePeriodo, 4) + zv::text::Left(d.mkePeriodo, 2);
}

std::function<void()>& MuestraInconsistencias() {
    static std::function<void()> muestra;
    return muestra;
}

}  // namespace zvdecl
