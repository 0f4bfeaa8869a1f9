#include "formulario/import/archivo.h"

#include "formulario/core/utilitarios.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvimport {

std::string NombreBase(const std::string& sRuc, const std::string& sPeriodo) {
    return "0841" + sPeriodo + sRuc;
}

std::string UneRuta(const std::string& carpeta, const std::string& nombre) {
    if (carpeta.empty() || carpeta.back() == '/' || carpeta.back() == '\\') return carpeta + nombre;
    return carpeta + "/" + nombre;
}

std::string RutaArchivoImportacion(const std::string& sOrigen, const std::string& sRuc, const std::string& sPeriodo) {
    return UneRuta(sOrigen, NombreBase(sRuc, sPeriodo) + ".TXT");
}

std::string RutaLog(const std::string& rutaRpt, const std::string& base) { return UneRuta(rutaRpt, base + ".Log"); }
std::string RutaErr(const std::string& rutaRpt, const std::string& base) { return UneRuta(rutaRpt, base + ".Err"); }

std::string RetornaCampo(std::string_view sCadenaNoEncryp, const std::string& PosCampo) {
    // The position is read as a number; a negative one matches no field.
    double posicion = zv::Val(PosCampo);
    std::size_t campo = 0;
    std::string_view resto = sCadenaNoEncryp;
    for (std::size_t separador; (separador = resto.find('|')) != std::string_view::npos; ++campo) {
        if (posicion == static_cast<double>(campo)) return zv::text::Trim(resto.substr(0, separador));
        resto.remove_prefix(separador + 1);
    }
    return {};
}

std::string ClaveRechazo(std::string_view linea) {
    if (linea.find('|') == std::string_view::npos) return {};
    auto& util = zvform::Util();
    auto campo = [&](const char* posicion, int ancho) {
        return util.RellenaTexto(RetornaCampo(linea, posicion), ancho, " ");
    };
    return campo("0", 11) + " " + campo("1", 2) + " " + campo("2", 15) + " " + campo("14", 6);
}

}  // namespace zvimport
