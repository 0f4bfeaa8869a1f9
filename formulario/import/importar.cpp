// The import driver ("&Aceptar"): the checks before an import, the one
// transaction around the transfer, the CAB row and the DET boxes.
#include "formulario/core/consultas.h"
#include "formulario/core/control.h"
#include "formulario/core/errores.h"
#include "formulario/core/estado.h"
#include "formulario/core/inicio.h"
#include "formulario/core/llave_declaracion.h"
#include "formulario/core/termina.h"
#include "formulario/import/importacion.h"
#include "platform/cursor.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"

namespace zvimport {

namespace {

constexpr const char* kRutina = "CmdGrabar_Click";

dao::Database& Base() { return *zvform::Estado::G().gBase; }

// Marks the import in progress for as long as it runs, also when it ends
// by an exception.
class Ocupado {
public:
    explicit Ocupado(bool& bandera) : bandera_(bandera) { bandera_ = true; }
    ~Ocupado() { bandera_ = false; }
    Ocupado(const Ocupado&) = delete;
    Ocupado& operator=(const Ocupado&) = delete;

private:
    bool& bandera_;
};

}  // namespace

Importacion::Importacion(ImportUi& ui) : ui_(ui) {}
Importacion::~Importacion() = default;

// Runs one step of the driver under its error trap: the central handler
// either runs it again (0) or stops the import (1), which ends the program
// after a rollback when the transaction is open. False when stopped.
template <class Paso>
bool Importacion::Intenta(Paso&& paso) {
    for (;;) {
        try {
            paso();
            return true;
        } catch (const std::exception& e) {
            if (zvform::ManejaError(kRutina, e) == 0) continue;
            if (transaccionAbierta_) {
                transaccionAbierta_ = false;
                try {
                    Base().Rollback();
                } catch (const std::exception&) {
                    // the program ends at once; the engine drops what was not committed
                }
                zvform::TerminaPrograma(1);
            }
            return false;
        }
    }
}

void Importacion::CmdGrabar_Click() {
    if (importando_) return;
    Ocupado ocupado(importando_);
    std::string ruc, periodo;
    if (!DatosDeLaImportacion(ruc, periodo)) return;

    zv::SetMousePointer(zv::Pointer::Arrow);
    ui_.MuestraProgreso(true);
    ui_.FijaProgreso(1);
    ui_.FijaTextoProgreso("Verificando archivo... ");
    ui_.RepintaProgreso();
    zv::DoEvents();
    Importa(ruc, periodo);
    // The idle layout comes back however the import ended: the progress
    // frame must not stay over the buttons.
    ui_.MuestraProgreso(false);
}

// Steps 1 to 7: what must hold before anything is written.
bool Importacion::DatosDeLaImportacion(std::string& ruc, std::string& periodo) {
    auto& g = zvform::Estado::G();
    g.gOperacion = 0;
    bool correcto = false;
    if (!Intenta([&] { correcto = zvform::ValidaConfigRegional(); })) return false;
    if (!correcto) {
        zv::SetMousePointer(zv::Pointer::Default);
        return false;
    }
    ui_.FijaTransferidos("0          Registro(s) transferido(s)");
    ui_.FijaRechazados("0          Registro(s) rechazado(s)");
    if (!ui_.Valida_Datos()) return false;
    ArchivoTransferido.clear();
    ruc = zv::text::Trim(zv::text::Left(ui_.DeclaranteElegido(), 11));
    std::string mmaaaa = ui_.TextoPeriodo();
    periodo = zv::text::Right(mmaaaa, 4) + zv::text::Left(mmaaaa, 2);
    if (ui_.ArchivoSeleccionado().empty()) {
        zv::MsgBox("No se ha encontrado el archivo del detalle de afiliados para el RUC y periodo seleccionado",
                   zv::Icon::Information, zv::Buttons::Ok, kTituloFormulario);
        return false;
    }
    return !zvform::VerificaTablaValor(ruc, periodo, 1);
}

// Steps 9 to 15: the transaction.
bool Importacion::Importa(const std::string& ruc, const std::string& periodo) {
    LogIniciado = 0;
    FallaDeLogAvisada = false;
    if (!Intenta([&] {
            Base().BeginTrans();
            transaccionAbierta_ = true;
        }))
        return false;
    RegistrosTransferidos = 0;
    transferidosMostrados_ = 0;
    bool transferido = false;
    if (!Intenta([&] { transferido = Transferencia(ruc, periodo, ui_.Carpeta()); })) return false;
    if (!transferido) return DeshaceTransferencia();
    ui_.RepintaProgreso();
    ui_.FijaProgreso(9);
    ui_.FijaTextoProgreso("Actualizando tablas del sistema.");
    if (!Intenta([&] { GrabaCabecera(ruc, periodo); }) || !GrabaCasillas(ruc, periodo)) return false;
    if (!Intenta([&] {
            Base().CommitTrans();
            transaccionAbierta_ = false;
        }))
        return false;
    ui_.FijaProgreso(10);
    ui_.FijaTextoProgreso("Proceso finalizado satisfactoriamente.");
    if (!ArchivoTransferido.empty())
        zv::MsgBox("Archivo : " + ArchivoTransferido + " transferido", zv::Icon::Information, zv::Buttons::Ok,
                   kTituloFormulario);
    return true;
}

// A transfer that stopped on an error leaves its rows in the transaction:
// they are undone, and so is the count of them on the form, which shows
// what is stored (none). A transfer with rejects undid its rows itself and
// its labels tell the lines processed, which stay.
bool Importacion::DeshaceTransferencia() {
    if (!transaccionAbierta_) return true;
    if (!Intenta([&] {
            Base().Rollback();
            transaccionAbierta_ = false;
        }))
        return false;
    if (transferidosMostrados_ > 0) ui_.FijaTransferidos("0 registro(s) transferido(s)");
    return true;
}

void Importacion::GrabaCabecera(const std::string& ruc, const std::string& periodo) {
    auto rs = Base().OpenRecordset("CAB", dao::dbOpenTable);
    rs->AddNew();
    zvform::AsignaLlaveDeclaracion(*rs, ruc, periodo);
    rs->SetField("rectifica", dao::Value(0));
    rs->SetField("estado", dao::Value(9));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 5)));
    rs->Update();
    rs->Close();
}

// The six boxes, each under the error trap on its own.
bool Importacion::GrabaCasillas(const std::string& ruc, const std::string& periodo) {
    const std::string deuda = std::to_string(DeudaTotal(TotalAporteO, TotalAporteV, TotalRentabi));
    const std::pair<const char*, std::string> casillas[] = {
        {"590", TotalAporteO.ToString()}, {"591", TotalAporteV.ToString()}, {"592", TotalRentabi.ToString()},
        {"597", deuda},                   {"598", deuda},                   {"593", std::to_string(RegistrosTransferidos)},
    };
    for (const auto& [casilla, valor] : casillas)
        if (!Intenta([&] { GrabarCasilla(casilla, valor, ruc, periodo); })) return false;
    return true;
}

std::int64_t DeudaTotal(zv::Currency aporteO, zv::Currency aporteV, zv::Currency rentabilidad) {
    const __int128 suma = static_cast<__int128>(aporteO.Raw()) + aporteV.Raw() + rentabilidad.Raw();
    if (suma < 0) return 0;
    // Rounding each total can take a sum of nearly nothing below zero
    // (0.40 + 0.40 - 0.50 gives 0 + 0 - 1); a debt is never negative.
    const std::int64_t redondeada = aporteO.RoundedUnits() + aporteV.RoundedUnits() + rentabilidad.RoundedUnits();
    return redondeada < 0 ? 0 : redondeada;
}

}  // namespace zvimport
