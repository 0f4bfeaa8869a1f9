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

// A plain number below zero: a minus sign and some digit that is not 0.
bool EsNegativo(const std::string& plano) {
    return !plano.empty() && plano.front() == '-' && plano.find_first_of("123456789") != std::string::npos;
}

}  // namespace

std::string SinFormato(const std::string& texto) {
    bool negativo = false;
    std::string limpio;
    for (char c : zv::text::Trim(texto)) {
        if (c == '(' || c == ')' || c == '-') negativo = true;
        else if (c != ',') limpio.push_back(c);
    }
    return negativo && !limpio.empty() ? "-" + limpio : limpio;
}

std::string EnteroDeTexto(const std::string& texto, const char* patron) {
    const std::string plano = SinFormato(texto);
    if (!zvform::Util().EsNumerico(plano, 1, 1, 0)) return "";
    return zv::FormatText(plano, patron);
}

zv::Currency ValorMostrado(const std::string& texto) {
    const std::string limpio = SinFormato(texto);
    if (auto c = zv::Currency::Parse(limpio)) return *c;
    return zv::Currency::FromDouble(zv::Val(limpio));
}

// The amount is laid on its pattern from its digits, so a box shows any
// stored value whole, whatever its size.
std::string Forma(int casilla, const std::string& texto) {
    const std::string plano = SinFormato(texto);
    if (!zvform::Util().EsNumerico(plano, 1, 1, 1)) return "";
    if (!EsMonto(casilla)) return texto;
    if (EsNegativo(plano)) return zv::FormatText(plano.substr(1), kMontoNegativo);
    return zv::FormatText(plano, kMonto);
}

std::string CalcularTotal(const std::string& texto598) {
    if (texto598.empty()) return "";
    const std::string entero = zv::FormatText(SinFormato(texto598), "#########0");
    if (entero.front() == '-') return "0";
    return zv::FormatText(entero, "#,###,###,##0");
}

}  // namespace zvdecl
