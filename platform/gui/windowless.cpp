#include "platform/gui/windowless.h"

#include <QApplication>

#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"

namespace zv::gui {

std::string CommandLine(int argc, char** argv) {
    std::string linea;
    for (int i = 1; i < argc; ++i) linea += (i > 1 ? " " : "") + std::string(argv[i]);
    return linea;
}

WindowlessApplication::WindowlessApplication(int& argc, char** argv) {
    if (HasDisplay()) app_ = std::make_unique<QApplication>(argc, argv);
    InstallPlatformServices();
}

WindowlessApplication::~WindowlessApplication() = default;

}  // namespace zv::gui
