#pragma once
// The database layer: SQLite 3 behind the shape the programs were written
// against (engine, database, recordset, table definitions, errors).
//
//   dao::DBEngine engine;
//   engine.SystemDB = sysPath + "ZVBAS.MDW";
//   engine.DefaultUser = ...; engine.DefaultPassword = ...;
//   auto db = engine.OpenDatabase(path, /*exclusive*/ false, /*readOnly*/ false);
//   auto rs = db->OpenRecordset("SELECT * FROM CAB WHERE doc_id_d = ?", dao::dbOpenDynaset, {ruc});
//   while (!rs->EOF_()) { rs->Fields("estado").AsText(); rs->MoveNext(); }
//
// Every failure throws dao::Error (a zv::Error) with the engine's number;
// the engine keeps the collection of errors of the last failure.
// SQL is SQLite's dialect; the Jet functions MID, LEFT, RIGHT, LEN, TRIM,
// LTRIM, RTRIM, VAL, UCASE (and NZ) are registered. Values from users or files are bound ("?").
// Execute also takes the old dialect's DDL: CREATE TABLE with Jet types (Text(n), Byte, Short,
// Long, Double, Currency, Date, YesNo, Memo), ALTER TABLE ... ADD CONSTRAINT name PRIMARY KEY,
// CREATE INDEX ... WITH PRIMARY, DROP INDEX name ON table; and DELETE * FROM, "&" for "||".
// Column rules live in the database (catalog MSysColumnas and triggers), so plain SQL obeys them:
// Text(n) refuses longer text (3163), text columns made by a statement refuse "" until
// AllowZeroLength (3315), key columns refuse Null (3058). Text columns made by a statement
// compare as the engine compares text, in WHERE, ORDER BY, keys and indexes: without regard to
// case over the letters of Windows-1252, accents still telling letters apart (NOCASE collation);
// columns named doc_id_d and Num_RUCEmpl also without trailing blanks (RTRIM collation).
// Recordsets step their statement as they move: a forward read holds one row; MoveFirst runs
// the statement again and MoveLast steps to its end. Prepared statements are kept by text.
// A Database may outlive the DBEngine that opened it.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/value.h"
#include "platform/error.h"

struct sqlite3;
struct sqlite3_stmt;

namespace dao {

// Engine error numbers the programs rely on.
namespace err {
inline constexpr long TypeMismatch = 13;
inline constexpr long NoCurrentRecord = 3021;
inline constexpr long DuplicateKey = 3022;
inline constexpr long FileNotFound = 3024;       // database file not found
inline constexpr long TableExists = 3010;
inline constexpr long ObjectNotFound = 3011;
inline constexpr long DatabaseLocked = 3051;     // locked / not shareable at opening
inline constexpr long FieldTooSmall = 3163;      // text longer than its column
inline constexpr long ZeroLengthString = 3315;   // empty text where refused
inline constexpr long PrimaryKeyExists = 3283;
inline constexpr long NotValidAccount = 3029;    // not a valid account name or password
inline constexpr long SystemDbMissing = 3028;    // workgroup file missing or unreadable
inline constexpr long OdbcCallFailed = 40002;    // description starts with the state, "S1000" busy
inline constexpr long SyntaxError = 3000;         // any other statement the engine refuses
inline constexpr long Overflow = 6;               // a number too big for its column
inline constexpr long UpdateWithoutEdit = 3020;   // Update/CancelUpdate without AddNew or Edit
inline constexpr long ReadOnly = 3027;            // database or recordset not updatable
inline constexpr long NoTransaction = 3034;       // commit or rollback without BeginTrans
inline constexpr long NullInKey = 3058;           // a primary-key column left Null
inline constexpr long TooFewParameters = 3061;    // unknown column or unbound parameter
inline constexpr long FieldNotUpdatable = 3164;   // computed column of a query
inline constexpr long RecordDeleted = 3167;
inline constexpr long ItemNotFound = 3265;        // no field of that name
inline constexpr long Required = 3314;            // NOT NULL column left Null
inline constexpr long UnrecognizedFormat = 3343;  // not a database file
inline constexpr long DiskFull = 3026;            // no space left on the disk
inline constexpr long DiskError = 3043;           // the disk or the network failed
inline constexpr long IndexExists = 3375;
inline constexpr long InvalidObject = 3420;       // database, recordset or inserter already closed
inline constexpr long ConversionError = 3421;     // value not convertible to the column's type
}  // namespace err

class Error : public zv::Error {
public:
    using zv::Error::Error;
};

struct EngineError {
    long number;
    std::string description;
};

enum RecordsetType { dbOpenTable = 1, dbOpenDynaset = 2, dbOpenSnapshot = 4 };
inline constexpr int dbInconsistent = 16;
inline constexpr int dbFailOnError = 128;

class Field {
public:
    const std::string& Name() const { return name_; }
    DataType Type() const { return type_; }  // declared type of the column
    int Size() const { return size_; }      // Text(n) size, 0 when not text
    bool AllowZeroLength() const { return allowZeroLength_; }

    std::string name_;
    DataType type_ = DataType::Text;
    int size_ = 0;
    bool allowZeroLength_ = false;
};

class Database;
class SqlRecordset;

class TableDef {
public:
    const std::string& Name() const { return name_; }
    const std::vector<Field>& Fields() const { return fields_; }
    const Field* FindField(std::string_view name) const;  // ignoring case
    // Sets the AllowZeroLength property of a text column (throws 3011 when absent).
    void SetAllowZeroLength(std::string_view field, bool allow);

    std::string name_;
    std::vector<Field> fields_;
    Database* db_ = nullptr;
};

class Recordset {
public:
    virtual ~Recordset() = default;
    virtual bool BOF() const = 0;
    virtual bool EOF_() const = 0;  // EOF is a macro of <cstdio>
    virtual void MoveFirst() = 0;
    virtual void MoveLast() = 0;
    virtual void MoveNext() = 0;
    // Rows visited so far; after MoveLast, every row (as the engine counts them).
    virtual long RecordCount() const = 0;
    virtual long AbsolutePosition() const = 0;  // 0-based, -1 with no current row

    // Field metadata in column order (table order for SELECT *).
    virtual const std::vector<Field>& FieldDefs() const = 0;
    virtual int FieldCount() const = 0;
    // Value of the current row (or of the edit buffer during AddNew/Edit).
    virtual const Value& Fields(std::string_view name) const = 0;  // ignoring case; 3265 when absent
    virtual const Value& Fields(int index) const = 0;

    // Updatable sets (dynaset, table).
    virtual void AddNew() = 0;
    virtual void Edit() = 0;
    // Assigns a field of the edit buffer, converting to the column's type.
    virtual void SetField(std::string_view name, const Value& v) = 0;
    virtual void SetField(int index, const Value& v) = 0;
    virtual void Update() = 0;
    virtual void CancelUpdate() = 0;
    virtual void Delete() = 0;
    virtual void Close() = 0;
};

class Database {
public:
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Runs one statement; options dbFailOnError / dbInconsistent are accepted.
    // Returns the number of rows affected.
    long Execute(std::string_view sql, const std::vector<Value>& params = {}, int options = dbFailOnError);
    // A query, or a table name for dbOpenTable.
    std::unique_ptr<Recordset> OpenRecordset(std::string_view sqlOrTable, int type = dbOpenDynaset,
                                             const std::vector<Value>& params = {});
    // Table collection (user tables, in creation order); refreshed on each call.
    std::vector<TableDef> TableDefs();
    std::optional<TableDef> FindTableDef(std::string_view name);  // ignoring case
    // AllowZeroLength of a text column; 3011 when the table or the column is absent.
    void SetAllowZeroLength(std::string_view table, std::string_view field, bool allow);

    void BeginTrans();
    void CommitTrans();
    void Rollback();
    bool InTransaction() const;
    void Close();
    const std::string& Name() const { return path_; }
    // The errors of the last failure of this connection (its engine's while that lives).
    const std::vector<EngineError>& Errors() const;

private:
    friend class DBEngine;
    friend struct TestConnection;  // tests/support/conexion_prueba.h: the raw connection, for tests only
    friend class SqlRecordset;
    friend class RowInserter;
    friend class KeyLookup;
    Database() = default;
    sqlite3* db_ = nullptr;
    std::string path_;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

class DBEngine {
public:
    DBEngine();
    DBEngine(const DBEngine& other);             // same settings, errors of its own
    DBEngine& operator=(const DBEngine& other);
    ~DBEngine();
    std::string SystemDB;         // workgroup file
    std::string DefaultUser;
    std::string DefaultPassword;
    std::string IniPath;          // accepted, unused
    int BusyTimeoutMs = 3000;     // how long a statement waits for a table another connection writes

    // Never creates a file: a missing file is 3024. Locked or held exclusive
    // by another connection: 3051. Missing workgroup file: 3028; an account
    // not in it: 3029.
    std::unique_ptr<Database> OpenDatabase(const std::string& path, bool exclusive = false,
                                           bool readOnly = false);
    // A new, empty database file (3204 when the file exists). No workgroup check:
    // the base product's installer makes the workgroup file and the database together.
    std::unique_ptr<Database> CreateDatabase(const std::string& path);

    // Errors of the last failure, most specific first.
    const std::vector<EngineError>& Errors() const { return errors_; }
    void ClearErrors() { errors_.clear(); }
    void RecordErrors(std::vector<EngineError> errors) { errors_ = std::move(errors); }

private:
    std::vector<EngineError> errors_;
    // Shared with the databases it opened, which may outlive it.
    std::shared_ptr<DBEngine*> alive_;
};

}  // namespace dao
