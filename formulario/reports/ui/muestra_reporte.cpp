#include "formulario/reports/ui/muestra_reporte.h"

#include <QApplication>

#include "formulario/reports/ui/frm_preview.h"

namespace zvform::ui {

bool MuestraReporte(const std::string& archivo, const std::string& modo) {
    frmPreview preview(QApplication::activeWindow());
    preview.sRut = archivo;
    if (modo != "Vprevia") return preview.pDesencripta(archivo, modo);
    const bool leido = preview.Form_Load();
    preview.exec();
    return leido;
}

}  // namespace zvform::ui
