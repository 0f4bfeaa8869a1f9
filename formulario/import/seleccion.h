#pragma once
// What the import form checks and computes before an import, without its
// window: the declarant item read back, the period box read as YYYYMM, the
// expected file name and the file of a folder that carries it, and the
// checks of the declarant and the period.
#include <string>

#include "formulario/core/fecha.h"

namespace zvimport {

// A declarant item of the form's list: the RUC in its first 11 characters,
// the name in characters 12 to 61, each trimmed.
std::string RucDeItem(const std::string& item);
std::string NombreDeItem(const std::string& item);

// The period box "MM/YYYY" as YYYYMM: its last four characters followed by
// its first two, trimmed.
std::string PeriodoDeTexto(const std::string& textoPeriodo);

// "0841" & period & RUC, both trimmed; "" when the RUC is not exactly 11
// characters or the period not exactly 6 (lengths before trimming).
std::string KeyNombreArchivo(const std::string& sRuc, const std::string& sPeriodo);

// The file of the folder that the import will read for this stem: the one
// named stem & ".TXT" without regard to case, under its name on disk; ""
// when there is none (or the stem is empty).
std::string ArchivoEsperado(const std::string& carpeta, const std::string& stem);

// "MM/YYYY" within the bounds YYYYMM (compared as text); with xTipo 0 the
// month must also be 1 to 12. False while the text holds a "_".
bool ValidaPerMensual(const std::string& xPerIngresado, const std::string& xPerInicio,
                      const std::string& xPerFinal, int xTipo);

// The first period an import accepts.
inline constexpr const char* kPrimerPeriodo = "200710";

// Today's period YYYYMM.
std::string PeriodoActual(const zvform::Fecha& hoy);
std::string PeriodoActual();

// What is wrong with the choices on the form, after its message was shown:
// the control the focus goes back to.
enum class FallaDatos { Ninguna, Declarante, Periodo };

// The checks made before an import: a declarant chosen, a period typed,
// and a period from 10/2007 to the current month. Shows the message of the
// first that fails.
FallaDatos RevisaDatos(const std::string& declarante, const std::string& textoPeriodo);
FallaDatos RevisaDatos(const std::string& declarante, const std::string& textoPeriodo, const zvform::Fecha& hoy);

}  // namespace zvimport
