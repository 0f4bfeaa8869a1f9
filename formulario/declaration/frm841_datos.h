#pragma once
// What the declaration form Frm841 shows, and its own state, as the steps
// that need no window see them. The form copies its controls into a
// DatosFrm841 before it runs a step (the three buttons, the identification
// check, the save) and applies what the step answers: the control that
// gets the focus, the tab made current, whether the form closes, and the
// fields the step changed (Modificado, the identification made fixed).
//
//   zvdecl::DatosFrm841 datos = ...;          // copied from the controls
//   zvdecl::Resultado r = zvdecl::CmdValidar_Click(datos, 1);
//   if (r.pestana >= 0) SSTab1->setCurrentIndex(r.pestana);
//   if (!r.foco.empty()) findChild<QWidget*>(r.foco)->setFocus();
//   if (r.cerrar) accept();
//
// Messages go through the message service, titled with `caption`.
#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zv::text {
class TextWriter;
}

namespace zvdecl {

// The boxes typed in the form, in saving order.
inline const std::vector<int> kListaCasillas{590, 591, 592, 593, 597, 598};

// "0841 Solvenda", followed by " - Enviadas" for a sent declaration: the
// form's caption and the title of its message boxes.
std::string CaptionFrm841(bool esEnviada);

// The five text properties of the payment-method control FormaDePagoZarvo.
struct PropiedadesFormaDePago {
    std::string numeroCheque;         // cheque number
    std::string codigoBanco = "XX";   // bank code, "XX" none chosen
    std::string formaPago = "X";      // "C" cheque, "E" cash, "X" none
    std::string monto;                // amount to pay, as shown ("12,345")
    std::string habilitado = "1";     // "0" read-only (sent declaration)
};

struct DatosFrm841 {
    // The mode, from the state object when the form loaded.
    int operacion = 0;        // gOperacion: 0 new, 1 opened from a list
    bool esEnviada = false;   // gEsEnviada: a sent declaration (HCAB)
    std::string caption;      // the form's caption (CaptionFrm841)

    // Identification.
    std::string cmbRuc;       // text of CmbRuc (new mode): the RUC in its first 11 characters
    std::string txtNumRuc;    // TxtNumRuc (open modes)
    std::string txtRazon;     // TxtRazon
    std::string mkePeriodo = "__/____";  // MkePeriodo as the form reads it: "__/____" .. "MM/YYYY"
    std::string txtTelefono;  // TxtTelefono, as typed

    // TxtValor texts by box number (590, 591, 592, 593, 597, 598), as shown.
    std::map<int, std::string> txtValor;
    PropiedadesFormaDePago formaDePago;  // FormaDePagoZarvo1

    // Sent declaration: TxtNumOrdenE(0), the 8-character order number, and
    // TxtNumOrdenE(1), its two check characters.
    std::array<std::string, 2> txtNumOrdenE;

    std::vector<int> listaCasillas = kListaCasillas;  // ListaCasillas
    bool modificado = false;                          // Modificado

    // New mode: set by the first save; the form then disables CmbRuc and
    // MkePeriodo so that the declaration just saved keeps its identity.
    bool identificacionFija = false;
};

// What a step tells the form to do.
struct Resultado {
    bool ok = true;         // the check passed / the save happened
    int pestana = -1;       // SSTab1 tab to make current; -1 leaves it
    std::string foco;       // objectName of the control that gets the focus ("" none)
    bool cerrar = false;    // the form closes (exit button)
};

// The declarant and period of the form: Trim(TxtNumRuc) in the open modes,
// Trim of the first 11 characters of CmbRuc in new mode; the period YYYYMM
// from MkePeriodo.
std::string RucDelFormulario(const DatosFrm841& d);
std::string PeriodoDelFormulario(const DatosFrm841& d);

// The three buttons: 0 "&Validar", 1 "&Grabar" (sent: "&Registrar Nro.
// Orden"), 2 "&Salir". Every question and message is shown here.
Resultado CmdValidar_Click(DatosFrm841& d, int indice);

// tipo "0": every rule, each failure a line of Mens.txt (gSysPath +
// "Mens.txt", rewritten), then the "no inconsistencies" message or the
// inconsistency viewer. tipo "2": the payment rules only, silently, up to
// the first failure. ok when no rule failed.
Resultado ValidaTodo(const DatosFrm841& d, const std::string& tipo);

// The telephone rules (opened declarations only; new mode passes at once).
// modo "0": each failure a line of `mens`; any other modo: the first
// failure shown with a message, tab 0 and the focus to TxtTelefono.
Resultado ValIdent(const DatosFrm841& d, const std::string& modo, zv::text::TextWriter* mens = nullptr);

// Stores what the form shows: CAB, the DET boxes and the state for a
// registered or new declaration, all in one transaction; the order number
// in HCAB for a sent one. ok when the save happened (Modificado is then
// cleared, and in new mode the identification made fixed).
Resultado GrabarForm(DatosFrm841& d);

// One DET row of the declaration; false (nothing written) for a blank value.
bool GrabaValorCasilla(const std::string& casilla, const std::string& valor, const std::string& ruc,
                       const std::string& periodo);

// How the inconsistency viewer FrmConsist is shown over the form (modally,
// reading gRutaArchivo). The program registers it; tests replace it. Empty:
// nothing is shown.
std::function<void()>& MuestraInconsistencias();

}  // namespace zvdecl
