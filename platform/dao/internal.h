#pragma once
// What the parts of the database layer share: the open connection with its
// statement cache, the column catalog, and the mapping of SQLite's failures
// to the engine's error numbers.
#include <sqlite3.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dao/dao.h"
#include "platform/dao/jetsql.h"

namespace dao {

namespace errtext {
// Descriptions of the engine's errors, with the object named where it helps.
std::string For(long number, std::string_view object = {});
}  // namespace errtext

// Whether a result code (with the system's errno of an I/O error) tells of a
// full disk: the engine's own SQLITE_FULL, or an I/O error of no space left
// (the shared-memory file of a WAL database cannot grow, for one).
bool DiskFull(int rc, int systemErrno);
// The engine error for a database that could not be read at opening.
long OpeningError(int rc, int systemErrno);

// The error of a closed database, recordset or inserter (3420).
[[noreturn]] void ThrowInvalidObject();

// The catalog tables: MSysColumnas (engine type, text size, empty text allowed
// of each column) and MSysClaves (the index of each table's primary key).
extern const char* const kCreateCatalogColumns;
extern const char* const kCreateCatalogKeys;

// Column facts the catalog keeps: the engine type, the text size, and whether
// empty text is allowed.
struct ColumnMeta {
    DataType type = DataType::Text;
    int size = 0;
    bool allowZeroLength = false;
};

class SqlRecordset;
class RowInserter;

// The rules a table's triggers enforce on one column.
struct ColumnRule {
    std::string name;
    std::string declared;      // declared type
    int size = 0;              // Text(n): longer text refused (3163); 0 none
    bool refuseEmpty = false;  // "" refused (3315)
    bool key = false;          // Null refused (3058)
};

// Prepared statements kept by their text; one in use is never handed out twice.
// It also keeps the connection's triggers (the column rules) on for every
// statement the layer runs: only a RowInserter turns them off, for its own
// checked statement, and Acquire turns them on again.
class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : db_(db) {}
    ~StatementCache() { Clear(); }
    // Returns SQLITE_OK and the statement, or the prepare error code.
    int Acquire(const std::string& sql, sqlite3_stmt** out);
    void Release(const std::string& sql, sqlite3_stmt* stmt);
    void Clear();

    void EnableTriggers();   // nothing to do when they are on
    void DisableTriggers();
    bool TriggersDisabled() const { return triggersOff_; }

private:
    static constexpr std::size_t kMaxIdle = 128;
    sqlite3* db_;
    std::unordered_multimap<std::string, sqlite3_stmt*> idle_;
    bool triggersOff_ = false;
};

struct Database::Impl {
    sqlite3* db = nullptr;
    // The engine that opened the connection; null once it is gone (the connection may outlive it).
    std::shared_ptr<DBEngine*> engine;
    DBEngine* Engine() const { return engine ? *engine : nullptr; }
    std::vector<EngineError> lastErrors;
    void ClearErrors() {
        lastErrors.clear();
        if (DBEngine* e = Engine()) e->ClearErrors();
    }
    std::string path;
    bool readOnly = false;
    int lockFd = -1;
    int transactionDepth = 0;
    // The failure after which the engine ended the open transaction by itself
    // (a full disk, an I/O error, no memory): a commit then answers with it.
    std::vector<EngineError> transactionEndedBy;
    // True when the engine is no longer inside the transaction the layer opened.
    bool TransactionEndedByEngine() const { return transactionDepth > 0 && sqlite3_get_autocommit(db) != 0; }
    std::unique_ptr<StatementCache> cache;
    std::set<SqlRecordset*> recordsets;
    std::set<RowInserter*> inserters;
    std::unordered_map<std::string, jetsql::Statement> translations;

    // Catalog, reloaded when the schema changes.
    int catalogSchemaVersion = -1;
    std::map<std::string, std::map<std::string, ColumnMeta>> catalog;  // lower-case table, column

    // Throws the engine error for an SQLite result code, recording it in the engine.
    [[noreturn]] void Fail(int rc, std::string_view context = {});
    [[noreturn]] void Throw(long number, std::string description);
    // 3343, the error of a damaged database: what the file holds cannot be so.
    [[noreturn]] void ThrowDamaged();

    const jetsql::Statement& Translated(std::string_view sql);
    // Runs one SQLite statement with bound values; returns the rows changed.
    long Run(const std::string& sql, const std::vector<Value>& params, bool cached = true);
    // A one-value query (first column of the first row; Null when none).
    Value Scalar(const std::string& sql, const std::vector<Value>& params = {});

    // Runs the steps of a change of the schema, the catalog's rows and the
    // checks with it, as one: when a step fails, none of them stays.
    void InOneSavepoint(const std::function<void()>& steps);

    // Catalog.
    bool HasCatalog();  // the catalog tables exist in the file
    void EnsureCatalog();
    const ColumnMeta* FindColumnMeta(std::string_view table, std::string_view column);
    void RecordColumns(const std::string& table, const std::vector<jetsql::ColumnSpec>& columns);
    void ForgetTable(const std::string& table);
    void ForgetColumn(const std::string& table, const std::string& column);
    void SetAllowZeroLength(const std::string& table, const std::string& column, bool allow);
    void RecordPrimaryKey(const std::string& table, const std::string& index);
    bool HasPrimaryKey(const std::string& table);
    bool TableExists(std::string_view table, std::string* actualName = nullptr);
    // The table's name as stored; 3011 when there is no such table.
    std::string ExistingTable(std::string_view table);
    void DropChecks(const std::string& table);
    void RebuildChecks(const std::string& table);
    // The rules of each column in table order, as the triggers get them.
    std::vector<ColumnRule> ColumnRules(const std::string& table);
    // The statement that creates the insert trigger for these rules ("" when none is needed).
    static std::string InsertChecksSql(const std::string& table, const std::vector<ColumnRule>& rules);
    std::vector<Field> TableFields(const std::string& table);
    // Reloads the catalog when the schema changed since the last load.
    void RefreshCatalog();
};

// Binds a value to a statement parameter (1-based), a text as a copy. With
// `inPlace`, a statement stepped again and again binds without copying: a
// text is bound where the value holds it (the value must outlive the step)
// and a date's text is kept in *inPlace until then.
int BindValue(sqlite3_stmt* stmt, int index, const Value& v, std::string* inPlace = nullptr);
// Reads a column of the current row as the engine type given (declared = false:
// by the storage class of the value).
Value ReadColumn(sqlite3_stmt* stmt, int index, DataType type, bool declared);
// Converts a value assigned to a field to the field's type (throws 3421 / 13).
Value ConvertForField(const Value& v, const Field& field);

void RegisterJetFunctions(sqlite3* db);
// NOCASE and RTRIM as the engine compares text (collation.cpp).
void RegisterTextCollations(sqlite3* db);

}  // namespace dao
