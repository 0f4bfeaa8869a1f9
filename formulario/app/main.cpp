// zvform: started by the host without arguments. The start-up checks, then
// the main window, whose load reads the configuration and opens the
// database; from then on the window system's event loop drives the program.
#include <QApplication>
#include <memory>

#include "formulario/app/abridores.h"
#include "formulario/core/inicio.h"
#include "formulario/core/ui/mdi_frm.h"
#include "platform/gui/gui_services.h"
#include "platform/msgbox.h"
#include "platform/single_instance.h"

int main(int argc, char** argv) {
    // Without a display the program still runs far enough to say that the host is missing.
    zv::gui::OffscreenWithoutDisplay();
    QApplication app(argc, argv);
    zv::gui::InstallPlatformServices();

    std::unique_ptr<zv::SingleInstance> instancia;
    if (!zvform::ComprobarInicio(instancia)) return zvform::kSalidaFatal;

    zvform::RegistraFormularios();
    zvform::ui::MDIFrm principal;
    if (!principal.MDIForm_Load()) return zvform::kSalidaFatal;
    principal.show();
    return app.exec();
}
