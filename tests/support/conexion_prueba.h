#pragma once
// The raw SQLite connection of an open database, for the tests that provoke
// the engine's own failures (a trigger that fails, a cache too small, a
// table kept busy). The programs reach the database through the layer only.
// While a RowInserter lives, statements run on it directly may find the
// table triggers off; the layer's own statements turn them on first.
#include <sqlite3.h>

#include "platform/dao/dao.h"

namespace dao {

struct TestConnection {
    static sqlite3* Handle(const Database& db) { return db.db_; }
};

}  // namespace dao

namespace zvtest {

inline sqlite3* Conexion(const dao::Database& db) { return dao::TestConnection::Handle(db); }

}  // namespace zvtest
