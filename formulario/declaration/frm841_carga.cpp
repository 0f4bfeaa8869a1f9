#include "formulario/declaration/frm841_carga.h"

#include <algorithm>

#include "formulario/core/consultas.h"
#include "formulario/core/estado.h"
#include "formulario/declaration/base_declaracion.h"
#include "formulario/declaration/casillas_formato.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvdecl {

namespace {

using zvform::Estado;

// Boxes of DET that the form does not show in a box of its own: the RUC,
// the period, the cheque number, the bank and the version.
bool CasillaSinCaja(int casilla) {
    return casilla == 2 || casilla == 7 || casilla == 12 || casilla == 15 || casilla == 721;
}

void LeeCasilla(CabeceraCargada& cab, int casilla, const dao::Value& valor) {
    if (CasillaSinCaja(casilla)) return;
    if (casilla == 28) {
        cab.telefono = valor.AsText();
    } else if (casilla == 599) {
        cab.formaPago = valor.AsText();
    } else if (std::find(kListaCasillas.begin(), kListaCasillas.end(), casilla) != kListaCasillas.end()) {
        cab.casillas[casilla] = NumeroComoTexto(valor.AsText());
    }
    // Any other box has no control on the form: it stays as stored.
}

void LeeCasillas(CabeceraCargada& cab, const std::string& ruc, const std::string& periodo) {
    const Estado& g = Estado::G();
    std::string sql = g.gEsEnviada ? "SELECT CASILLA, I_VALOR FROM HDET" : "SELECT CASILLA, I_VALOR FROM DET";
    sql += " WHERE DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841' ";
    std::vector<dao::Value> params{ruc, periodo};
    if (g.gEsEnviada) {
        sql += " AND Correl=? ";
        params.emplace_back(g.gCorrel);
    }
    sql += " ORDER BY CASILLA ";
    auto rs = Base().OpenRecordset(sql, dao::dbOpenSnapshot, params);
    for (; !rs->EOF_(); rs->MoveNext())
        LeeCasilla(cab, static_cast<int>(zv::Val(rs->Fields("CASILLA").AsText())), rs->Fields("I_VALOR"));
    rs->Close();
}

std::string Recortado(const dao::Value& v) { return zv::text::Trim(v.AsText()); }

void LeePago(CabeceraCargada& cab, const std::string& ruc, const std::string& periodo) {
    auto rs = Base().OpenRecordset(
        "SELECT * FROM CAB WHERE DOC_ID_D=? AND TIP_DOC_D=6 AND PERIODO=? AND SEMANA=0 AND FORMULARIO='0841'",
        dao::dbOpenSnapshot, {ruc, periodo});
    if (!rs->EOF_()) {
        cab.hayCab = true;
        cab.conCheque = !Recortado(rs->Fields("NroCheque")).empty() || !Recortado(rs->Fields("cheque")).empty();
        cab.codigoBanco = Recortado(rs->Fields("bcolibrad"));
        cab.numeroCheque = Recortado(rs->Fields("NroCheque"));
    }
    rs->Close();
}

}  // namespace

std::vector<std::string> CargaDeclarantes() {
    Estado& g = Estado::G();
    const zvform::Sentencia s = zvform::SqlDeclarantes("0841");
    g.gSQL = s.sql;
    auto rs = Base().OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
    std::vector<std::string> items;
    for (; !rs->EOF_(); rs->MoveNext()) {
        const std::string documento = rs->Fields("Doc_id_d").AsText();
        items.push_back(zv::text::Trim(zv::text::Left(documento, 11)) + std::string(7, ' ') +
                        rs->Fields("nombre").AsText() + std::string(10, ' '));
        g.gRuc = documento;
    }
    rs->Close();
    return items;
}

bool DeclaracionRegistrada(const std::string& ruc, const std::string& periodo) {
    auto rs = Base().OpenRecordset(
        "SELECT * FROM CAB WHERE TIP_DOC_D=6 AND DOC_ID_D=? AND PERIODO=? AND FORMULARIO='0841'",
        dao::dbOpenSnapshot, {ruc, periodo});
    const bool existe = !rs->EOF_();
    rs->Close();
    return existe;
}

// Read as saving reads a box, so that a value shown and saved again comes
// back as it was; nothing stored (blank, Null) is an empty box, as a box
// without a row is.
std::string NumeroComoTexto(const std::string& valor) {
    if (zv::text::Trim(valor).empty()) return "";
    return zv::NumberText(SinFormato(valor));
}

CabeceraCargada CargarCab(const std::string& ruc, const std::string& periodo) {
    CabeceraCargada cab;
    LeeCasillas(cab, ruc, periodo);
    // The payment data always come from CAB, for a sent declaration too.
    LeePago(cab, ruc, periodo);
    return cab;
}

void AplicaPagoCargado(const CabeceraCargada& cab, PropiedadesFormaDePago& pago) {
    pago.formaPago = "X";
    if (cab.formaPago) pago.formaPago = *cab.formaPago;
    if (!cab.hayCab) return;
    if (cab.conCheque) pago.formaPago = "C";
    pago.codigoBanco = cab.codigoBanco;
    pago.numeroCheque = cab.numeroCheque;
}

std::optional<std::string> NumeroOrdenEnviada(const std::string& ruc, const std::string& periodo) {
    auto rs = Base().OpenRecordset(
        "SELECT * FROM HCAB WHERE DOC_ID_D=? AND TIP_DOC_D=6 AND PERIODO=? AND FORMULARIO='0841' AND CORREL=?",
        dao::dbOpenSnapshot, {ruc, periodo, Estado::G().gCorrel});
    std::optional<std::string> norden;
    if (!rs->EOF_()) norden = rs->Fields("norden").IsNull() ? std::string("0") : rs->Fields("norden").AsText();
    rs->Close();
    return norden;
}

std::vector<std::pair<std::string, std::string>> BancosDePago() {
    auto rs = Base().OpenRecordset(
        "SELECT MID(ARGUMENTO,1,2) as codigo, mid(FUNCION,1,36) as descrip FROM PARAM "
        "WHERE NUMERO='004' AND TRIM(ARGUMENTO)<> '00' order by 1",
        dao::dbOpenSnapshot);
    std::vector<std::pair<std::string, std::string>> bancos;
    for (; !rs->EOF_(); rs->MoveNext())
        bancos.emplace_back(rs->Fields("codigo").AsText(), zv::text::Trim(rs->Fields("descrip").AsText()));
    rs->Close();
    return bancos;
}

}  // namespace zvdecl
