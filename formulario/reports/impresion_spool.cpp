#include "formulario/reports/impresion_spool.h"

#include "platform/textfile.h"

namespace zvform {

ImpresionSpool::ImpresionSpool(ImpresoraSpool& impresora, RangoPaginas rango) : impresora_(impresora), rango_(rango) {}

void ImpresionSpool::Toma(const LineaSpool& linea) {
    switch (linea.comando) {
        case ComandoSpool::Orientacion:
            orientacion_ = zv::text::Trim(linea.texto);
            if (orientacion_ == "H") impresora_.Orientacion(kHorizontal);
            else if (orientacion_ == "V") impresora_.Orientacion(kVertical);
            break;
        case ComandoSpool::NuevaHoja:
            // A break before anything was drawn has no page to end.
            if (hojas_ > 0 && rango_.Contiene(hojaUltimoRegistro_)) ++saltosPendientes_;
            break;
        case ComandoSpool::Pos:
        case ComandoSpool::PosVerti:
        case ComandoSpool::Cuadro:
            hojaUltimoRegistro_ = linea.hoja;
            if (rango_.Contiene(linea.hoja)) Dibuja(linea);
            break;
        default:
            break;  // font, page count and colour do not change the printout
    }
}

void ImpresionSpool::Dibuja(const LineaSpool& linea) {
    if (fallo_) return;
    if (hojas_ == 0) hojas_ = 1;
    for (; saltosPendientes_ > 0; --saltosPendientes_) {
        if (!impresora_.NuevaPagina()) {
            fallo_ = true;
            return;
        }
        ++hojas_;
    }
    if (!impresora_.Dibuja(Trazo::De(linea), linea.texto)) fallo_ = true;
}

void ImpresionSpool::Fin() {
    saltosPendientes_ = 0;
    impresora_.FinDocumento();
    impresora_.Orientacion(kVertical);
}

}  // namespace zvform
