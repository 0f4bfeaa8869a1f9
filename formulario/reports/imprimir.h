#pragma once
// The print dialog's steps that need no window: the list of declarations the
// user may print, the box values and payment data of the chosen one, and the
// writing of its report into a new spool file.
//
//   auto filas = LeeDeclaracionesImpresion();       // gEsEnviada, gUsuario
//   CorridaImpresion c = EscribeReporteImpresion(filas[i], OpcionImpresion::Detalle);
//   if (c.escrito) ... show or print c.archivo (c.paginas pages)
#include <string>
#include <vector>

#include "formulario/core/consultas.h"
#include "formulario/reports/corrida.h"

namespace zvform {

// One declaration of the list, its texts by grid column.
struct DeclaracionImpresion {
    std::string tip_doc_d;   // 0
    std::string tipo_doc;    // 1 short name of the document type
    std::string doc_id_d;    // 2 RUC
    std::string nombre;      // 3
    std::string formulario;  // 4
    std::string entidad;     // 5 never filled: the list does not read it
    std::string semana;      // 6
    std::string periodo;     // 7 MMYYYY
    std::string correl;      // 8 sent declarations only
    std::string fec_env;     // 9 sent declarations only

    // The text of a grid column, 0 to 9 ("" outside).
    const std::string& Columna(int indice) const;
};

inline constexpr int kColumnasImpresion = 10;

// Reports longer than this go through the page-range dialog first.
inline constexpr int kPaginasSinRango = 15;

// The declarations query of gEsEnviada (HCAB or CAB) joined with the
// declarant and the document type, restricted to the declarants of gUsuario
// unless the user's type is "0"; its text is left in gSQL.
Sentencia SqlDeclaracionesImpresion();
std::vector<DeclaracionImpresion> LeeDeclaracionesImpresion();

// The period as the list shows it: MMYYYY as "MM/YYYY" (format "0#/####").
std::string PeriodoMostrado(const std::string& mmyyyy);

// Empties the 899 box values.
void BorraArray();

// The box values (boxes 721 and 722 left out) and the payment data of the
// declaration of `fila` in gPeriodo (and gCorrel when it was sent). The
// payment data are emptied first: without a header row they stay empty.
void CargarCasillas(const DeclaracionImpresion& fila);

// The chosen declaration into gPeriodo (YYYYMM), gRuc, gRazonSocial, gCorrel.
void SeleccionaDeclaracion(const DeclaracionImpresion& fila);

struct CorridaImpresion {
    bool escrito = false;  // the report run wrote the whole file
    std::string archivo;   // the spool file's bare name, registered in SPOOL
    int paginas = 0;       // pages written (gTotalPaginas)
};

// The report of `fila`: the declaration chosen, its boxes loaded, a SPOOL
// row under the code of `opcion` (F84102 for the annex alone, else F84101),
// the report run into gRutaRpt + that name, and the page total. Database
// errors of the list or the registration reach the caller.
CorridaImpresion EscribeReporteImpresion(const DeclaracionImpresion& fila, OpcionImpresion opcion);

}  // namespace zvform
