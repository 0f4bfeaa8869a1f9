#include "host/zvbase/instalacion.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/profile.h"
#include "shared/cuentas.h"

namespace zvbase {

namespace {

const char* kUso = "uso: zvbase [--user NOMBRE] [--demo] [--force] CARPETA";

std::string NombreDeSesion() {
    if (const char* u = std::getenv("USER"); u && *u) return u;
    if (const passwd* pw = getpwuid(getuid())) return pw->pw_name;
    return "usuario";
}

}  // namespace

std::string CarpetaConBarra(const fs::path& carpeta) {
    std::string s = carpeta.lexically_normal().string();
    while (s.size() > 1 && s.back() == '/') s.pop_back();
    return s + "/";
}

bool LeeArgumentos(int argc, char** argv, Opciones& o, std::string& error) {
    o = Opciones{};
    o.usuario = NombreDeSesion();
    std::string carpeta;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--user") {
            if (i + 1 >= argc || std::string(argv[i + 1]).empty()) {
                error = "--user necesita un nombre";
                return false;
            }
            o.usuario = argv[++i];
        } else if (a == "--demo") {
            o.demo = true;
        } else if (a == "--force") {
            o.forzar = true;
        } else if (a.rfind("--", 0) == 0) {
            error = "opción desconocida: " + a;
            return false;
        } else if (carpeta.empty()) {
            carpeta = a;
        } else {
            error = "sobra un argumento: " + a;
            return false;
        }
    }
    if (carpeta.empty()) {
        error = "falta la carpeta de la instalación";
        return false;
    }
    o.carpeta = fs::absolute(carpeta).lexically_normal();
    return true;
}

std::string InstalacionExistente(const Opciones& o) {
    if (fs::exists(o.carpeta / kNombreBase)) return (o.carpeta / kNombreBase).string();
    if (fs::exists(o.carpeta / kGrupoTrabajo)) return (o.carpeta / kGrupoTrabajo).string();
    if (!zv::profile::ReadTrimmed("Options", "SysPath", "ZVBAS.INI").empty())
        return zv::profile::ResolveProfileFile("ZVBAS.INI").string();
    return "";
}

void BorraInstalacion(const Opciones& o) {
    for (const char* sufijo : {"", "-wal", "-shm", "-journal"}) fs::remove(o.carpeta / (std::string(kNombreBase) + sufijo));
    fs::remove(o.carpeta / "ZVBAS.ldb");
    fs::remove(o.carpeta / kGrupoTrabajo);
    fs::remove_all(o.carpeta / "demo");
}

void Instalar(const Opciones& o) {
    if (o.forzar) BorraInstalacion(o);
    CreaCarpetas(o);
    EscribeConfiguracion(o);
    EscribeArchivosDelModulo(o);
    CreaGrupoDeTrabajo(o);
    dao::DBEngine engine;
    auto db = CreaBase(o, engine);
    CreaTablasBase(*db);
    CargaFilasBase(*db, o.usuario);
    if (o.demo) CargaDemostracion(*db, o);
    db->Close();
}

int Main(int argc, char** argv) {
    Opciones o;
    std::string error;
    if (!LeeArgumentos(argc, argv, o, error)) {
        std::fprintf(stderr, "zvbase: %s\n%s\n", error.c_str(), kUso);
        return 2;
    }
    if (!o.forzar) {
        std::string existente = InstalacionExistente(o);
        if (!existente.empty()) {
            std::fprintf(stderr, "zvbase: ya existe una instalación (%s); use --force para reemplazarla\n",
                         existente.c_str());
            return 1;
        }
    }
    try {
        Instalar(o);
    } catch (const zv::Error& e) {
        std::fprintf(stderr, "zvbase: error %ld: %s\n", e.Number(), e.Description().c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zvbase: %s\n", e.what());
        return 1;
    }
    std::printf("Instalación del Zarvo creada en %s (usuario %s)\n", CarpetaConBarra(o.carpeta).c_str(),
                o.usuario.c_str());
    return 0;
}

}  // namespace zvbase
