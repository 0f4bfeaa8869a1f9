// Configuration and database open of zvreport.
#include "platform/msgbox.h"
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
    // engine's own value is built without doubling it.
    zv::configuracion::GrabaOpcion("SystemDB", e.gDBPath + "/" + kGrupoTrabajo);
    e.gEngine = std::make_unique<dao::DBEngine>();
    e.gEngine->IniPath = zv::configuracion::kArchivo;
    bool endsInSeparator = !e.gDBPath.empty() && e.gDBPath.back() == '/';
    e.gEngine->SystemDB = e.gDBPath + (endsInSeparator ? "" : "/") + kGrupoTrabajo;
    auto cuenta = zv::cuentas::Zvreport();
    e.gEngine->DefaultUser = cuenta.usuario;
    e.gEngine->DefaultPassword = cuenta.clave;
    try {
        e.gBase = e.gEngine->OpenDatabase(e.gRutaBase, false, false);
    } catch (const zv::Error& err) {
        zv::MsgBox("\n" + err.Description() + "\n" + "Intente nuevamente por favor.", zv::Icon::Critical,
                   zv::Buttons::Ok, "Mensaje");
        throw FinConMensaje{};
    }
}

}  // namespace zvreport
