// zvcheck: the pre-send check of the declaration named by the one argument.
#include <QApplication>

#include <memory>
#include <string>
#include <vector>

#include "balanceo/zvcheck.h"
#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"

int main(int argc, char** argv) {
    std::vector<std::string> argumentos(argv + 1, argv + argc);
    // Message boxes need an application object; without a display they go
    // to standard error and none is made.
    std::unique_ptr<QApplication> aplicacion;
    if (zv::HasDisplay()) aplicacion = std::make_unique<QApplication>(argc, argv);
    zv::gui::InstallPlatformServices();
    return zvcheck::Main(zvcheck::LineaDeComandos(argumentos));
}
