// zvhost: shows the host's window "Zarvomat" until it is closed.
#include <QApplication>

#include "host/zvhost/ventana_anfitrion.h"
#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"

int main(int argc, char** argv) {
    // Its one window needs a display; without one Qt would abort in English.
    if (!zv::gui::WindowingAvailable()) {
        zv::MsgBox("Zarvomat necesita una pantalla para mostrar su ventana y no hay ninguna disponible "
                   "(revise la variable DISPLAY, o ejecútelo bajo un servidor X virtual: xvfb-run).",
                   zv::Icon::Critical, zv::Buttons::Ok, "Zarvomat");
        return 1;
    }
    QApplication app(argc, argv);
    zv::gui::InstallPlatformServices();
    zvhost::VentanaAnfitrion ventana;
    ventana.show();
    return app.exec();
}
