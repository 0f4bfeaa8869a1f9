// The reject logs: the .Log file keeps each rejected line as read, the .Err
// file its 37-character key and the message of its code.
#include "formulario/core/utilitarios.h"
#include "formulario/import/importacion.h"
#include "formulario/import/mensajes.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvimport {

namespace {

constexpr int kLargoClave = 37;

// The run's first reject starts the file afresh; later ones append.
void EscribeLinea(const std::string& ruta, const std::string& linea, bool primero) {
    zv::text::TextWriter archivo(ruta, primero ? zv::text::WriteMode::Output : zv::text::WriteMode::Append);
    archivo.WriteLine(linea);
    archivo.Close();
}

}  // namespace

void Importacion::GraboLog(const std::string& ArcPla, const std::string& Linea, const std::string& ArcError,
                           std::string& xsOrden) {
    const std::string* enUso = &ArcPla;  // the file a failure names
    try {
        const bool primero = LogIniciado == 0;
        EscribeLinea(ArcPla, Linea, primero);
        std::string mensaje = MensajeRechazo(Campos.CodigoError, Campos.EtiquetaCampo, Campos.LongitudCampo);
        xsOrden = zvform::Util().AjustaLongitud(xsOrden, kLargoClave);  // cut or filled to the key's width
        enUso = &ArcError;
        EscribeLinea(ArcError, xsOrden + " " + mensaje, primero);
        LogIniciado = 1;
    } catch (const std::exception& e) {
        const auto* error = dynamic_cast<const zv::Error*>(&e);
        const long numero = error ? error->Number() : 51;
        const std::string descripcion = error ? error->Description() : e.what();
        // A log that cannot be written fails again at every reject (a full
        // folder, a file held open): the user is told once per run.
        if (!FallaDeLogAvisada) {
            FallaDeLogAvisada = true;
            if (numero == zv::fileerr::PermissionDenied)
                zv::MsgBox(descripcion + "\nCierre el Archivo " + *enUso + "\nIntente nuevamente por favor.",
                           zv::Icon::Critical, zv::Buttons::Ok, "Error");
            else
                zv::MsgBox("Error tecnico: " + std::to_string(numero) + "\n" + descripcion +
                               "\nIntente nuevamente por favor.",
                           zv::Icon::Critical, zv::Buttons::Ok, "Error");
        }
        ui_.HabilitaAceptar();
        if (TransferenciaEnCurso) {
            ui_.FijaTransferidos("0 registro(s) transferido(s)");
            ui_.FijaRechazados("0 registro(s) rechazado(s)");
        }
        TransferenciaEnCurso = false;
    }
}

}  // namespace zvimport
