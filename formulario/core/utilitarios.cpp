#include "formulario/core/utilitarios.h"

#include <array>
#include <filesystem>

#include "formulario/core/estado.h"
#include "platform/filenames.h"
#include "platform/textfile.h"

namespace zvform {

namespace {

bool EsDigito(unsigned char c) { return c >= '0' && c <= '9'; }
bool EsLetraAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Letters of a name in Windows-1252: the accented vowels, Ü and Ñ.
bool EsLetraDeNombre(unsigned char c) {
    static constexpr std::string_view kAcentuadas =
        "\xC1\xC9\xCD\xD3\xDA\xE1\xE9\xED\xF3\xFA\xDC\xFC\xD1\xF1";
    return EsLetraAscii(c) || kAcentuadas.find(static_cast<char>(c)) != std::string_view::npos;
}

bool EsEnie(unsigned char c) { return c == 0xD1 || c == 0xF1; }

std::string Relleno(std::string_view relleno) {
    return relleno.empty() ? std::string(" ") : zv::text::Left(relleno, 1);
}

std::string Repite(const std::string& caracter, std::size_t veces) {
    std::string out;
    out.reserve(caracter.size() * veces);
    for (std::size_t i = 0; i < veces; ++i) out += caracter;
    return out;
}

std::size_t Ancho(int ancho) { return ancho > 0 ? static_cast<std::size_t>(ancho) : 0; }

// "MM/YYYY" as year * 12 + month, or -1 when it is not a real month.
int LeeMes(std::string_view texto) {
    if (texto.size() != 7 || texto[2] != '/') return -1;
    int mes = Digitos(texto, 0, 2), anio = Digitos(texto, 3, 4);
    if (mes < 1 || mes > 12 || anio < 1) return -1;
    return anio * 12 + mes;
}

}  // namespace

bool cUtilitarios::ExisteArchivoFisico(const std::string& ruta) {
    if (ruta.empty()) return false;
    auto found = zv::files::FindIgnoringCase(ruta);
    std::error_code ec;
    return found && std::filesystem::is_regular_file(*found, ec);
}

bool cUtilitarios::EsRucValido(const std::string& texto) {
    if (texto.size() != 11) return false;
    for (char c : texto)
        if (!EsDigito(c)) return false;
    std::string_view prefijo(texto.data(), 2);
    if (prefijo != "10" && prefijo != "15" && prefijo != "17" && prefijo != "20") return false;
    static constexpr std::array<int, 10> kPesos = {5, 4, 3, 2, 7, 6, 5, 4, 3, 2};
    int suma = 0;
    for (std::size_t i = 0; i < kPesos.size(); ++i) suma += (texto[i] - '0') * kPesos[i];
    int digito = 11 - suma % 11;
    if (digito == 10) digito = 0;
    if (digito == 11) digito = 1;
    return texto[10] - '0' == digito;
}

std::string cUtilitarios::AjustaLongitud(const std::string& texto, int ancho) {
    return RellenaTexto(texto, ancho, " ");
}

bool cUtilitarios::FechaEnRango(const std::string& fecha, const std::string& desde, const std::string& hasta) {
    auto f = LeeFecha(fecha), d = LeeFecha(desde), h = LeeFecha(hasta);
    return f && d && h && *d <= *f && *f <= *h;
}

int cUtilitarios::FiltraTecla(int tecla, int punto, int signo, int letras) {
    if (tecla == 8 || (tecla >= '0' && tecla <= '9')) return tecla;
    if (punto && tecla == '.') return tecla;
    if (signo && tecla == '-') return tecla;
    if (letras && tecla >= 'a' && tecla <= 'z') return tecla - 'a' + 'A';
    if (letras && tecla >= 'A' && tecla <= 'Z') return tecla;
    return 0;
}

bool cUtilitarios::EsNumerico(const std::string& texto, int signo, int decimales, int blancos) {
    std::string_view s = texto;
    if (blancos) {
        std::size_t a = s.find_first_not_of(' ');
        if (a == std::string_view::npos) return false;
        s = s.substr(a, s.find_last_not_of(' ') - a + 1);
    }
    if (signo && !s.empty() && (s.front() == '+' || s.front() == '-')) s.remove_prefix(1);
    bool digito = false, punto = false;
    for (char c : s) {
        if (EsDigito(c)) digito = true;
        else if (c == '.' && decimales && !punto) punto = true;
        else return false;
    }
    return digito;
}

bool cUtilitarios::EsAlfanumerico(const std::string& texto, int sinBlancos, int signos) {
    std::string bytes = zv::text::ToCp1252(texto);
    bool alguno = false;
    for (unsigned char c : bytes) {
        if (EsDigito(c) || EsLetraAscii(c) || EsEnie(c)) alguno = true;
        else if (c == ' ' && !sinBlancos) continue;
        else if (signos && (c == '-' || c == '/' || c == '.')) continue;
        else return false;
    }
    return alguno;
}

std::string cUtilitarios::RellenaTexto(const std::string& texto, int ancho, std::string_view relleno) {
    std::size_t n = Ancho(ancho), largo = zv::text::Length(texto);
    if (largo >= n) return zv::text::Left(texto, n);
    return texto + Repite(Relleno(relleno), n - largo);
}

std::string cUtilitarios::RellenaNumero(const std::string& texto, int ancho, std::string_view relleno) {
    std::size_t n = Ancho(ancho), largo = zv::text::Length(texto);
    if (largo >= n) return zv::text::Right(texto, n);
    return Repite(Relleno(relleno), n - largo) + texto;
}

bool cUtilitarios::MesEnRango(const std::string& mes, const std::string& desde, const Fecha& hoy) {
    int m = LeeMes(mes), d = LeeMes(desde);
    return m >= 0 && d >= 0 && d <= m && m <= hoy.anio * 12 + hoy.mes;
}

bool cUtilitarios::EsNombreValido(const std::string& texto, bool conBlancos) {
    std::string bytes = zv::text::ToCp1252(texto);
    bool letra = false;
    for (unsigned char c : bytes) {
        if (EsLetraDeNombre(c)) letra = true;
        else if (c == ' ' && conBlancos) continue;
        else if (c == '\'' || c == '-' || c == '.') continue;
        else return false;
    }
    return letra;
}

bool cUtilitarios::PuedeContinuar() { return true; }

cUtilitarios& Util() {
    auto& util = Estado::G().gUtil;
    if (!util) util = std::make_shared<cUtilitarios>();
    return *util;
}

}  // namespace zvform
