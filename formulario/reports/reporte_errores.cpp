// The transfer-errors report.
#include "formulario/reports/reporte_errores.h"

#include <cstdio>

#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "formulario/reports/corrida.h"
#include "platform/cursor.h"
#include "platform/filenames.h"
#include "platform/textfile.h"
#include "shared/reloj.h"

namespace zvform {

namespace {

constexpr int kErroresPorPagina = 67;

std::string Blancos(std::size_t n) { return std::string(n, ' '); }

// Mid$(s, inicio, len(r)) = r over characters: never lengthens the text.
void ReemplazaMid(std::string& s, std::size_t inicio, std::string_view r) {
    std::size_t largo = zv::text::Length(s);
    if (inicio < 1 || inicio > largo) return;
    std::string trozo = zv::text::Left(r, largo - inicio + 1);
    s = zv::text::Left(s, inicio - 1) + trozo + zv::text::Mid(s, inicio + zv::text::Length(trozo));
}

// c blanks, five blanks, the title and c blanks, c = Int((width - len) / 2);
// filled up to the line width when shorter.
std::string Centra(const std::string& titulo) {
    const int ancho = Corrida().gAnchoLinea;
    int largo = static_cast<int>(zv::text::Length(titulo));
    std::string c = Blancos(largo < ancho ? static_cast<std::size_t>((ancho - largo) / 2) : 0);
    std::string linea = c + Blancos(5) + titulo + c;
    std::size_t total = zv::text::Length(linea);
    if (total < static_cast<std::size_t>(ancho)) linea += Blancos(ancho - total);
    return linea;
}

void Escribe(std::string texto) { ImprimeLinea(texto); }

std::string Regla() { return "  " + Util().RellenaNumero("_", 110, "_"); }

// MM/YYYY of the period YYYYMM.
std::string MesAnio(const std::string& periodo) {
    return zv::text::Mid(periodo, 5, 2) + "/" + zv::text::Mid(periodo, 1, 4);
}

long CuentaLineas(const std::filesystem::path& ruta) {
    zv::text::TextReader lector(ruta);
    long n = 0;
    std::string linea;
    while (lector.ReadLine(linea)) ++n;
    return n;
}

std::filesystem::path ArchivoErrores(const std::string& base) {
    return zv::files::Resolve(Estado::G().gRutaRpt + base + ".err");
}

// The page count the heading states (the reader does not use it).
int gPaginasErrores = 1;

}  // namespace

int PaginasErrores(long lineas) { return 1 + static_cast<int>(lineas / kErroresPorPagina); }

void CabeceraErrores(const std::string& periodo) {
    CorridaReporte& c = Corrida();
    const Estado& e = Estado::G();
    c.gAnchoLinea = 102;
    c.spool.posY = 0;
    std::tm ahora = c.reloj();
    std::string fecha = zv::FormatoHora("%d/%m/%Y", ahora);
    std::string hora = zv::FormatoHora("%H:%M:%S", ahora);
    char pag[16];
    std::snprintf(pag, sizeof pag, "Pag:%d", c.spool.pagina);

    Escribe(std::string(zv::spool::kTagFuente));
    Escribe(zv::spool::TagHojas(gPaginasErrores));
    Escribe(std::string(zv::spool::kTagVertical));
    Escribe(std::string(zv::spool::kTagColorVentana));
    c.spool.lineaActual = 1;
    for (int i = 0; i < 3; ++i) Escribe("");

    std::string linea = Centra("Zarvo SOLVENDA");
    ReemplazaMid(linea, 1, "ORVAL");
    linea = c.gMargen + linea + Blancos(5);
    ReemplazaMid(linea, 107, "F84103");
    Escribe(linea);

    linea = Centra("REPORTE DE ERRORES DE TRANSFERENCIA - PERIODO " + MesAnio(periodo));
    ReemplazaMid(linea, 1, fecha);
    linea += Blancos(4);
    ReemplazaMid(linea, 102 + 9 - zv::text::Length(pag), pag);
    Escribe(c.gMargen + linea);

    linea = Centra("");
    ReemplazaMid(linea, 1, hora);
    Escribe(c.gMargen + linea);
    Escribe("");
    Escribe("");

    std::string contribuyente = "CONTRIBUYENTE:  " + e.gRuc + "  " + e.gRazonSocial;
    std::size_t largo = zv::text::Length(contribuyente);
    if (largo < 110) contribuyente += Blancos(110 - largo);
    Escribe(c.gMargen + contribuyente);
    Escribe(Regla());
    Escribe("  RUC         TD DOCUMENTO       DEVENG. DESCRIPCION DEL ERROR  ");
    Escribe(Regla());
}

void DetalleErrores(const std::string& baseRechazos, const std::string& periodo) {
    zv::text::TextReader lector(ArchivoErrores(baseRechazos));
    long total = 0;
    int enPagina = 1;
    std::string error;
    while (lector.ReadLine(error)) {
        ++total;
        Escribe("  " + error);
        if (++enPagina == kErroresPorPagina + 1) {
            enPagina = 1;
            Escribe(Regla());
            Escribe("  Sub-Total de Errores:  " + std::to_string(total));
            Escribe(Regla());
            CabeceraErrores(periodo);
        }
    }
    lector.Close();
    Escribe(Regla());
    Escribe("  Total de Errores:      " + std::to_string(total));
    Escribe(Regla());
}

void ReporteErrores(const std::string& baseRechazos, const std::string& periodo) {
    CorridaReporte& c = Corrida();
    c.spool.Abre(Estado::G().gRutaArchivo);
    // The heading states the page count: the error lines are counted first.
    gPaginasErrores = PaginasErrores(CuentaLineas(ArchivoErrores(baseRechazos)));
    c.spool.linea.clear();  // no orientation tag survives the first page here
    c.spool.lineaActual = 0;
    c.spool.pagina = 1;
    c.gMargen = "  ";
    CabeceraErrores(periodo);
    DetalleErrores(baseRechazos, periodo);
    c.spool.Cierra();
    zv::SetMousePointer(zv::Pointer::Arrow);
    zv::DoEvents();
}

}  // namespace zvform
