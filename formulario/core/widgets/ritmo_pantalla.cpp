#include "formulario/core/widgets/ritmo_pantalla.h"

namespace zvform {

std::function<RitmoDePantalla::Instante()>& RitmoDePantalla::FuenteDeReloj() {
    static std::function<Instante()> fuente = [] { return std::chrono::steady_clock::now(); };
    return fuente;
}

bool RitmoDePantalla::Toca() {
    constexpr auto kCuadro = std::chrono::nanoseconds(std::chrono::seconds(1)) / kVecesPorSegundo;
    const Instante ahora = FuenteDeReloj()();
    if (mostrado_ && ahora - ultimo_ < kCuadro) return false;
    mostrado_ = true;
    ultimo_ = ahora;
    return true;
}

}  // namespace zvform
