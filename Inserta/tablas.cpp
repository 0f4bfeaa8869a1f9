#include "Inserta/tablas.h"

#include <vector>

#include "Inserta/ejecuta_sql.h"
#include "platform/textfile.h"

namespace zvsetup {

namespace {

struct Columna {
    const char* nombre;
    const char* tipo;  // Jet type words, translated by the database layer
};

// Column order matters: the record digest is computed by position.
const std::vector<Columna>& ColumnasDetalle() {
    static const std::vector<Columna> columnas = {
        {"tip_doc_d", "Byte"},        {"doc_id_d", "text(15)"},      {"periodo", "Text(6)"},
        {"formulario", "Text(4)"},    {"Num_RUCEmpl", "Text(11)"},   {"Tip_Doctrab", "Text(2)"},
        {"Num_Doctrab", "Text(15)"},  {"Fec_NacTrab", "DATE"},       {"Nom_ApePat", "Text(40)"},
        {"Nom_ApeMat", "Text(40)"},   {"Nom_Nombre", "Text(40)"},    {"Ind_Sexo", "Text(1)"},
        {"Cod_CUSPP", "Text(12)"},    {"Fec_Afiliac", "DATE"},       {"Fec_SolDesaf", "DATE"},
        {"Cod_MotDesaf", "Text (2)"}, {"Num_ResDesaf", "Text (10)"}, {"Ind_CondPago", "Text (1)"},
        {"Mes_deveng", "Text(6)"},    {"Mto_Remun", "Text(15)"},     {"Mto_AporteO", "Text(15)"},
        {"Mto_AporteV", "Text(15)"},  {"Mto_Rentabi", "Text(15)"},   {"cnumero", "Text(6)"},
    };
    return columnas;
}

// The sent copy: Correl right after formulario, and the accrual month
// spelled Mes_Deveng.
std::vector<Columna> ColumnasDetalleEnviado() {
    std::vector<Columna> columnas;
    for (const auto& c : ColumnasDetalle()) {
        columnas.push_back(std::string_view(c.nombre) == "Mes_deveng" ? Columna{"Mes_Deveng", c.tipo} : c);
        if (std::string_view(c.nombre) == "formulario") columnas.push_back({"Correl", "Text (3)"});
    }
    return columnas;
}

// The key goes inside the creating statement: SQLite cannot add a primary
// key to a table afterwards.
std::string SentenciaCrea(std::string_view tabla, const std::vector<Columna>& columnas, std::string_view clave,
                          std::string_view columnasClave) {
    std::string sql = "CREATE TABLE " + std::string(tabla) + " (";
    for (const auto& c : columnas) sql += "[" + std::string(c.nombre) + "] " + c.tipo + ", ";
    sql += "CONSTRAINT " + std::string(clave) + " PRIMARY KEY (" + std::string(columnasClave) + "))";
    return sql;
}

}  // namespace

std::string SentenciaCreaF841DETDES() {
    return SentenciaCrea("F841DETDES", ColumnasDetalle(), "PK_F841DETDES",
                         "[doc_id_d], [Periodo], [Num_RUCEmpl], [Tip_Doctrab], [Num_Doctrab], [Mes_deveng]");
}

std::string SentenciaCreaHF841DETDES() {
    return SentenciaCrea("HF841DETDES", ColumnasDetalleEnviado(), "PK_HF841DETDES",
                         "[doc_id_d], [Periodo], [Correl], [Num_RUCEmpl], [Tip_Doctrab], [Num_Doctrab], [Mes_deveng]");
}

void CreaTablas(Sesion& s) {
    if (!ExisteTabla(s, "F841DETDES")) EjecutaSQL(s, SentenciaCreaF841DETDES());
    if (!ExisteTabla(s, "HF841DETDES")) EjecutaSQL(s, SentenciaCreaHF841DETDES());
}

bool ExisteTabla(Sesion& s, std::string_view nombre) {
    for (const auto& tabla : s.base->TableDefs()) {
        if (zv::text::UpperCase(tabla.Name()) == nombre) return true;
    }
    return false;
}

void PermiteLongitudCero(Sesion& s, std::string_view tabla) {
    const std::string nombre = zv::text::UpperCase(tabla);
    if (nombre != "F841DETDES" && nombre != "HF841DETDES") return;
    std::optional<dao::TableDef> def;
    try {
        def = s.base->FindTableDef(nombre);
    } catch (const zv::Error&) {
        return;
    }
    if (!def) return;
    for (const char* campo : {"Nom_ApePat", "Nom_ApeMat"}) {
        try {
            def->SetAllowZeroLength(campo, true);
        } catch (const zv::Error&) {
            // A missing field simply leaves this setting undone.
        }
    }
}

}  // namespace zvsetup
