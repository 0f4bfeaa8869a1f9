// The print dialog's list of declarations, the loading of the chosen one and
// the writing of its report.
#include "formulario/reports/imprimir.h"

#include <cstdio>

#include "formulario/core/estado.h"
#include "formulario/reports/reporte.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"
#include "shared/formato.h"
#include "shared/spool.h"

namespace zvform {

namespace {

constexpr const char* kFormulario = "0841";
// Box numbers the list keeps; 721 (the version text) and 722 are not the
// declaration's own values and never reach the reports.
constexpr int kCasillaMinima = 1;
constexpr int kCasillaMaxima = 899;

dao::Database& Base() {
    auto& base = Estado::G().gBase;
    if (!base) throw zv::Error(91, "Variable de objeto o bloque With no establecido");
    return *base;
}

// "dd/mm/yyyy" of a stored date; other values as their text.
std::string TextoFecha(const dao::Value& v) {
    if (v.Type() != dao::DataType::Date) return v.AsText();
    const dao::Date d = v.AsDate();
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", d.day % 100, d.month % 100, d.year % 10000);
    return texto;
}

DeclaracionImpresion FilaDe(const dao::Recordset& rs, bool enviada) {
    DeclaracionImpresion f;
    f.tip_doc_d = rs.Fields("TIP_DOC_D").AsText();
    f.tipo_doc = rs.Fields("tipo_doc").AsText();
    f.doc_id_d = rs.Fields("DOC_ID_D").AsText();
    f.nombre = rs.Fields("NOMBRE").AsText();
    f.formulario = rs.Fields("FORMULARIO").AsText();
    f.semana = rs.Fields("semana").AsText();
    f.periodo = rs.Fields("PERIODO").AsText();
    if (enviada) {
        f.correl = rs.Fields("CORREL").AsText();
        f.fec_env = TextoFecha(rs.Fields("fec_env"));
    }
    return f;
}

// The conditions that pick one declaration out of DET/CAB or HDET/HCAB.
Sentencia DeLaDeclaracion(std::string sql, const DeclaracionImpresion& fila) {
    const Estado& e = Estado::G();
    Sentencia s{std::move(sql), {}};
    s.sql += " WHERE TIP_DOC_D=? AND DOC_ID_D=? AND periodo =? AND FORMULARIO='0841'";
    s.params = {dao::Value(static_cast<long>(zv::Val(fila.tip_doc_d))), fila.doc_id_d, e.gPeriodo};
    if (e.gEsEnviada) {
        s.sql += " AND CORREL=?";
        s.params.emplace_back(e.gCorrel);
    }
    return s;
}

void CargaValores(const DeclaracionImpresion& fila) {
    const Estado& e = Estado::G();
    Sentencia s =
        DeLaDeclaracion(e.gEsEnviada ? "SELECT CASILLA, I_VALOR FROM HDET " : "SELECT CASILLA, I_VALOR FROM DET ", fila);
    auto rs = Base().OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
    for (; !rs->EOF_(); rs->MoveNext()) {
        const double casilla = zv::Val(rs->Fields("Casilla").AsText());
        if (casilla == 721 || casilla == 722) continue;
        if (casilla < kCasillaMinima || casilla > kCasillaMaxima) continue;  // no element for it
        Estado::G().gValoresCasilla[static_cast<std::size_t>(casilla)] = rs->Fields("i_valor").AsText();
    }
    rs->Close();
}

void CargaPago(const DeclaracionImpresion& fila) {
    Estado& e = Estado::G();
    // Emptied first: a declaration without a header row must not print the
    // payment data of the one printed before it.
    e.gBancoPago.clear();
    e.gNroCheque.clear();
    e.gEfectivo.clear();
    Sentencia s = DeLaDeclaracion(e.gEsEnviada ? "SELECT * FROM HCAB " : "SELECT * FROM CAB ", fila);
    auto rs = Base().OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
    if (!rs->EOF_()) {
        e.gBancoPago = rs->Fields("bcolibrad").AsText();
        e.gNroCheque = rs->Fields("NroCheque").AsText();
        e.gEfectivo = rs->Fields("efectivo").AsText();
    }
    rs->Close();
}

}  // namespace

const std::string& DeclaracionImpresion::Columna(int indice) const {
    static const std::string kVacia;
    switch (indice) {
        case 0: return tip_doc_d;
        case 1: return tipo_doc;
        case 2: return doc_id_d;
        case 3: return nombre;
        case 4: return formulario;
        case 5: return entidad;
        case 6: return semana;
        case 7: return periodo;
        case 8: return correl;
        case 9: return fec_env;
        default: return kVacia;
    }
}

Sentencia SqlDeclaracionesImpresion() {
    Estado& e = Estado::G();
    Sentencia s;
    s.sql = "SELECT A.TIP_DOC_D, A.DOC_ID_D, B.NOMBRE, A.FORMULARIO, mid(C.funcion,31,12) as tipo_doc, "
            " semana, mid(A.PERIODO,5,2) || mid(A.PERIODO,1,4) as PERIODO";
    if (e.gEsEnviada) s.sql += ", CORREL, fec_env";
    s.sql += e.gEsEnviada ? " FROM HCAB AS A, CONT AS B, PARAM AS C " : " FROM CAB AS A, CONT AS B, PARAM AS C ";
    s.sql += " WHERE A.DOC_ID_D=B.DOC_ID_D AND A.TIP_DOC_D=B.TIP_DOC_D AND A.FORMULARIO='" + std::string(kFormulario) +
             "' AND";
    if (TipoUsuario() != "0") {
        s.sql += " B.USUARIO=? AND ";
        s.params.emplace_back(e.gUsuario);
    }
    s.sql += " C.NUMERO='044' AND val(C.ARGUMENTO)=A.TIP_DOC_D  ORDER BY A.TIP_DOC_D ASC, A.DOC_ID_D ASC ";
    e.gSQL = s.sql;
    return s;
}

std::vector<DeclaracionImpresion> LeeDeclaracionesImpresion() {
    const Sentencia s = SqlDeclaracionesImpresion();
    const bool enviada = Estado::G().gEsEnviada;
    std::vector<DeclaracionImpresion> filas;
    auto rs = Base().OpenRecordset(s.sql, dao::dbOpenSnapshot, s.params);
    for (; !rs->EOF_(); rs->MoveNext()) filas.push_back(FilaDe(*rs, enviada));
    rs->Close();
    return filas;
}

std::string PeriodoMostrado(const std::string& mmyyyy) { return zv::FormatText(mmyyyy, "0#/####"); }

void BorraArray() {
    for (std::string& valor : Estado::G().gValoresCasilla) valor.clear();
}

void CargarCasillas(const DeclaracionImpresion& fila) {
    BorraArray();
    CargaValores(fila);
    CargaPago(fila);
}

void SeleccionaDeclaracion(const DeclaracionImpresion& fila) {
    Estado& e = Estado::G();
    // MMYYYY back to YYYYMM.
    e.gPeriodo = zv::text::Right(fila.periodo, 4) + zv::text::Left(fila.periodo, 2);
    e.gRuc = fila.doc_id_d;
    e.gRazonSocial = fila.nombre;
    e.gCorrel = fila.correl;
}

CorridaImpresion EscribeReporteImpresion(const DeclaracionImpresion& fila, OpcionImpresion opcion) {
    Estado& e = Estado::G();
    e.gTipoReporte = 2;
    SeleccionaDeclaracion(fila);
    CargarCasillas(fila);
    e.gSalida = "ARCHIVO";
    CorridaImpresion corrida;
    corrida.archivo = zv::spool::GeneraArchivoSpool(Base(), CodigoReporte(opcion), fila.doc_id_d, e.gUsuario, 6);
    e.gRutaArchivo = e.gRutaRpt + corrida.archivo;
    corrida.escrito = ImprimeReporte("", "", opcion);
    e.gTotalPaginas = PaginasDelReporte();
    corrida.paginas = e.gTotalPaginas;
    return corrida;
}

}  // namespace zvform
