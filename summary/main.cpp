// zvreport: the send summary of the declaration named by the one argument.
#include <string>

#include "platform/gui/windowless.h"
#include "summary/resumen.h"

int main(int argc, char** argv) {
    const std::string parametro = zv::gui::CommandLine(argc, argv);
    zv::gui::WindowlessApplication aplicacion(argc, argv);
    zvreport::Estado estado;
    return zvreport::GeneraResumenEnvio(estado, parametro);
}
