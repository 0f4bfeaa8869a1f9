#pragma once
// The rules a column's values keep, written once: each table's triggers are
// made from them (catalog.cpp), and a RowInserter checks a row against the
// same rules when it writes it with the triggers off.
#include <optional>
#include <string>
#include <vector>

#include "platform/dao/internal.h"

namespace dao {

// One way a column refuses a new value: the engine's error, and the test on
// the value as SQLite stores it.
struct Refusal {
    enum class Test { LongerThan, Empty, Null };
    Test test = Test::Null;
    long error = 0;  // 3163, 3315 or 3058
    int size = 0;    // LongerThan: the column's Text(n) size

    // Whether the test looks at the value's length() (which the column's
    // affinity must leave as given).
    bool MeasuresLength() const { return test != Test::Null; }

    // Whether it refuses a value whose SQLite length() is `length` (nullopt:
    // the value is Null, whose length() is Null too).
    bool Refuses(std::optional<long long> length) const {
        switch (test) {
            case Test::LongerThan: return length && *length > size;
            case Test::Empty: return length && *length == 0;
            case Test::Null: return !length;
        }
        return false;
    }
};

// The refusals of a column, in the order its trigger checks them.
std::vector<Refusal> RefusalsOf(const ColumnRule& column);

// The trigger's message for a refusal: "ZVnnnn:" and the object the error
// names, which errors.cpp turns back into the engine's error.
std::string RaiseMessage(const Refusal& r, const std::string& table, const ColumnRule& column);

// The trigger's condition of a refusal on the new value. On an update, a
// rule on the length holds only for a value that changed.
std::string RefusedWhen(const Refusal& r, const ColumnRule& column, bool update);

}  // namespace dao
