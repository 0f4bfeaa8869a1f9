#include "platform/dao/row_inserter.h"

#include <cctype>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"
#include "platform/textfile.h"

namespace dao {

namespace {

// SQLite's length() of a UTF-8 text: its characters, a stray continuation
// byte counting as one. -1 for a text holding a NUL (length() stops there).
long long LengthOf(std::string_view s) {
    // A run of ASCII without a NUL is one character a byte.
    std::size_t i = zv::text::AsciiPrefix(s);
    if (std::memchr(s.data(), 0, i)) return -1;
    long long n = static_cast<long long>(i);
    while (i < s.size()) {
        auto c = static_cast<unsigned char>(s[i++]);
        if (c == 0) return -1;
        ++n;
        if (c >= 0xC0)
            while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return n;
}

long long DigitsOf(std::int64_t v) {
    long long n = v < 0 ? 2 : 1;
    for (std::uint64_t m = v < 0 ? 0 - static_cast<std::uint64_t>(v) : v; m >= 10; m /= 10) ++n;
    return n;
}

// A declared type that gives the column TEXT affinity, SQLite's way.
bool HasTextAffinity(std::string declared) {
    for (char& c : declared) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (declared.find("INT") != std::string::npos) return false;
    return declared.find("CHAR") != std::string::npos || declared.find("CLOB") != std::string::npos ||
           declared.find("TEXT") != std::string::npos;
}

long long Version(sqlite3_stmt* stmt) {
    long long v = sqlite3_step(stmt) == SQLITE_ROW ? sqlite3_column_int64(stmt, 0) : -2;
    sqlite3_reset(stmt);
    return v;
}

// Switching the triggers on and off makes SQLite prepare the statements
// again: past this share of switches to rows, the triggers are left on.
constexpr long long kFreeSwitches = 16;
constexpr long long kRowsPerSwitch = 32;

}  // namespace

RowInserter::RowInserter(Database& db, std::string_view table) : db_(&db) {
    Database::Impl& d = Attached();
    table_ = d.ExistingTable(table);
    columns_ = d.TableFields(table_);
    std::string names, marks;
    for (const auto& c : columns_) {
        names += (names.empty() ? "" : ", ") + jetsql::Quote(c.Name());
        marks += marks.empty() ? "?" : ", ?";
    }
    sql_ = "INSERT INTO " + jetsql::Quote(table_) + " (" + names + ") VALUES (" + marks + ")";
    const std::string prepared = d.Translated(sql_).sql;
    d.cache->EnableTriggers();
    auto prepare = [&](const std::string& sql, sqlite3_stmt** stmt) {
        int rc = sqlite3_prepare_v3(d.db, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, stmt, nullptr);
        if (rc != SQLITE_OK) {
            Finalize();
            d.Fail(rc, sql);
        }
    };
    prepare(prepared, &insert_);
    prepare("PRAGMA main.schema_version", &mainVersion_);
    prepare("PRAGMA temp.schema_version", &tempVersion_);
    texts_.resize(columns_.size());
    try {
        Verify();
    } catch (...) {
        Finalize();
        throw;
    }
    d.inserters.insert(this);
}

RowInserter::~RowInserter() {
    if (db_ && db_->impl_) {
        db_->impl_->cache->EnableTriggers();
        db_->impl_->inserters.erase(this);
    }
    Finalize();
}

void RowInserter::Detach() {
    if (db_ && db_->impl_) db_->impl_->inserters.erase(this);
    Finalize();
    db_ = nullptr;
}

void RowInserter::Finalize() {
    for (sqlite3_stmt** stmt : {&insert_, &mainVersion_, &tempVersion_}) {
        sqlite3_finalize(*stmt);
        *stmt = nullptr;
    }
}

Database::Impl& RowInserter::Attached() const {
    if (!db_ || !db_->impl_) ThrowInvalidObject();
    return *db_->impl_;
}

// Rows are checked here only when the table's insert trigger is exactly the
// one the layer makes from the rules read now (and no other trigger may
// fire), the file keeps text as UTF-8, and every column with a size or an
// empty-text rule keeps its text as given (TEXT affinity).
void RowInserter::Verify() {
    Database::Impl& d = Attached();
    checkedHere_ = false;
    verifiedMain_ = Version(mainVersion_);
    verifiedTemp_ = Version(tempVersion_);
    if (d.Scalar("PRAGMA encoding").AsText() != "UTF-8") return;
    std::vector<ColumnRule> rules = d.ColumnRules(table_);
    if (rules.size() != columns_.size()) return;
    std::vector<std::vector<Refusal>> refusals(rules.size());
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (!conv::EqualsIgnoringCase(rules[i].name, columns_[i].Name())) return;
        refusals[i] = RefusalsOf(rules[i]);
        for (const Refusal& r : refusals[i])
            if (r.MeasuresLength() && !HasTextAffinity(rules[i].declared)) return;
    }
    const std::string expected = Database::Impl::InsertChecksSql(table_, rules);
    sqlite3_stmt* stmt = nullptr;
    const char* sql =
        "SELECT 'main', name, sql FROM main.sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE NOCASE "
        "UNION ALL SELECT 'temp', name, sql FROM temp.sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 "
        "COLLATE NOCASE";
    if (sqlite3_prepare_v2(d.db, sql, -1, &stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(stmt);
        return;
    }
    sqlite3_bind_text(stmt, 1, table_.c_str(), -1, SQLITE_TRANSIENT);
    bool own = true, found = false;
    while (own && sqlite3_step(stmt) == SQLITE_ROW) {
        auto text = [&](int i) {
            const unsigned char* t = sqlite3_column_text(stmt, i);
            return std::string(t ? reinterpret_cast<const char*>(t) : "");
        };
        const bool inMain = text(0) == "main";
        const std::string name = text(1);
        if (inMain && conv::EqualsIgnoringCase(name, "zv_upd_" + table_)) continue;  // fires on updates only
        if (inMain && conv::EqualsIgnoringCase(name, "zv_ins_" + table_) && text(2) == expected) found = true;
        else own = false;
    }
    sqlite3_finalize(stmt);
    if (!own || found == expected.empty()) return;
    refusals_ = std::move(refusals);
    checkedHere_ = true;
}

bool RowInserter::SchemaChanged() {
    return Version(mainVersion_) != verifiedMain_ || Version(tempVersion_) != verifiedTemp_;
}

bool RowInserter::OtherStatementRuns() const {
    sqlite3* db = Attached().db;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
        if (s != insert_ && sqlite3_stmt_busy(s)) return true;
    return false;
}

// Whether the next row may be written with the triggers off, the rules
// read again first when the schema changed since they were.
bool RowInserter::MayTurnTriggersOff() {
    Database::Impl& d = Attached();
    if (!checkedHere_) return false;
    if (d.cache->TriggersDisabled()) return true;
    if (OtherStatementRuns()) return false;  // it would fail at its next table opening
    if (SchemaChanged()) Verify();
    return checkedHere_;
}

void RowInserter::TurnTriggersOff() {
    Database::Impl& d = Attached();
    if (d.cache->TriggersDisabled()) return;
    if (++switches_ > kFreeSwitches && switches_ * kRowsPerSwitch > rows_) {
        checkedHere_ = false;  // other statements come between the rows: not worth it
        return;
    }
    d.cache->DisableTriggers();
}

// The check of one value as SQLite will see it (`bound`: the text bound
// for a text or a date): true when no rule of its column refuses it.
bool RowInserter::RulesHold(int column, const Value& v, std::string_view bound) const {
    const std::vector<Refusal>& refusals = refusals_[column];
    if (refusals.empty()) return true;
    std::optional<long long> length;  // nullopt: Null
    switch (v.Type()) {
        case DataType::Null: break;
        case DataType::Text:
        case DataType::Date:
            length = LengthOf(bound);
            if (*length < 0) return false;  // left to the triggers
            break;
        case DataType::Byte:
        case DataType::Integer:
        case DataType::Long:
        case DataType::Boolean: length = DigitsOf(v.AsLong()); break;
        default: return false;  // left to the triggers
    }
    for (const Refusal& r : refusals)
        if (r.Refuses(length)) return false;
    return true;
}

// Binds every value; true when all of them pass the rules.
bool RowInserter::BindAndCheck(const std::vector<Value>& row) {
    bool hold = checkedHere_;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const Value& v = row[i];
        const int n = static_cast<int>(i + 1);
        BindValue(insert_, n, v, &texts_[i]);
        if (!hold) continue;
        std::string_view bound;  // the text SQLite was given
        if (const std::string* text = v.TextPointer()) bound = *text;
        else if (v.Type() == DataType::Date) bound = texts_[i];
        hold = RulesHold(static_cast<int>(i), v, bound);
    }
    return hold;
}

void RowInserter::Insert(const std::vector<Value>& row) {
    Database::Impl& d = Attached();
    if (row.size() != columns_.size()) {
        db_->Execute(sql_, row);  // its error for the values that do not match
        return;
    }
    ++rows_;
    const bool mayTurnOff = MayTurnTriggersOff();
    if (BindAndCheck(row) && mayTurnOff) TurnTriggersOff();
    else d.cache->EnableTriggers();
    const bool inTransaction = !sqlite3_get_autocommit(d.db);
    int rc = sqlite3_step(insert_);
    sqlite3_reset(insert_);
    sqlite3_clear_bindings(insert_);  // the texts bound belong to the caller's row
    if (rc == SQLITE_DONE) return;
    // An error that undid the whole transaction (a full disk) leaves nothing to write again.
    if (inTransaction && sqlite3_get_autocommit(d.db)) d.Fail(rc);
    db_->Execute(sql_, row);  // the layer's error, or the row after a wait
}

}  // namespace dao
