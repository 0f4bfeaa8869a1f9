#include "formulario/core/termina.h"

#include <cstdio>
#include <cstdlib>

namespace zvform {

namespace {
std::function<void(int)>& Terminador() {
    static std::function<void(int)> terminador;
    return terminador;
}
}  // namespace

void TerminaPrograma(int codigo) {
    if (Terminador()) Terminador()(codigo);
    std::fflush(nullptr);
    std::_Exit(codigo);
}

void InstalaTerminador(std::function<void(int)> terminador) { Terminador() = std::move(terminador); }

}  // namespace zvform
