#pragma once
// The open database of zvform as the declaration steps reach it: error 91
// (object not set) when there is none, as the old runtime answered.
namespace dao {
class Database;
}

namespace zvdecl {

dao::Database& Base();

}  // namespace zvdecl
