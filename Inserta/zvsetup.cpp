#include "Inserta/zvsetup.h"

#include <exception>

#include "Inserta/parametros.h"
#include "Inserta/tablas.h"
#include "platform/msgbox.h"
#include "platform/profile.h"
#include "shared/conexion.h"
#include "shared/configuracion.h"
#include "shared/cuentas.h"

namespace zvsetup {

namespace {

constexpr long kErrorInterno = 51;
constexpr const char* kBaseBloqueada = "La Base de datos esta bloqueda";

bool EsSeparador(char c) { return c == '/' || c == '\\'; }

// An error nobody traps ends the run with its number and text.
void MuestraErrorFatal(long numero, const std::string& texto) {
    zv::MsgBox("Se ha producido el error '" + std::to_string(numero) + "' en tiempo de ejecución:\n\n" + texto,
               zv::Icon::Critical, zv::Buttons::Ok, "zvsetup");
}

// What was written stays; only an open transaction is undone.
void CierraTrasError(Sesion& s) {
    if (!s.base) return;
    try {
        if (s.base->InTransaction()) s.base->Rollback();
        s.base->Close();
    } catch (const std::exception&) {
    }
    s.base.reset();
}

int InstalaYCierra(Sesion& s) {
    try {
        Instalar(s);
    } catch (const zv::Error& e) {
        MuestraErrorFatal(e.Number(), e.Description());
        CierraTrasError(s);
        return kInterrumpida;
    } catch (const std::exception& e) {
        MuestraErrorFatal(kErrorInterno, e.what());
        CierraTrasError(s);
        return kInterrumpida;
    }
    return s.rechazadas == 0 ? kCompleta : kSentenciaRechazada;
}

}  // namespace

std::string QuitaSeparadorDoble(std::string path) {
    const auto n = path.size();
    if (n >= 2 && EsSeparador(path[n - 1]) && EsSeparador(path[n - 2])) path.pop_back();
    return path;
}

std::string LeeSysPath() { return zv::configuracion::LeeOpcion("SysPath"); }

int Main() {
    Sesion s;
    std::string sysPath = LeeSysPath();
    if (sysPath.empty()) {
        zv::MsgBox("Debe instalar primero el Zarvo ", zv::Icon::Information, zv::Buttons::Ok, "Mensaje");
        return kInterrumpida;
    }
    s.sysPath = QuitaSeparadorDoble(sysPath);
    if (!AbrirBase(s, s.sysPath)) return kInterrumpida;
    return InstalaYCierra(s);
}

bool AbrirBase(Sesion& s, const std::string& sysPath) {
    try {
        std::string dbName;
        zv::profile::GetPrivateProfileString(zv::configuracion::kSeccion, "DBName", "", dbName, 255,
                                             zv::configuracion::kArchivo);
        s.base = zv::AbreBaseCompartida(s.engine, {.ruta = sysPath + dbName,
                                                   .grupoTrabajo = sysPath + "/" + zv::configuracion::kGrupoTrabajo,
                                                   .cuenta = zv::cuentas::Zvsetup()});
        return true;
    } catch (const zv::Error& e) {
        zv::MuestraErrorConexion(e.Number(), e.Description(), kBaseBloqueada);
    } catch (const std::exception& e) {
        zv::MuestraErrorConexion(kErrorInterno, e.what(), kBaseBloqueada);
    }
    return false;
}

void Instalar(Sesion& s) {
    CreaTablas(s);
    PermiteLongitudCero(s, "F841DETDES");
    PermiteLongitudCero(s, "HF841DETDES");
    CargaParametros(s);
}

}  // namespace zvsetup
