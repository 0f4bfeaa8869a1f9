#include "formulario/declaration/casillas_formato.h"

#include "formulario/core/utilitarios.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvdecl {

namespace {

constexpr const char* kMonto = "###,###,###,##0";
constexpr const char* kMontoNegativo = "(###,###,###,##0)";

bool EsMonto(int casilla) {
    return casilla == 590 || casilla == 591 || casilla == 592 || casilla == 597 || casilla == 598;
}

// The text as the numeric checks read it: separators out, parentheses as a sign.
std::string SinFormato(const std::string& texto) {
    std::string t = zv::text::Trim(texto);
    bool negativo = t.size() >= 2 && t.front() == '(' && t.back() == ')';
    if (negativo) t = t.substr(1, t.size() - 2);
    std::string limpio;
    for (char c : t)
        if (c != ',') limpio.push_back(c);
    return negativo ? "-" + limpio : limpio;
}

}  // namespace

zv::Currency ValorMostrado(const std::string& texto) {
    const std::string limpio = SinFormato(texto);
    if (auto c = zv::Currency::Parse(limpio)) return *c;
    return zv::Currency::FromDouble(zv::Val(limpio));
}

std::string Forma(int casilla, const std::string& texto) {
    if (!zvform::Util().EsNumerico(SinFormato(texto), 1, 1, 1)) return "";
    if (!EsMonto(casilla)) return texto;
    const zv::Currency valor = ValorMostrado(texto);
    if (valor < zv::Currency()) return zv::Format(-valor, kMontoNegativo);
    return zv::Format(valor, kMonto);
}

std::string CalcularTotal(const std::string& texto598) {
    if (texto598.empty()) return "";
    const std::int64_t v = ValorMostrado(texto598).RoundedUnits();
    if (v < 0) return "0";
    return zv::Format(static_cast<long long>(v), "#,###,###,##0");
}

}  // namespace zvdecl
