#include "shared/configuracion.h"

#include <filesystem>

#include "platform/profile.h"

namespace zv::configuracion {

std::string LeeOpcion(std::string_view clave) { return profile::ReadTrimmed(kSeccion, clave, kArchivo); }

std::optional<std::string> FaltaArchivo() {
    bool ilegible = false;
    profile::FindProfileValue(kSeccion, "SysPath", kArchivo, &ilegible);
    const std::string ruta = profile::ResolveProfileFile(kArchivo).string();
    const std::string archivo = "el archivo de configuración " + std::string(kArchivo);
    if (ilegible) return "No se puede leer " + archivo + ": \"" + ruta + "\".";
    std::error_code ec;
    if (!std::filesystem::exists(ruta, ec)) return "No se encontró " + archivo + ". Se buscó en \"" + ruta + "\".";
    return std::nullopt;
}

bool GrabaOpcion(std::string_view clave, std::string_view valor) {
    return profile::WritePrivateProfileString(kSeccion, clave, valor, kArchivo);
}

}  // namespace zv::configuracion
