#pragma once
// Rows added to one table again and again by one statement prepared once,
// as a transfer of a file writes them.
//
// The column rules (Text(n) sizes, refused empty text, keys that refuse
// Null, column_rules.h) are the ones the table's triggers enforce; here they
// are checked value by value before the row is written, and while that
// checked statement runs the connection's triggers are off. Every other
// statement of the layer turns them on before it starts, so plain SQL stays
// checked. A row that a rule refuses (or that this check cannot judge) is
// written with the triggers on; a row the engine refuses (a duplicate key, a
// busy file) is written once more through Database::Execute, so that it
// fails, or waits, exactly as plain SQL does. A table with triggers other
// than the layer's own rules is always written with its triggers on.
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/column_rules.h"
#include "platform/dao/dao.h"

namespace dao {

class RowInserter {
public:
    // Every column of the table, in its order; 3011 when there is no such table.
    RowInserter(Database& db, std::string_view table);
    ~RowInserter();
    RowInserter(const RowInserter&) = delete;
    RowInserter& operator=(const RowInserter&) = delete;

    const std::vector<Field>& Columns() const { return columns_; }

    // Adds a row: one value a column, in Columns() order. Throws what
    // Database::Execute of the same INSERT would.
    void Insert(const std::vector<Value>& row);

    // Whether rows are checked here rather than by the triggers (for tests).
    bool ChecksRows() const { return checkedHere_; }

    void Detach();  // the database is closing

private:
    friend class KeyLookup;
    Database::Impl& Attached() const;
    void Verify();
    bool RulesHold(int column, const Value& v, std::string_view bound) const;
    bool BindAndCheck(const std::vector<Value>& row);
    bool MayTurnTriggersOff();
    void TurnTriggersOff();
    bool OtherStatementRuns() const;
    bool SchemaChanged();
    void Finalize();

    Database* db_;
    std::string table_;
    std::string sql_;  // the INSERT as Execute takes it
    std::vector<Field> columns_;
    std::vector<std::vector<Refusal>> refusals_;  // of each column
    std::vector<std::string> texts_;              // dates bound as text, until the step
    sqlite3_stmt* insert_ = nullptr;
    sqlite3_stmt* mainVersion_ = nullptr;
    sqlite3_stmt* tempVersion_ = nullptr;
    long long verifiedMain_ = -1, verifiedTemp_ = -1;  // schema versions the checks were made for
    bool checkedHere_ = false;
    long long rows_ = 0, switches_ = 0;
};

}  // namespace dao
