// Configuration and database open of zvreport.
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "shared/cuentas.h"
#include "summary/resumen.h"

namespace zvreport {

namespace {
constexpr const char* kIni = "ZVBAS.INI";
constexpr const char* kSeccion = "Options";
}  // namespace

void LeerIni(Estado& e) {
    std::string dbPath = zv::profile::ReadTrimmed(kSeccion, "DBPath", kIni);
    std::string dbName = zv::profile::ReadTrimmed(kSeccion, "DBName", kIni);
    e.gDBPath = dbPath;
    e.gRutaBase = dbPath + dbName;
    e.gUsuario = zv::profile::ReadTrimmed(kSeccion, "SysUser", kIni);
    e.gRutaEnv = dbPath + "ENV";
    e.gRutaRpt = dbPath + "RPT";
    e.gRutaTmp = dbPath + "TMP";
}

void AbrirBase(Estado& e) {
    // The key is written with a separator even when DBPath ends in one; the
    // engine's own value is built without doubling it.
    zv::profile::WritePrivateProfileString(kSeccion, "SystemDB", e.gDBPath + "/" + "ZVBAS.MDW", kIni);
    e.gEngine = std::make_unique<dao::DBEngine>();
    e.gEngine->IniPath = kIni;
    bool endsInSeparator = !e.gDBPath.empty() && e.gDBPath.back() == '/';
    e.gEngine->SystemDB = e.gDBPath + (endsInSeparator ? "ZVBAS.MDW" : "/ZVBAS.MDW");
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
