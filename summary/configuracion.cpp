// Configuration and database open of zvreport.
#include "platform/msgbox.h"
#include "shared/conexion.h"
#include "shared/configuracion.h"
#include "shared/cuentas.h"
#include "summary/resumen.h"

namespace zvreport {

using zv::configuracion::kGrupoTrabajo;
using zv::configuracion::LeeOpcion;

void LeerIni(Estado& e) {
    std::string dbPath = LeeOpcion("DBPath");
    std::string dbName = LeeOpcion("DBName");
    e.gDBPath = dbPath;
    e.gRutaBase = dbPath + dbName;
    e.gUsuario = LeeOpcion("SysUser");
    e.gRutaEnv = dbPath + "ENV";
    e.gRutaRpt = dbPath + "RPT";
    e.gRutaTmp = dbPath + "TMP";
}

void AbrirBase(Estado& e) {
    // The key is written with a separator even when DBPath ends in one; the
    // engine's own value is built without doubling it. A key that cannot be
    // written fails the open: the host would not find the workgroup file.
    const bool endsInSeparator = !e.gDBPath.empty() && e.gDBPath.back() == '/';
    e.gEngine = std::make_unique<dao::DBEngine>();
    try {
        e.gBase = zv::AbreBaseCompartida(*e.gEngine,
                                         {.ruta = e.gRutaBase,
                                          .grupoTrabajo = e.gDBPath + (endsInSeparator ? "" : "/") + kGrupoTrabajo,
                                          .cuenta = zv::cuentas::Zvreport(),
                                          .registroSystemDB = e.gDBPath + "/" + kGrupoTrabajo});
    } catch (const zv::Error& err) {
        zv::MsgBox("\n" + err.Description() + "\n" + "Intente nuevamente por favor.", zv::Icon::Critical,
                   zv::Buttons::Ok, "Mensaje");
        throw FinConMensaje{};
    }
}

}  // namespace zvreport
