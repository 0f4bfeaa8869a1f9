#include "formulario/core/estado.h"

namespace zvform {

namespace {
std::unique_ptr<Estado>& Instance() {
    static std::unique_ptr<Estado> instance = std::make_unique<Estado>();
    return instance;
}
}  // namespace

Estado& Estado::G() { return *Instance(); }
void Estado::Reset() { Instance() = std::make_unique<Estado>(); }

}  // namespace zvform
