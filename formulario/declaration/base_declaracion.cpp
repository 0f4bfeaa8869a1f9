#include "formulario/declaration/base_declaracion.h"

#include "formulario/core/estado.h"
#include "platform/dao/dao.h"

namespace zvdecl {

dao::Database& Base() {
    auto& base = zvform::Estado::G().gBase;
    if (!base) throw zv::Error(91, "Variable de objeto o bloque With no establecido");
    return *base;
}

}  // namespace zvdecl
