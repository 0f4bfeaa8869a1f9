#include "shared/conexion.h"

#include "platform/dao/dao.h"
#include "platform/error.h"
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "shared/configuracion.h"

namespace zv {

namespace {

void RegistraSystemDB(const std::string& valor) {
    if (configuracion::GrabaOpcion("SystemDB", valor)) return;
    const std::string ruta = profile::ResolveProfileFile(configuracion::kArchivo).string();
    throw Error(fileerr::PathFileAccess, "No se puede escribir el archivo de configuración " +
                                             std::string(configuracion::kArchivo) + ": \"" + ruta + "\".");
}

}  // namespace

std::unique_ptr<dao::Database> AbreBaseCompartida(dao::DBEngine& motor, const AperturaBase& apertura) {
    if (apertura.registroSystemDB) RegistraSystemDB(*apertura.registroSystemDB);
    motor.IniPath = configuracion::kArchivo;
    motor.SystemDB = apertura.grupoTrabajo;
    motor.DefaultUser = apertura.cuenta.usuario;
    motor.DefaultPassword = apertura.cuenta.clave;
    return motor.OpenDatabase(apertura.ruta, /*exclusive*/ false, /*readOnly*/ false);
}

void MuestraErrorConexion(long numero, const std::string& descripcion, const std::string& textoBloqueada) {
    const std::string numeroTexto = " " + std::to_string(numero);
    const std::string texto = numero == dao::err::DatabaseLocked ? numeroTexto + "- " + textoBloqueada
                                                                 : descripcion + "\n" + numeroTexto;
    MsgBox(texto, Icon::None, Buttons::Ok, "Error de Conección");
}

}  // namespace zv
