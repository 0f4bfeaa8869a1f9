#pragma once
// What the import engine needs of the import form: the choices on it, its
// result labels, the progress frame, the closing question and the two ways
// of showing the transfer-errors report. The form implements it; tests and
// the benchmark replace it. Every method has a harmless default so that a
// replacement overrides only what it looks at.
#include <string>

#include "platform/msgbox.h"

namespace zvimport {

// Caption of the import form: the title of its messages.
inline constexpr const char* kTituloFormulario = "Importar información de afiliados";

class ImportUi {
public:
    virtual ~ImportUi() = default;

    // The chosen item of the declarant list ("" when none): the RUC in its
    // first 11 characters.
    virtual std::string DeclaranteElegido() const { return {}; }
    // The period box as typed: "MM/YYYY" ("__/____" when empty).
    virtual std::string TextoPeriodo() const { return {}; }
    // The folder of the folder list: where the affiliates file is looked for.
    virtual std::string Carpeta() const { return {}; }
    // The name selected in the file list, "" when none is selected.
    virtual std::string ArchivoSeleccionado() const { return {}; }
    // The form's own checks of the declarant and the period; false after
    // it has shown its message.
    virtual bool Valida_Datos() { return true; }

    // The two result labels.
    virtual void FijaTransferidos(const std::string& /*texto*/) {}
    virtual void FijaRechazados(const std::string& /*texto*/) {}
    // Both labels at once, as the transfer sets them after every line: a
    // form shows the two texts together, never one without the other.
    virtual void FijaContadores(const std::string& transferidos, const std::string& rechazados) {
        FijaTransferidos(transferidos);
        FijaRechazados(rechazados);
    }
    // While the transfer reads the file it sets both labels after every
    // line, far oftener than a screen can show a change: between these two
    // calls a form may show the labels at its own pace, as long as their
    // last texts are shown once the count ends.
    virtual void EmpiezaCuenta() {}
    virtual void TerminaCuenta() {}
    // "&Aceptar" enabled again after a transfer that stopped.
    virtual void HabilitaAceptar() {}

    // The progress frame "Espere un momento...": shown, with the buttons at
    // top 5220 and the form 6520 high; hidden, with 5260 and 6190.
    virtual void MuestraProgreso(bool /*visible*/) {}
    virtual void FijaProgreso(int /*valor*/) {}  // bar from 0 to 10
    virtual void FijaTextoProgreso(const std::string& /*texto*/) {}
    virtual void RepintaProgreso() {}

    // The closing question of a transfer with rejects (Yes/No, No default).
    virtual zv::Answer Pregunta(const zv::MessageRequest& pregunta) { return zv::Messages().Show(pregunta); }
    // A transfer-errors report of more than 15 pages: the page-range dialog
    // captioned "Impresión de N páginas" over the spool file `archivoSpool`.
    virtual void MuestraRangoPaginas(const std::string& /*archivoSpool*/, int /*paginas*/) {}
    // A shorter one: the preview of the spool file ("Vprevia").
    virtual void MuestraReporte(const std::string& /*archivoSpool*/) {}
};

}  // namespace zvimport
