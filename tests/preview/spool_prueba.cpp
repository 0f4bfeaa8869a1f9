#include "tests/preview/spool_prueba.h"

#include "shared/spool.h"
#include "tests/support/support.h"

namespace zvpreview::prueba {

std::string Encabezado(int n) { return "PAGINA " + std::to_string(n); }

fs::path Referencia(const std::string& nombre) { return zvtest::SourceDir() / "tests/reports/golden" / nombre; }

void EscribeReporte(const fs::path& archivo, int paginas, const Opciones& o) {
    namespace sp = zv::spool;
    sp::EscritorSpool w;
    w.Abre(archivo);
    w.EscribeLinea(sp::kTagFuente);
    if (o.hojasPrimero) w.EscribeLinea(sp::TagHojas(paginas));
    w.EscribeLinea(o.horizontalDesde == 0 ? sp::kTagHorizontal : sp::kTagVertical);
    if (o.conColor) w.EscribeLinea("<!Color!>" + o.color + "<!/Color!>");
    for (int k = 0; k < paginas; ++k) {
        if (k > 0) {
            w.EscribeLinea(sp::kNuevaHoja);
            if (o.horizontalDesde >= 0 && k >= o.horizontalDesde) w.EscribeLinea(sp::kTagHorizontal);
        }
        w.ImprimePos(300, 400, Encabezado(k + 1), true, 12, k);
        w.ImprimePos(300, 900, "CONCEPTO ", false, 10, k);
        w.ImprimeCuadro(150, 300, 10500, 1400, k);
    }
    if (o.saltoFinal) w.EscribeLinea(sp::kNuevaHoja);
    if (!o.hojasPrimero) w.EscribeLinea(sp::TagHojas(paginas));
    w.Cierra();
}

}  // namespace zvpreview::prueba
