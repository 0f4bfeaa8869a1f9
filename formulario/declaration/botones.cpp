// The three buttons of the declaration form: "&Validar", "&Grabar" (for a
// sent declaration "&Registrar Nro. Orden") and "&Salir" with its questions.
#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "formulario/declaration/frm841_datos.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvdecl {

namespace {

using zvform::Estado;

Resultado Queda(bool ok = false) {
    Resultado r;
    r.ok = ok;
    return r;
}

Resultado Cierra() {
    Resultado r;
    r.cerrar = true;
    return r;
}

// The form closes only when what the user typed was stored: a save refused
// by the telephone rules, the gate or the database keeps it open.
Resultado GrabaYCierra(DatosFrm841& d) {
    Resultado r = GrabarForm(d);
    r.cerrar = r.ok;
    return r;
}

Resultado SalirConNumeroDeOrden(DatosFrm841& d) {
    if (zv::MsgBox(" El número de orden ha cambiado. ¿Desea guardar los cambios?", zv::Icon::Question,
                   zv::Buttons::YesNo, d.caption) != zv::Answer::Yes)
        return Cierra();
    if (zv::text::Length(d.txtNumOrdenE[0]) < 8) {
        zv::MsgBox("El número de orden es incorrecto", zv::Icon::Critical, zv::Buttons::Ok, d.caption);
        return Queda();
    }
    if (!zvform::ValidaNumeroOrden(Estado::G().gCodControl, d.txtNumOrdenE[0], d.txtNumOrdenE[1])) {
        zv::MsgBox("Dígito verificador incorrecto", zv::Icon::Critical, zv::Buttons::Ok, d.caption);
        return Queda();
    }
    return GrabaYCierra(d);
}

Resultado SalirModificado(DatosFrm841& d) {
    switch (zv::MsgBox("¿El formulario ha sido modificado, desea guardar los cambios?", zv::Icon::Question,
                       zv::Buttons::YesNoCancel, d.caption)) {
        case zv::Answer::Yes:
            if (!zvform::Util().PuedeContinuar()) return Queda();
            return GrabaYCierra(d);
        case zv::Answer::No:
            return Cierra();
        default:
            return Queda();
    }
}

}  // namespace

Resultado CmdValidar_Click(DatosFrm841& d, int indice) {
    switch (indice) {
        case 0:
            if (!zvform::Util().PuedeContinuar()) return Queda();
            return ValidaTodo(d, "0");
        case 1: {
            if (!zvform::Util().PuedeContinuar()) return Queda();
            Resultado r = GrabarForm(d);
            Estado::G().gOrdenCambiado = false;
            return r;
        }
        case 2:
            // Of a sent declaration only the order number can be saved.
            if (d.esEnviada) return Estado::G().gOrdenCambiado ? SalirConNumeroDeOrden(d) : Cierra();
            if (d.modificado) return SalirModificado(d);
            return Cierra();
        default:
            return Queda(true);
    }
}

}  // namespace zvdecl
