#include "formulario/declaration/lista_declaraciones.h"

#include "formulario/core/consultas.h"
#include "formulario/core/estado.h"
#include "platform/dao/dao.h"
#include "platform/textfile.h"

namespace zvform {

namespace {

const std::vector<ColumnaGrilla>& ColumnasComunes() {
    static const std::vector<ColumnaGrilla> columnas = {
        {"tip_doc_d", "tip_doc_d"}, {"Tipo docum.", "des_doc_d"}, {"RUC", "doc_id_d"},
        {"Razón Social", "nombre"}, {"Formulario", "formulario"},  {"Estado", "estado"},
        {"Entidad", ""},            {"SEMANA", "SEMANA"},           {"Periodo", "periodo"},
    };
    return columnas;
}

std::vector<ColumnaGrilla> Con(std::vector<ColumnaGrilla> mas) {
    std::vector<ColumnaGrilla> columnas = ColumnasComunes();
    columnas.insert(columnas.end(), mas.begin(), mas.end());
    return columnas;
}

std::string OrdenDeColumna(int columnaOrden) {
    switch (columnaOrden) {
        case kOrdenDeCarga: return "ORDER BY A.DOC_ID_D ASC";
        case 1: return " ORDER BY 1 ";
        case 2: return " ORDER BY A.doc_id_d ASC";
        case 3: return " ORDER BY B.NOMBRE ASC";
        default: return "";
    }
}

// The engine's error of the statement that failed last, for the message.
zv::Error UltimoError(const dao::Database& base) {
    if (base.Errors().empty()) return zv::Error(3000, "No se pudo eliminar la declaración.");
    const dao::EngineError& e = base.Errors().front();
    return zv::Error(e.number, e.description);
}

}  // namespace

const std::vector<ColumnaGrilla>& ColumnasLista(bool enviada) {
    static const std::vector<ColumnaGrilla> registradas =
        Con({{"FechaVenc", "nrocheque"}, {"fec_venc_renta", "efectivo"}});
    static const std::vector<ColumnaGrilla> enviadas = Con(
        {{"Nº de orden", "norden"}, {"Fecha de envío", "Fec_env"}, {"Control", "Control"}, {"Correlativo", "Correl"}});
    return enviada ? enviadas : registradas;
}

std::vector<dao::Value> ArmaSqlLista(bool enviada, int columnaOrden) {
    Estado& g = Estado::G();
    std::vector<dao::Value> params;
    g.gSQL = "SELECT a.tip_doc_d, ";
    g.gSQL += "(SELECT mid(funcion,31,12) FROM PARAM ";
    g.gSQL += "WHERE numero = '044' AND val(argumento) = a.tip_doc_d ) as des_doc_d, ";
    g.gSQL += "a.DOC_ID_D, B.NOMBRE, A.FORMULARIO,a.SEMANA, A.ESTADO, "
              "mid(A.PERIODO,5,2) & mid(A.PERIODO,1,4) as PERIODO, ";
    g.gSQL += enviada ? "a.correl, A.NORDEN, A.FEC_ENV, A.CONTROL FROM HCAB A, CONT B "
                      : "nrocheque, efectivo FROM CAB A, CONT B ";
    g.gSQL += "WHERE A.TIP_DOC_D = B.TIP_DOC_D ";
    g.gSQL += "AND A.DOC_ID_D = B.DOC_ID_D ";
    g.gSQL += "AND A.FORMULARIO ='0841' ";
    if (TipoUsuario() != "0") {
        g.gSQL += "AND B.USUARIO =? ";
        params.push_back(g.gUsuario);
    }
    g.gSQL += OrdenDeColumna(columnaOrden);
    return params;
}

std::vector<FilaGrilla> LeeLista(bool enviada, int columnaOrden) {
    std::vector<dao::Value> params = ArmaSqlLista(enviada, columnaOrden);
    return LeeFilas(Estado::G().gSQL, params, ColumnasLista(enviada));
}

std::string PeriodoDeLista(const std::string& mesAnio) {
    const std::size_t largo = mesAnio.size();
    return (largo < 4 ? mesAnio : mesAnio.substr(largo - 4)) + mesAnio.substr(0, 2);
}

void EliminaDeclaracion(int tipoDocumento, const std::string& numeroDocumento, const std::string& correlativo) {
    Estado& g = Estado::G();
    if (!g.gBase) throw zv::Error(91, "Variable de objeto o bloque With no establecido");
    dao::Database& base = *g.gBase;
    // Header, boxes, detail: the order the rows depend on one another.
    static const char* const kRegistradas[] = {"cab", "det", "F841DETDES"};
    static const char* const kEnviadas[] = {"hcab", "hdet", "HF841DETDES"};
    const char* const* tablas = g.gEsEnviada ? kEnviadas : kRegistradas;
    base.BeginTrans();
    try {
        for (int i = 0; i < 3; ++i)
            if (!EliminaDataTabla(tablas[i], tipoDocumento, numeroDocumento, 1, correlativo))
                throw UltimoError(base);
        base.CommitTrans();
    } catch (...) {
        if (base.InTransaction()) base.Rollback();
        throw;
    }
}

}  // namespace zvform
