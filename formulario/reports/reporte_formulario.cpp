// The form report: page 0 of a declaration's report.
#include "formulario/reports/reporte_formulario.h"

#include <string>

#include "formulario/core/estado.h"
#include "formulario/core/rutinas.h"
#include "formulario/core/utilitarios.h"
#include "formulario/reports/corrida.h"
#include "platform/textfile.h"
#include "shared/banco.h"
#include "shared/formato.h"

namespace zvform {

namespace {

constexpr int kTamano = 8;
constexpr const char* kFormatoCasilla = "###,###,###,##0;(###,###,###,##0)";

void Texto(int x, int y, const std::string& texto, int pagina = 0) { ImprimePos(x, y, texto, false, kTamano, pagina); }

// A box value right-aligned in 16 characters (17 when negative, so that the
// closing parenthesis stands one column further right); blanks when empty.
std::string ValorCasilla(const std::string& valor) {
    std::string t = zv::text::Trim(valor);
    auto numero = zv::Currency::Parse(t);
    if (!numero) return RellenaEspacios(t, 16);  // a text that is no amount is shown as it stands
    bool negativo = *numero < zv::Currency();
    return RellenaEspacios(zv::Format(*numero, kFormatoCasilla), negativo ? 17 : 16);
}

void Cuadricula() {
    for (int i : {0, 1, 2, 3, 4, 6}) {
        int y1 = 2820 + 270 * i, y2 = 3090 + 270 * i;
        ImprimeCuadro(150, y1, 11000, y2, 0);
        ImprimeCuadro(8675, y1, 8675, y2, 0);
        if (i <= 4) ImprimeCuadro(9175, y1, 9175, y2, 0);
    }
    ImprimeCuadro(150, 2470, 11000, 2815, 0);
}

void FilasDeMontos() {
    struct Fila {
        const char* concepto;
        int casilla;
    };
    static const Fila kFilas[] = {
        {"Importe total por aportes obligatorios al SPP", 590},
        {"Importe total por aportes voluntarios con fin previsional", 591},
        {"Rentabilidad e intereses", 592},
        {"Total deuda a pagar", 597},
        {"Importe a pagar", 598},
    };
    const Estado& e = Estado::G();
    int y = 2880;
    for (const Fila& f : kFilas) {
        Texto(300, y, f.concepto);
        Texto(8775, y, std::to_string(f.casilla));
        Texto(9200, y, ValorCasilla(e.gValoresCasilla[f.casilla]));
        y += 270;
    }
}

// The bank's name right-aligned in 17 characters, cut to 17.
std::string NombreBanco(const std::string& codigo) {
    std::string nombre = zv::text::Trim(zv::DescripcionBanco(*Estado::G().gBase, codigo));
    return zv::text::Left(RellenaEspacios(nombre, 17), 17);
}

void PagoConCheque() {
    const Estado& e = Estado::G();
    ImprimeCuadro(150, 4710, 11000, 4980, 0);
    ImprimeCuadro(8675, 4710, 8675, 4980, 0);
    std::string cheque = Util().RellenaNumero(e.gNroCheque, 14, " ");
    bool conNumero = !zv::text::Trim(cheque).empty();
    if (conNumero) {
        Texto(2000, 4500, "CHEQUE");
        Texto(9210, 4500, cheque);
    }
    Texto(270, 4770, "CODIGO DE BANCO:");
    if (conNumero) Texto(2000, 4770, "015");
    Texto(9210, 4770, NombreBanco(e.gBancoPago));
}

}  // namespace

void CabeceraFormulario(int p) {
    const Estado& e = Estado::G();
    ImprimePos(300, 350, "ORVAL", true, 16, p);
    ImprimePos(550, 1330, "0841", true, 12, p);
    ImprimeCuadro(150, 300, 1700, 1640, p);
    ImprimePos(3960, 400, "SOLVENDA", true, 9, p);
    Texto(9000, 400, "Pág. " + std::to_string(p + 1), p);
    ImprimeCuadro(1700, 300, 8500, 1100, p);
    Texto(1750, 1170, "RUC", p);
    ImprimePos(3150, 1170, e.gRuc, true, kTamano, p);
    ImprimeCuadro(3100, 1100, 11000, 1370, p);
    ImprimeCuadro(8500, 1100, 11000, 1370, p);
    Texto(9030, 1170, "TELEFONO", p);
    Texto(9030, 1440, e.gValoresCasilla[28], p);
    Texto(1750, 1450, "RAZÓN SOCIAL", p);
    ImprimePos(3150, 1450, e.gRazonSocial, true, kTamano, p);
    ImprimeCuadro(1700, 1370, 3100, 1640, p);
    ImprimeCuadro(3100, 1370, 8500, 1640, p);
    ImprimeCuadro(8510, 670, 11000, 1370, p);
    Texto(9000, 670, "Copia para el", p);
    Texto(9000, 900, "Contribuyente", p);
    ImprimeCuadro(8500, 300, 11000, 1100, p);
    ImprimeCuadro(8500, 1100, 11000, 1640, p);
}

void ReporteFormulario() {
    for (auto tag : {zv::spool::kTagFuente, zv::spool::kTagVertical, zv::spool::kTagColorDeclaracion}) {
        std::string linea(tag);
        ImprimeLinea(linea);
    }
    CabeceraFormulario(0);
    Cuadricula();
    ImprimePos(300, 2540, "CONCEPTO", true, 10, 0);
    FilasDeMontos();
    Texto(270, 4500, "FORMA DE PAGO:");
    if (!Estado::G().gEfectivo.empty()) {
        Texto(2000, 4500, "EFECTIVO");
        return;
    }
    PagoConCheque();
}

}  // namespace zvform
