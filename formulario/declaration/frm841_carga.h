#pragma once
// The load steps of the declaration form Frm841 that need no window: the
// declarant list of a new declaration, the duplicate-period check, the
// boxes and payment data of an opened declaration, the order number of a
// sent one and the banks of the payment control. The form shows what these
// return; every value from the user or the data is bound.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "formulario/declaration/frm841_datos.h"

namespace zvdecl {

// CargaDeclarantes: one item per declarant of form 0841 the user may see,
// the RUC (trimmed first 11 characters of the document number) + 7 blanks
// + the name + 10 blanks. gRuc is left holding the last declarant's number.
std::vector<std::string> CargaDeclarantes();

// The duplicate check of a period typed in new mode: true when CAB already
// holds the declaration of the RUC and period (YYYYMM).
bool DeclaracionRegistrada(const std::string& ruc, const std::string& periodo);

// What CargarCab reads of an opened declaration.
struct CabeceraCargada {
    std::map<int, std::string> casillas;  // TxtValor boxes: the stored value as a plain number
    std::optional<std::string> telefono;  // box 028
    std::optional<std::string> formaPago; // box 599
    bool hayCab = false;                  // the CAB row exists
    bool conCheque = false;               // CAB holds a cheque number or a cheque amount
    std::string codigoBanco;              // Trim(bcolibrad), "" when null
    std::string numeroCheque;             // Trim(NroCheque), "" when null
};

// The boxes from DET (HDET of the correlative when gEsEnviada) and the
// payment data from CAB, of the declaration of `ruc` and `periodo` (YYYYMM).
CabeceraCargada CargarCab(const std::string& ruc, const std::string& periodo);

// The stored box value converted to a number and back to text, without
// separators, whatever its size ("-1500", "12.5", "(1,500)" is "-1500";
// "abc" gives "0"); a blank or Null value gives "", an empty box.
std::string NumeroComoTexto(const std::string& valor);

// The payment properties after the load: "X", then box 599, then "C" when
// CAB holds cheque data; bank and cheque number from CAB when it has a row.
void AplicaPagoCargado(const CabeceraCargada& cab, PropiedadesFormaDePago& pago);

// The order number of the sent declaration (HCAB of gCorrel): its norden,
// "0" when null; nullopt when there is no such row.
std::optional<std::string> NumeroOrdenEnviada(const std::string& ruc, const std::string& periodo);

// The banks of the payment control, PARAM list '004' without "00": code
// (2 characters) and name (trimmed first 36 characters of Funcion).
std::vector<std::pair<std::string, std::string>> BancosDePago();

}  // namespace zvdecl
