#pragma once
// The check itself: boxes 590, 591 and 592 of the registered declaration
// against the sums of their columns in the affiliates' detail.
#include <string>

#include "balanceo/estado.h"

namespace zvcheck {

inline constexpr const char* kTablaDetalle = "F841DETDES";
inline constexpr const char* kCasillaIndicador = "005";

struct CasillaComparada {
    const char* casilla;
    const char* columna;  // the amount column of the detail summed for it
};
inline constexpr CasillaComparada kCasillasComparadas[] = {
    {"590", "Mto_AporteO"},
    {"591", "Mto_AporteV"},
    {"592", "Mto_Rentabi"},
};

// Writes the report file and compares the three boxes; True when nothing
// disagrees. An error inside the check shows "Error en la validación de las
// casillas", closes the report file, sets gErrorEnValidacion and answers
// False, so the declaration is never passed as checked.
bool ValidaCasillas(Estado& e, const std::string& tipoDocumento, const std::string& numeroDocumento,
                    const std::string& formulario, const std::string& periodo, const std::string& semana,
                    const std::string& rutaInforme);

// i_valor of the box in DET, "" when there is no row. The document type and
// the week are numbers: text that is not one raises an error.
std::string LeeValorCasilla(Estado& e, const std::string& casilla, const std::string& tipoDocumento,
                            const std::string& numeroDocumento, const std::string& periodo,
                            const std::string& formulario, const std::string& semana, bool filtraSemana);

// The exact sum of one amount column of the declaration's detail, 0 when
// there are no rows. A value that is not a number raises error 13.
void SumaDetalle(Estado& e, const std::string& tabla, const std::string& columna,
                 const std::string& tipoDocumento, const std::string& numeroDocumento, const std::string& periodo,
                 const std::string& formulario, zv::Currency& suma);

// The disagreement line numbered `orden` (1, 2, 3) for a box.
std::string LineaInconsistencia(int orden, const std::string& casilla);

}  // namespace zvcheck
