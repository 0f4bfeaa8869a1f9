#include "formulario/declaration/ui/error_lista.h"

#include "platform/error.h"
#include "platform/msgbox.h"

namespace zvform::ui {

std::string TextoErrorLista(const std::exception& error) {
    if (const auto* e = dynamic_cast<const zv::Error*>(&error))
        // The number as the old runtime's Str wrote it: a blank stands for the plus sign.
        return e->Description() + "\n" + (e->Number() < 0 ? "" : " ") + std::to_string(e->Number());
    return std::string(error.what()) + "\n 0";
}

void MuestraErrorLista(const std::exception& error) {
    zv::MsgBox(TextoErrorLista(error), zv::Icon::None, zv::Buttons::Ok, "Error");
}

}  // namespace zvform::ui
