#include "formulario/core/control.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>

#include "platform/textfile.h"

namespace zvform {

namespace {

using Entero = __int128;  // ten-thousandths; room for any sum of row fields
constexpr int kDecimales = 4;
constexpr std::size_t kMaxDigitosEnteros = 28;

// The value of a numeric text in ten-thousandths, rounded half away from
// zero at the fifth decimal; nullopt when the text is not a plain number
// (optional blanks and sign, digits, at most one point).
std::optional<Entero> ValorNumerico(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negativo = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negativo = s[i++] == '-';
    Entero entero = 0;
    std::size_t significativos = 0, decimales = 0;
    bool digito = false, punto = false, redondeaArriba = false;
    for (; i < s.size() && s[i] != ' '; ++i) {
        char c = s[i];
        if (c == '.' && !punto) { punto = true; continue; }
        if (c < '0' || c > '9') return std::nullopt;
        digito = true;
        if (!punto) {
            if (entero != 0 || c != '0') ++significativos;
            if (significativos > kMaxDigitosEnteros) return std::nullopt;
            entero = entero * 10 + (c - '0');
        } else if (decimales < kDecimales) {
            entero = entero * 10 + (c - '0');
            ++decimales;
        } else if (decimales++ == kDecimales) {
            redondeaArriba = c >= '5';
        }
    }
    while (i < s.size() && s[i] == ' ') ++i;
    if (i != s.size() || !digito) return std::nullopt;
    for (; decimales < kDecimales; ++decimales) entero *= 10;
    if (redondeaArriba) entero += 1;
    return negativo ? -entero : entero;
}

// The last three digits of a whole number's absolute value.
std::string UltimosTres(Entero n) {
    if (n < 0) n = -n;
    const int tres = static_cast<int>(n % 1000);
    return {static_cast<char>('0' + tres / 100), static_cast<char>('0' + tres / 10 % 10),
            static_cast<char>('0' + tres % 10)};
}

Entero RedondeaAUnidades(Entero diezmilesimas) {
    constexpr Entero kEscala = 10000;
    Entero mitad = kEscala / 2;
    return diezmilesimas >= 0 ? (diezmilesimas + mitad) / kEscala : -((-diezmilesimas + mitad) / kEscala);
}

std::string DosDigitos(int n) {
    char texto[8];
    std::snprintf(texto, sizeof texto, "%02d", n);
    return texto;
}

}  // namespace

std::string TextoDeCampo(const dao::Value& valor) {
    switch (valor.Type()) {
        case dao::DataType::Byte:
        case dao::DataType::Integer:
        case dao::DataType::Long:
        case dao::DataType::Double:
        case dao::DataType::Currency:
            return valor.AsText();
        case dao::DataType::Date: {
            dao::Date d = valor.AsDate();
            char texto[16];
            std::snprintf(texto, sizeof texto, "%04d", d.year);
            return texto + DosDigitos(d.month) + DosDigitos(d.day);
        }
        case dao::DataType::Text:
            return zv::text::Trim(valor.AsText());
        default:
            return "";
    }
}

namespace {

bool EsAscii(std::string_view s) { return zv::text::AsciiPrefix(s) == s.size(); }

std::string_view SinBlancos(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

// TextoDeCampo without copies where it can: a view of the stored text, or
// of `espacio` that holds the text of any other value.
std::string_view VistaDeCampo(const dao::Value& valor, std::string& espacio) {
    if (const std::string* texto = valor.TextPointer()) return SinBlancos(*texto);
    if (valor.Type() == dao::DataType::Date) {
        dao::Date d = valor.AsDate();
        if (d.year >= 0 && d.year <= 9999 && d.month >= 0 && d.month <= 99 && d.day >= 0 && d.day <= 99) {
            const int cifras[] = {d.year / 1000, d.year / 100 % 10, d.year / 10 % 10, d.year % 10,
                                  d.month / 10,  d.month % 10,      d.day / 10,       d.day % 10};
            espacio.clear();
            for (int c : cifras) espacio += static_cast<char>('0' + c);
            return espacio;
        }
    }
    espacio = TextoDeCampo(valor);
    return espacio;
}

}  // namespace

std::string SumaControlRegistro(const dao::Recordset& rs, int desde) {
    thread_local std::string espacio, ansi;  // their room serves every row
    const int campos = rs.FieldCount();
    Entero numerica = 0;
    for (int i = 0; i < desde && i < campos; ++i)
        if (auto v = ValorNumerico(VistaDeCampo(rs.Fields(i), espacio))) numerica += *v;
    long long ponderada = 0;
    for (int i = desde < 0 ? 0 : desde; i < campos - 1; ++i) {
        std::string_view bytes = VistaDeCampo(rs.Fields(i), espacio);
        if (!EsAscii(bytes)) {  // ASCII is the same in both encodings
            zv::text::ToCp1252(bytes, ansi);
            bytes = ansi;
        }
        for (std::size_t pos = 0; pos < bytes.size(); ++pos)
            ponderada += static_cast<long long>(pos + 1) * static_cast<unsigned char>(bytes[pos]);
    }
    return UltimosTres(RedondeaAUnidades(numerica)) + UltimosTres(ponderada);
}

std::string DigitoVerificador(std::string& s) {
    s = zv::text::Trim(zv::text::Left(s, 17));
    if (s.empty()) return "";
    static constexpr int kPesos[] = {2, 3, 4, 5, 6, 7};
    const std::string ansi = zv::text::ToCp1252(s);  // one byte a character
    int suma = 0, k = 0;
    for (std::size_t i = ansi.size(); i-- > 0; ++k) {
        int digito = ansi[i] >= '0' && ansi[i] <= '9' ? ansi[i] - '0' : 0;
        suma += digito * kPesos[k % 6];
    }
    int d = 11 - suma % 11;
    if (d == 11) d = 1;
    if (d == 10) d = 0;
    return s + static_cast<char>('0' + d);
}

bool ValidaNumeroOrden(const std::string& control, const std::string& orden, const std::string& digitos) {
    std::string codigo = control;  // trimmed and cut by the first digit, as the second one takes it
    std::string c1 = zv::text::Mid(DigitoVerificador(codigo), 9, 1);
    std::string todo = codigo + orden + c1;
    std::string c2 = zv::text::Right(DigitoVerificador(todo), 1);
    return c1 + c2 == digitos;
}

}  // namespace zvform
