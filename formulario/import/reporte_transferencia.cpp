// The end of a transfer with rejects: the closing question and the
// transfer-errors report (F84103), registered and written whatever the
// answer, and shown only on Yes.
#include "formulario/core/estado.h"
#include "formulario/import/archivo.h"
#include "formulario/import/lectura.h"
#include "formulario/reports/reporte.h"
#include "platform/cursor.h"
#include "platform/textfile.h"
#include "shared/spool.h"

namespace zvimport {

namespace {

// Longer reports go through the page-range dialog first.
constexpr int kPaginasSinRango = 15;

zv::MessageRequest PreguntaFinal(const std::string& rutaLog) {
    zv::MessageRequest pregunta;
    pregunta.text = "¡Algunos registros han sido rechazados!. En estas condiciones no puede elaborar su declaración.\n"
                    "Verifique Archivo Log: " + rutaLog + "\n¿Desea Visualizar Reporte de errores?";
    pregunta.icon = zv::Icon::Question;
    pregunta.buttons = zv::Buttons::YesNo;
    pregunta.title = "Confirmar";
    pregunta.defaultButton = 1;  // No
    return pregunta;
}

}  // namespace

// A rejected file keeps no row: they are undone before the report is
// registered, so that the report's SPOOL row is not undone with them.
void Importacion::DescartaFilasDeLaCorrida() {
    auto& base = *zvform::Estado::G().gBase;
    if (transaccionAbierta_ && base.InTransaction()) {
        base.Rollback();
        transaccionAbierta_ = false;
    }
}

void Importacion::OfreceReporteErrores(const Lectura& lectura) {
    const bool ver = ui_.Pregunta(PreguntaFinal(lectura.log)) == zv::Answer::Yes;
    DescartaFilasDeLaCorrida();
    auto& g = zvform::Estado::G();
    g.gTipoReporte = 3;
    g.gSalida = "ARCHIVO";
    g.gRuc = zv::text::Trim(lectura.ruc);  // the report's heading names the declarant of this file
    std::string spool = zv::spool::GeneraArchivoSpool(*g.gBase, zvform::kCodigoErrores, g.gRuc, g.gUsuario, 6);
    g.gRutaArchivo = UneRuta(g.gRutaRpt, spool);
    // A report that could not be written has been told and is gone: nothing to show.
    if (!zvform::ImprimeReporte(lectura.base, lectura.periodo) || !ver) return;
    g.gTotalPaginas = zvform::PaginasDelReporte();
    g.gRangoPaginas = g.gTotalPaginas > kPaginasSinRango;
    zv::SetMousePointer(zv::Pointer::Arrow);
    if (g.gRangoPaginas) ui_.MuestraRangoPaginas(spool, g.gTotalPaginas);
    else ui_.MuestraReporte(spool);
}

}  // namespace zvimport
