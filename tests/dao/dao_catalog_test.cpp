// The column catalog kept beside the tables: a damaged one is told as a
// damaged database, and a change of a table that fails part-way leaves the
// table and its catalog as they were.
#include <sqlite3.h>

#include <string>

#include "tests/dao/dao_fixture.h"
#include "tests/support/conexion_prueba.h"

namespace daotest {
namespace {

class CatalogTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute("CREATE TABLE Cuentas ([Codigo] Text(5), [Nombre] Text(20))");
        db->Execute("CREATE TABLE Otra ([Dato] Text(5))");
    }
    // Runs SQL on the connection as it is, past the layer.
    void Raw(const std::string& sql) const {
        char* message = nullptr;
        ASSERT_EQ(sqlite3_exec(zvtest::Conexion(*db), sql.c_str(), nullptr, nullptr, &message), SQLITE_OK) << message;
    }
    // The schema of every table, index and trigger, and the catalog's rows.
    std::string Snapshot() const {
        std::string all;
        auto add = [](void* out, int n, char** values, char**) {
            auto& s = *static_cast<std::string*>(out);
            for (int i = 0; i < n; ++i) s += (values[i] ? values[i] : "<null>") + std::string("|");
            s += "\n";
            return 0;
        };
        const char* sql =
            "SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE 'negativa%' ORDER BY name;"
            "SELECT * FROM MSysColumnas ORDER BY Tabla, Columna; SELECT * FROM MSysClaves ORDER BY Tabla;";
        sqlite3_exec(zvtest::Conexion(*db), sql, add, &all, nullptr);
        return all;
    }
};

TEST_F(CatalogTest, ANullWhereTheCatalogNeedsANameIsADamagedDatabase) {
    struct Caso {
        const char* what;
        const char* damage;
        const char* repair;
    };
    const Caso casos[] = {
        {"a column row without its table",
         "INSERT INTO MSysColumnas (Tabla, Columna, Tipo, Tamano, PermiteVacio) VALUES (NULL, 'X', 10, 5, 0)",
         "DELETE FROM MSysColumnas WHERE Tabla IS NULL"},
        {"a column row without its column",
         "INSERT INTO MSysColumnas (Tabla, Columna, Tipo, Tamano, PermiteVacio) VALUES ('Cuentas', NULL, 10, 5, 0)",
         "DELETE FROM MSysColumnas WHERE Columna IS NULL"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.what);
        Raw(c.damage);
        auto other = OpenSecond();
        EXPECT_EQ(ErrorOf([&] { other->FindTableDef("Cuentas"); }), dao::err::UnrecognizedFormat);
        EXPECT_EQ(ErrorOf([&] { other->TableDefs(); }), dao::err::UnrecognizedFormat) << "read again, not half kept";
        Raw(c.repair);
        EXPECT_EQ(other->FindTableDef("Cuentas")->FindField("Nombre")->Size(), 20);
    }
}

TEST_F(CatalogTest, AKeyOfExpressionsInTheCatalogIsADamagedDatabase) {
    Raw("CREATE UNIQUE INDEX PorNombre ON Cuentas (lower(Nombre)); "
        "INSERT INTO MSysClaves (Tabla, Indice) VALUES ('Cuentas', 'PorNombre')");
    const std::string before = Snapshot();
    EXPECT_EQ(ErrorOf([&] { db->SetAllowZeroLength("Cuentas", "Nombre", true); }), dao::err::UnrecognizedFormat);
    EXPECT_EQ(ErrorOf([&] { db->Execute("ALTER TABLE Cuentas ADD COLUMN Extra Text(2)"); }),
              dao::err::UnrecognizedFormat);
    EXPECT_EQ(Snapshot(), before);
}

// A catalog that refuses one of its writes stands for any step that fails
// after the table was changed (a full disk, a damaged file).
TEST_F(CatalogTest, AChangeOfATableThatFailsPartWayLeavesTableAndCatalogAsTheyWere) {
    struct Caso {
        const char* what;
        const char* refusal;
        const char* change;
    };
    const Caso casos[] = {
        {"create table", "BEFORE INSERT ON MSysColumnas", "CREATE TABLE Nueva ([Dato] Text(5))"},
        {"add column", "BEFORE INSERT ON MSysColumnas", "ALTER TABLE Cuentas ADD COLUMN Extra Text(2)"},
        {"add primary key", "BEFORE INSERT ON MSysClaves",
         "ALTER TABLE Cuentas ADD CONSTRAINT PK_Cuentas PRIMARY KEY ([Codigo])"},
        {"drop table", "BEFORE DELETE ON MSysColumnas", "DROP TABLE Otra"},
        {"drop column", "BEFORE DELETE ON MSysColumnas", "ALTER TABLE Cuentas DROP COLUMN Nombre"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.what);
        Raw(std::string("CREATE TRIGGER negativa ") + c.refusal + " BEGIN SELECT RAISE(ABORT, 'negada'); END");
        const std::string before = Snapshot();
        EXPECT_NE(ErrorOf([&] { db->Execute(c.change); }), 0);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_FALSE(db->InTransaction());
        db->BeginTrans();  // inside the caller's transaction the same, and that one goes on
        EXPECT_NE(ErrorOf([&] { db->Execute(c.change); }), 0);
        EXPECT_EQ(Snapshot(), before);
        EXPECT_TRUE(db->InTransaction());
        db->Rollback();
        Raw("DROP TRIGGER negativa");
    }
    // The rules of the tables still hold.
    EXPECT_EQ(ErrorOf([&] { db->Execute("INSERT INTO Cuentas (Codigo, Nombre) VALUES ('123456', 'A')"); }),
              dao::err::FieldTooSmall);
    EXPECT_EQ(ErrorOf([&] { db->Execute("INSERT INTO Otra (Dato) VALUES ('123456')"); }), dao::err::FieldTooSmall);
}

}  // namespace
}  // namespace daotest
