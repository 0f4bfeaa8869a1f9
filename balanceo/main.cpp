// zvcheck: the pre-send check of the declaration named by the one argument.
#include <string>

#include "balanceo/zvcheck.h"
#include "platform/gui/windowless.h"

int main(int argc, char** argv) {
    const std::string parametro = zv::gui::CommandLine(argc, argv);
    zv::gui::WindowlessApplication aplicacion(argc, argv);
    return zvcheck::Main(parametro);
}
