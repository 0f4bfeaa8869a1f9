// Rows written by a RowInserter: the column rules hold as they do for plain
// SQL, with the same errors; plain SQL stays checked meanwhile; triggers of
// the table's own keep firing; running reads are not disturbed.
#include <sqlite3.h>

#include "platform/dao/row_inserter.h"
#include "tests/support/conexion_prueba.h"
#include "tests/dao/dao_fixture.h"

namespace daotest {
namespace {

using dao::Value;

// Key (doc, periodo); nombre Text(5) refusing empty text; nota Text(3)
// allowing it; alta a date; monto a number.
const char* kCreate =
    "CREATE TABLE Filas ([doc] Text(8), [periodo] Text(6), [nombre] Text(5), [nota] Text(3), [alta] DATE, "
    "[monto] Double)";
const char* kKey = "ALTER TABLE Filas ADD CONSTRAINT PK_Filas PRIMARY KEY ([doc], [periodo])";

dao::Date Dia(int anio, int mes, int dia) {
    dao::Date d;
    d.year = anio;
    d.month = mes;
    d.day = dia;
    return d;
}

std::vector<Value> Fila(Value doc, Value nombre, Value nota = "", Value periodo = "202301") {
    return {std::move(doc), std::move(periodo), std::move(nombre), std::move(nota), Dia(2023, 1, 31), 12.5};
}

class RowInserterTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute(kCreate);
        db->Execute(kKey);
        db->SetAllowZeroLength("Filas", "nota", true);
    }
    long Rows(const std::string& where = "1") {
        return static_cast<long>(
            db->OpenRecordset("SELECT count(*) FROM Filas WHERE " + where, dao::dbOpenSnapshot)->Fields(0).AsLong());
    }
    bool TriggersOn() {
        int on = -1;
        sqlite3_db_config(zvtest::Conexion(*db), SQLITE_DBCONFIG_ENABLE_TRIGGER, -1, &on);
        return on == 1;
    }
    long PlainInsert(const std::vector<Value>& fila) {
        return ErrorOf([&] {
            db->Execute("INSERT INTO Filas (doc, periodo, nombre, nota, alta, monto) VALUES (?, ?, ?, ?, ?, ?)", fila);
        });
    }
};

// Each row gets the error plain SQL gets for it, and only accepted rows stay.
TEST_F(RowInserterTest, RulesGiveThePlainSqlErrors) {
    struct Caso {
        const char* nombre;
        std::vector<Value> fila;
        long error;
    };
    const std::string cinco = "ÁÉÍÓÚ";  // five characters, ten bytes
    const std::vector<Caso> casos = {
        {"accepted", Fila("1", "ANA"), 0},
        {"accented letters count as characters", Fila("2", cinco), 0},
        {"text too long", Fila("3", "ANA MARIA"), dao::err::FieldTooSmall},
        {"accented text too long", Fila("4", cinco + "S"), dao::err::FieldTooSmall},
        {"empty text refused", Fila("5", ""), dao::err::ZeroLengthString},
        {"empty text allowed", Fila("6", "LUZ", ""), 0},
        {"null key", Fila(Value(), "ANA"), dao::err::NullInKey},
        {"null outside the key", Fila("7", Value()), 0},
        {"number in a text column", Fila("8", "ANA", 1234), dao::err::FieldTooSmall},
        {"short number in a text column", Fila("9", "ANA", 123), 0},
        {"double in a text column", Fila("10", "ANA", 1.5), 0},
        {"long double in a text column", Fila("11", "ANA", 12.25), dao::err::FieldTooSmall},
        {"text with a NUL", Fila("12", std::string("AN\0A", 4)), 0},
        {"duplicate key", Fila("1", "EVA"), dao::err::DuplicateKey},
        {"too few values", {Value("13"), Value("202301")}, 3061},
    };
    dao::RowInserter filas(*db, "filas");
    EXPECT_TRUE(filas.ChecksRows());
    long aceptadas = 0;
    for (const auto& c : casos) {
        EXPECT_EQ(ErrorOf([&] { filas.Insert(c.fila); }), c.error) << c.nombre;
        if (c.error == 0) ++aceptadas;
    }
    EXPECT_EQ(Rows(), aceptadas);
    EXPECT_EQ(Rows("doc = '2' AND nombre = '" + cinco + "' AND alta = '2023-01-31' AND monto = 12.5"), 1);
    EXPECT_EQ(Rows("doc = '12' AND length(nombre) = 2"), 1);  // length() stops at the NUL

    // Plain SQL on the same rows: the same answers.
    db->Execute("DELETE FROM Filas");
    for (const auto& c : casos) {
        if (c.fila.size() != 6) continue;
        EXPECT_EQ(PlainInsert(c.fila), c.error) << c.nombre;
    }
}

// While the inserter lives, with its rows written without triggers, plain
// SQL and recordsets are still checked.
TEST_F(RowInserterTest, PlainSqlStaysCheckedBetweenRows) {
    dao::RowInserter filas(*db, "Filas");
    for (int i = 0; i < 3; ++i) {
        filas.Insert(Fila(std::to_string(i), "ANA"));
        EXPECT_FALSE(TriggersOn());  // the row was checked here
        EXPECT_EQ(PlainInsert(Fila("x" + std::to_string(i), "ANA MARIA")), dao::err::FieldTooSmall);
        EXPECT_EQ(ErrorOf([&] { db->Execute("UPDATE Filas SET nombre = '' WHERE doc = '0'"); }),
                  dao::err::ZeroLengthString);
        auto rs = db->OpenRecordset("Filas", dao::dbOpenTable);
        rs->AddNew();
        rs->SetField("doc", Value("r" + std::to_string(i)));
        rs->SetField("periodo", Value("202301"));
        rs->SetField("nombre", Value("NOMBRE LARGO"));
        EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::err::FieldTooSmall);
    }
    EXPECT_EQ(Rows(), 3);
    // Back to rows without other statements between them: still checked.
    EXPECT_EQ(ErrorOf([&] { filas.Insert(Fila("9", "ANA MARIA")); }), dao::err::FieldTooSmall);
    filas.Insert(Fila("10", "EVA"));
    EXPECT_EQ(Rows(), 4);
}

TEST_F(RowInserterTest, TriggersAreOnAgainWhenTheInserterEnds) {
    {
        dao::RowInserter filas(*db, "Filas");
        filas.Insert(Fila("1", "ANA"));
        EXPECT_FALSE(TriggersOn());
    }
    EXPECT_TRUE(TriggersOn());
    EXPECT_NE(sqlite3_exec(zvtest::Conexion(*db), "INSERT INTO Filas (doc, periodo, nombre) VALUES ('2', '202301', '')",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
}

// A trigger the table has besides its rules fires for every row: the
// inserter leaves the triggers on, also for one made after it started.
TEST_F(RowInserterTest, OtherTriggersOfTheTableFire) {
    db->Execute("CREATE TABLE Registro (doc Text(8))");
    const char* registra =
        "CREATE TRIGGER registra AFTER INSERT ON Filas BEGIN INSERT INTO Registro (doc) VALUES (NEW.doc); END";
    {
        db->Execute(registra);
        dao::RowInserter filas(*db, "Filas");
        EXPECT_FALSE(filas.ChecksRows());
        filas.Insert(Fila("1", "ANA"));
        EXPECT_EQ(ErrorOf([&] { filas.Insert(Fila("2", "ANA MARIA")); }), dao::err::FieldTooSmall);
        db->Execute("DROP TRIGGER registra");
    }
    dao::RowInserter filas(*db, "Filas");
    EXPECT_TRUE(filas.ChecksRows());
    filas.Insert(Fila("3", "ANA"));
    db->Execute(registra);
    filas.Insert(Fila("4", "ANA"));
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(*db),
                           "CREATE TEMP TRIGGER rechaza BEFORE INSERT ON main.Filas WHEN NEW.doc = '6' BEGIN "
                           "SELECT RAISE(ABORT, 'ZV3022:doc'); END",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    db->Execute("DROP TRIGGER registra");
    filas.Insert(Fila("5", "ANA"));
    EXPECT_EQ(ErrorOf([&] { filas.Insert(Fila("6", "ANA")); }), dao::err::DuplicateKey);
    EXPECT_FALSE(filas.ChecksRows());
    EXPECT_EQ(static_cast<long>(db->OpenRecordset("SELECT count(*) FROM Registro", dao::dbOpenSnapshot)
                                    ->Fields(0)
                                    .AsLong()),
              2);  // rows 1 and 4
    EXPECT_EQ(Rows(), 4);
}

// A read in the middle of its rows goes on after rows were written, even
// one whose subquery opens its table at every row.
TEST_F(RowInserterTest, ReadsInTheMiddleOfTheirRowsGoOn) {
    for (int i = 0; i < 5; ++i)
        db->Execute("INSERT INTO Filas (doc, periodo, nombre) VALUES (?, '202301', 'ANA')", {std::to_string(i)});
    auto rs = db->OpenRecordset(
        "SELECT doc, (SELECT count(*) FROM Filas g WHERE g.doc <= f.doc) AS n FROM Filas f ORDER BY doc",
        dao::dbOpenSnapshot);
    ASSERT_FALSE(rs->EOF_());
    dao::RowInserter filas(*db, "Filas");
    for (int i = 5; i < 8; ++i) filas.Insert(Fila(std::to_string(i), "EVA"));
    long leidas = 0;
    EXPECT_EQ(ErrorOf([&] {
                  for (; !rs->EOF_(); rs->MoveNext()) ++leidas;
              }),
              0);
    EXPECT_GE(leidas, 5);
    rs->Close();
    EXPECT_EQ(Rows(), 8);
}

// All or nothing: rows of a transaction rolled back are gone; a refused row
// inside the transaction leaves the others.
TEST_F(RowInserterTest, RowsFollowTheTransaction) {
    dao::RowInserter filas(*db, "Filas");
    db->BeginTrans();
    for (int i = 0; i < 50; ++i) filas.Insert(Fila(std::to_string(i), "ANA"));
    EXPECT_EQ(ErrorOf([&] { filas.Insert(Fila("0", "ANA")); }), dao::err::DuplicateKey);
    EXPECT_TRUE(db->InTransaction());
    EXPECT_EQ(Rows(), 50);
    db->Rollback();
    EXPECT_EQ(Rows(), 0);
    db->BeginTrans();
    filas.Insert(Fila("1", "ANA"));
    db->CommitTrans();
    EXPECT_EQ(Rows(), 1);
}

TEST_F(RowInserterTest, MissingTableAndClosedDatabase) {
    EXPECT_EQ(ErrorOf([&] { dao::RowInserter nada(*db, "NoHay"); }), dao::err::ObjectNotFound);
    dao::RowInserter filas(*db, "Filas");
    filas.Insert(Fila("1", "ANA"));
    db->Close();
    EXPECT_EQ(ErrorOf([&] { filas.Insert(Fila("2", "ANA")); }), 3420);
}

}  // namespace
}  // namespace daotest
