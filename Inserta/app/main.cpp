// zvsetup: run once when the module is installed. No arguments, no window;
// message boxes go through the message service (Qt boxes with a display,
// standard error without one).
#include "Inserta/zvsetup.h"
#include "platform/gui/windowless.h"

int main(int argc, char** argv) {
    zv::gui::WindowlessApplication aplicacion(argc, argv);
    return zvsetup::Main();
}
