// "&Grabar" of the declaration form: the CAB header, the DET boxes and the
// state of a registered declaration in one transaction, or the order number
// of a sent declaration in HCAB.
#include <algorithm>
#include <cstdio>

#include "formulario/core/control.h"
#include "formulario/core/estado.h"
#include "formulario/core/fecha.h"
#include "formulario/core/llave_declaracion.h"
#include "formulario/core/utilitarios.h"
#include "formulario/declaration/base_declaracion.h"
#include "formulario/declaration/casillas_formato.h"
#include "formulario/declaration/frm841_datos.h"
#include "platform/cursor.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvdecl {

namespace {

using zvform::Estado;

// The hourglass while a save runs, the default pointer however it ends.
struct RelojDeArena {
    RelojDeArena() { zv::SetMousePointer(zv::Pointer::Hourglass); }
    ~RelojDeArena() { zv::SetMousePointer(zv::Pointer::Default); }
};

// Boxes that hold text: written as given.
bool EsCasillaDeTexto(const std::string& casilla) {
    for (const char* c : {"012", "005", "015", "028", "721", "871"})
        if (casilla == c) return true;
    return false;
}

// What DET keeps of a box: a box of the form's amounts a whole number or
// nothing; a text box as given; the others (the RUC, the period, the
// payment form) a number on the pattern and a text as it stands.
std::string ValorGuardado(const std::string& casilla, const std::string& valor) {
    if (EsCasillaDeTexto(casilla)) return valor;
    const int numero = static_cast<int>(zv::Val(casilla));
    const bool esMonto = std::find(kListaCasillas.begin(), kListaCasillas.end(), numero) != kListaCasillas.end();
    const std::string entero = EnteroDeTexto(valor, "###########0");
    return entero.empty() && !esMonto ? valor : entero;
}

std::string NumeroCasilla(int casilla) {
    char texto[8];
    std::snprintf(texto, sizeof texto, "%03d", casilla);
    return texto;
}

// The payment columns of CAB by the payment form; none chosen leaves them.
void AsignaPago(dao::Recordset& rs, const PropiedadesFormaDePago& pago) {
    if (pago.formaPago == "C") {
        rs.SetField("bcolibrad", dao::Value(pago.codigoBanco));
        rs.SetField("NroCheque", dao::Value(pago.numeroCheque));
        rs.SetField("cheque", dao::Value(EnteroDeTexto(pago.monto, "#########0")));
        rs.SetField("efectivo", dao::Value(""));
    } else if (pago.formaPago == "E") {
        rs.SetField("bcolibrad", dao::Value(" "));
        rs.SetField("NroCheque", dao::Value(" "));
        rs.SetField("cheque", dao::Value(""));
        rs.SetField("efectivo", dao::Value(EnteroDeTexto(pago.monto, "#########0")));
    }
}

void GrabaCabecera(const DatosFrm841& d, const std::string& ruc, const std::string& periodo) {
    auto rs = Base().OpenRecordset(
        "SELECT * FROM CAB WHERE tip_doc_d=6 AND doc_id_d=? AND periodo=? AND formulario='0841'",
        dao::dbOpenDynaset, {ruc, periodo});
    if (rs->EOF_()) {
        rs->AddNew();
        zvform::AsignaLlaveDeclaracion(*rs, ruc, periodo);
    } else {
        rs->Edit();
    }
    // The processing date is text, as every value of the header.
    rs->SetField("fec_pro", dao::Value(zvform::TextoFecha(zvform::Hoy())));
    AsignaPago(*rs, d.formaDePago);
    rs->SetField("estado", dao::Value(Estado::G().gInconsistencia == 1 ? 9 : 0));
    rs->SetField("rectifica", dao::Value(0));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 5)));
    rs->Update();
    rs->Close();
}

// Every box the form holds, in the order the declaration keeps them.
void GrabaCasillas(const DatosFrm841& d, const std::string& ruc, const std::string& periodo) {
    Base().Execute("DELETE * FROM DET WHERE DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841'", {ruc, periodo});
    for (int casilla : d.listaCasillas) {
        auto valor = d.txtValor.find(casilla);
        if (valor != d.txtValor.end())
            GrabaValorCasilla(NumeroCasilla(casilla), zv::text::Trim(valor->second), ruc, periodo);
    }
    const PropiedadesFormaDePago& pago = d.formaDePago;
    const std::string banco = zv::text::Trim(pago.codigoBanco) == "XX" ? "" : pago.codigoBanco;
    GrabaValorCasilla("002", ruc, ruc, periodo);
    GrabaValorCasilla("007", periodo, ruc, periodo);
    GrabaValorCasilla("012", zv::text::Trim(pago.numeroCheque), ruc, periodo);
    GrabaValorCasilla("015", banco, ruc, periodo);
    GrabaValorCasilla("028", d.txtTelefono, ruc, periodo);
    GrabaValorCasilla("721", "1.0", ruc, periodo);
    // The amount to pay is the payment control's, whatever box 598 shows.
    GrabaValorCasilla("598", pago.monto, ruc, periodo);
    GrabaValorCasilla("599", pago.formaPago, ruc, periodo);
}

// The state from this save's own payment check; false when the header is
// not there to take it.
bool FijaEstado(const std::string& ruc, const std::string& periodo, bool consistente) {
    auto rs = Base().OpenRecordset(
        "Select * from  cab WHERE DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841' AND SEMANA=0 AND TIP_DOC_D=6",
        dao::dbOpenDynaset, {ruc, periodo});
    if (rs->EOF_()) return false;
    rs->MoveFirst();
    rs->Edit();
    rs->SetField("estado", dao::Value(consistente ? 0 : 9));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 5)));
    rs->Update();
    rs->Close();
    return true;
}

std::string TextoDelError(const std::exception& e) {
    if (auto* error = dynamic_cast<const zv::Error*>(&e))
        return "Error : " + std::to_string(error->Number()) + " Descripción : " + error->Description();
    return std::string("Descripción : ") + e.what();
}

// The header, the boxes and the state together: a failure anywhere undoes
// the whole save, so the stored declaration is either the old one or the new.
Resultado GrabaRegistrada(DatosFrm841& d, const std::string& ruc, const std::string& periodo) {
    Resultado r;
    bool consistente = false;
    bool conEstado = false;
    try {
        Base().BeginTrans();
        GrabaCabecera(d, ruc, periodo);
        GrabaCasillas(d, ruc, periodo);
        consistente = ValidaTodo(d, "2").ok;
        conEstado = FijaEstado(ruc, periodo, consistente);
        Base().CommitTrans();
    } catch (const std::exception& e) {
        try {
            if (Base().InTransaction()) Base().Rollback();
        } catch (const std::exception&) {
        }
        zv::MsgBox("La declaración no fue grabada; la información registrada no ha cambiado.\n" + TextoDelError(e),
                   zv::Icon::Critical, zv::Buttons::Ok, d.caption);
        r.ok = false;
        return r;
    }
    if (d.operacion == 0) d.identificacionFija = true;
    if (conEstado) {
        zv::MsgBox(consistente ? "Toda la información del formulario fue grabada satisfactoriamente."
                               : "La información del formulario fue grabada con inconsistencias.\n"
                                 "En estas condiciones no podrá ser enviado a ORVAL.",
                   zv::Icon::Exclamation, zv::Buttons::Ok, d.caption);
    }
    d.modificado = false;
    return r;
}

Resultado NumeroOrdenRechazado(const DatosFrm841& d, const char* mensaje) {
    zv::MsgBox(mensaje, zv::Icon::Critical, zv::Buttons::Ok, d.caption);
    Resultado r;
    r.ok = false;
    r.foco = "TxtNumOrdenE_1";
    return r;
}

// True when the sent declaration was there to take the order number.
bool GrabaNorden(const std::string& ruc, const std::string& periodo, const std::string& orden) {
    auto rs = Base().OpenRecordset(
        "SELECT * FROM HCAB WHERE DOC_ID_D=? AND TIP_DOC_D=6 AND PERIODO=? AND FORMULARIO='0841' AND CORREL=?",
        dao::dbOpenDynaset, {ruc, periodo, Estado::G().gCorrel});
    if (rs->EOF_()) return false;
    rs->Edit();
    rs->SetField("norden", dao::Value(orden));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 6)));
    rs->Update();
    rs->Close();
    return true;
}

Resultado GrabaEnviada(DatosFrm841& d, const std::string& ruc, const std::string& periodo) {
    const std::string& orden = d.txtNumOrdenE[0];
    if (zv::text::Length(orden) != 8) return NumeroOrdenRechazado(d, "     El número de orden no es válido");
    if (!zvform::ValidaNumeroOrden(Estado::G().gCodControl, orden, d.txtNumOrdenE[1]))
        return NumeroOrdenRechazado(d, "     El digito verificador es incorrecto");
    Resultado r;
    bool encontrada = false;
    try {
        encontrada = GrabaNorden(ruc, periodo, orden);
    } catch (const std::exception& e) {
        zv::MsgBox("El número de orden no fue grabado.\n" + TextoDelError(e), zv::Icon::Critical, zv::Buttons::Ok,
                   d.caption);
        r.ok = false;
        return r;
    }
    if (!encontrada) {
        zv::MsgBox("No se encontró la declaración enviada; no se grabó el número de orden.", zv::Icon::Critical,
                   zv::Buttons::Ok, d.caption);
        r.ok = false;
        return r;
    }
    zv::MsgBox("Toda la información de la declaración fue grabada satisfactoriamente.", zv::Icon::Exclamation,
               zv::Buttons::Ok, d.caption);
    d.modificado = false;
    return r;
}

}  // namespace

bool GrabaValorCasilla(const std::string& casilla, const std::string& valor, const std::string& ruc,
                       const std::string& periodo) {
    // A box with nothing to keep has no row at all.
    const std::string guardado = ValorGuardado(casilla, valor);
    if (zv::text::Trim(guardado).empty()) return false;
    auto rs = Base().OpenRecordset(
        "SELECT * FROM DET WHERE DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841' AND CASILLA=?", dao::dbOpenDynaset,
        {zv::text::Trim(ruc), zv::text::Trim(periodo), casilla});
    if (rs->EOF_()) {
        rs->AddNew();
        zvform::AsignaLlaveDeclaracion(*rs, zv::text::Trim(ruc), zv::text::Trim(periodo));
        rs->SetField("Casilla", dao::Value(casilla));
    } else {
        rs->Edit();
    }
    rs->SetField("i_valor", dao::Value(guardado));
    rs->SetField("idcasilla", dao::Value("01"));
    rs->SetField("cNumero", dao::Value(zvform::SumaControlRegistro(*rs, 6)));
    rs->Update();
    rs->Close();
    return true;
}

Resultado GrabarForm(DatosFrm841& d) {
    RelojDeArena reloj;
    Resultado r;
    if (!zvform::Util().PuedeContinuar()) {
        r.ok = false;
        return r;
    }
    if (!d.esEnviada) {
        r = ValIdent(d, "1");
        if (!r.ok) return r;
    }
    const std::string ruc = RucDelFormulario(d);
    const std::string periodo = PeriodoDelFormulario(d);
    return d.esEnviada ? GrabaEnviada(d, ruc, periodo) : GrabaRegistrada(d, ruc, periodo);
}

}  // namespace zvdecl
