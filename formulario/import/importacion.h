#pragma once
// The import of an affiliates file: what "&Aceptar" of the import form does.
// One object per import form; its members are the form's state that the
// driver, the transfer, the field rules and the reject logs share.
//
//   ImportUi& form = ...;                 // the form, or a test's stand-in
//   zvimport::Importacion importacion(form);
//   importacion.CmdGrabar_Click();        // checks, transaction, transfer, CAB and DET, commit
//
// The whole import runs in one transaction of gBase: either every row of the
// file, the CAB row and the six DET boxes are committed, or none is.
#include <cstdint>
#include <memory>
#include <string>

#include "formulario/import/import_ui.h"
#include "formulario/import/validacion.h"
#include "platform/currency.h"
#include "platform/dao/dao.h"
#include "platform/error.h"

namespace zvimport {

class Importacion {
public:
    explicit Importacion(ImportUi& ui);
    ~Importacion();
    Importacion(const Importacion&) = delete;
    Importacion& operator=(const Importacion&) = delete;

    // The import driver. A click while an import runs is ignored.
    void CmdGrabar_Click();
    // True from the click until the driver returns.
    bool Importando() const { return importando_; }

    // Checks and transfers the file "0841" & sPeriodo & sRuc & ".TXT" of the
    // folder sOrigen into F841DETDES. True when every line was written and
    // none rejected. With rejects, the rows written are undone at once (the
    // caller's transaction is rolled back and marked closed), the reject
    // logs hold the lines, and the transfer-errors report is registered,
    // written and, when the user asks, shown.
    bool Transferencia(const std::string& sRuc, const std::string& sPeriodo, const std::string& sOrigen);

    // The structure check: up to the first blank line, every line ends with
    // "|" and holds NumPipes of them. Shows its message when it fails.
    bool CuentaPye1(const std::string& nombre, int NumPipes);

    // True when F841DETDES already holds a row with these key values.
    bool Existe_afiliado_y_devengue(const std::string& sRuc, const std::string& sPeriodo,
                                    const std::string& sNum_RUCEmpl, const std::string& sTip_DocTra,
                                    const std::string& sNum_DocTra, const std::string& sMes_Deveng);

    // Classifies an error of the transfer: true only for a duplicate key of
    // F841DETDES (CodigoError "0228", nothing shown); any other error is
    // shown and gives false.
    bool Errores_Transferencia(const zv::Error& error);

    // Writes one rejected line into the .Log file and its key and message
    // into the .Err file; the run's first reject starts both afresh. Never
    // stops the transfer: a failure is shown (once per run) and the transfer
    // goes on.
    void GraboLog(const std::string& ArcPla, const std::string& Linea, const std::string& ArcError,
                  std::string& xsOrden);

    // Writes or rewrites one DET box of the declaration; false (nothing
    // written) for an empty value.
    bool GrabarCasilla(const std::string& pCasilla, const std::string& ps_valor, const std::string& ps_numruc,
                       const std::string& ps_periodo);

    // The form's state.
    zv::Currency TotalAporteO, TotalAporteV, TotalRentabi;  // boxes 590, 591, 592
    std::int32_t RegistrosTransferidos = 0;                 // box 593
    std::string ArchivoTransferido;                         // set when no line was rejected
    std::uint8_t LogIniciado = 0;                           // 1 once this run wrote a reject
    bool FallaDeLogAvisada = false;                         // this run told a failing reject log
    bool TransferenciaEnCurso = false;
    // The field rules with RucEmpleador, TipoDocumento, ApellidoPaterno,
    // CodigoError, EtiquetaCampo and LongitudCampo.
    ReglasCampo Campos;

    struct Lectura;  // one run of the transfer (lectura.h)

private:
    struct Estructura {
        bool camposCorrectos = true;  // up to the first blank line
        enum Falla { Ninguna, SinSeparador, Tabulador } falla = Ninguna;  // over the whole file
    };
    static Estructura RevisaEstructura(const std::string& archivo, int NumPipes);
    void AvisaCamposIncorrectos();
    bool AvisaSeparadores(const Estructura& estructura);
    bool TransferenciaSinTrampa(Lectura& lectura);
    bool TerminaSinLeer();
    void AbreDetalle(Lectura& lectura);
    void TransfiereLinea(Lectura& lectura, const std::string& linea);
    void EscribeFila(Lectura& lectura);
    void RechazaLinea(Lectura& lectura, const std::string& linea);
    void MuestraContadores(const Lectura& lectura);
    bool FinDeLectura(Lectura& lectura);
    void OfreceReporteErrores(const Lectura& lectura);
    void DescartaFilasDeLaCorrida();

    bool DatosDeLaImportacion(std::string& ruc, std::string& periodo);
    bool Importa(const std::string& ruc, const std::string& periodo);
    bool DeshaceTransferencia();
    void GrabaCabecera(const std::string& ruc, const std::string& periodo);
    bool GrabaCasillas(const std::string& ruc, const std::string& periodo);
    template <class Paso>
    bool Intenta(Paso&& paso);

    ImportUi& ui_;
    Lectura* lectura_ = nullptr;       // the transfer in progress
    bool importando_ = false;          // one import at a time
    bool transaccionAbierta_ = false;  // the driver's transaction is open
    long transferidosMostrados_ = 0;   // rows of this run the form was told were transferred
};

// Box 597 (and 598): 0 when the three totals add up below zero; otherwise
// the sum of the three totals each rounded to whole units (half away from zero).
std::int64_t DeudaTotal(zv::Currency aporteO, zv::Currency aporteV, zv::Currency rentabilidad);

}  // namespace zvimport
