#include "formulario/reports/lector_spool.h"

#include <cctype>
#include <cmath>
#include <limits>
#include <system_error>

#include "platform/dao/conversion.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/textfile.h"

namespace zvform {

namespace {

constexpr std::string_view kCierreFuente = "<!/font!>";
constexpr std::string_view kCierreHojas = "<!/nHojas!>";
constexpr std::string_view kCierreColor = "<!/Color!>";
constexpr std::string_view kCierreOrientacion = "<!/Orientacion!>";

std::string_view SinBlancos(std::string_view s) {
    std::size_t b = s.find_first_not_of(' ');
    if (b == std::string_view::npos) return {};
    return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

ComandoSpool ComandoDe(std::string_view token) {
    struct Nombre {
        std::string_view texto;
        ComandoSpool comando;
    };
    static constexpr Nombre kNombres[] = {
        {"<!font!>", ComandoSpool::Fuente},       {"<!nHojas!>", ComandoSpool::Hojas},
        {"<!Color!>", ComandoSpool::Color},       {"<!Orientacion!>", ComandoSpool::Orientacion},
        {"pPos", ComandoSpool::Pos},              {"pCuadro", ComandoSpool::Cuadro},
        {"pPosVerti", ComandoSpool::PosVerti},    {"pNuevaHoja", ComandoSpool::NuevaHoja},
    };
    for (const Nombre& n : kNombres)
        if (n.texto == token) return n.comando;
    return ComandoSpool::Ninguno;
}

// The fields of a record, each ended by "|".
class Campos {
public:
    Campos(std::string_view linea, std::size_t desde) : linea_(linea), pos_(desde) {}

    // The next field; nullopt when its closing "|" is missing.
    std::optional<std::string_view> Siguiente() {
        std::size_t fin = linea_.find('|', pos_);
        if (fin == std::string_view::npos) return std::nullopt;
        std::string_view campo = linea_.substr(pos_, fin - pos_);
        pos_ = fin + 1;
        return campo;
    }
    bool Numero(std::int16_t& destino) {
        auto campo = Siguiente();
        if (campo) destino = NumeroSpool(*campo);
        return campo.has_value();
    }
    bool Texto(std::string& destino) {
        auto campo = Siguiente();
        if (campo) destino.assign(*campo);
        return campo.has_value();
    }
    bool Negrita(bool& destino) {
        auto campo = Siguiente();
        if (!campo) return false;
        std::string_view valor = SinBlancos(*campo);
        // Read as the old runtime converts a text to a Boolean: either word, any case.
        auto igual = [](std::string_view a, std::string_view b) {
            if (a.size() != b.size()) return false;
            for (std::size_t i = 0; i < a.size(); ++i)
                if (std::tolower(static_cast<unsigned char>(a[i])) != b[i]) return false;
            return true;
        };
        if (igual(valor, "true")) destino = true;
        else if (igual(valor, "false")) destino = false;
        else return false;
        return true;
    }

private:
    std::string_view linea_;
    std::size_t pos_;
};

bool AnalizaTexto(Campos& c, LineaSpool& s) {
    return c.Numero(s.x) && c.Numero(s.y) && c.Texto(s.texto) && c.Negrita(s.negrita) && c.Numero(s.tamano) &&
           c.Numero(s.hoja);
}

bool AnalizaCuadro(Campos& c, LineaSpool& s) {
    return c.Numero(s.x) && c.Numero(s.y) && c.Numero(s.x2) && c.Numero(s.y2) && c.Numero(s.hoja);
}

// A tag's value: up to the first closing tag of the same name.
bool AnalizaTag(std::string_view linea, std::size_t desde, std::string_view cierre, LineaSpool& s) {
    std::size_t fin = linea.find(cierre, desde);
    if (fin == std::string_view::npos) return false;
    s.texto.assign(linea.substr(desde, fin - desde));
    return true;
}

std::string_view CierreDe(ComandoSpool comando) {
    switch (comando) {
        case ComandoSpool::Fuente: return kCierreFuente;
        case ComandoSpool::Hojas: return kCierreHojas;
        case ComandoSpool::Color: return kCierreColor;
        default: return kCierreOrientacion;
    }
}

}  // namespace

std::optional<std::string_view> TokenSpool(std::string_view linea, std::size_t& despues) {
    constexpr std::string_view kFinHoja = "aHoja";
    for (std::size_t i = 0; i < linea.size(); ++i) {
        if (linea[i] == '|') {
            despues = i + 1;
            return linea.substr(0, i);
        }
        const std::string_view tomado = linea.substr(0, i + 1);
        if (tomado.ends_with("!>") || tomado.ends_with(kFinHoja)) {
            despues = i + 1;
            return tomado;
        }
    }
    return std::nullopt;
}

std::int16_t NumeroSpool(std::string_view campo) {
    double valor = std::nearbyint(dao::conv::Val(campo));  // halves to even under the default rounding
    if (std::isnan(valor)) return 0;
    if (valor < std::numeric_limits<std::int16_t>::min()) return std::numeric_limits<std::int16_t>::min();
    if (valor > std::numeric_limits<std::int16_t>::max()) return std::numeric_limits<std::int16_t>::max();
    return static_cast<std::int16_t>(valor);
}

std::optional<std::uint32_t> ColorSpool(std::string_view valor) {
    std::string_view v = SinBlancos(valor);
    if (v.size() > 2 && v[0] == '&' && (v[1] == 'H' || v[1] == 'h')) {
        std::string_view digitos = v.substr(2);
        if (digitos.size() > 8) return std::nullopt;
        std::uint32_t color = 0;
        for (char c : digitos) {
            int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                    : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                    : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                                                                : -1;
            if (d < 0) return std::nullopt;
            color = color * 16 + static_cast<std::uint32_t>(d);
        }
        return color;
    }
    if (v.empty() || v.size() > 10) return std::nullopt;
    std::uint64_t color = 0;
    for (char c : v) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
        color = color * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (color > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(color);
}

void AnalizaLinea(std::string_view linea, LineaSpool& s) {
    s.comando = ComandoSpool::Ninguno;
    std::size_t pos = 0;
    auto token = TokenSpool(linea, pos);
    if (!token) return;
    ComandoSpool comando = ComandoDe(SinBlancos(*token));
    Campos campos(linea, pos);
    bool completa = false;
    switch (comando) {
        case ComandoSpool::Ninguno: return;
        case ComandoSpool::NuevaHoja: completa = true; break;
        case ComandoSpool::Pos:
        case ComandoSpool::PosVerti: completa = AnalizaTexto(campos, s); break;
        case ComandoSpool::Cuadro: completa = AnalizaCuadro(campos, s); break;
        default: completa = AnalizaTag(linea, pos, CierreDe(comando), s); break;
    }
    if (completa) s.comando = comando;
}

bool LeeSpool(const std::filesystem::path& ruta, const std::function<void(const LineaSpool&)>& toma) {
    auto enDisco = zv::files::FindIgnoringCase(ruta);
    std::error_code ec;
    // Only a regular file: a folder reads as nothing and a pipe would wait for ever.
    if (!enDisco || !std::filesystem::is_regular_file(*enDisco, ec)) return false;
    zv::text::TextReader archivo;
    try {
        archivo.Open(*enDisco);
    } catch (const zv::Error&) {
        return false;
    }
    std::string linea;
    LineaSpool tomada;
    while (archivo.ReadLine(linea)) {
        AnalizaLinea(linea, tomada);
        if (tomada.comando != ComandoSpool::Ninguno) toma(tomada);
    }
    archivo.Close();
    return true;
}

}  // namespace zvform
