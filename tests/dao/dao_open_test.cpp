// Opening a database: missing files, the workgroup check, exclusive holders.
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sodium.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

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

// The account lines of the file, "user=hash", as written.
std::vector<std::string> AccountLines(const std::string& mdw) {
    std::ifstream in(mdw, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line[0] != '#') lines.push_back(line);
    }
    return lines;
}

TEST_F(DaoTest, EachAccountIsAnArgon2idHashOfTheInteractiveLimits) {
    dao::workgroup::AddAccount(mdwPath, "otro0001", kPassword);  // the same password, another salt
    auto lines = AccountLines(mdwPath);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(sodium_init() >= 0, true);
    std::vector<std::string> hashes;
    for (const auto& line : lines) {
        std::string hash = line.substr(line.find('=') + 1);
        EXPECT_TRUE(hash.starts_with("$argon2id$")) << line;
        EXPECT_EQ(crypto_pwhash_str_verify(hash.c_str(), kPassword, std::strlen(kPassword)), 0) << line;
        EXPECT_EQ(crypto_pwhash_str_needs_rehash(hash.c_str(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                                 crypto_pwhash_MEMLIMIT_INTERACTIVE),
                  0)
            << line;
        hashes.push_back(hash);
    }
    EXPECT_NE(hashes[0], hashes[1]);
    // A hash made by libsodium itself opens the database: nothing of our own
    // stands between the file and the library.
    char hash[crypto_pwhash_STRBYTES];
    ASSERT_EQ(crypto_pwhash_str(hash, "Otra9", 5, crypto_pwhash_OPSLIMIT_INTERACTIVE,
                                crypto_pwhash_MEMLIMIT_INTERACTIVE),
              0);
    std::ofstream(mdwPath, std::ios::app | std::ios::binary) << "ajeno001=" << hash << "\r\n";
    dao::DBEngine e;
    e.SystemDB = mdwPath;
    e.DefaultUser = "AJENO001";
    e.DefaultPassword = "Otra9";
    EXPECT_EQ(ErrorOf([&] { e.OpenDatabase(dbPath); }), 0);
    e.DefaultPassword = "otra9";
    EXPECT_EQ(ErrorOf([&] { e.OpenDatabase(dbPath); }), dao::err::NotValidAccount);
}

// A file of the earlier form (salt and SHA-256 digest) holds no hash the
// library reads: its accounts are refused, never let in.
TEST_F(DaoTest, AnAccountOfTheEarlierFormIsRefused) {
    std::ofstream(mdwPath, std::ios::binary | std::ios::trunc)
        << "# ZVBAS.MDW: cuentas del grupo de trabajo\r\n"
        << kUser << "=0123456789abcdef0123456789abcdef:"
        << "9f86d081884c7d659a2feaa0c55ad015a3bf4f1b2b0b822cd15d6c15b0f00a08\r\n";
    dao::DBEngine e;
    e.SystemDB = mdwPath;
    e.DefaultUser = kUser;
    e.DefaultPassword = kPassword;
    EXPECT_EQ(ErrorOf([&] { e.OpenDatabase(dbPath); }), dao::err::NotValidAccount);
}

// A workgroup file that is there but cannot be read (another user's 0600
// file, or a folder in its place) holds accounts nobody can see: adding one
// must not replace it with a file of that one account alone.
TEST_F(DaoTest, AnUnreadableWorkgroupFileIsAnErrorAndStaysAsItWas) {
    const std::string unreadable =
        "No se puede leer el archivo de información del grupo de trabajo '" + mdwPath +
        "'. Compruebe que el usuario tiene permiso para leerlo.";
    const std::string before = zvtest::Bytes(mdwPath);
    ASSERT_FALSE(before.empty());
    auto errorOf = [](auto&& f) -> std::string {
        try {
            f();
        } catch (const dao::Error& e) {
            return std::to_string(e.Number()) + " " + e.Description();
        }
        return "none";
    };
    {
        fs::permissions(mdwPath, fs::perms::owner_write);
        const zvtest::SinPasarPorEncimaDePermisos sinPoder;
        if (!sinPoder.Activo()) GTEST_SKIP() << "this thread cannot give up root's rights over files";
        const int fd = ::open(mdwPath.c_str(), O_RDONLY);
        if (fd >= 0) ::close(fd);
        if (fd >= 0) GTEST_SKIP() << "running with rights over every file";
        EXPECT_EQ(errorOf([&] { dao::workgroup::AddAccount(mdwPath, "otro0001", kPassword); }), "3028 " + unreadable);
        EXPECT_EQ(errorOf([&] { dao::workgroup::CheckAccount(mdwPath, kUser, kPassword); }), "3028 " + unreadable);
    }
    fs::permissions(mdwPath, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(zvtest::Bytes(mdwPath), before);
    EXPECT_EQ(errorOf([&] { dao::workgroup::CheckAccount(mdwPath, kUser, kPassword); }), "none");

    const std::string folder = (dir.path() / "CARPETA.MDW").string();
    fs::create_directory(folder);
    const std::string inFolder =
        "3028 No se puede leer el archivo de información del grupo de trabajo '" + folder +
        "'. Compruebe que el usuario tiene permiso para leerlo.";
    EXPECT_EQ(errorOf([&] { dao::workgroup::AddAccount(folder, kUser, kPassword); }), inFolder);
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));

    const std::string missing = (dir.path() / "NUEVO.MDW").string();  // missing is no error: it is made
    EXPECT_EQ(errorOf([&] { dao::workgroup::CheckAccount(missing, kUser, kPassword); }),
              "3028 No se puede iniciar la aplicación. Falta el archivo de información del grupo de trabajo '" +
                  missing + "' o está abierto en modo exclusivo por otro usuario.");
    EXPECT_EQ(errorOf([&] { dao::workgroup::AddAccount(missing, kUser, kPassword); }), "none");
    EXPECT_EQ(errorOf([&] { dao::workgroup::CheckAccount(missing, kUser, kPassword); }), "none");
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
    const zvtest::SinPasarPorEncimaDePermisos sinPoder;
    const int fd = ::open(dbPath.c_str(), O_RDWR);
    if (fd >= 0) ::close(fd);
    if (fd >= 0) GTEST_SKIP() << "running with rights over every file";
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
