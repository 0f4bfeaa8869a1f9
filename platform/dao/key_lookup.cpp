#include "platform/dao/key_lookup.h"

#include <algorithm>

#include "platform/dao/collation.h"
#include "platform/dao/conversion.h"
#include "platform/dao/internal.h"

namespace dao {

KeyLookup::KeyLookup(RowInserter& rows, std::string countSql, const std::vector<std::string>& key, std::size_t scope)
    : rows_(rows), countSql_(std::move(countSql)), keyTexts_(key.size()), scope_(std::min(scope, key.size())) {
    Database::Impl& d = rows_.Attached();
    auto prepare = [&d](const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        const std::string prepared = d.Translated(sql).sql;
        int rc = sqlite3_prepare_v3(d.db, prepared.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(stmt);
            d.Fail(rc, sql);
        }
        return stmt;
    };
    const std::vector<Field>& columns = rows_.Columns();
    std::string where;
    bool whole = true;
    for (std::size_t k = 0; k < key.size(); ++k) {
        int found = -1;
        for (std::size_t c = 0; c < columns.size(); ++c)
            if (conv::EqualsIgnoringCase(columns[c].Name(), key[k])) found = static_cast<int>(c);
        keyColumns_.push_back(found);
        whole = whole && found >= 0;
        if (found >= 0 && k < scope_)
            where += (where.empty() ? " WHERE " : " AND ") + jetsql::Quote(columns[found].Name()) + " = ?";
    }
    count_ = prepare(countSql_);
    if (!whole || scope_ == 0) return;  // the table answers every lookup
    try {
        scopeCount_ = prepare("SELECT COUNT(*) FROM " + jetsql::Quote(rows_.table_) + where);
    } catch (...) {
        sqlite3_finalize(count_);
        throw;
    }
}

KeyLookup::~KeyLookup() {
    sqlite3_finalize(count_);
    sqlite3_finalize(scopeCount_);
}

// A hash of the key's texts as the key's comparison sees them (keys the
// table holds equal hash alike); false when one of them is not text.
template <class ValueAt>
bool KeyLookup::Hash(const ValueAt& valueAt, std::uint64_t& hash) const {
    thread_local std::string folded;
    folded.clear();
    for (std::size_t k = 0; k < keyColumns_.size(); ++k) {
        const std::string* text = valueAt(k).TextPointer();
        if (!text) return false;
        AppendFolded(*text, folded);
        folded += '\0';  // keys that run together only hash alike: the table then answers
    }
    hash = std::hash<std::string>{}(folded);
    return true;
}

void KeyLookup::Forget() {
    onlyWritten_ = false;
    written_.clear();
}

// Whether only the rows written here can hold the key: the scope's rows were
// none at the first lookup of the transaction, and nothing else changed a
// row on the connection since.
bool KeyLookup::OnlyWrittenRows(const std::vector<Value>& key) {
    sqlite3* db = rows_.Attached().db;
    if (sqlite3_get_autocommit(db)) {
        checked_ = false;
        Forget();
        return false;
    }
    if (!checked_) {
        checked_ = true;
        onlyWritten_ = ScopeStartsEmpty(key);
        changes_ = sqlite3_total_changes64(db);
    }
    if (!onlyWritten_) return false;
    if (sqlite3_total_changes64(db) != changes_) {
        Forget();
        return false;
    }
    for (std::size_t k = 0; k < scope_; ++k) {
        const std::string* text = key[k].TextPointer();
        if (!text || *text != scopeValues_[k]) return false;
    }
    return true;
}

bool KeyLookup::ScopeStartsEmpty(const std::vector<Value>& key) {
    if (!scopeCount_) return false;
    std::vector<std::string> values;
    for (std::size_t k = 0; k < scope_; ++k) {
        const std::string* text = key[k].TextPointer();
        if (!text) return false;
        values.push_back(*text);
        BindValue(scopeCount_, static_cast<int>(k + 1), key[k], &keyTexts_[k]);
    }
    const bool empty = sqlite3_step(scopeCount_) == SQLITE_ROW && sqlite3_column_int64(scopeCount_, 0) == 0;
    sqlite3_reset(scopeCount_);
    sqlite3_clear_bindings(scopeCount_);
    if (!empty) return false;
    scopeValues_ = std::move(values);
    return true;
}

long KeyLookup::Count(const std::vector<Value>& key) {
    rows_.Attached();
    if (key.size() == keyColumns_.size() && OnlyWrittenRows(key)) {
        std::uint64_t hash = 0;
        if (Hash([&](std::size_t k) -> const Value& { return key[k]; }, hash) && !written_.contains(hash)) return 0;
    }
    if (keyTexts_.size() < key.size()) keyTexts_.resize(key.size());
    for (std::size_t i = 0; i < key.size(); ++i) BindValue(count_, static_cast<int>(i + 1), key[i], &keyTexts_[i]);
    int rc = sqlite3_step(count_);
    long n = rc == SQLITE_ROW ? static_cast<long>(sqlite3_column_int64(count_, 0)) : 0;
    sqlite3_reset(count_);
    sqlite3_clear_bindings(count_);  // the texts bound belong to the caller
    if (rc == SQLITE_ROW) return n;
    auto rs = rows_.db_->OpenRecordset(countSql_, dbOpenSnapshot, key);  // the layer's error
    return static_cast<long>(rs->Fields(0).AsLong());
}

void KeyLookup::Insert(const std::vector<Value>& row) {
    rows_.Insert(row);
    if (!onlyWritten_) return;
    std::uint64_t hash = 0;
    if (row.size() == rows_.Columns().size() &&
        Hash([&](std::size_t k) -> const Value& { return row[keyColumns_[k]]; }, hash)) {
        written_.insert(hash);
        changes_ = sqlite3_total_changes64(rows_.Attached().db);
    } else {
        Forget();  // a key this lookup cannot tell: the table answers from now on
    }
}

}  // namespace dao
