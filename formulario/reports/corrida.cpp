#include "formulario/reports/corrida.h"

#include <memory>

namespace zvform {

namespace {
std::unique_ptr<CorridaReporte>& Instancia() {
    static std::unique_ptr<CorridaReporte> corrida = std::make_unique<CorridaReporte>();
    return corrida;
}
}  // namespace

std::string_view CodigoReporte(OpcionImpresion opcion) {
    return opcion == OpcionImpresion::Detalle ? kCodigoDetalle : kCodigoFormulario;
}

CorridaReporte& Corrida() { return *Instancia(); }
void ReiniciaCorrida() { Instancia() = std::make_unique<CorridaReporte>(); }

void ImprimePos(int x, int y, std::string_view texto, bool negrita, int tamano, int pagina) {
    Corrida().spool.ImprimePos(x, y, texto, negrita, tamano, pagina);
}

void ImprimeCuadro(int x1, int y1, int x2, int y2, int pagina) {
    Corrida().spool.ImprimeCuadro(x1, y1, x2, y2, pagina);
}

void ImprimeLinea(std::string& linea) { Corrida().spool.ImprimeLinea(linea); }

std::string SumaPosicion(int& posicion, int paso) { return zv::spool::SumaPosicion(posicion, paso); }

}  // namespace zvform
