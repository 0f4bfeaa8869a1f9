#include "balanceo/zvcheck.h"

#include "balanceo/archivos.h"
#include "balanceo/casillas.h"
#include "balanceo/configuracion.h"
#include "balanceo/parametro.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/single_instance.h"

namespace zvcheck {

namespace {

constexpr int kRevisado = 0;
constexpr int kTerminoConError = 1;

void Coinciden(const std::string& rutaInforme) {
    if (ExisteArchivo(rutaInforme)) BorraArchivo(rutaInforme);
}

void NoCoinciden(Estado& e, const std::string& rutaInforme, const std::string& rutaMarca) {
    zv::MsgBox("Existen datos inconsistentes en la información a enviar. Revisar el archivo " + rutaInforme,
               zv::Icon::Critical, zv::Buttons::Ok, "Error en la información a enviar");
    if (ExisteArchivo(rutaMarca)) BorraArchivo(rutaMarca);
    GrabaSenalError(e, rutaMarca);
}

int Revisa(const std::string& parametro) {
    Estado e;
    if (!LeerIni(e)) return kTerminoConError;
    const ParametroEnvio p = CortaParametro(parametro);
    const std::string raiz = RaizArchivos(e.gRutaTmp, p);
    const std::string rutaInforme = raiz + kExtensionInforme;
    if (ValidaCasillas(e, p.tipoDocumento, p.numeroDocumento, p.formulario, p.periodo, p.semana, rutaInforme))
        Coinciden(rutaInforme);
    else
        NoCoinciden(e, rutaInforme, raiz + kExtensionMarca);
    return e.gErrorEnValidacion ? kTerminoConError : kRevisado;
}

}  // namespace

int Main(const std::string& parametro) {
    zv::SingleInstance instancia(kNombrePrograma);
    if (instancia.PrevInstance()) {
        zv::MsgBox("La aplicación ya se encuentra en Ejecución", zv::Icon::Information, zv::Buttons::Ok,
                   "Presentación Telemática");
        return kTerminoConError;
    }
    // Errors outside the check (a SysPath that names no folder, a file that
    // cannot be deleted) end the run with their number and text; no marker
    // file is written after them.
    try {
        return Revisa(parametro);
    } catch (const zv::Error& err) {
        zv::MsgBox("Error " + std::to_string(err.Number()) + "\n" + err.Description(), zv::Icon::Critical,
                   zv::Buttons::Ok, "Error de Ejecución");
    } catch (const std::exception& err) {
        zv::MsgBox(std::string("Error\n") + err.what(), zv::Icon::Critical, zv::Buttons::Ok, "Error de Ejecución");
    }
    return kTerminoConError;
}

}  // namespace zvcheck
