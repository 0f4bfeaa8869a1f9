#include "shared/conexion.h"

#include "platform/dao/dao.h"
#include "platform/msgbox.h"

namespace zv {

void MuestraErrorConexion(long numero, const std::string& descripcion, const std::string& textoBloqueada) {
    const std::string numeroTexto = " " + std::to_string(numero);
    const std::string texto = numero == dao::err::DatabaseLocked ? numeroTexto + "- " + textoBloqueada
                                                                 : descripcion + "\n" + numeroTexto;
    MsgBox(texto, Icon::None, Buttons::Ok, "Error de Conección");
}

}  // namespace zv
