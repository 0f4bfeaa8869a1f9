#include "formulario/import/detalle.h"

#include "platform/dao/conversion.h"

namespace zvimport {

const char* const TablaDetalle::kSqlCuenta =
    "SELECT COUNT(*) As nReg  FROM F841DETDES  WHERE doc_id_d = ? AND periodo = ? AND Num_RUCEmpl = ?"
    " AND Tip_Doctrab = ? AND Num_Doctrab = ? AND Mes_deveng = ?";

TablaDetalle::TablaDetalle(dao::Database& base) : base_(base), inserta_(base, "F841DETDES") {
    Prepara(kSqlCuenta, &cuenta_);
}

TablaDetalle::~TablaDetalle() { sqlite3_finalize(cuenta_); }

void TablaDetalle::Prepara(const std::string& sql, sqlite3_stmt** stmt) {
    if (sqlite3_prepare_v3(base_.Handle(), sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(*stmt);
        *stmt = nullptr;
        base_.Execute(sql);  // raises the layer's error for a statement that cannot be prepared
        throw dao::Error(dao::err::SyntaxError, sqlite3_errmsg(base_.Handle()));
    }
}

void TablaDetalle::Enlaza(sqlite3_stmt* stmt, const std::vector<dao::Value>& valores) {
    if (textos_.size() < valores.size()) textos_.resize(valores.size());
    for (std::size_t i = 0; i < valores.size(); ++i) {
        const dao::Value& v = valores[i];
        const int n = static_cast<int>(i + 1);
        switch (v.Type()) {
            case dao::DataType::Null: sqlite3_bind_null(stmt, n); break;
            case dao::DataType::Byte:
            case dao::DataType::Integer:
            case dao::DataType::Long: sqlite3_bind_int64(stmt, n, v.AsLong()); break;
            default: {
                // a text is bound where it is: `valores` outlives the step
                const std::string* texto = v.TextPointer();
                if (!texto) {
                    textos_[i] = v.Type() == dao::DataType::Date ? dao::conv::ToIso(v.AsDate()) : v.AsText();
                    texto = &textos_[i];
                }
                sqlite3_bind_text(stmt, n, texto->data(), static_cast<int>(texto->size()), SQLITE_STATIC);
            }
        }
    }
}

long TablaDetalle::Cuenta(const std::vector<dao::Value>& clave) {
    Enlaza(cuenta_, clave);
    int rc = sqlite3_step(cuenta_);
    long n = rc == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(cuenta_, 0)) : 0;
    sqlite3_reset(cuenta_);
    sqlite3_clear_bindings(cuenta_);  // the texts bound belong to the caller
    if (rc == SQLITE_ROW) return n;
    auto rs = base_.OpenRecordset(kSqlCuenta, dao::dbOpenSnapshot, clave);  // the layer's error
    return static_cast<long>(rs->Fields(0).AsLong());
}

void TablaDetalle::Inserta(const std::vector<dao::Value>& fila) { inserta_.Insert(fila); }

}  // namespace zvimport
