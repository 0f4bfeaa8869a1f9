// The annex of affiliates.
#include "formulario/reports/reporte_detalle.h"

#include <cmath>

#include "formulario/core/estado.h"
#include "formulario/core/utilitarios.h"
#include "formulario/reports/corrida.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvform {

namespace {

constexpr int kIzquierda = 290;    // left edge of the boxes
constexpr int kDerecha = 16000;    // right edge
constexpr int kLimitePagina = 9900;
constexpr int kTexto = 300;
constexpr int kTamano = 8;

constexpr const char* kMontos = "###,###,###,##0.00";
constexpr const char* kMontoNegativo = "(##,###,###,##0.00)";
constexpr const char* kTotalCero = "###,###,###,###.##";

const char* const kEncabezado1 =
    "    RUC    TIPO   NÚMERO DE    AFILIADO                      CUSPP         Nº RES.     PER    AP. OBLIGATORIO   AP.VOLUNTARIOS CON   RENTABILIDAD E";
const char* const kEncabezado2 =
    "EMPLEADOR   DOC.  DOCUMENTO                                               DESAFILIAC. AP.SPP        AL SPP        FIN PREVISIONAL       INTERESES";

// The title centred on the landscape page (6451 for "DETALLE DE AFILIADOS").
int XTitulo(const std::string& titulo) {
    double x = (15600.0 - 135.0 * static_cast<double>(zv::text::Length(titulo))) / 2.0 + 1.0;
    return static_cast<int>(std::nearbyint(x));
}

zv::Currency ComoMoneda(const dao::Value& v) {
    auto c = zv::Currency::Parse(zv::text::Trim(v.AsText()));
    if (v.IsNull() || !c) throw zv::Error(13, "No coinciden los tipos");
    return *c;
}

std::string Izquierda(const dao::Value& v, int ancho) { return Util().RellenaTexto(v.AsText(), ancho, " "); }

// An amount in 18 characters; a negative returns amount goes in
// parentheses in 19, the contributions keep their minus sign.
std::string Monto(zv::Currency monto, bool rentabilidad) {
    if (rentabilidad && monto < zv::Currency())
        return Util().RellenaNumero(zv::Format(-monto, kMontoNegativo), 19, " ");
    return Util().RellenaNumero(zv::Format(monto, kMontos), 18, " ");
}

// An amount of a detail line; a stored text that is no amount is laid out
// as the number it begins with.
std::string MontoLinea(const dao::Value& v, bool rentabilidad) {
    std::string t = zv::text::Trim(v.AsText());
    auto c = zv::Currency::Parse(t);
    if (!c) return Util().RellenaNumero(zv::FormatText(t, kMontos), 18, " ");
    return Monto(*c, rentabilidad);
}

std::string MontoTotal(zv::Currency total, bool rentabilidad) {
    if (total == zv::Currency()) return Util().RellenaNumero(zv::Format(total, kTotalCero), 18, " ");
    return Monto(total, rentabilidad);
}

// The page heading, the title box and the title; on a continuation page
// also the column headings.
void NuevaPagina(int& pagina, int& margen, const std::string& titulo, bool conEncabezados) {
    CabeceraDetalle(pagina, margen, titulo);
    ImprimeCuadro(kIzquierda, 1640, kDerecha, 2040, pagina);
    ImprimePos(XTitulo(titulo), 1680, titulo, true, 14, pagina);
    if (!conEncabezados) return;
    ImprimeCuadro(kIzquierda, 2040, kDerecha, 2580, pagina);
    int y = 2040;
    TituloDetalle(pagina, y);
}

struct Totales {
    zv::Currency obligatorio, voluntario, rentabilidad;
    long registros = 0;
};

void CierreConFilas(const Totales& t, int pagina, int& y) {
    ImprimeCuadro(kIzquierda, y, kDerecha, y + 270, pagina);
    ImprimePos(kTexto, y + 30, "Cantidad total de registros  : " + std::to_string(t.registros), false, kTamano, pagina);
    ImprimePos(8500, y + 30, "Totales :", false, kTamano, pagina);
    std::string montos = std::string(95, ' ') + MontoTotal(t.obligatorio, false) + " " +
                         MontoTotal(t.voluntario, false) + " " + MontoTotal(t.rentabilidad, true);
    ImprimePos(90, y + 30, montos, false, kTamano, pagina);
    y += 540;
}

void CierreSinFilas(const std::string& titulo, int pagina, int& y) {
    ImprimeCuadro(kIzquierda, y, kDerecha, y + 270, pagina);
    ImprimePos(kTexto, y, "Cantidad total de registros  : 0", false, kTamano, pagina);
    y += 270;
    y += 270;
    ImprimeCuadro(kIzquierda, y, kDerecha, y + 270, pagina);
    ImprimePos(kTexto, y, titulo, true, kTamano, pagina);
    ImprimePos(kTexto, y + 270, "NO EXISTE INFORMACIÓN A DECLARAR", false, kTamano, pagina);
}

}  // namespace

std::vector<dao::Value> ConsultaDetalle(const std::string& tabla) {
    Estado& e = Estado::G();
    std::vector<dao::Value> params{e.gRuc, e.gPeriodo};
    if (e.gEsEnviada) {
        e.gSQL = "SELECT * FROM HF841DETDES WHERE tip_doc_d = 6 AND doc_id_d = ? AND periodo = ? "
                 "AND formulario = '0841' AND correl = ? "
                 "ORDER BY doc_id_d, periodo, Correl, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, Mes_deveng";
        params.emplace_back(e.gCorrel);
    } else {
        e.gSQL = "SELECT * FROM " + tabla +
                 " WHERE tip_doc_d = 6 AND doc_id_d = ? AND periodo = ? AND formulario = '0841' "
                 "ORDER BY doc_id_d, periodo, Num_RUCEmpl, Tip_Doctrab, Num_Doctrab, Mes_deveng";
    }
    return params;
}

void CabeceraDetalle(int& pagina, int& margen, const std::string& /*titulo*/) {
    CorridaReporte& c = Corrida();
    margen = 140;
    pagina = ++c.spool.pagina;
    c.gPaginasAnexo = pagina;
    if (pagina != 0) {
        ImprimePos(0, 0, zv::spool::kNuevaHoja, false, kTamano, pagina);
        c.spool.linea = zv::spool::kTagHorizontal;
        ImprimeLinea(c.spool.linea);
    } else {
        for (auto tag : {zv::spool::kTagFuente, zv::spool::kTagHorizontal, zv::spool::kTagColorDeclaracion}) {
            std::string l(tag);
            ImprimeLinea(l);
        }
    }
    const Estado& e = Estado::G();
    const int p = pagina;
    ImprimePos(440, 350, "ORVAL", true, 16, p);
    ImprimePos(690, 1330, "0841", true, 12, p);
    ImprimeCuadro(290, 300, 1840, 1640, p);
    ImprimeCuadro(13500, 300, 16000, 1370, p);
    ImprimeCuadro(13500, 650, 16000, 1100, p);
    ImprimeCuadro(13500, 1370, 16000, 1640, p);
    ImprimePos(6640, 400, "SOLVENDA", true, 9, p);
    ImprimePos(14140, 400, "Pág. " + std::to_string(p + 1), false, kTamano, p);
    ImprimeCuadro(1840, 300, 13500, 1100, p);
    ImprimePos(1990, 1170, "RUC", false, kTamano, p);
    ImprimePos(4840, 1170, e.gRuc, true, kTamano, p);
    ImprimePos(1990, 1450, "RAZÓN SOCIAL", false, kTamano, p);
    ImprimePos(4840, 1450, e.gRazonSocial, true, kTamano, p);
    ImprimePos(14170, 1170, "TELEFONO", false, kTamano, p);
    ImprimePos(14170, 1440, e.gValoresCasilla[28], false, kTamano, p);
    ImprimeCuadro(1840, 1100, 13500, 1370, p);
    ImprimeCuadro(1840, 1100, 4390, 1640, p);
    ImprimePos(14140, 670, "Copia para el", false, kTamano, p);
    ImprimePos(14140, 900, "Contribuyente", false, kTamano, p);
}

void TituloDetalle(int pagina, int& y) {
    ImprimePos(kTexto, y, kEncabezado1, true, kTamano, pagina);
    ImprimePos(kTexto, y + 270, kEncabezado2, true, kTamano, pagina);
    y += 270;
}

void LineaDetalle(const dao::Recordset& fila, int pagina, int y) {
    std::string ruc = zv::text::Trim(fila.Fields("Num_RUCEmpl").AsText());
    if (ruc == "0") ruc.clear();
    std::string nombre = zv::text::Trim(fila.Fields("Nom_ApePat").AsText()) + " " +
                         zv::text::Trim(fila.Fields("Nom_ApeMat").AsText()) + " " +
                         zv::text::Trim(fila.Fields("Nom_Nombre").AsText());
    std::string mes = fila.Fields("Mes_deveng").AsText();
    std::string periodo = zv::text::Right(mes, 2) + "/" + zv::text::Left(mes, 4);
    std::string& linea = Corrida().spool.linea;
    linea = Util().RellenaTexto(ruc, 11, " ") + " " + Izquierda(fila.Fields("Tip_Doctrab"), 2) + " " +
            Izquierda(fila.Fields("Num_Doctrab"), 15) + " " + Util().RellenaTexto(nombre, 29, " ") + " " +
            Izquierda(fila.Fields("Cod_CUSPP"), 12) + " " + Izquierda(fila.Fields("Num_ResDesaf"), 10) + " " +
            Util().RellenaTexto(periodo, 7, " ") + " " + MontoLinea(fila.Fields("Mto_AporteO"), false) + " " +
            MontoLinea(fila.Fields("Mto_AporteV"), false) + " " + MontoLinea(fila.Fields("Mto_Rentabi"), true);
    ImprimePos(kTexto, y, linea, false, kTamano, pagina);
}

void ReporteDetalle(const std::string& tabla, const std::string& titulo, const std::string& /*tipo*/,
                    bool /*bandera*/) {
    Estado& e = Estado::G();
    std::vector<dao::Value> params = ConsultaDetalle(tabla);
    int pagina = 0, margen = 0;
    CabeceraDetalle(pagina, margen, titulo);
    ImprimeCuadro(kIzquierda, 1640, kDerecha, 2010, pagina);
    ImprimePos(XTitulo(titulo), 1680, titulo, true, 14, pagina);
    Totales t;
    int y = 1740;

    auto rs = e.gBase->OpenRecordset(e.gSQL, dao::dbOpenSnapshot, params);
    const bool conFilas = !rs->EOF_();
    if (conFilas) {
        y += 270;
        ImprimeCuadro(kIzquierda, y, kDerecha, y + 540, pagina);
        TituloDetalle(pagina, y);
        y += 70;
        for (; !rs->EOF_(); rs->MoveNext()) {
            y += 200;
            if (y >= kLimitePagina) {
                NuevaPagina(pagina, margen, titulo, true);
                y = 2580;
            }
            LineaDetalle(*rs, pagina, y);
            ++t.registros;
            t.obligatorio = t.obligatorio + ComoMoneda(rs->Fields("Mto_AporteO"));
            t.voluntario = t.voluntario + ComoMoneda(rs->Fields("Mto_AporteV"));
            t.rentabilidad = t.rentabilidad + ComoMoneda(rs->Fields("Mto_Rentabi"));
        }
    }
    rs->Close();

    y += 270;
    if (y > 8900) {
        NuevaPagina(pagina, margen, titulo, false);
        y = 2280;
    }
    if (conFilas) CierreConFilas(t, pagina, y);
    else CierreSinFilas(titulo, pagina, y);
}

}  // namespace zvform
