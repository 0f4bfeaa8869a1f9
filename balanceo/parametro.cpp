#include "balanceo/parametro.h"

#include "platform/textfile.h"

namespace zvcheck {

using zv::text::Mid;

ParametroEnvio CortaParametro(const std::string& linea) {
    ParametroEnvio p;
    p.tipoDocumento = Mid(linea, 1, 2);
    p.numeroDocumento = Mid(linea, 3, 15);
    p.formulario = Mid(linea, 18, 4);
    p.periodo = Mid(linea, 22, 6);
    p.semana = Mid(linea, 28, 1);
    p.codigoControl = Mid(linea, 29, 8);
    return p;
}

std::string RaizArchivos(const std::string& rutaTmp, const ParametroEnvio& p) {
    return rutaTmp + p.tipoDocumento + zv::text::Trim(p.numeroDocumento) + p.formulario + p.periodo + p.semana;
}

}  // namespace zvcheck
