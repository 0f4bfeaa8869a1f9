#pragma once
// How many rows of a table hold a key, asked again and again while a
// RowInserter adds rows to that table (the duplicate test of a transfer):
// one statement prepared once, its values bound in place. A failure is
// reported with the layer's own error (the statement is run once more
// through it).
//
// Inside a transaction the table changes only by what this connection
// writes: when the table held no row of the key's leading `scope` values
// (a declarant and a period, say) at the first lookup of the transaction, a
// key is looked up only when a hash of it is among those of the rows written
// since through Insert (a key no row was written with cannot be there).
// Once anything else changes a row on the connection, or outside a
// transaction, every lookup asks the table.
#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/dao/row_inserter.h"

namespace dao {

class KeyLookup {
public:
    // `countSql` counts the rows that hold a key: one "?" for each of the
    // `key` columns, in that order, each compared with "=" (texts as the
    // layer compares them). With a key column the table lacks, every lookup
    // asks the table.
    KeyLookup(RowInserter& rows, std::string countSql, const std::vector<std::string>& key, std::size_t scope);
    ~KeyLookup();
    KeyLookup(const KeyLookup&) = delete;
    KeyLookup& operator=(const KeyLookup&) = delete;

    // The rows holding these values of the key's columns; throws what
    // Database::OpenRecordset of the count would.
    long Count(const std::vector<Value>& key);

    // Adds the row through the inserter (RowInserter::Insert).
    void Insert(const std::vector<Value>& row);

private:
    bool OnlyWrittenRows(const std::vector<Value>& key);
    bool ScopeStartsEmpty(const std::vector<Value>& key);
    void Forget();
    template <class ValueAt>
    bool Hash(const ValueAt& valueAt, std::uint64_t& hash) const;

    RowInserter& rows_;
    std::string countSql_;
    sqlite3_stmt* count_ = nullptr;
    sqlite3_stmt* scopeCount_ = nullptr;
    std::vector<int> keyColumns_;            // the key's columns in a row
    std::vector<std::string> keyTexts_;       // dates bound as text, until the step
    std::size_t scope_;
    // The lookup from the rows written: the scope's values it holds for, the
    // connection's change count after the last row, their hashes.
    bool checked_ = false, onlyWritten_ = false;
    std::vector<std::string> scopeValues_;
    long long changes_ = 0;
    std::unordered_set<std::uint64_t> written_;
};

}  // namespace dao
