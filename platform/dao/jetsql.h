#pragma once
// The statements the programs write in the old engine's dialect, made into
// SQLite's: Jet column types in CREATE TABLE / ALTER TABLE, primary keys added
// by ALTER TABLE or CREATE INDEX ... WITH PRIMARY, DELETE * FROM, the "&"
// concatenation, and LEFT/RIGHT (keywords in SQLite) as function calls.
#include <string>
#include <string_view>
#include <vector>

#include "platform/dao/value.h"

namespace dao::jetsql {

struct ColumnSpec {
    std::string name;
    DataType type = DataType::Text;
    int size = 0;  // Text(n); 0 for other types and unbounded text
    bool known = false;  // false when the type was none of the engine's
};

struct Statement {
    enum class Kind {
        Plain,          // run as it stands
        CreateTable,    // table, columns
        AddColumn,      // table, columns (one)
        AddPrimaryKey,  // table, indexName, keyColumns; sql creates the unique index
        DropTable,      // table
        DropColumn,     // table, columns (one, name only)
    };
    Kind kind = Kind::Plain;
    std::string sql;  // SQLite text to prepare
    std::string table;
    std::vector<ColumnSpec> columns;
    std::string indexName;
    std::vector<std::string> keyColumns;
    bool schemaWords = false;  // CREATE/DROP/ALTER of another kind
    bool ifNotExists = false;  // CREATE TABLE IF NOT EXISTS / DROP TABLE IF EXISTS
};

Statement Translate(std::string_view jetSql);

// Columns that hold a document number compare without regard to trailing blanks.
bool IsDocumentNumberColumn(std::string_view column);

// The SQLite type word written for an engine type.
std::string SqliteTypeFor(const ColumnSpec& c);

// Identifier quoted for SQLite ("name", doubled quotes).
std::string Quote(std::string_view identifier);

}  // namespace dao::jetsql
