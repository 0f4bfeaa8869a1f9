#include "balanceo/configuracion.h"

#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "shared/configuracion.h"
#include "shared/conexion.h"
#include "shared/cuentas.h"

namespace zvcheck {

namespace {

void CambiaCarpetaActual(const std::string& carpeta) {
    std::error_code ec;
    std::filesystem::current_path(carpeta, ec);
    if (ec) throw zv::Error(zv::fileerr::PathNotFound, "No se encontró la ruta de acceso: " + carpeta);
}

}  // namespace

bool LeerIni(Estado& e) {
    e.gSysPath = zv::configuracion::LeeOpcion("SysPath");
    e.gDBPath = zv::configuracion::LeeOpcion("DBPath");
    e.gDBName = zv::configuracion::LeeOpcion("DBName");
    CambiaCarpetaActual(e.gSysPath);
    e.gRutaBase = e.gDBPath + e.gDBName;
    if (!AbrirBase(e)) return false;
    e.gRutaTmp = e.gSysPath + "TMP/";
    return true;
}

bool AbrirBase(Estado& e) {
    const std::string sistema = e.gSysPath + zv::configuracion::kGrupoTrabajo;
    try {
        e.gEngine = std::make_unique<dao::DBEngine>();
        // The host reads the workgroup file's place from ZVBAS.INI: a write
        // that fails is an open that failed.
        e.gBase = zv::AbreBaseCompartida(*e.gEngine, {.ruta = e.gRutaBase,
                                                      .grupoTrabajo = sistema,
                                                      .cuenta = zv::cuentas::Zvcheck(),
                                                      .registroSystemDB = sistema});
        return true;
    } catch (const zv::Error& err) {
        zv::MuestraErrorConexion(err.Number(), err.Description(), "Base esta bloqueda");
        return false;
    }
}

}  // namespace zvcheck
