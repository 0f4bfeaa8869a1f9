// zvhost: shows the host's window "Zarvomat" until it is closed.
#include <QApplication>

#include "host/zvhost/ventana_anfitrion.h"
#include "platform/gui/gui_services.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zv::gui::InstallPlatformServices();
    zvhost::VentanaAnfitrion ventana;
    ventana.show();
    return app.exec();
}
