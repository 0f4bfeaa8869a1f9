#include "formulario/import/mensajes.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace zvimport {

namespace {

using Texto = std::pair<std::string_view, std::string_view>;

// Codes whose message is a fixed text.
constexpr std::array kFijos = {
    Texto{"0911", "Faltan campos en su archivo de transferencia"},
    Texto{"0912", "Registro duplicado."},
    Texto{"300", "El RUC del empleador debe tener 11 dígitos de longitud."},
    Texto{"305", "El RUC del empleador debe tener sólo dígitos."},
    Texto{"306", "El RUC del empleador no corresponde a un RUC válido."},
    Texto{"310", "El tipo de documento de id. del afiliado debe ser de 2 dígitos de longitud."},
    Texto{"311", "El tipo de documento de id. del afiliado debe ser de 2 dígitos."},
    Texto{"312", "El tipo de documento de id. del afiliado no es correcto, ver el archivo de ayuda."},
    Texto{"325", "La fecha de nacimiento del afiliado debe ser: ddmmaaaa, ver el archivo de ayuda."},
    Texto{"326", "Debe registrar la fecha de nacimiento del afiliado, el formato es: ddmmaaaa"},
    Texto{"330", "La fecha de nacimiento del afiliado no es válida, el formato es: ddmmaaaa."},
    Texto{"335", "La fecha de nacimiento del afiliado no debe ser mayor a la fecha del sistema."},
    Texto{"340", "La longitud del apellido paterno del afiliado debe ser hasta de 40 posiciones."},
    Texto{"345", "El apellido paterno del afiliado debe ser alfanumérico."},
    Texto{"350", "La longitud del apellido materno del afiliado debe ser hasta de 40 posiciones."},
    Texto{"355", "El apellido materno del afiliado debe ser alfanumérico."},
    Texto{"360", "Debe registrar el apellido paterno o el apellido materno del afiliado."},
    Texto{"365", "Debe registrar el nombre del afiliado."},
    Texto{"370", "La longitud del nombre del afiliado debe ser hasta de 60 posiciones."},
    // The given-names column holds 40 characters.
    Texto{"371", "La longitud del nombre del afiliado debe ser hasta de 40 posiciones."},
    Texto{"375", "El nombre del afiliado debe ser alfanumérico."},
    Texto{"380", "Debe registrar el sexo del afiliado."},
    Texto{"385", "El sexo del afiliado debe ser [1]-Masculino o [2]-Femenino."},
    Texto{"390", "Debe registrar el Código Único de Identificación del Sistema Privado de Pensiones(CUSPP)."},
    Texto{"395", "La longitud del Cód. Único de Identif. del S.P.P.(CUSPP) debe ser 12 posiciones."},
    Texto{"400", "El Cód. Único de Identif. del Sistema Privado de Pensiones(CUSPP) debe ser Alfanumérico."},
    Texto{"405", "La fecha de afiliación al SPP debe ser: ddmmaaaa, ver el archivo de ayuda."},
    Texto{"406", "Debe registrar la fecha de afiliación al SPP, el formato es: ddmmaaaa."},
    Texto{"410", "La fecha de afiliación al SPP no es válida, el formato es: ddmmaaaa."},
    Texto{"415", "La fecha de afiliación al SPP no puede ser menor al 01 de Junio de 1993."},
    Texto{"420", "La fecha de afiliación al SPP no debe ser mayor a la fecha del sistema."},
    Texto{"425", "La fecha de solicitud de desafiliación debe ser: ddmmaaaa, ver el archivo de ayuda."},
    Texto{"426", "Debe registrar la fecha de solicitud de desafiliación, el formato es: ddmmaaaa."},
    Texto{"430", "La fecha de solicitud de desafiliación no es válida, el formato es: ddmmaaaa."},
    Texto{"435", "La fecha de solicitud de desafiliación no puede ser menor al 28 de Agosto de 2007."},
    Texto{"440", "La fecha de solicitud de desafiliación no debe ser mayor a la fecha del sistema."},
    Texto{"445", "Debe registrar el motivo de desafiliación."},
    Texto{"450", "El motivo de desafiliación debe ser [01]-[02] ó [03]. Ver el archivo de ayuda"},
    Texto{"455", "Debe registrar el nro. de la resolución de desafiliación emitida por la SBS."},
    Texto{"460", "La longitud del nro. de la resolución de desafiliación debe ser 10 posiciones."},
    Texto{"465", "El número de la resolución de desafiliación debe ser Alfanumérico."},
    Texto{"470", "Debe registrar la condición de aporte."},
    Texto{"475", "La condición de aporte debe ser [1]-Dependiente ó [2]-Independiente."},
    Texto{"480", "Cuando la condicón de aporte es [1]-Dependiente debe registrar el RUC del empleador."},
    Texto{"481", "Cuando la condicón de aporte es [2]-Independiente no debe registrar el RUC del empleador."},
    Texto{"485", "Debe registrar el mes de devengue."},
    Texto{"490", "El mes de devengue debe tener el formato: AAAAMM. Ver el archivo de ayuda."},
    Texto{"495", "El mes de devengue no debe ser menor a 06/1993 ni mayor a la fecha del sistema."},
};

// Amount codes: the field's label followed by the text.
constexpr std::array kMontos = {
    Texto{"505", " debe registrarse de 12 ent. y 2 dec. como máximo."},
    Texto{"510", " no permite números negativos."},
    Texto{"515", " tiene mas de un punto decimal."},
    Texto{"520", " excede los nros. enteros, deben ser 12 ent. y 2 dec. como máx."},
    Texto{"525", " excede los nros. decimales, deben ser 12 ent. y 2 dec. como máx."},
    Texto{"530", " debe ser mayor a cero"},
    Texto{"531", " debe ser un dato numérico"},
    Texto{"532", " debe ser mayor o igual a cero"},
    Texto{"535", " tiene más de un signo negativo[-]."},
    Texto{"540", " tiene sólo un signo negativo. Debe registrar el monto correctamente."},
    Texto{"545", " cuando es negativo debe registrarse nros de 11 ent. y 2 dec. como máximo."},
};

template <std::size_t N>
const std::string_view* Busca(const std::array<Texto, N>& tabla, std::string_view codigo) {
    for (const auto& [clave, texto] : tabla)
        if (clave == codigo) return &texto;
    return nullptr;
}

std::string Minusculas(std::string_view texto) {
    std::string out(texto);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    return out;
}

// 315 and 320: the document-number texts; 8 is the DNI's fixed length.
std::string MensajeDocumento(std::string_view codigo, const std::string& etiqueta, int longitud) {
    std::string texto = etiqueta + "debe ser de " + std::to_string(longitud);
    if (codigo == "315") return texto + (longitud == 8 ? " dígitos de longitud" : " dígitos o letras de longitud como máximo.");
    return texto + (longitud == 8 ? " dígitos como máximo." : " dígitos o letras.");
}

}  // namespace

std::string MensajeRechazo(const std::string& codigo, const std::string& etiqueta, int longitud) {
    if (const auto* texto = Busca(kFijos, codigo)) return std::string(*texto);
    if (codigo == "315" || codigo == "320") return MensajeDocumento(codigo, etiqueta, longitud);
    if (codigo == "500") return "Debe registrar " + Minusculas(etiqueta) + ".";
    if (const auto* texto = Busca(kMontos, codigo)) return etiqueta + std::string(*texto);
    return {};
}

}  // namespace zvimport
