#include "formulario/import/detalle.h"

#include "platform/dao/collation.h"
#include "platform/dao/conversion.h"

namespace zvimport {

const char* const TablaDetalle::kSqlCuenta =
    "SELECT COUNT(*) As nReg  FROM F841DETDES  WHERE doc_id_d = ? AND periodo = ? AND Num_RUCEmpl = ?"
    " AND Tip_Doctrab = ? AND Num_Doctrab = ? AND Mes_deveng = ?";

const char* const TablaDetalle::kSqlDeclaracion =
    "SELECT COUNT(*) FROM F841DETDES WHERE doc_id_d = ? AND periodo = ?";

namespace {

// The key's columns in the order of kSqlCuenta's values.
constexpr const char* kColumnasClave[] = {"doc_id_d", "periodo", "Num_RUCEmpl", "Tip_Doctrab", "Num_Doctrab",
                                          "Mes_deveng"};

}  // namespace

TablaDetalle::TablaDetalle(dao::Database& base) : base_(base), inserta_(base, "F841DETDES") {
    Prepara(kSqlCuenta, &cuenta_);
    Prepara(kSqlDeclaracion, &declaracion_);
    const auto& columnas = inserta_.Columns();
    for (int k = 0; k < kCamposClave; ++k) {
        columnaClave_[k] = -1;
        for (std::size_t c = 0; c < columnas.size(); ++c)
            if (dao::conv::EqualsIgnoringCase(columnas[c].Name(), kColumnasClave[k])) columnaClave_[k] = static_cast<int>(c);
    }
}

TablaDetalle::~TablaDetalle() {
    sqlite3_finalize(cuenta_);
    sqlite3_finalize(declaracion_);
}

// A hash of the key's six texts as the key's comparison sees them (keys the
// table holds equal hash alike); false when one of them is not text.
template <class Valor>
bool TablaDetalle::Huella(const Valor& valorDe, std::uint64_t& huella) {
    thread_local std::string plegada;
    plegada.clear();
    for (int k = 0; k < kCamposClave; ++k) {
        const std::string* texto = valorDe(k).TextPointer();
        if (!texto) return false;
        dao::AppendFolded(*texto, plegada);
        plegada += '\0';  // keys that run together only hash alike: the table then answers
    }
    huella = std::hash<std::string>{}(plegada);
    return true;
}

// Whether the table held no row of this declarant and period at the first
// lookup of the transaction: then, inside it, only the rows written here can
// hold the key. Outside a transaction, or once anything else changed a row
// on the connection, every lookup asks the table.
bool TablaDetalle::SoloEscritas(const std::vector<dao::Value>& clave) {
    sqlite3* db = base_.Handle();
    if (sqlite3_get_autocommit(db)) {
        revisada_ = soloEscritas_ = false;
        escritas_.clear();
        return false;
    }
    if (!revisada_) {
        revisada_ = true;
        soloEscritas_ = EmpiezaSinFilas(clave);
        cambios_ = sqlite3_total_changes64(db);
    }
    if (!soloEscritas_) return false;
    if (sqlite3_total_changes64(db) != cambios_) {
        soloEscritas_ = false;
        escritas_.clear();
        return false;
    }
    const std::string* docId = clave[0].TextPointer();
    const std::string* periodo = clave[1].TextPointer();
    return docId && periodo && *docId == docId_ && *periodo == periodo_;
}

bool TablaDetalle::EmpiezaSinFilas(const std::vector<dao::Value>& clave) {
    for (int c : columnaClave_)
        if (c < 0) return false;
    const std::string* docId = clave[0].TextPointer();
    const std::string* periodo = clave[1].TextPointer();
    if (!docId || !periodo) return false;
    sqlite3_bind_text(declaracion_, 1, docId->data(), static_cast<int>(docId->size()), SQLITE_STATIC);
    sqlite3_bind_text(declaracion_, 2, periodo->data(), static_cast<int>(periodo->size()), SQLITE_STATIC);
    const bool vacia = sqlite3_step(declaracion_) == SQLITE_ROW && sqlite3_column_int64(declaracion_, 0) == 0;
    sqlite3_reset(declaracion_);
    sqlite3_clear_bindings(declaracion_);
    if (!vacia) return false;
    docId_ = *docId;
    periodo_ = *periodo;
    return true;
}

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
    if (clave.size() == kCamposClave && SoloEscritas(clave)) {
        std::uint64_t huella = 0;
        if (Huella([&](int k) -> const dao::Value& { return clave[k]; }, huella) && !escritas_.contains(huella))
            return 0;
    }
    Enlaza(cuenta_, clave);
    int rc = sqlite3_step(cuenta_);
    long n = rc == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(cuenta_, 0)) : 0;
    sqlite3_reset(cuenta_);
    sqlite3_clear_bindings(cuenta_);  // the texts bound belong to the caller
    if (rc == SQLITE_ROW) return n;
    auto rs = base_.OpenRecordset(kSqlCuenta, dao::dbOpenSnapshot, clave);  // the layer's error
    return static_cast<long>(rs->Fields(0).AsLong());
}

void TablaDetalle::Inserta(const std::vector<dao::Value>& fila) {
    inserta_.Insert(fila);
    if (!soloEscritas_) return;
    std::uint64_t huella = 0;
    if (fila.size() == inserta_.Columns().size() &&
        Huella([&](int k) -> const dao::Value& { return fila[columnaClave_[k]]; }, huella)) {
        escritas_.insert(huella);
        cambios_ = sqlite3_total_changes64(base_.Handle());
    } else {
        soloEscritas_ = false;  // a key this lookup cannot tell: the table answers from now on
        escritas_.clear();
    }
}

}  // namespace zvimport
