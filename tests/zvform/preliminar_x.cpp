// zv_preliminar_x: the preview "Presentación Preliminar" of a one-page report
// written in the current folder, shown modally over a stand-in of the main window
// "0841 - Solvenda" at the main window's place, with the services zvform's
// main installs. For the tests that look at where the windows go on a real
// X display; ends when the preview is closed.
#include <QApplication>
#include <QWidget>
#include <filesystem>

#include "formulario/core/estado.h"
#include "formulario/core/widgets/twips.h"
#include "formulario/reports/ui/frm_preview.h"
#include "platform/gui/gui_services.h"
#include "tests/preview/spool_prueba.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    zv::gui::InstallPlatformServices();
    const std::string carpeta = std::filesystem::current_path().string() + "/";
    zvpreview::prueba::EscribeReporte(carpeta + "00000001.PRN", 1);
    zvform::Estado::G().gRutaRpt = carpeta;

    QWidget principal;
    principal.setWindowTitle("0841 - Solvenda");
    const QRect lugar = zvform::RectTwips(-50, -50, 9720, 7320);
    principal.move(lugar.topLeft());
    principal.resize(lugar.size());
    principal.show();

    zvform::ui::frmPreview preview(&principal);
    preview.sRut = "00000001.PRN";
    if (!preview.Form_Load()) return 1;
    preview.exec();
    return 0;
}
