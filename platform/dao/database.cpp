#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"
#include "platform/dao/recordset_impl.h"
#include "platform/dao/row_inserter.h"
#include "platform/dao/workgroup.h"
#include "platform/filenames.h"

namespace dao {

namespace fs = std::filesystem;

// ---- statement cache ------------------------------------------------------

int StatementCache::Acquire(const std::string& sql, sqlite3_stmt** out) {
    EnableTriggers();
    auto it = idle_.find(sql);
    if (it != idle_.end()) {
        *out = it->second;
        idle_.erase(it);
        return SQLITE_OK;
    }
    *out = nullptr;
    return sqlite3_prepare_v3(db_, sql.c_str(), static_cast<int>(sql.size()), SQLITE_PREPARE_PERSISTENT, out,
                              nullptr);
}

void StatementCache::Release(const std::string& sql, sqlite3_stmt* stmt) {
    if (!stmt) return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (idle_.size() >= kMaxIdle) {
        // Keep the cache bounded: drop one idle statement (any) before keeping this one.
        auto victim = idle_.begin();
        sqlite3_finalize(victim->second);
        idle_.erase(victim);
    }
    idle_.emplace(sql, stmt);
}

void StatementCache::Clear() {
    for (auto& [sql, stmt] : idle_) sqlite3_finalize(stmt);
    idle_.clear();
}

// Turning them either way makes SQLite prepare every statement of the
// connection again at its next run, with the triggers as they are then (a
// statement in the middle of its run would fail at its next table opening:
// a RowInserter turns them off only while no other statement runs, and
// every statement of the layer turns them on before it starts).
void StatementCache::EnableTriggers() {
    if (!triggersOff_) return;
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 1, nullptr);
    triggersOff_ = false;
}

void StatementCache::DisableTriggers() {
    if (triggersOff_) return;
    sqlite3_db_config(db_, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    triggersOff_ = true;
}

// ---- connection helpers ---------------------------------------------------

const jetsql::Statement& Database::Impl::Translated(std::string_view sql) {
    std::string key(sql);
    auto it = translations.find(key);
    if (it != translations.end()) return it->second;
    if (translations.size() > 512) translations.clear();
    return translations.emplace(key, jetsql::Translate(sql)).first->second;
}

long Database::Impl::Run(const std::string& sql, const std::vector<Value>& params, bool cached) {
    sqlite3_stmt* stmt = nullptr;
    cache->EnableTriggers();
    int rc = cached ? cache->Acquire(sql, &stmt)
                    : sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &stmt, nullptr);
    if (rc != SQLITE_OK) {
        if (!cached) sqlite3_finalize(stmt);
        Fail(rc, sql);
    }
    if (!stmt) return 0;  // only blanks or a comment
    auto release = [&] {
        if (cached) cache->Release(sql, stmt);
        else sqlite3_finalize(stmt);
    };
    if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(stmt)) {
        release();
        Throw(3061, errtext::For(3061, sql));
    }
    for (std::size_t i = 0; i < params.size(); ++i) BindValue(stmt, static_cast<int>(i + 1), params[i]);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) {
        int ext = sqlite3_extended_errcode(db);  // read before the reset clears it
        try {
            Fail(ext);
        } catch (...) {
            release();
            throw;
        }
    }
    release();
    return sqlite3_changes(db);
}

Value Database::Impl::Scalar(const std::string& sql, const std::vector<Value>& params) {
    sqlite3_stmt* stmt = nullptr;
    int rc = cache->Acquire(sql, &stmt);
    if (rc != SQLITE_OK) Fail(rc, sql);
    for (std::size_t i = 0; i < params.size(); ++i) BindValue(stmt, static_cast<int>(i + 1), params[i]);
    rc = sqlite3_step(stmt);
    Value v;
    if (rc == SQLITE_ROW) v = ReadColumn(stmt, 0, DataType::Null, false);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        try {
            Fail(sqlite3_extended_errcode(db), sql);
        } catch (...) {
            cache->Release(sql, stmt);
            throw;
        }
    }
    cache->Release(sql, stmt);
    return v;
}

// Inside a transaction of the caller the savepoint nests in it; outside, it
// is a transaction of its own. The step's error is the one reported: when
// the engine has already undone the transaction (a full disk) the rollback
// finds nothing to undo and its own failure says nothing more. The catalog
// read during the steps may be of a schema the rollback undid: it is read
// again at its next use.
void Database::Impl::InOneSavepoint(const std::function<void()>& steps) {
    Run("SAVEPOINT zv_ddl", {}, false);
    try {
        steps();
        Run("RELEASE zv_ddl", {}, false);
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK TO zv_ddl; RELEASE zv_ddl", nullptr, nullptr, nullptr);
        catalogSchemaVersion = -1;
        throw;
    }
}

// ---- Database -------------------------------------------------------------

Database::~Database() { Close(); }

void Database::Close() {
    if (!impl_) return;
    for (SqlRecordset* rs : std::set<SqlRecordset*>(impl_->recordsets)) rs->Detach();
    for (RowInserter* inserter : std::set<RowInserter*>(impl_->inserters)) inserter->Detach();
    impl_->cache.reset();
    if (impl_->db) sqlite3_close_v2(impl_->db);
    if (impl_->lockFd >= 0) ::close(impl_->lockFd);
    impl_.reset();
    db_ = nullptr;
}

long Database::Execute(std::string_view sql, const std::vector<Value>& params, int /*options*/) {
    if (!impl_) ThrowInvalidObject();
    impl_->ClearErrors();
    Impl& d = *impl_;
    const jetsql::Statement st = d.Translated(sql);  // a copy: DDL below may clear the translations
    using K = jetsql::Statement::Kind;
    switch (st.kind) {
        case K::Plain:
            return d.Run(st.sql, params, !st.schemaWords);
        case K::CreateTable:
            if (st.ifNotExists && d.TableExists(st.table)) return 0;
            d.InOneSavepoint([&] {
                d.Run(st.sql, params, false);
                d.RecordColumns(st.table, st.columns);
                d.RebuildChecks(st.table);
            });
            return 0;
        case K::AddColumn: {
            const std::string actual = d.ExistingTable(st.table);
            d.InOneSavepoint([&] {
                d.Run(st.sql, params, false);
                d.RecordColumns(actual, st.columns);
                d.RebuildChecks(actual);
            });
            return 0;
        }
        case K::AddPrimaryKey: {
            const std::string actual = d.ExistingTable(st.table);
            if (d.HasPrimaryKey(actual)) d.Throw(err::PrimaryKeyExists, errtext::For(err::PrimaryKeyExists, actual));
            d.InOneSavepoint([&] {
                d.Run(st.sql, params, false);
                d.RecordPrimaryKey(actual, st.indexName);
                d.RebuildChecks(actual);
            });
            return 0;
        }
        case K::DropTable: {
            if (st.ifNotExists && !d.TableExists(st.table)) return 0;
            const std::string actual = d.ExistingTable(st.table);
            d.InOneSavepoint([&] {
                d.Run(st.sql, params, false);
                d.ForgetTable(actual);
            });
            return 0;
        }
        case K::DropColumn: {
            const std::string actual = d.ExistingTable(st.table);
            d.InOneSavepoint([&] {
                d.DropChecks(actual);
                d.Run(st.sql, params, false);
                d.ForgetColumn(actual, st.columns.front().name);
                d.RebuildChecks(actual);
            });
            return 0;
        }
    }
    return 0;
}

std::unique_ptr<Recordset> Database::OpenRecordset(std::string_view sqlOrTable, int type,
                                                   const std::vector<Value>& params) {
    if (!impl_) ThrowInvalidObject();
    impl_->ClearErrors();
    return SqlRecordset::Open(*impl_, sqlOrTable, type, params);
}

std::vector<TableDef> Database::TableDefs() {
    if (!impl_) ThrowInvalidObject();
    std::vector<std::string> names;
    sqlite3_stmt* stmt = nullptr;
    const std::string sql =
        "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' "
        "AND name NOT LIKE 'MSys%' ORDER BY rowid";
    int rc = impl_->cache->Acquire(sql, &stmt);
    if (rc != SQLITE_OK) impl_->Fail(rc);
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    impl_->cache->Release(sql, stmt);
    if (rc != SQLITE_DONE) impl_->Fail(rc);
    std::vector<TableDef> defs;
    for (const auto& n : names) {
        TableDef t;
        t.name_ = n;
        t.fields_ = impl_->TableFields(n);
        t.db_ = this;
        defs.push_back(std::move(t));
    }
    return defs;
}

std::optional<TableDef> Database::FindTableDef(std::string_view name) {
    if (!impl_) ThrowInvalidObject();
    std::string actual;
    if (!impl_->TableExists(name, &actual)) return std::nullopt;
    TableDef t;
    t.name_ = actual;
    t.fields_ = impl_->TableFields(actual);
    t.db_ = this;
    return t;
}

void Database::SetAllowZeroLength(std::string_view table, std::string_view field, bool allow) {
    if (!impl_) ThrowInvalidObject();
    impl_->InOneSavepoint([&] { impl_->SetAllowZeroLength(std::string(table), std::string(field), allow); });
}

void Database::BeginTrans() {
    if (!impl_) ThrowInvalidObject();
    Impl& d = *impl_;
    if (d.transactionDepth == 0) {
        d.transactionEndedBy.clear();
        d.Run("BEGIN IMMEDIATE", {}, true);
    } else d.Run("SAVEPOINT zv_t" + std::to_string(d.transactionDepth), {}, true);
    ++d.transactionDepth;
}

void Database::CommitTrans() {
    if (!impl_) ThrowInvalidObject();
    Impl& d = *impl_;
    if (d.transactionDepth == 0) d.Throw(3034, errtext::For(3034));
    // Nothing is left to commit: what ended the transaction is the answer,
    // and the caller's rollback finds nothing more to undo.
    if (d.TransactionEndedByEngine()) {
        if (d.transactionEndedBy.empty()) d.Throw(3034, errtext::For(3034));
        const EngineError cause = d.transactionEndedBy.front();
        d.Throw(cause.number, cause.description);
    }
    if (d.transactionDepth == 1) d.Run("COMMIT", {}, true);
    else d.Run("RELEASE zv_t" + std::to_string(d.transactionDepth - 1), {}, true);
    --d.transactionDepth;
}

// The level is given back whatever happens: a rollback that fails must not
// leave the connection believing, for the rest of the session, that it is
// inside a transaction. After a full disk, an I/O error or lack of memory the
// engine has already undone the transaction itself; the rollback then has
// nothing to do and the errors of that failure stay the ones reported.
void Database::Rollback() {
    if (!impl_) ThrowInvalidObject();
    Impl& d = *impl_;
    if (d.transactionDepth == 0) d.Throw(3034, errtext::For(3034));
    struct LevelGone {
        Impl& d;
        ~LevelGone() {
            if (--d.transactionDepth == 0) d.transactionEndedBy.clear();
        }
    } gone{d};
    if (d.TransactionEndedByEngine()) return;
    if (d.transactionDepth == 1) {
        d.Run("ROLLBACK", {}, true);
    } else {
        std::string sp = "zv_t" + std::to_string(d.transactionDepth - 1);
        d.Run("ROLLBACK TO " + sp, {}, true);
        d.Run("RELEASE " + sp, {}, true);
    }
}

const std::vector<EngineError>& Database::Errors() const {
    static const std::vector<EngineError> none;
    return impl_ ? impl_->lastErrors : none;
}

bool Database::InTransaction() const { return impl_ && impl_->transactionDepth > 0; }

// ---- TableDef -------------------------------------------------------------

const Field* TableDef::FindField(std::string_view name) const {
    for (const auto& f : fields_)
        if (conv::EqualsIgnoringCase(f.Name(), name)) return &f;
    return nullptr;
}

void TableDef::SetAllowZeroLength(std::string_view field, bool allow) {
    if (!db_) throw Error(err::ObjectNotFound, errtext::For(err::ObjectNotFound, name_));
    db_->SetAllowZeroLength(name_, field, allow);
    for (auto& f : fields_)
        if (conv::EqualsIgnoringCase(f.Name(), field)) f.allowZeroLength_ = allow;
}

// ---- DBEngine -------------------------------------------------------------

DBEngine::DBEngine() : alive_(std::make_shared<DBEngine*>(this)) {}

DBEngine::DBEngine(const DBEngine& other)
    : SystemDB(other.SystemDB),
      DefaultUser(other.DefaultUser),
      DefaultPassword(other.DefaultPassword),
      IniPath(other.IniPath),
      BusyTimeoutMs(other.BusyTimeoutMs),
      errors_(other.errors_),
      alive_(std::make_shared<DBEngine*>(this)) {}

DBEngine& DBEngine::operator=(const DBEngine& other) {
    SystemDB = other.SystemDB;
    DefaultUser = other.DefaultUser;
    DefaultPassword = other.DefaultPassword;
    IniPath = other.IniPath;
    BusyTimeoutMs = other.BusyTimeoutMs;
    errors_ = other.errors_;
    return *this;
}

DBEngine::~DBEngine() { *alive_ = nullptr; }

namespace {

// The lock file next to the database: exclusive openers hold it exclusively,
// shared openers hold it shared, so each finds out about the other at opening.
std::string LockFileOf(const std::string& path) {
    fs::path p(path);
    return (p.parent_path() / (p.stem().string() + ".ldb")).string();
}

}  // namespace

std::unique_ptr<Database> DBEngine::OpenDatabase(const std::string& asked, bool exclusive, bool readOnly) {
    ClearErrors();
    std::string path = asked;
    auto fail = [&](long number, std::string description) -> void {
        RecordErrors({{number, description}});
        throw Error(number, std::move(description));
    };
    try {
        workgroup::CheckAccount(SystemDB, DefaultUser, DefaultPassword);
    } catch (const Error& e) {
        fail(e.Number(), e.Description());
    }
    std::error_code ec;
    if (!path.empty() && !fs::exists(path, ec))
        if (auto found = zv::files::FindIgnoringCase(path)) path = found->string();
    if (path.empty() || !fs::is_regular_file(path, ec)) fail(err::FileNotFound, errtext::For(err::FileNotFound, asked));

    std::string lockPath = LockFileOf(path);
    int lockFd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (lockFd < 0) lockFd = ::open(lockPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (lockFd < 0 && !readOnly) fail(err::DatabaseLocked, errtext::For(err::DatabaseLocked, path));
    if (lockFd >= 0 && ::flock(lockFd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        ::close(lockFd);
        fail(err::DatabaseLocked, errtext::For(err::DatabaseLocked, path));
    }

    std::unique_ptr<Database> db(new Database());
    db->impl_ = std::make_unique<Database::Impl>();
    Database::Impl& d = *db->impl_;
    d.engine = alive_;
    d.path = path;
    d.readOnly = readOnly;
    d.lockFd = lockFd;
    int flags = (readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) | SQLITE_OPEN_NOMUTEX;
    int rc = sqlite3_open_v2(path.c_str(), &d.db, flags, nullptr);
    if (rc != SQLITE_OK) {
        db->Close();
        fail(err::DatabaseLocked, errtext::For(err::DatabaseLocked, path));
    }
    if (!readOnly && sqlite3_db_readonly(d.db, "main") == 1) {
        db->Close();  // the file cannot be written: not openable for update
        fail(err::DatabaseLocked, errtext::For(err::DatabaseLocked, path));
    }
    sqlite3_extended_result_codes(d.db, 1);
    sqlite3_busy_timeout(d.db, BusyTimeoutMs);
    d.cache = std::make_unique<StatementCache>(d.db);
    RegisterJetFunctions(d.db);
    RegisterTextCollations(d.db);
    rc = sqlite3_exec(d.db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        const long number = OpeningError(sqlite3_extended_errcode(d.db), sqlite3_system_errno(d.db));
        db->Close();
        fail(number, errtext::For(number, path));
    }
    db->db_ = d.db;
    db->path_ = path;
    return db;
}

std::unique_ptr<Database> DBEngine::CreateDatabase(const std::string& path) {
    ClearErrors();
    std::error_code ec;
    if (fs::exists(path, ec)) {
        RecordErrors({{3204, "La base de datos ya existe."}});
        throw Error(3204, "La base de datos ya existe.");
    }
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const std::string setup =
        std::string("PRAGMA journal_mode = WAL;") + kCreateCatalogColumns + ";" + kCreateCatalogKeys + ";";
    if (rc == SQLITE_OK) rc = sqlite3_exec(raw, setup.c_str(), nullptr, nullptr, nullptr);
    sqlite3_close_v2(raw);
    if (rc != SQLITE_OK) {
        std::string description = "No se pudo crear la base de datos '" + path + "'.";
        RecordErrors({{3044, description}});
        throw Error(3044, description);
    }
    return OpenDatabase(path, false, false);
}

}  // namespace dao
