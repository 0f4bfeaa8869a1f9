#include "formulario/core/fecha.h"

#include <cstdio>

#include "shared/reloj.h"

namespace zvform {

Fecha Hoy() {
    const std::tm local = zv::HoraLocal();
    return Fecha{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string TextoFecha(const Fecha& f) {
    char texto[32];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", f.dia, f.mes, f.anio);
    return texto;
}

namespace {
bool EsBisiesto(int anio) { return (anio % 4 == 0 && anio % 100 != 0) || anio % 400 == 0; }

int DiasDelMes(int anio, int mes) {
    static constexpr int kDias[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mes == 2 && EsBisiesto(anio) ? 29 : kDias[mes - 1];
}
}  // namespace

int Digitos(std::string_view s, std::size_t pos, std::size_t count) {
    int value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return -1;
        value = value * 10 + (s[i] - '0');
    }
    return value;
}

bool EsFechaReal(const Fecha& f) {
    return f.anio >= 1 && f.anio <= 9999 && f.mes >= 1 && f.mes <= 12 && f.dia >= 1 &&
           f.dia <= DiasDelMes(f.anio, f.mes);
}

std::optional<Fecha> LeeFecha(std::string_view texto) {
    if (texto.size() != 10 || texto[2] != '/' || texto[5] != '/') return std::nullopt;
    Fecha f{Digitos(texto, 6, 4), Digitos(texto, 3, 2), Digitos(texto, 0, 2)};
    if (!EsFechaReal(f)) return std::nullopt;
    return f;
}

}  // namespace zvform
