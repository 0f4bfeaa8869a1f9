#include "shared/configuracion.h"

#include "platform/profile.h"

namespace zv::configuracion {

std::string LeeOpcion(std::string_view clave) { return profile::ReadTrimmed(kSeccion, clave, kArchivo); }

bool GrabaOpcion(std::string_view clave, std::string_view valor) {
    return profile::WritePrivateProfileString(kSeccion, clave, valor, kArchivo);
}

}  // namespace zv::configuracion
