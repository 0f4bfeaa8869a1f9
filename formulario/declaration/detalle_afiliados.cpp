#include "formulario/declaration/detalle_afiliados.h"

#include <cstdio>

#include "formulario/core/estado.h"
#include "formulario/declaration/base_declaracion.h"
#include "platform/dao/dao.h"
#include "platform/msgbox.h"
#include "platform/textfile.h"
#include "shared/formato.h"

namespace zvdecl {

using zvform::Estado;

const std::array<ColumnaGrilla, kColumnasGrilla> kColumnasDetalle = {{
    {"RUC del empleador", "Num_RUCEmpl"},
    {"Tipo de documento de id. del afiliado", "sTip_doc"},
    {"Número de documento de identidad del afiliado", "Num_DocTrab"},
    {"Fecha de nacimiento del afiliado", "Fec_NacTrab"},
    {"Apellido paterno del afiliado", "Nom_ApePat"},
    {"Apellido materno del afiliado", "Nom_ApeMat"},
    {"Nombres del afiliado", "Nom_Nombre"},
    {"Sexo del afiliado", "Ind_Sexo"},
    {"CUSPP", "Cod_CUSPP"},
    {"Fecha de afiliación al SPP", "Fec_Afiliac"},
    {"Fecha de solicitud de desafiliación", "Fec_SolDesaf"},
    {"Motivo de desafiliación", "Cod_MotDesaf"},
    {"Número de Resolución de desafiliación emitida por la SBS", "Num_ResDesaf"},
    {"Condición del aporte", "Ind_CondPago"},
    {"Mes de devengue ( periodo de aportación a la AFP )", "Mes_Deveng"},
    {"Remuneración asegurable ( Imponible )", "Mto_Remun"},
    {"Aportes obligatorios al SPP", "Mto_AporteO"},
    {"Aportes voluntarios con fin previsional", "Mto_AporteV"},
    {"Rentabilidad e intereses", "Mto_Rentabi"},
    {"Tipo de documento de id. del afiliado", "Tip_DocTrab"},
}};

namespace {

constexpr int kColumnaSexo = 7;
constexpr int kColumnaCondicion = 13;
constexpr const char* kMonto = "###,###,###,##0.00";
constexpr const char* kMontoNegativo = "(###,###,###,##0.00)";

std::string Monto(const std::string& texto, bool parentesis) {
    const double v = zv::Val(texto);
    if (parentesis && v < 0) return zv::Format(-v, kMontoNegativo);
    return zv::Format(v, kMonto);
}

std::string Fecha(const dao::Value& v) {
    const dao::Date d = v.AsDate();
    char texto[16];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", d.day, d.month, d.year);
    return texto;
}

// The key conditions of the detail of the declaration in work, with their
// values: every query of the grid and of its count uses them.
std::string Condiciones(std::vector<dao::Value>& params) {
    const Estado& g = Estado::G();
    std::string sql = " WHERE tip_doc_d =6  AND doc_id_d=?  AND periodo =?  AND formulario ='0841' ";
    params = {g.gRuc, g.gPeriodo};
    if (g.gEsEnviada) {
        sql += " AND correl =? ";
        params.emplace_back(g.gCorrel);
    }
    return sql;
}

}  // namespace

std::string TextoCelda(int columna, const dao::Value& valor) {
    if (valor.IsNull()) return "";
    if (valor.Type() == dao::DataType::Date) return Fecha(valor);
    const std::string texto = valor.AsText();
    if (columna >= 15 && columna <= 18) return Monto(texto, columna == 18);
    if (columna == kColumnaSexo) return texto == "1" ? "MASCULINO" : texto == "2" ? "FEMENINO" : texto;
    if (columna == kColumnaCondicion) return texto == "1" ? "DEPENDIENTE" : texto == "2" ? "INDEPENDIENTE" : texto;
    return texto;
}

std::vector<FilaAfiliado> Get_Desafiliados() {
    Estado& g = Estado::G();
    std::vector<dao::Value> params;
    // The short name of the document type lies at positions 31-42 of Funcion.
    g.gSQL = std::string(" SELECT *, (SELECT rtrim(mid(funcion, 31, 12)) From param Where param.Numero = '044' "
                         "and param.argumento = val(Tip_Doctrab) ) as sTip_doc ") +
             (g.gEsEnviada ? " FROM HF841DETDES " : " FROM F841DETDES ") + Condiciones(params);
    auto rs = Base().OpenRecordset(g.gSQL, dao::dbOpenSnapshot, params);
    std::vector<FilaAfiliado> filas;
    for (; !rs->EOF_(); rs->MoveNext()) {
        FilaAfiliado& fila = filas.emplace_back();
        for (int c = 0; c < kColumnasGrilla; ++c) fila[c] = TextoCelda(c, rs->Fields(kColumnasDetalle[c].campo));
    }
    rs->Close();
    return filas;
}

long Cuenta_Registros(const std::string& sTabla) {
    try {
        std::vector<dao::Value> params;
        const std::string tabla = Estado::G().gEsEnviada ? "H" + sTabla : sTabla;
        auto rs = Base().OpenRecordset("Select count(*) As nReg FROM " + tabla + Condiciones(params),
                                       dao::dbOpenSnapshot, params);
        const long n = static_cast<long>(rs->Fields("nReg").AsLong());
        rs->Close();
        return n > 0 ? n : 0;
    } catch (const zv::Error& e) {
        zv::MsgBox("Error : " + std::to_string(e.Number()) + " Descripción : " + e.Description() + " ",
                   zv::Icon::Information, zv::Buttons::Ok, "Error");
        return 0;
    }
}

std::string Cuenta_Afiliados() {
    const long n = Cuenta_Registros("F841DETDES");
    return n != 0 ? "Cantidad de registros: " + std::to_string(n) : "";
}

}  // namespace zvdecl
