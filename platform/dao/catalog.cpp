// The column catalog: engine types, text sizes and the zero-length rule of
// each column, kept in MSysColumnas, and the triggers that enforce the sizes,
// the zero-length rule and non-null keys on every write, plain SQL included.
#include "platform/dao/column_rules.h"
#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"

namespace dao {

const char* const kCreateCatalogColumns =
    "CREATE TABLE IF NOT EXISTS MSysColumnas (Tabla TEXT COLLATE NOCASE, Columna TEXT COLLATE NOCASE, "
    "Tipo INTEGER, Tamano INTEGER, PermiteVacio INTEGER, PRIMARY KEY (Tabla, Columna))";
const char* const kCreateCatalogKeys =
    "CREATE TABLE IF NOT EXISTS MSysClaves (Tabla TEXT COLLATE NOCASE PRIMARY KEY, Indice TEXT)";

namespace {

std::string SqlLiteral(std::string_view s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'') out += '\'';
        out += c;
    }
    return out + "'";
}

// A text the catalog cannot do without (a table's or column's name); nullptr
// when it is Null, which only a damaged database holds.
const char* NameAt(sqlite3_stmt* stmt, int column) {
    return reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
}

}  // namespace

void Database::Impl::ThrowDamaged() { Throw(err::UnrecognizedFormat, errtext::For(err::UnrecognizedFormat, path)); }

bool Database::Impl::TableExists(std::string_view table, std::string* actualName) {
    Value name = Scalar("SELECT name FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE",
                        {std::string(table)});
    if (name.IsNull()) return false;
    if (actualName) *actualName = name.AsText();
    return true;
}

std::string Database::Impl::ExistingTable(std::string_view table) {
    std::string actual;
    if (!TableExists(table, &actual)) Throw(err::ObjectNotFound, errtext::For(err::ObjectNotFound, table));
    return actual;
}

bool Database::Impl::HasCatalog() {
    return !Scalar("SELECT 1 FROM sqlite_master WHERE name = 'MSysClaves'").IsNull();
}

void Database::Impl::EnsureCatalog() {
    if (HasCatalog()) return;
    Run(kCreateCatalogColumns, {}, false);
    Run(kCreateCatalogKeys, {}, false);
}

// The catalog counts as read only once all of it was: a failure leaves it
// to be read again at the next use.
void Database::Impl::RefreshCatalog() {
    int version = static_cast<int>(Scalar("PRAGMA schema_version").AsLong());
    if (version == catalogSchemaVersion) return;
    catalog.clear();
    catalogSchemaVersion = -1;
    if (Scalar("SELECT 1 FROM sqlite_master WHERE name = 'MSysColumnas'").IsNull()) {
        catalogSchemaVersion = version;
        return;
    }
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT Tabla, Columna, Tipo, Tamano, PermiteVacio FROM MSysColumnas";
    int rc = cache->Acquire(sql, &stmt);
    if (rc != SQLITE_OK) Fail(rc);
    bool damaged = false;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        const char* table = NameAt(stmt, 0);
        const char* column = NameAt(stmt, 1);
        if (!table || !column) {
            damaged = true;
            break;
        }
        ColumnMeta m;
        m.type = static_cast<DataType>(sqlite3_column_int(stmt, 2));
        m.size = sqlite3_column_int(stmt, 3);
        m.allowZeroLength = sqlite3_column_int(stmt, 4) != 0;
        catalog[conv::Lower(table)][conv::Lower(column)] = m;
    }
    cache->Release(sql, stmt);
    if (damaged || rc != SQLITE_DONE) catalog.clear();
    if (damaged) ThrowDamaged();
    if (rc != SQLITE_DONE) Fail(rc);
    catalogSchemaVersion = version;
}

const ColumnMeta* Database::Impl::FindColumnMeta(std::string_view table, std::string_view column) {
    auto t = catalog.find(conv::Lower(table));
    if (t == catalog.end()) return nullptr;
    auto c = t->second.find(conv::Lower(column));
    return c == t->second.end() ? nullptr : &c->second;
}

void Database::Impl::RecordColumns(const std::string& table, const std::vector<jetsql::ColumnSpec>& columns) {
    EnsureCatalog();
    for (const auto& c : columns) {
        if (!c.known) continue;
        Run("INSERT OR REPLACE INTO MSysColumnas (Tabla, Columna, Tipo, Tamano, PermiteVacio) VALUES (?, ?, ?, ?, 0)",
            {table, c.name, static_cast<long>(c.type), c.size});
    }
    catalogSchemaVersion = -1;
}

void Database::Impl::ForgetTable(const std::string& table) {
    if (!HasCatalog()) return;
    Run("DELETE FROM MSysColumnas WHERE Tabla = ?", {table});
    Run("DELETE FROM MSysClaves WHERE Tabla = ?", {table});
    catalogSchemaVersion = -1;
}

void Database::Impl::ForgetColumn(const std::string& table, const std::string& column) {
    if (!HasCatalog()) return;
    Run("DELETE FROM MSysColumnas WHERE Tabla = ? AND Columna = ?", {table, column});
    catalogSchemaVersion = -1;
}

void Database::Impl::RecordPrimaryKey(const std::string& table, const std::string& index) {
    EnsureCatalog();
    Run("INSERT OR REPLACE INTO MSysClaves (Tabla, Indice) VALUES (?, ?)", {table, index});
}

bool Database::Impl::HasPrimaryKey(const std::string& table) {
    if (Scalar("SELECT count(*) FROM pragma_table_info(?) WHERE pk > 0", {table}).AsLong() > 0) return true;
    if (!HasCatalog()) return false;
    Value index = Scalar("SELECT Indice FROM MSysClaves WHERE Tabla = ?", {table});
    if (index.IsNull()) return false;
    // The key counts while its index exists (a dropped constraint frees the place).
    return !Scalar("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ? COLLATE NOCASE", {index})
                .IsNull();
}

void Database::Impl::SetAllowZeroLength(const std::string& table, const std::string& column, bool allow) {
    const std::string actual = ExistingTable(table);
    Value decl = Scalar("SELECT type FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE", {actual, column});
    Value name = Scalar("SELECT name FROM pragma_table_info(?) WHERE name = ? COLLATE NOCASE", {actual, column});
    if (name.IsNull()) Throw(err::ObjectNotFound, errtext::For(err::ObjectNotFound, column));
    EnsureCatalog();
    if (Scalar("SELECT 1 FROM MSysColumnas WHERE Tabla = ? AND Columna = ?", {actual, name}).IsNull()) {
        auto t = conv::FromDeclaredType(decl.AsText());
        Run("INSERT INTO MSysColumnas (Tabla, Columna, Tipo, Tamano, PermiteVacio) VALUES (?, ?, ?, ?, ?)",
            {actual, name, static_cast<long>(t ? t->type : DataType::Text), t ? t->size : 0, allow});
    } else {
        Run("UPDATE MSysColumnas SET PermiteVacio = ? WHERE Tabla = ? AND Columna = ?", {allow, actual, name});
    }
    catalogSchemaVersion = -1;
    RebuildChecks(actual);
}

void Database::Impl::DropChecks(const std::string& table) {
    Run("DROP TRIGGER IF EXISTS " + jetsql::Quote("zv_ins_" + table), {}, false);
    Run("DROP TRIGGER IF EXISTS " + jetsql::Quote("zv_upd_" + table), {}, false);
}

std::vector<ColumnRule> Database::Impl::ColumnRules(const std::string& table) {
    bool hasCatalog = HasCatalog();
    std::vector<ColumnRule> checked;
    sqlite3_stmt* stmt = nullptr;
    std::string sql =
        hasCatalog ? "SELECT t.name, t.pk, c.Tipo, c.Tamano, c.PermiteVacio, t.type FROM pragma_table_info(?1) t "
                     "LEFT JOIN MSysColumnas c ON c.Tabla = ?1 AND c.Columna = t.name ORDER BY t.cid"
                   : "SELECT t.name, t.pk, NULL, NULL, NULL, t.type FROM pragma_table_info(?1) t ORDER BY t.cid";
    int rc = sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr);
    if (rc != SQLITE_OK) Fail(rc);
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    bool damaged = false;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ColumnRule c;
        const char* name = NameAt(stmt, 0);
        if (!name) {
            damaged = true;
            break;
        }
        c.name = name;
        c.key = sqlite3_column_int(stmt, 1) > 0;
        bool cataloged = sqlite3_column_type(stmt, 2) != SQLITE_NULL;
        if (cataloged && static_cast<DataType>(sqlite3_column_int(stmt, 2)) == DataType::Text) {
            c.size = sqlite3_column_int(stmt, 3);
            c.refuseEmpty = sqlite3_column_int(stmt, 4) == 0;
        }
        if (const unsigned char* declared = sqlite3_column_text(stmt, 5))
            c.declared = reinterpret_cast<const char*>(declared);
        checked.push_back(c);
    }
    sqlite3_finalize(stmt);
    if (damaged) ThrowDamaged();
    if (rc != SQLITE_DONE) Fail(rc);
    if (hasCatalog) {
        Value index = Scalar("SELECT Indice FROM MSysClaves WHERE Tabla = ?", {table});
        if (!index.IsNull()) {
            std::string keySql = "SELECT name FROM pragma_index_info(?)";
            rc = sqlite3_prepare_v2(db, keySql.c_str(), -1, &stmt, nullptr);
            if (rc != SQLITE_OK) Fail(rc);
            std::string idx = index.AsText();
            sqlite3_bind_text(stmt, 1, idx.c_str(), -1, SQLITE_TRANSIENT);
            // A key is made of columns: an index of expressions in its place
            // (a column without a name) is a damaged catalog.
            while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
                const char* col = NameAt(stmt, 0);
                if (!col) {
                    damaged = true;
                    break;
                }
                for (auto& c : checked)
                    if (conv::EqualsIgnoringCase(c.name, col)) c.key = true;
            }
            sqlite3_finalize(stmt);
            if (damaged) ThrowDamaged();
            if (rc != SQLITE_DONE) Fail(rc);
        }
    }
    return checked;
}

namespace {

std::string ChecksBody(const std::string& table, const std::vector<ColumnRule>& checked, bool update) {
    std::string out;
    for (const auto& c : checked)
        for (const Refusal& r : RefusalsOf(c))
            out += " SELECT RAISE(ABORT, " + SqlLiteral(RaiseMessage(r, table, c)) + ") WHERE " +
                   RefusedWhen(r, c, update) + ";";
    return out;
}

std::string TriggerSql(const std::string& table, const std::vector<ColumnRule>& checked, bool update) {
    std::string body = ChecksBody(table, checked, update);
    if (body.empty()) return "";
    return "CREATE TRIGGER " + jetsql::Quote((update ? "zv_upd_" : "zv_ins_") + table) +
           (update ? " BEFORE UPDATE ON " : " BEFORE INSERT ON ") + jetsql::Quote(table) + " BEGIN" + body + " END";
}

}  // namespace

std::string Database::Impl::InsertChecksSql(const std::string& table, const std::vector<ColumnRule>& rules) {
    return TriggerSql(table, rules, false);
}

void Database::Impl::RebuildChecks(const std::string& table) {
    DropChecks(table);
    std::vector<ColumnRule> checked = ColumnRules(table);
    std::string insertSql = TriggerSql(table, checked, false);
    if (insertSql.empty()) return;
    Run(insertSql, {}, false);
    Run(TriggerSql(table, checked, true), {}, false);
}

std::vector<Field> Database::Impl::TableFields(const std::string& table) {
    RefreshCatalog();
    std::vector<Field> fields;
    sqlite3_stmt* stmt = nullptr;
    const std::string sql = "SELECT name, type FROM pragma_table_info(?) ORDER BY cid";
    int rc = cache->Acquire(sql, &stmt);
    if (rc != SQLITE_OK) Fail(rc);
    sqlite3_bind_text(stmt, 1, table.c_str(), -1, SQLITE_TRANSIENT);
    bool damaged = false;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        Field f;
        const char* name = NameAt(stmt, 0);
        if (!name) {
            damaged = true;
            break;
        }
        f.name_ = name;
        const unsigned char* decl = sqlite3_column_text(stmt, 1);
        if (const ColumnMeta* m = FindColumnMeta(table, f.name_)) {
            f.type_ = m->type;
            f.size_ = m->size;
            f.allowZeroLength_ = m->allowZeroLength;
        } else if (auto t = conv::FromDeclaredType(decl ? reinterpret_cast<const char*>(decl) : "")) {
            f.type_ = t->type;
            f.size_ = t->size;
            f.allowZeroLength_ = true;  // no rule was ever set on it
        }
        fields.push_back(f);
    }
    cache->Release(sql, stmt);
    if (damaged) ThrowDamaged();
    if (rc != SQLITE_DONE) Fail(rc);
    return fields;
}

}  // namespace dao
