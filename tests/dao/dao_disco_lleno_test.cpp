// A disk that fills up under the layer: the engine ends the transaction by
// itself, the layer's rollback then finds nothing to undo, and what the
// caller hears is the full disk, never a damaged database or a rollback
// that failed.
#include <sqlite3.h>

#include <string>

#include "tests/support/conexion_prueba.h"
#include "tests/dao/dao_fixture.h"
#include "tests/support/disco_lleno.h"

namespace daotest {
namespace {

using dao::err::DiskFull;

constexpr const char* kSinEspacio = "No hay espacio suficiente en el disco.";

class DiscoLlenoTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute("CREATE TABLE T (n Long, t Memo)");
        db->Execute("INSERT INTO T (n, t) VALUES (0, 'antes')");
    }
    long Filas() { return db->OpenRecordset("SELECT count(*) FROM T", dao::dbOpenSnapshot)->Fields(0).AsLong(); }
    // Rows of 2 KB until the engine refuses one; the number of the error.
    long LlenaHastaFallar() {
        const std::string texto(2000, 'x');
        for (int i = 1; i <= 200; ++i) {
            if (long n = ErrorOf([&] { db->Execute("INSERT INTO T (n, t) VALUES (?, ?)", {i, texto}); })) return n;
        }
        return 0;
    }
    void ElErrorEsElDiscoLleno() {
        ASSERT_FALSE(db->Errors().empty());
        EXPECT_EQ(db->Errors()[0].number, DiskFull);
        EXPECT_EQ(db->Errors()[0].description, kSinEspacio);
        ASSERT_FALSE(engine->Errors().empty());
        EXPECT_EQ(engine->Errors()[0].number, DiskFull);
    }

    zvtest::DiscoLleno disco;  // made before the fixture opens the database
};

TEST_F(DiscoLlenoTest, ACommitThatFindsNoSpaceFailsWithTheFullDiskAndTheRollbackAfterItIsQuiet) {
    db->BeginTrans();
    db->Execute("INSERT INTO T (n, t) VALUES (1, 'nueva')");
    disco.Llena(0);
    EXPECT_EQ(ErrorOf([&] { db->CommitTrans(); }), DiskFull);
    EXPECT_EQ(ErrorOf([&] { db->Rollback(); }), 0);
    EXPECT_FALSE(db->InTransaction());
    ElErrorEsElDiscoLleno();

    disco.Libera();
    EXPECT_EQ(Filas(), 1);
    db->BeginTrans();
    db->Execute("INSERT INTO T (n, t) VALUES (1, 'nueva')");
    db->CommitTrans();
    EXPECT_EQ(Filas(), 2);
}

// Rows that reach the disk before the commit (a page cache smaller than
// the transaction, as in a large import) fail in the middle of it.
TEST_F(DiscoLlenoTest, AStatementThatFindsNoSpaceEndsTheTransactionAndEachLevelRollsBackQuietly) {
    ASSERT_EQ(sqlite3_exec(zvtest::Conexion(*db), "PRAGMA cache_size = 10", nullptr, nullptr, nullptr), SQLITE_OK);
    db->BeginTrans();
    db->BeginTrans();  // a caller's savepoint inside it
    disco.Llena(16 * 1024);
    ASSERT_EQ(LlenaHastaFallar(), DiskFull);
    ASSERT_NE(sqlite3_get_autocommit(zvtest::Conexion(*db)), 0) << "the engine was expected to end the transaction";
    // Committing what the engine undid answers with what undid it.
    EXPECT_EQ(ErrorOf([&] { db->CommitTrans(); }), DiskFull);
    ElErrorEsElDiscoLleno();
    EXPECT_EQ(ErrorOf([&] { db->Rollback(); }), 0);
    EXPECT_TRUE(db->InTransaction());
    EXPECT_EQ(ErrorOf([&] { db->Rollback(); }), 0);
    EXPECT_FALSE(db->InTransaction());
    ElErrorEsElDiscoLleno();
    EXPECT_EQ(ErrorOf([&] { db->Rollback(); }), dao::err::NoTransaction);

    disco.Libera();
    EXPECT_EQ(Filas(), 1);
    db->BeginTrans();
    EXPECT_EQ(LlenaHastaFallar(), 0);
    db->CommitTrans();
    EXPECT_EQ(Filas(), 201);
}

TEST_F(DiscoLlenoTest, OpeningOnAFullDiskIsTheFullDiskNotAnUnrecognizedDatabase) {
    db.reset();
    disco.Llena(0);
    try {
        engine->OpenDatabase(dbPath);
        FAIL() << "opened with no space for its shared memory";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.Number(), DiskFull);
        EXPECT_EQ(e.Description(), kSinEspacio);
    }
    EXPECT_GT(disco.Rechazos(), 0);
    disco.Libera();
    db = engine->OpenDatabase(dbPath);
    EXPECT_EQ(Filas(), 1);
}

}  // namespace
}  // namespace daotest
