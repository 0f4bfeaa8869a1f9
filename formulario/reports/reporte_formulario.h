#pragma once
// The form report (page 0 of F84101): heading, the amount boxes 590, 591,
// 592, 597 and 598, and the form of payment. Inputs of Estado:
// gValoresCasilla (boxes 028, 590, 591, 592, 597, 598), gRuc, gRazonSocial,
// gEfectivo, gNroCheque, gBancoPago, gBase (the bank's name).
namespace zvform {

// Writes the whole form on page 0 of the run's spool file.
void ReporteFormulario();
// The page heading on page `pagina`.
void CabeceraFormulario(int pagina);

}  // namespace zvform
