// The straight run of zvreport and its one failure message.
#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/replace_file.h"
#include "summary/resumen.h"

namespace zvreport {

namespace fs = std::filesystem;

namespace {

// The copy replaces the earlier one whole or not at all; it may belong to
// another user who ran the report before.
void Copia(const std::string& desde, const std::string& hacia) {
    std::error_code ec;
    if (!zv::files::CopyReplacing(desde, hacia, ec))
        throw zv::Error(zv::fileerr::PathFileAccess,
                        "Error de acceso a la ruta o el archivo: " + hacia + " (" + ec.message() + ")");
}

void MensajeErrorTecnico(long numero, const std::string& texto) {
    zv::MsgBox("Error tecnico: " + std::string(" ") + std::to_string(numero) + "\n" + texto + "\n" +
                   "Intente nuevamente por favor.",
               zv::Icon::Critical, zv::Buttons::Ok, "Mensaje");
}

}  // namespace

void CopiaDocumentos(Estado& e) {
    Copia(e.gRutaSpool, e.gRutaRpt + "/" + e.gNombreReporte + ".PRN");
    Copia(e.gRutaTexto, e.gRutaTmp + "/" + e.gNombreReporte + ".txt");
    std::error_code ec;
    if (!fs::remove(e.gRutaTexto, ec) || ec)
        throw zv::Error(zv::fileerr::PathFileAccess, "Error de acceso a la ruta o el archivo: " + e.gRutaTexto);
}

int GeneraResumenEnvio(Estado& e, const std::string& parametro) {
    try {
        LeerIni(e);
        AbrirBase(e);
        e.gSalida = "ARCHIVO";
        CortaParametro(e, parametro);
        LeeFormaPago(e);
        LeeCasillas(e);
        LeeDeclarante(e);
        GeneraResumenTexto(e);
        LeeDeclarante(e);
        GeneraResumenSpool(e);
        CopiaDocumentos(e);
        return 0;
    } catch (const FinConMensaje&) {
        return 1;
    } catch (const zv::Error& err) {
        MensajeErrorTecnico(err.Number(), err.Description());
    } catch (const std::exception& ex) {
        MensajeErrorTecnico(5, ex.what());
    }
    return 1;
}

}  // namespace zvreport
