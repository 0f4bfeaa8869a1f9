// zvsetup: run once when the module is installed. No arguments, no window;
// message boxes go through the message service (Qt boxes with a display,
// standard error without one).
#include <QApplication>
#include <memory>

#include "Inserta/zvsetup.h"
#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"

int main(int argc, char** argv) {
    std::unique_ptr<QApplication> app;
    if (zv::HasDisplay()) app = std::make_unique<QApplication>(argc, argv);
    zv::gui::InstallPlatformServices();
    return zvsetup::Main();
}
