#include "tests/dao/dao_fixture.h"

#include "platform/dao/workgroup.h"

namespace daotest {

void DaoTest::SetUp() {
    dbPath = (dir.path() / "PRUEBA.MDB").string();
    mdwPath = (dir.path() / "ZVBAS.MDW").string();
    dao::workgroup::AddAccount(mdwPath, kUser, kPassword);
    engine = NewEngine();
    db = engine->CreateDatabase(dbPath);
}

std::unique_ptr<dao::DBEngine> DaoTest::NewEngine() const {
    auto e = std::make_unique<dao::DBEngine>();
    e->SystemDB = mdwPath;
    e->DefaultUser = kUser;
    e->DefaultPassword = kPassword;
    e->BusyTimeoutMs = 100;
    return e;
}

std::unique_ptr<dao::Database> DaoTest::OpenSecond(bool exclusive) {
    engine2 = NewEngine();
    return engine2->OpenDatabase(dbPath, exclusive, false);
}

}  // namespace daotest
