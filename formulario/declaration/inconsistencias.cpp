#include "formulario/declaration/inconsistencias.h"

#include <vector>

#include "formulario/core/estado.h"
#include "platform/error.h"
#include "platform/filenames.h"
#include "platform/textfile.h"
#include "shared/spool.h"

namespace zvdecl {

namespace {

using zvform::Estado;

constexpr const char* kSpoolInconsistencias = "Mens.PRN";
constexpr int kLineasCabecera = 4;

std::vector<std::string> Lineas(const std::string& texto) {
    std::vector<std::string> lineas;
    std::size_t inicio = 0;
    while (inicio < texto.size()) {
        std::size_t fin = texto.find('\n', inicio);
        if (fin == std::string::npos) fin = texto.size();
        std::string linea = texto.substr(inicio, fin - inicio);
        if (!linea.empty() && linea.back() == '\r') linea.pop_back();
        lineas.push_back(linea);
        inicio = fin + 1;
    }
    return lineas;
}

void Escribe(zv::spool::EscritorSpool& spool, std::string texto) { spool.ImprimeLinea(texto); }

void Cabecera(zv::spool::EscritorSpool& spool) {
    spool.posY = 0;
    Escribe(spool, "");
    Escribe(spool, "  Inconsistencias detectadas");
    Escribe(spool, "  En su declaración se han detectado las siguientes inconsistencias :");
    Escribe(spool, "");
}

}  // namespace

std::string LeeInconsistencias() {
    const std::string& ruta = Estado::G().gRutaArchivo;
    if (!zv::files::Exists(ruta)) throw zv::Error(zv::fileerr::FileNotFound, "No se encontró el archivo " + ruta);
    return zv::text::ReadAll(zv::files::Resolve(ruta));
}

std::string EscribeSpoolInconsistencias() {
    const std::vector<std::string> lineas = Lineas(LeeInconsistencias());
    const int porPagina = zv::spool::kLineasPorPagina - kLineasCabecera;
    const int n = static_cast<int>(lineas.size());
    const int paginas = n == 0 ? 1 : (n + porPagina - 1) / porPagina;

    zv::spool::EscritorSpool spool;
    spool.Abre(std::string(Estado::G().gRutaRpt) + kSpoolInconsistencias);
    spool.pagina = 1;
    Escribe(spool, std::string(zv::spool::kTagFuente));
    Escribe(spool, zv::spool::TagHojas(paginas));
    Escribe(spool, std::string(zv::spool::kTagVertical));
    Escribe(spool, std::string(zv::spool::kTagColorVentana));
    Cabecera(spool);
    for (std::size_t i = 0; i < lineas.size(); ++i) {
        Escribe(spool, "  " + lineas[i]);
        // The writer has just broken the page: the next one starts at the top.
        if (spool.lineaActual == 0 && i + 1 < lineas.size()) Cabecera(spool);
    }
    spool.Cierra();
    return kSpoolInconsistencias;
}

}  // namespace zvdecl
