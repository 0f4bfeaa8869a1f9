// Prints: rows written per second through Execute and through a table-type
// recordset, rows read per second forward, and the resident memory growth of
// reading 20 000 rows against 200 000 rows (a forward read should not grow).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/dao/dao.h"
#include "platform/dao/workgroup.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

long ResidentKb() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

long ReadForward(dao::Database& db, long limit) {
    auto rs = db.OpenRecordset("SELECT * FROM F841DETDES LIMIT ?", dao::dbOpenSnapshot, {limit});
    long n = 0;
    for (; !rs->EOF_(); rs->MoveNext()) {
        if (!rs->Fields("Num_Doctrab").IsNull()) ++n;
    }
    return n;
}

}  // namespace

int main() {
    fs::path dir = fs::temp_directory_path() / ("dao_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    dao::workgroup::AddAccount((dir / "B.MDW").string(), "bench", "bench");
    dao::DBEngine engine;
    engine.SystemDB = (dir / "B.MDW").string();
    engine.DefaultUser = engine.DefaultPassword = "bench";
    auto db = engine.CreateDatabase((dir / "B.MDB").string());
    db->Execute("CREATE TABLE F841DETDES ([tip_doc_d] Byte,[doc_id_d] text(15),[periodo] Text(6),[formulario] "
                "Text(4), [Num_RUCEmpl] Text(11), [Tip_Doctrab] Text(2), [Num_Doctrab] Text(15), [Fec_NacTrab] DATE, "
                "[Nom_ApePat] Text(40), [Nom_Nombre] Text(40), [Mes_deveng] Text(6), [Mto_AporteO] Text(15), "
                "[cnumero] Text(6))");
    db->Execute("ALTER TABLE F841DETDES ADD CONSTRAINT PK_F841DETDES PRIMARY KEY ([doc_id_d], [Periodo], "
                "[Num_RUCEmpl], [Tip_Doctrab], [Num_Doctrab], [Mes_deveng])");

    const long kRows = 200000;
    auto t = Clock::now();
    db->BeginTrans();
    for (long i = 0; i < kRows / 2; ++i)
        db->Execute("INSERT INTO F841DETDES VALUES (6, '20142829551', '200801', '0841', '20100070970', '01', ?, "
                    "'1980-05-23', 'PÉREZ', 'JUAN', '200712', '120.50', '123456')",
                    {std::to_string(10000000 + i)});
    db->CommitTrans();
    double execute = Seconds(t);

    t = Clock::now();
    db->BeginTrans();
    auto table = db->OpenRecordset("F841DETDES", dao::dbOpenTable);
    for (long i = kRows / 2; i < kRows; ++i) {
        table->AddNew();
        table->SetField("tip_doc_d", 6);
        table->SetField("doc_id_d", "20142829551");
        table->SetField("periodo", "200801");
        table->SetField("formulario", "0841");
        table->SetField("Num_RUCEmpl", "20100070970");
        table->SetField("Tip_Doctrab", "01");
        table->SetField("Num_Doctrab", std::to_string(10000000 + i));
        table->SetField("Fec_NacTrab", "23/05/1980");
        table->SetField("Nom_ApePat", "PÉREZ");
        table->SetField("Nom_Nombre", "JUAN");
        table->SetField("Mes_deveng", "200712");
        table->SetField("Mto_AporteO", "120.50");
        table->SetField("cnumero", "123456");
        table->Update();
    }
    table->Close();
    db->CommitTrans();
    double addnew = Seconds(t);

    ReadForward(*db, 1000);  // warm the page cache
    long before = ResidentKb();
    ReadForward(*db, kRows / 10);
    long afterSmall = ResidentKb();
    t = Clock::now();
    long read = ReadForward(*db, kRows);
    double reading = Seconds(t);
    long afterLarge = ResidentKb();

    std::printf("Execute INSERT (bound, cached): %.0f rows/s\n", (kRows / 2) / execute);
    std::printf("table-type AddNew/Update:       %.0f rows/s\n", (kRows / 2) / addnew);
    std::printf("forward read of %ld rows:     %.0f rows/s\n", read, read / reading);
    std::printf("resident memory: %ld kB before, +%ld kB after %ld rows, +%ld kB after %ld rows\n", before,
                afterSmall - before, kRows / 10, afterLarge - before, kRows);
    db->Close();
    fs::remove_all(dir);
    return 0;
}
