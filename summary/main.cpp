// zvreport: the send summary of the declaration named by the one argument.
#include <QApplication>

#include <memory>
#include <string>

#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"
#include "summary/resumen.h"

int main(int argc, char** argv) {
    // The host passes the key as one argument; several are read as the one
    // command line they make.
    std::string parametro;
    for (int i = 1; i < argc; ++i) parametro += (i > 1 ? " " : "") + std::string(argv[i]);
    std::unique_ptr<QApplication> aplicacion;
    if (zv::HasDisplay()) aplicacion = std::make_unique<QApplication>(argc, argv);
    zv::gui::InstallPlatformServices();
    zvreport::Estado estado;
    return zvreport::GeneraResumenEnvio(estado, parametro);
}
