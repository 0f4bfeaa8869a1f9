#include "Inserta/ejecuta_sql.h"

#include <string>

#include "platform/msgbox.h"

namespace zvsetup {

namespace {

void PreguntaSobreescribir() {
    // The answer changes nothing: existing tables are never dropped.
    zv::MsgBox("\nSe  detectado que ya existen las tablas del Zarvo  Desea Sobreescribirlas?", zv::Icon::Question,
               zv::Buttons::YesNo, "Mensaje", 1);
}

void MuestraRechazo(const dao::Error& e) {
    zv::MsgBox("Error Número : " + std::to_string(e.Number()) + "\n" + e.Description(), zv::Icon::Critical,
               zv::Buttons::Ok, "Error al Ejecutar Sentencia SQL");
}

}  // namespace

bool EjecutaSQL(Sesion& s, std::string_view sql, const std::vector<dao::Value>& params) {
    try {
        s.base->Execute(sql, params, dao::dbInconsistent);
        return true;
    } catch (const dao::Error& e) {
        switch (e.Number()) {
            case dao::err::TableExists:
                PreguntaSobreescribir();
                break;
            case dao::err::PrimaryKeyExists:
                break;
            default:
                MuestraRechazo(e);
                ++s.rechazadas;
                break;
        }
        return false;
    }
}

}  // namespace zvsetup
