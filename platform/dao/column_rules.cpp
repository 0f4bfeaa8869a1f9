#include "platform/dao/column_rules.h"

namespace dao {

std::vector<Refusal> RefusalsOf(const ColumnRule& column) {
    std::vector<Refusal> out;
    if (column.size > 0) out.push_back({Refusal::Test::LongerThan, err::FieldTooSmall, column.size});
    if (column.refuseEmpty) out.push_back({Refusal::Test::Empty, err::ZeroLengthString, 0});
    if (column.key) out.push_back({Refusal::Test::Null, err::NullInKey, 0});
    return out;
}

std::string RaiseMessage(const Refusal& r, const std::string& table, const ColumnRule& column) {
    const std::string object = r.test == Refusal::Test::Empty ? table + "." + column.name : column.name;
    return "ZV" + std::to_string(r.error) + ":" + object;
}

std::string RefusedWhen(const Refusal& r, const ColumnRule& column, bool update) {
    const std::string v = "NEW." + jetsql::Quote(column.name);
    const std::string changed = update ? " AND " + v + " IS NOT OLD." + jetsql::Quote(column.name) : "";
    switch (r.test) {
        case Refusal::Test::LongerThan: return "length(" + v + ") > " + std::to_string(r.size) + changed;
        case Refusal::Test::Empty: return "length(" + v + ") = 0" + changed;
        case Refusal::Test::Null: return v + " IS NULL";
    }
    return "0";
}

}  // namespace dao
