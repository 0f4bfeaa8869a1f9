// What the summary reads of the declaration: key, payment form, boxes, name.
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/banco.h"
#include "summary/resumen.h"

namespace zvreport {

using zv::text::Mid;

void CortaParametro(Estado& e, const std::string& parametro) {
    e.gDocumento = Mid(parametro, 3, 15);
    e.gFormulario = Mid(parametro, 18, 4);
    e.gPeriodo = Mid(parametro, 22, 6);
    e.gIndicador = Mid(parametro, 28, 1);
    e.gCodigoNC = Mid(parametro, 29, 8);
    e.gNombreReporte = e.gFormulario + e.gPeriodo + e.gIndicador + e.gCodigoNC;
}

void LeeFormaPago(Estado& e) {
    auto rs = e.gBase->OpenRecordset(
        "SELECT * FROM CAB WHERE DOC_ID_D=? AND TIP_DOC_D=6 AND PERIODO=? AND FORMULARIO=?",
        dao::dbOpenSnapshot, {e.gDocumento, e.gPeriodo, e.gFormulario});
    if (rs->EOF_()) return;
    e.gNroCheque = zv::text::Trim(rs->Fields("nrocheque").AsText());
    if (e.gNroCheque.empty()) {
        e.gPagoEfectivo = true;
        return;
    }
    e.gPagoEfectivo = false;
    const dao::Value& banco = rs->Fields("bcolibrad");
    if (banco.IsNull()) throw zv::Error(94, "Uso no válido de Null");
    e.gNombreBanco = zv::DescripcionBanco(*e.gBase, banco.AsText());
}

void LeeCasillas(Estado& e) {
    auto rs = e.gBase->OpenRecordset(
        "SELECT CASILLA, I_VALOR FROM DET WHERE DOC_ID_D=? AND PERIODO=? AND FORMULARIO=?", dao::dbOpenSnapshot,
        {e.gDocumento, e.gPeriodo, e.gFormulario});
    for (; !rs->EOF_(); rs->MoveNext()) {
        long casilla = rs->Fields("CASILLA").AsLong();
        if (casilla == 721 || casilla == 722) continue;
        std::string valor = rs->Fields("I_VALOR").AsText();
        if (casilla >= 861 && casilla <= 999) e.gCasillasAltas[static_cast<std::size_t>(casilla)] = valor;
        else if (casilla >= 1 && casilla <= 600) e.gCasillas[static_cast<std::size_t>(casilla)] = valor;
        else throw zv::Error(9, "El subíndice está fuera del intervalo (casilla " + std::to_string(casilla) + ")");
    }
}

void LeeDeclarante(Estado& e) {
    auto rs = e.gBase->OpenRecordset("Select nombre from cont where doc_id_d= ? and tip_doc_d=6",
                                     dao::dbOpenSnapshot, {e.gDocumento});
    if (rs->EOF_()) {
        zv::MsgBox("No existe data para Generar Reporte de Envio!!!\r\n\n", zv::Icon::Critical, zv::Buttons::Ok,
                   "Error");
        throw FinConMensaje{};
    }
    e.gRazonSocial = rs->Fields("Nombre").AsText();
}

}  // namespace zvreport
