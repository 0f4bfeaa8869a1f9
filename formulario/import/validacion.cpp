#include "formulario/import/validacion.h"

#include "formulario/core/utilitarios.h"
#include "platform/textfile.h"

namespace zvimport {

namespace {

std::size_t Largo(const std::string& dato) { return zv::text::Length(dato); }

bool Es(const std::string& dato, std::initializer_list<const char*> valores) {
    for (const char* v : valores)
        if (dato == v) return true;
    return false;
}

}  // namespace

ReglasCampo::ReglasCampo() : Hoy(zvform::Hoy()) {}

void ReglasCampo::NuevaLinea() {
    ApellidoPaterno.clear();
    RucEmpleador.clear();
    TipoDocumento.clear();
}

bool ReglasCampo::Rechaza(const char* codigo) {
    CodigoError = codigo;
    return false;
}

bool ReglasCampo::ValidaTransferencia(std::string& Dato, int Posicion) {
    if (!Dato.empty() && (Dato.front() == ' ' || Dato.back() == ' ')) Dato = zv::text::Trim(Dato);
    CodigoError.clear();
    EtiquetaCampo.clear();
    LongitudCampo = 0;
    switch (Posicion) {
        case 0: return RucDelEmpleador(Dato);
        case 1: return TipoDeDocumento(Dato);
        case 2: return NumeroDeDocumento(Dato);
        case 3: case 9: case 10: return FechaDelCampo(Dato, Posicion);
        case 4: return ApellidoPaternoDelAfiliado(Dato);
        case 5: return ApellidoMaternoDelAfiliado(Dato);
        case 6: return NombreDelAfiliado(Dato);
        case 7: return Codigo(Dato, "380", "385", {"1", "2"});
        case 8: return CuspP(Dato);
        case 11: return Codigo(Dato, "445", "450", {"01", "02", "03"});
        case 12: return Resolucion(Dato);
        case 13: return CondicionDePago(Dato);
        case 14: return MesDeDevengue(Dato);
        case 15: case 16: case 17: case 18: return Monto(Dato, Posicion);
        default: return true;
    }
}

bool ReglasCampo::RucDelEmpleador(const std::string& dato) {
    if (dato.empty()) {
        RucEmpleador = "0";
        return true;
    }
    RucEmpleador = dato;
    auto& util = zvform::Util();
    if (Largo(dato) != 11) return Rechaza("300");
    if (!util.EsNumerico(dato)) return Rechaza("305");
    if (!util.EsRucValido(dato)) return Rechaza("306");
    return true;
}

bool ReglasCampo::TipoDeDocumento(const std::string& dato) {
    if (Largo(dato) != 2) return Rechaza("310");
    if (!zvform::Util().EsNumerico(dato)) return Rechaza("311");
    if (std::string_view("01-02-03-04-07-11").find(dato) == std::string_view::npos) return Rechaza("312");
    TipoDocumento = dato;
    return true;
}

bool ReglasCampo::NumeroDeDocumento(const std::string& dato) {
    auto& util = zvform::Util();
    if (TipoDocumento == "01") {
        EtiquetaCampo = " El DNI ";
        LongitudCampo = 8;
        if (Largo(dato) != 8) return Rechaza("315");
        if (!util.EsNumerico(dato)) return Rechaza("320");
        return true;
    }
    if (TipoDocumento == "02") EtiquetaCampo = " El carné de las Fuerzas Policiales ";
    else if (TipoDocumento == "03") EtiquetaCampo = " El carné de las Fuerzas Armadas ";
    else if (TipoDocumento == "04") EtiquetaCampo = " El carné de extranjería ";
    else if (TipoDocumento == "07") EtiquetaCampo = " El pasaporte ";
    else if (TipoDocumento == "11") EtiquetaCampo = " La partida de nacimiento ";
    else return true;  // field 2 admits no other type
    LongitudCampo = TipoDocumento == "11" ? 15 : 12;
    if (dato.empty() || Largo(dato) > static_cast<std::size_t>(LongitudCampo)) return Rechaza("315");
    if (!util.EsAlfanumerico(dato, 0, 0)) return Rechaza("320");
    return true;
}

bool ReglasCampo::ApellidoPaternoDelAfiliado(const std::string& dato) {
    ApellidoPaterno = dato;
    if (dato.empty()) return true;
    if (Largo(dato) > 40) return Rechaza("340");
    if (!zvform::Util().EsNombreValido(dato, true)) return Rechaza("345");
    return true;
}

bool ReglasCampo::ApellidoMaternoDelAfiliado(const std::string& dato) {
    if (dato.empty()) return ApellidoPaterno.empty() ? Rechaza("360") : true;
    if (Largo(dato) > 40) return Rechaza("350");
    if (!zvform::Util().EsNombreValido(dato, true)) return Rechaza("355");
    return true;
}

bool ReglasCampo::NombreDelAfiliado(const std::string& dato) {
    if (dato.empty()) return Rechaza("365");
    if (Largo(dato) > 60) return Rechaza("370");
    // The given-names column holds 40 characters: a longer name is refused
    // here rather than by the table when the row is written.
    if (Largo(dato) > 40) return Rechaza("371");
    if (!zvform::Util().EsNombreValido(dato, true)) return Rechaza("375");
    return true;
}

bool ReglasCampo::Codigo(const std::string& dato, const char* codigoVacio, const char* codigoInvalido,
                         std::initializer_list<const char*> validos) {
    if (dato.empty()) return Rechaza(codigoVacio);
    if (!Es(dato, validos)) return Rechaza(codigoInvalido);
    return true;
}

bool ReglasCampo::CuspP(const std::string& dato) {
    if (dato.empty()) return Rechaza("390");
    if (Largo(dato) != 12) return Rechaza("395");
    if (!zvform::Util().EsAlfanumerico(dato, 1, 0)) return Rechaza("400");
    return true;
}

bool ReglasCampo::Resolucion(const std::string& dato) {
    if (dato.empty()) return Rechaza("455");
    if (Largo(dato) > 10) return Rechaza("460");
    if (!zvform::Util().EsAlfanumerico(dato, 0, 0)) return Rechaza("465");
    return true;
}

bool ReglasCampo::CondicionDePago(const std::string& dato) {
    if (dato.empty()) return Rechaza("470");
    if (!Es(dato, {"1", "2"})) return Rechaza("475");
    if (dato == "1" && RucEmpleador == "0") return Rechaza("480");
    if (dato == "2" && RucEmpleador != "0") return Rechaza("481");
    return true;
}

bool ReglasCampo::MesDeDevengue(const std::string& dato) {
    if (dato.empty()) return Rechaza("485");
    if (Largo(dato) != 6 || !Valida_Periodo(dato)) return Rechaza("490");
    std::string mes = dato.substr(4, 2) + "/" + dato.substr(0, 4);
    if (!zvform::Util().MesEnRango(mes, "06/1993", Hoy)) return Rechaza("495");
    return true;
}

bool Valida_Periodo(const std::string& sDato) {
    if (!zvform::Util().EsNumerico(sDato)) return false;
    std::string mes = zv::text::Right(sDato, 2);
    return mes >= "01" && mes <= "12";
}

bool SoloNumero(int& iCaracter) {
    if (iCaracter == 8 || iCaracter == 13 || (iCaracter >= 48 && iCaracter <= 57)) return true;
    iCaracter = 0;
    return false;
}

}  // namespace zvimport
