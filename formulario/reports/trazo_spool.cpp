#include "formulario/reports/trazo_spool.h"

#include "formulario/reports/lector_spool.h"

namespace zvform {

Trazo Trazo::De(const LineaSpool& linea) {
    Trazo t;
    t.tipo = linea.comando == ComandoSpool::Cuadro     ? Tipo::Cuadro
             : linea.comando == ComandoSpool::PosVerti ? Tipo::TextoVertical
                                                       : Tipo::Texto;
    t.negrita = linea.negrita;
    t.tamano = linea.tamano;
    t.x = linea.x;
    t.y = linea.y;
    t.x2 = linea.x2;
    t.y2 = linea.y2;
    return t;
}

}  // namespace zvform
