// The report run and its dispatcher.
#include "formulario/reports/reporte.h"

#include "formulario/core/estado.h"
#include "formulario/reports/reporte_detalle.h"
#include "formulario/reports/reporte_errores.h"
#include "formulario/reports/reporte_formulario.h"
#include "platform/cursor.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "shared/spool.h"

namespace zvform {

namespace {

constexpr long kFinSinMensaje = 2055;
constexpr long kCancelada = 20545;
constexpr long kErrorImpresora = 482;
constexpr long kValorNoValido = 380;

}  // namespace

std::string MensajeImpresion(long numero, const std::string& descripcion) {
    switch (numero) {
        case zv::fileerr::FileNotFound:
        case kFinSinMensaje:
        case zv::fileerr::FileAlreadyOpen:
            return "";
        case kCancelada:
            return "La Impresión ha sido Cancelada.";
        case kErrorImpresora:
            return "No existe una impresora seleccionada.Verifique.";
        case kValorNoValido:
            return "No Existe Información a Imprimir.Verifique.";
        default:
            return "Error Técnico : ( " + std::to_string(numero) + ") " + descripcion;
    }
}

void AtiendeErrorImpresion(long numero, const std::string& descripcion) {
    std::string texto = MensajeImpresion(numero, descripcion);
    if (!texto.empty()) zv::MsgBox(texto, zv::Icon::Critical, zv::Buttons::Ok, "Impresión");
}

namespace {

// The spool file is closed whatever the failure; a failed close adds nothing.
void CierraSpool() {
    try {
        Corrida().spool.Cierra();
    } catch (...) {
    }
}

bool EscribeDeclaracion(OpcionImpresion opcion) {
    return opcion == OpcionImpresion::Declaracion || opcion == OpcionImpresion::DeclaracionYDetalle;
}
// The run of a report that writes a spool file: the caller registered it.
bool EscribeSpool(int tipoReporte) { return tipoReporte == 2 || tipoReporte == 3; }

bool EscribeDetalle(OpcionImpresion opcion) {
    return opcion == OpcionImpresion::Detalle || opcion == OpcionImpresion::DeclaracionYDetalle;
}

}  // namespace

void GeneraReporte(OpcionImpresion opcion) {
    CorridaReporte& c = Corrida();
    zv::spool::EscritorSpool& spool = c.spool;
    spool.linea.clear();
    spool.Abre(Estado::G().gRutaArchivo);
    spool.lineaActual = 0;
    spool.posY = 0;
    c.gMargen = "  ";
    spool.pagina = 0;
    if (EscribeDeclaracion(opcion)) {
        spool.pagina = 1;
        ReporteFormulario();
        spool.pagina -= 1;  // the form is page 0
    } else {
        spool.pagina = -1;  // the annex's first page gets index 0
    }
    const bool conAnexo = EscribeDetalle(opcion);
    if (conAnexo) ReporteDetalle("F841DETDES", "DETALLE DE AFILIADOS", "DA", true);
    int hojas = conAnexo ? c.gPaginasAnexo + 1 : 1;
    spool.EscribeLinea(zv::spool::TagHojas(hojas));
    spool.pagina = hojas;
    spool.Cierra();
    zv::SetMousePointer(zv::Pointer::Arrow);
    zv::DoEvents();
}

bool ImprimeReporte(const std::string& baseRechazos, const std::string& periodo, OpcionImpresion opcion) {
    Corrida().gAnchoLinea = 104;
    zv::SetMousePointer(zv::Pointer::Hourglass);
    bool escrito = false;
    try {
        switch (Estado::G().gTipoReporte) {
            case 2:
                GeneraReporte(opcion);
                escrito = true;
                break;
            case 3:
                ReporteErrores(baseRechazos, periodo);
                escrito = true;
                break;
            default:
                break;
        }
    } catch (const zv::Error& e) {
        AtiendeErrorImpresion(e.Number(), e.Description());
    } catch (const std::exception& e) {
        AtiendeErrorImpresion(51, e.what());
    }
    if (!escrito) {
        CierraSpool();
        // A report not written whole is no report: its registration goes with
        // the empty or cut file. The error has been told above.
        const Estado& e = Estado::G();
        if (EscribeSpool(e.gTipoReporte) && e.gBase) zv::spool::DescartaArchivoSpool(*e.gBase, e.gRutaArchivo);
    }
    zv::SetMousePointer(zv::Pointer::Arrow);
    return escrito;
}

int PaginasDelReporte() { return Corrida().spool.pagina; }

}  // namespace zvform
