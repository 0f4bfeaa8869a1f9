// The rules of the three date fields and the four amount fields.
#include <string_view>

#include "formulario/core/rutinas.h"
#include "formulario/core/utilitarios.h"
#include "formulario/import/validacion.h"
#include "platform/currency.h"
#include "platform/textfile.h"

namespace zvimport {

namespace {

// Codes of a date field in the order: empty, form, validity, lower bound,
// after today; the lower bound as YYYYMMDD ("" when the field has none).
struct CodigosFecha {
    const char* vacio;
    const char* forma;
    const char* validez;
    const char* minimo;
    const char* futura;
    std::string_view desde;
};

const CodigosFecha& CodigosDeFecha(int posicion) {
    static const CodigosFecha kNacimiento{"326", "325", "330", "", "335", ""};
    static const CodigosFecha kAfiliacion{"406", "405", "410", "415", "420", "19930601"};
    static const CodigosFecha kSolicitud{"426", "425", "430", "435", "440", "20070828"};
    return posicion == 3 ? kNacimiento : posicion == 9 ? kAfiliacion : kSolicitud;
}

const char* EtiquetaDeMonto(int posicion) {
    switch (posicion) {
        case 15: return "La remuner. asegurable";
        case 16: return "El ap. oblig. al SPP";
        case 17: return "El ap. volunt. con fin prev.";
        default: return "La rentab. e intereses";
    }
}

}  // namespace

bool ReglasCampo::FechaDelCampo(const std::string& dato, int posicion) {
    const CodigosFecha& c = CodigosDeFecha(posicion);
    auto& util = zvform::Util();
    if (dato.empty()) return Rechaza(c.vacio);
    if (zv::text::Length(dato) != 8 || !util.EsNumerico(dato)) return Rechaza(c.forma);
    // Eight ASCII digits ddmmaaaa: "dd/mm/aaaa", and aaaammdd to compare with the bound.
    const std::string fecha = {dato[0], dato[1], '/', dato[2], dato[3], '/', dato[4], dato[5], dato[6], dato[7]};
    static const std::string kDesde = "01/01/1850", kHasta = "01/01/2500";
    if (!util.FechaEnRango(fecha, kDesde, kHasta)) return Rechaza(c.validez);
    const char ordenada[] = {dato[4], dato[5], dato[6], dato[7], dato[2], dato[3], dato[0], dato[1]};
    if (!c.desde.empty() && std::string_view(ordenada, sizeof ordenada) < c.desde) return Rechaza(c.minimo);
    if (!zvform::FechaNoFutura(fecha, Hoy)) return Rechaza(c.futura);
    return true;
}

// Digits with at most one point, 12 digits before it (11 for a negative
// field 19) and 2 after it; only field 19 may carry a leading "-".
bool ReglasCampo::Monto(std::string& dato, int posicion) {
    EtiquetaCampo = EtiquetaDeMonto(posicion);
    LongitudCampo = 12;
    if (dato.empty()) return Rechaza("500");
    const bool rentabilidad = posicion == 18;
    bool negativo = false;
    std::string valor = dato;
    if (valor.front() == '-') {
        if (!rentabilidad) return Rechaza("510");
        if (valor.size() == 1) return Rechaza("540");
        negativo = true;
        valor.erase(0, 1);
        LongitudCampo = 11;
        if (valor.find('-') != std::string::npos) return Rechaza("535");
    }
    int puntos = 0;
    for (char c : valor) {
        if (c == '.') {
            ++puntos;
            continue;
        }
        int codigo = static_cast<unsigned char>(c);
        if (!SoloNumero(codigo)) return Rechaza("505");
    }
    if (puntos > 1) return Rechaza("515");
    std::size_t punto = valor.find('.');
    std::size_t enteros = punto == std::string::npos ? valor.size() : punto;
    if (enteros > static_cast<std::size_t>(LongitudCampo)) return Rechaza(negativo ? "545" : "520");
    if (punto != std::string::npos && valor.size() - punto - 1 > 2) return Rechaza("525");
    // A point alone (or a Backspace or Enter, which the digit filter lets
    // through) is no amount: every field must read as a number, field 19 too.
    auto monto = zv::Currency::Parse(valor);
    if (!monto) return Rechaza("531");
    if ((posicion == 15 || posicion == 16) && *monto <= zv::Currency()) return Rechaza("530");
    if (posicion == 17 && *monto < zv::Currency()) return Rechaza("532");
    if (negativo) dato = "-" + valor;
    return true;
}

}  // namespace zvimport
