// Opening a database: missing files, the workgroup check, exclusive holders.
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/dao/workgroup.h"
#include "tests/dao/dao_fixture.h"

namespace daotest {
namespace {

namespace fs = std::filesystem;
using dao::err::DatabaseLocked;

TEST_F(DaoTest, MissingFileIsRefusedAndNeverCreated) {
    std::string missing = (dir.path() / "NOHAY.MDB").string();
    EXPECT_EQ(ErrorOf([&] { engine->OpenDatabase(missing); }), dao::err::FileNotFound);
    EXPECT_FALSE(fs::exists(missing));
    ASSERT_EQ(engine->Errors().size(), 1u);
    EXPECT_EQ(engine->Errors()[0].number, dao::err::FileNotFound);
    EXPECT_NE(engine->Errors()[0].description.find("NOHAY.MDB"), std::string::npos);
}

TEST_F(DaoTest, WorkgroupFileMustExistAndHoldTheAccount) {
    struct Case {
        const char* what;
        std::string systemDb, user, password;
        long expected;
    };
    const Case cases[] = {
        {"no workgroup file", (dir.path() / "OTRO.MDW").string(), kUser, kPassword, dao::err::SystemDbMissing},
        {"empty SystemDB", "", kUser, kPassword, dao::err::SystemDbMissing},
        {"wrong password", mdwPath, kUser, "secreto9", dao::err::NotValidAccount},
        {"unknown user", mdwPath, "intruso1", kPassword, dao::err::NotValidAccount},
        {"user in other case", mdwPath, "TESTER01", kPassword, 0},
    };
    for (const auto& c : cases) {
        dao::DBEngine e;
        e.SystemDB = c.systemDb;
        e.DefaultUser = c.user;
        e.DefaultPassword = c.password;
        EXPECT_EQ(ErrorOf([&] { e.OpenDatabase(dbPath); }), c.expected) << c.what;
    }
}

TEST_F(DaoTest, WorkgroupFileNeverHoldsThePassword) {
    std::ifstream in(mdwPath);
    std::string all((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(all.find(kPassword), std::string::npos);
    EXPECT_NE(all.find(kUser), std::string::npos);
}

TEST_F(DaoTest, ExclusiveHolderRefusesSharedOpensAndTheReverse) {
    db.reset();
    {
        auto exclusive = engine->OpenDatabase(dbPath, true);
        EXPECT_EQ(ErrorOf([&] { OpenSecond(false); }), DatabaseLocked);
        EXPECT_EQ(engine2->Errors().at(0).number, DatabaseLocked);
        EXPECT_EQ(ErrorOf([&] { OpenSecond(true); }), DatabaseLocked);
    }
    {
        auto shared = engine->OpenDatabase(dbPath, false);
        EXPECT_EQ(ErrorOf([&] { OpenSecond(true); }), DatabaseLocked);
        EXPECT_EQ(ErrorOf([&] { OpenSecond(false); }), 0);  // two shared opens live together
    }
    EXPECT_EQ(ErrorOf([&] { OpenSecond(true); }), 0);  // every holder gone
}

TEST_F(DaoTest, ReadOnlyFileCannotBeOpenedForUpdate) {
    db.reset();
    fs::permissions(dbPath, fs::perms::owner_read | fs::perms::group_read);
    if (::access(dbPath.c_str(), W_OK) == 0) GTEST_SKIP() << "running with rights over every file";
    EXPECT_EQ(ErrorOf([&] { engine->OpenDatabase(dbPath, false, false); }), DatabaseLocked);
}

TEST_F(DaoTest, FileThatIsNotADatabaseIsRefused) {
    std::string text = (dir.path() / "TEXTO.MDB").string();
    std::ofstream(text) << "esto no es una base de datos, solo texto de relleno para la prueba\n";
    EXPECT_EQ(ErrorOf([&] { engine->OpenDatabase(text); }), dao::err::UnrecognizedFormat);
}

}  // namespace
}  // namespace daotest

namespace daotest {
namespace {

TEST_F(DaoTest, DatabaseOutlivesTheEngineThatOpenedIt) {
    db.reset();
    std::unique_ptr<dao::Database> kept;
    {
        auto e = NewEngine();
        kept = e->OpenDatabase(dbPath);
    }
    kept->Execute("CREATE TABLE T (a Text(2))");
    EXPECT_EQ(ErrorOf([&] { kept->Execute("INSERT INTO T VALUES ('abc')"); }), dao::err::FieldTooSmall);
    ASSERT_EQ(kept->Errors().size(), 1u);
    EXPECT_EQ(kept->Errors()[0].number, dao::err::FieldTooSmall);
}

TEST_F(DaoTest, FileNameMatchesWithoutRegardToCase) {
    db.reset();
    EXPECT_EQ(ErrorOf([&] { engine->OpenDatabase((dir.path() / "prueba.mdb").string()); }), 0);
}

}  // namespace
}  // namespace daotest
