#include "formulario/import/importacion.h"
#include "formulario/import/mensajes.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"

namespace zvimport {

bool Importacion::Errores_Transferencia(const zv::Error& error) {
    const long numero = error.Number();
    if (numero == 0) return false;
    if (numero == dao::err::DuplicateKey) {
        Campos.CodigoError = kViolacionClave;
        return true;
    }
    if (numero == 5) {
        zv::MsgBox("Seleccionar directorio donde se encuentran\nlos archivos a transferir", zv::Icon::Information,
                   zv::Buttons::Ok, "Mensaje");
    } else if (numero == 53 || numero == dao::err::ObjectNotFound || numero == dao::err::FileNotFound) {
        zv::MsgBox("En la ruta indicada, no se encuentra el archivo a transferir, verifique la ruta",
                   zv::Icon::Critical, zv::Buttons::Ok, "Error");
    } else if (numero == dao::err::DatabaseLocked) {
        zv::MsgBox("¡El archivo se encuentra abierto!\nIntente nuevamente por favor.", zv::Icon::Critical,
                   zv::Buttons::Ok, "Error");
    } else {
        zv::MsgBox("Error Tecnico: " + std::to_string(numero) + " " + error.Description(), zv::Icon::Critical,
                   zv::Buttons::Ok, "Error");
    }
    if (TransferenciaEnCurso) ui_.HabilitaAceptar();
    TransferenciaEnCurso = false;
    return false;
}

}  // namespace zvimport
