#include "shared/reloj.h"

namespace zv {

std::tm HoraLocal() {
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

std::string FormatoHora(const char* patron, const std::tm& t) {
    char texto[64];
    std::size_t n = std::strftime(texto, sizeof texto, patron, &t);
    return std::string(texto, n);
}

std::string Ahora(const char* patron) { return FormatoHora(patron, HoraLocal()); }

}  // namespace zv
