#include "formulario/core/rutinas.h"

#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvform {

std::string RellenaEspacios(const std::string& texto, int ancho) {
    constexpr std::size_t kMaxBlancos = 200;
    std::size_t largo = zv::text::Length(texto);
    if (ancho <= 0 || largo >= static_cast<std::size_t>(ancho)) return texto;
    std::size_t blancos = std::min(static_cast<std::size_t>(ancho) - largo, kMaxBlancos);
    return std::string(blancos, ' ') + texto;
}

std::string AlineaIzquierda(std::string_view texto, int ancho) {
    std::size_t n = ancho > 0 ? static_cast<std::size_t>(ancho) : 0;
    std::size_t largo = zv::text::Length(texto);
    if (largo >= n) return zv::text::Left(texto, n);
    return std::string(texto) + std::string(n - largo, ' ');
}

zv::Currency ValorMoneda(const std::string& texto) {
    std::string limpio = zv::text::Trim(texto);
    if (limpio.empty()) return {};
    std::string sinGrupos;
    for (char c : limpio)
        if (c != ',') sinGrupos.push_back(c);
    if (auto c = zv::Currency::Parse(sinGrupos)) return *c;
    return zv::Currency::FromDouble(zv::Val(sinGrupos));
}

zv::Currency ValorMoneda(const char* texto) { return ValorMoneda(std::string(texto ? texto : "")); }

zv::Currency ValorMoneda(const dao::Value& valor) {
    if (valor.IsNull()) return {};
    if (valor.Type() == dao::DataType::Currency) return valor.AsCurrency();
    return ValorMoneda(valor.AsText());
}

bool FechaNoFutura(std::string_view fecha, const Fecha& hoy) {
    // "dd/mm/aaaa" of digits (every date the import checks) is read directly;
    // anything else as the old runtime's Val reads its pieces.
    const bool simple = fecha.size() == 10 && fecha[2] == '/' && fecha[5] == '/';
    int dia = simple ? Digitos(fecha, 0, 2) : -1;
    int mes = simple ? Digitos(fecha, 3, 2) : -1;
    int anio = simple ? Digitos(fecha, 6, 4) : -1;
    if (dia < 0 || mes < 0 || anio < 0) {
        dia = static_cast<int>(zv::Val(zv::text::Left(fecha, 2)));
        mes = static_cast<int>(zv::Val(zv::text::Mid(fecha, 4, 2)));
        anio = static_cast<int>(zv::Val(zv::text::Right(fecha, 4)));
    }
    if (anio != hoy.anio) return anio < hoy.anio;
    if (mes != hoy.mes) return mes < hoy.mes;
    return dia <= hoy.dia;
}

bool FechaNoFutura(std::string_view fecha) { return FechaNoFutura(fecha, Hoy()); }

void MuestraMensaje(const std::string& texto, std::string& titulo) {
    if (titulo.empty()) titulo = "Mensaje";
    zv::MsgBox(texto, zv::Icon::Information, zv::Buttons::Ok, titulo);
}

void MuestraMensaje(const std::string& texto, const std::string& titulo) {
    std::string copia = titulo;
    MuestraMensaje(texto, copia);
}

}  // namespace zvform
