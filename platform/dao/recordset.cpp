#include <algorithm>
#include <cctype>

#include "platform/dao/conversion.h"
#include "platform/dao/recordset_impl.h"

namespace dao {

namespace {

const char* kRowidColumn = "zv__rowid";

std::string WithoutBrackets(std::string_view name) {
    std::string s(name);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.erase(0, 1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    if (s.size() >= 2 && ((s.front() == '[' && s.back() == ']') || (s.front() == '"' && s.back() == '"')))
        s = s.substr(1, s.size() - 2);
    return s;
}

// "SELECT rest" -> "SELECT _rowid_ AS zv__rowid, rest"; empty when the text is not a plain SELECT.
std::string WithRowid(const std::string& sql) {
    std::size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    if (sql.size() < i + 7 || !conv::EqualsIgnoringCase(std::string_view(sql).substr(i, 6), "SELECT") ||
        !std::isspace(static_cast<unsigned char>(sql[i + 6])))
        return "";
    std::size_t j = i + 6;
    while (j < sql.size() && std::isspace(static_cast<unsigned char>(sql[j]))) ++j;
    if (conv::EqualsIgnoringCase(std::string_view(sql).substr(j, 8), "DISTINCT")) return "";
    return sql.substr(0, i) + "SELECT _rowid_ AS " + kRowidColumn + ", " + sql.substr(j);
}

Value ParseDefault(const unsigned char* text, const Field& f) {
    if (!text) return Value();
    std::string s = reinterpret_cast<const char*>(text);
    if (conv::EqualsIgnoringCase(s, "NULL")) return Value();
    if (s.size() >= 2 && s.front() == '(' && s.back() == ')') s = s.substr(1, s.size() - 2);
    Value raw;
    if (s.size() >= 2 && s.front() == '\'' && s.back() == '\'') {
        std::string inner;
        for (std::size_t i = 1; i + 1 < s.size(); ++i) {
            inner += s[i];
            if (s[i] == '\'' && s[i + 1] == '\'') ++i;
        }
        raw = Value(inner);
    } else if (conv::IsNumeric(s)) {
        raw = Value(s);
    } else {
        return Value();  // an expression default: left to the engine at insert time
    }
    try {
        return ConvertForField(raw, f);
    } catch (const Error&) {
        return raw;
    }
}

}  // namespace

std::unique_ptr<Recordset> SqlRecordset::Open(Database::Impl& d, std::string_view sqlOrTable, int type,
                                              const std::vector<Value>& params) {
    std::unique_ptr<SqlRecordset> rs(new SqlRecordset(d, type));
    if (type == dbOpenTable) {
        rs->sourceTable_ = d.ExistingTable(WithoutBrackets(sqlOrTable));
        rs->Prepare("SELECT _rowid_ AS " + std::string(kRowidColumn) + ", * FROM " + jetsql::Quote(rs->sourceTable_),
                    true, params);
    } else {
        const std::string& sql = d.Translated(sqlOrTable).sql;
        std::string withRowid = type == dbOpenSnapshot ? "" : WithRowid(sql);
        bool prepared = false;
        if (!withRowid.empty()) {
            sqlite3_stmt* probe = nullptr;
            if (d.cache->Acquire(withRowid, &probe) == SQLITE_OK && probe) {
                d.cache->Release(withRowid, probe);
                rs->Prepare(withRowid, true, params);
                prepared = true;
            } else {
                sqlite3_finalize(probe);
            }
        }
        if (!prepared) rs->Prepare(sql, false, params);
    }
    d.recordsets.insert(rs.get());
    rs->empty_ = !rs->Step();
    if (!rs->empty_) {
        rs->eof_ = false;
        rs->index_ = 0;
        rs->visited_ = 1;
    } else {
        rs->total_ = 0;
    }
    return rs;
}

SqlRecordset::~SqlRecordset() { Close(); }

Database::Impl& SqlRecordset::Db() const {
    if (!d_) ThrowInvalidObject();
    return *d_;
}

void SqlRecordset::Prepare(const std::string& sql, bool withRowid, const std::vector<Value>& params) {
    Database::Impl& d = Db();
    int rc = d.cache->Acquire(sql, &stmt_);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
        d.Fail(rc, sql);
    }
    if (!stmt_) d.Throw(err::SyntaxError, errtext::For(err::SyntaxError, sql));
    sql_ = sql;
    firstColumn_ = withRowid ? 1 : 0;
    if (static_cast<int>(params.size()) != sqlite3_bind_parameter_count(stmt_)) {
        d.cache->Release(sql_, stmt_);
        stmt_ = nullptr;
        d.Throw(err::TooFewParameters, errtext::For(err::TooFewParameters, sql));
    }
    for (std::size_t i = 0; i < params.size(); ++i) BindValue(stmt_, static_cast<int>(i + 1), params[i]);
    DescribeColumns();
}

void SqlRecordset::DescribeColumns() {
    Database::Impl& d = Db();
    d.RefreshCatalog();
    int n = sqlite3_column_count(stmt_);
    std::string table;
    bool oneTable = true;
    for (int i = firstColumn_; i < n; ++i) {
        Field f;
        f.name_ = sqlite3_column_name(stmt_, i);
        const char* t = sqlite3_column_table_name(stmt_, i);
        const char* origin = sqlite3_column_origin_name(stmt_, i);
        const char* decl = sqlite3_column_decltype(stmt_, i);
        bool declared = false;
        if (t && origin) {
            if (table.empty()) table = t;
            else if (!conv::EqualsIgnoringCase(table, t)) oneTable = false;
        }
        const ColumnMeta* meta = (t && origin) ? d.FindColumnMeta(t, origin) : nullptr;
        if (meta) {
            f.type_ = meta->type;
            f.size_ = meta->size;
            f.allowZeroLength_ = meta->allowZeroLength;
            declared = true;
        } else if (auto dt = conv::FromDeclaredType(decl ? decl : "")) {
            f.type_ = dt->type;
            f.size_ = dt->size;
            f.allowZeroLength_ = true;
            declared = true;
        }
        byName_.emplace(conv::Lower(f.name_), static_cast<int>(defs_.size()));
        if (origin && !conv::EqualsIgnoringCase(f.name_, origin)) byName_.emplace(conv::Lower(origin), static_cast<int>(defs_.size()));
        defs_.push_back(f);
        declared_.push_back(declared);
        updatable_.push_back(t && origin);
    }
    bool canUpdate = type_ != dbOpenSnapshot && firstColumn_ == 1 && oneTable && !table.empty() && !d.readOnly;
    table_ = canUpdate ? table : "";
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        const char* t = sqlite3_column_table_name(stmt_, static_cast<int>(i) + firstColumn_);
        updatable_[i] = canUpdate && updatable_[i] && t && conv::EqualsIgnoringCase(t, table_);
    }
}

bool SqlRecordset::Step() {
    Database::Impl& d = Db();
    if (exhausted_) return false;
    d.cache->EnableTriggers();
    int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) {
        LoadRow();
        return true;
    }
    exhausted_ = true;
    if (rc != SQLITE_DONE) {
        int ext = sqlite3_extended_errcode(d.db);
        try {
            d.Fail(ext, sql_);
        } catch (...) {
            sqlite3_reset(stmt_);
            throw;
        }
    }
    sqlite3_reset(stmt_);  // ends the statement's read of the file
    return false;
}

void SqlRecordset::LoadRow() {
    row_.resize(defs_.size());
    if (firstColumn_ == 1) rowid_ = sqlite3_column_int64(stmt_, 0);
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        int col = static_cast<int>(i) + firstColumn_;
        row_[i] = ReadColumn(stmt_, col, defs_[i].type_, declared_[i]);
        if (!declared_[i] && !row_[i].IsNull()) {
            defs_[i].type_ = row_[i].Type();  // an expression: typed by its first value
            declared_[i] = true;
        }
    }
    deleted_ = false;
}

void SqlRecordset::Restart() {
    sqlite3_reset(stmt_);
    exhausted_ = false;
    eof_ = false;
    index_ = -1;
}

bool SqlRecordset::BOF() const { Db(); return empty_; }

bool SqlRecordset::EOF_() const { Db(); return empty_ || eof_; }

// The statement run again up to its first row; 3021 when it has none now.
void SqlRecordset::RestartAtFirstRow() {
    Restart();
    if (!Step()) {
        empty_ = true;
        eof_ = true;
        total_ = 0;
        Db().Throw(err::NoCurrentRecord, errtext::For(err::NoCurrentRecord));
    }
    index_ = 0;
}

void SqlRecordset::MoveFirst() {
    Db();
    mode_ = Mode::None;
    RestartAtFirstRow();
    empty_ = false;
    visited_ = std::max(visited_, 1L);
}

void SqlRecordset::MoveLast() {
    Db();
    mode_ = Mode::None;
    if (empty_) Db().Throw(err::NoCurrentRecord, errtext::For(err::NoCurrentRecord));
    if (eof_ || deleted_) RestartAtFirstRow();
    // Step to the end keeping only the row in hand; the last one read stays current.
    std::vector<Value> last = row_;
    std::int64_t lastRowid = rowid_;
    while (Step()) {
        ++index_;
        last = row_;
        lastRowid = rowid_;
    }
    row_ = std::move(last);
    rowid_ = lastRowid;
    deleted_ = false;
    eof_ = false;
    total_ = index_ + 1;
    visited_ = total_;
    added_ = 0;  // the statement's end already holds the rows added so far
}

void SqlRecordset::MoveNext() {
    Db();
    if (empty_ || eof_) Db().Throw(err::NoCurrentRecord, errtext::For(err::NoCurrentRecord));
    mode_ = Mode::None;
    if (Step()) {
        ++index_;
        visited_ = std::max(visited_, index_ + 1);
    } else {
        total_ = index_ + 1;
        visited_ = std::max(visited_, total_);
        added_ = 0;
        eof_ = true;
        index_ = -1;
    }
}

long SqlRecordset::RecordCount() const {
    Database::Impl& d = Db();
    if (type_ == dbOpenTable)
        return static_cast<long>(d.Scalar("SELECT count(*) FROM " + jetsql::Quote(sourceTable_)).AsLong());
    return (total_ >= 0 ? total_ : visited_) + added_;
}

long SqlRecordset::AbsolutePosition() const {
    Db();
    return (empty_ || eof_) ? -1 : index_;
}

int SqlRecordset::IndexOf(std::string_view name) const {
    auto it = byName_.find(conv::Lower(name));
    if (it == byName_.end()) Db().Throw(err::ItemNotFound, errtext::For(err::ItemNotFound, name));
    return it->second;
}

void SqlRecordset::RequireCurrentRow() const {
    if (deleted_) Db().Throw(err::RecordDeleted, errtext::For(err::RecordDeleted));
    if (empty_ || eof_) Db().Throw(err::NoCurrentRecord, errtext::For(err::NoCurrentRecord));
}

void SqlRecordset::RequireUpdatable() const {
    if (table_.empty()) Db().Throw(err::ReadOnly, errtext::For(err::ReadOnly));
}

const Value& SqlRecordset::Fields(std::string_view name) const { return Fields(IndexOf(name)); }

const Value& SqlRecordset::Fields(int index) const {
    Db();
    if (index < 0 || index >= static_cast<int>(defs_.size()))
        Db().Throw(err::ItemNotFound, errtext::For(err::ItemNotFound, std::to_string(index)));
    if (mode_ != Mode::None) return buffer_[index];
    RequireCurrentRow();
    return row_[index];
}

std::vector<Value> SqlRecordset::DefaultRow() {
    if (!defaultsLoaded_) {
        defaults_.assign(defs_.size(), Value());
        sqlite3_stmt* stmt = nullptr;
        const std::string sql = "SELECT name, dflt_value FROM pragma_table_info(?)";
        Database::Impl& d = Db();
        if (d.cache->Acquire(sql, &stmt) == SQLITE_OK) {
            sqlite3_bind_text(stmt, 1, table_.c_str(), -1, SQLITE_TRANSIENT);
            while (sqlite3_step(stmt) == SQLITE_ROW) {
                std::string col = reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0));
                auto it = byName_.find(conv::Lower(col));
                if (it != byName_.end() && updatable_[it->second])
                    defaults_[it->second] = ParseDefault(sqlite3_column_text(stmt, 1), defs_[it->second]);
            }
            d.cache->Release(sql, stmt);
        }
        defaultsLoaded_ = true;
    }
    return defaults_;
}

void SqlRecordset::AddNew() {
    Db();
    RequireUpdatable();
    buffer_ = DefaultRow();  // a pending new row is dropped
    dirty_.assign(defs_.size(), false);
    mode_ = Mode::Adding;
}

void SqlRecordset::Edit() {
    Db();
    RequireUpdatable();
    RequireCurrentRow();
    buffer_ = row_;
    dirty_.assign(defs_.size(), false);
    mode_ = Mode::Editing;
}

void SqlRecordset::SetField(std::string_view name, const Value& v) { SetField(IndexOf(name), v); }

void SqlRecordset::SetField(int index, const Value& v) {
    Database::Impl& d = Db();
    if (index < 0 || index >= static_cast<int>(defs_.size()))
        d.Throw(err::ItemNotFound, errtext::For(err::ItemNotFound, std::to_string(index)));
    if (mode_ == Mode::None) d.Throw(err::UpdateWithoutEdit, errtext::For(err::UpdateWithoutEdit));
    if (!updatable_[index]) d.Throw(err::FieldNotUpdatable, errtext::For(err::FieldNotUpdatable, defs_[index].Name()));
    try {
        buffer_[index] = ConvertForField(v, defs_[index]);
    } catch (const Error& e) {
        d.Throw(e.Number(), e.Description());
    }
    dirty_[index] = true;
}

void SqlRecordset::Update() {
    Database::Impl& d = Db();
    if (mode_ == Mode::None) d.Throw(err::UpdateWithoutEdit, errtext::For(err::UpdateWithoutEdit));
    d.ClearErrors();
    std::vector<Value> params;
    std::string columns, values, assignments;
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        if (!updatable_[i]) continue;
        bool write = mode_ == Mode::Adding ? (dirty_[i] || !buffer_[i].IsNull()) : dirty_[i];
        if (!write) continue;
        const char* origin = sqlite3_column_origin_name(stmt_, static_cast<int>(i) + firstColumn_);
        std::string col = jetsql::Quote(origin ? origin : defs_[i].Name());
        columns += (columns.empty() ? "" : ", ") + col;
        values += values.empty() ? "?" : ", ?";
        assignments += (assignments.empty() ? "" : ", ") + col + " = ?";
        params.push_back(buffer_[i]);
    }
    if (mode_ == Mode::Adding) {
        std::string sql = "INSERT INTO " + jetsql::Quote(table_) +
                          (columns.empty() ? " DEFAULT VALUES" : " (" + columns + ") VALUES (" + values + ")");
        d.Run(sql, params);
        ++added_;  // a set that was empty keeps no current row until it moves
    } else if (!params.empty()) {
        params.emplace_back(static_cast<long long>(rowid_));
        d.Run("UPDATE " + jetsql::Quote(table_) + " SET " + assignments + " WHERE _rowid_ = ?", params);
        row_ = buffer_;
    }
    mode_ = Mode::None;
}

void SqlRecordset::CancelUpdate() {
    Db();
    mode_ = Mode::None;
}

void SqlRecordset::Delete() {
    Database::Impl& d = Db();
    RequireUpdatable();
    if (mode_ != Mode::None) mode_ = Mode::None;
    RequireCurrentRow();
    d.Run("DELETE FROM " + jetsql::Quote(table_) + " WHERE _rowid_ = ?", {Value(static_cast<long long>(rowid_))});
    deleted_ = true;
    --added_;
}

void SqlRecordset::Close() {
    if (!d_) return;
    if (stmt_ && d_->cache) d_->cache->Release(sql_, stmt_);
    else if (stmt_) sqlite3_finalize(stmt_);
    stmt_ = nullptr;
    d_->recordsets.erase(this);
    d_ = nullptr;
}

}  // namespace dao
