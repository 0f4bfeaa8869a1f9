// The old dialect's functions and statement forms, and bound values.
#include <sqlite3.h>

#include <cstring>
#include <set>

#include "tests/dao/dao_fixture.h"
#include "tests/support/conexion_prueba.h"

namespace daotest {
namespace {

class SqlTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute("CREATE TABLE PARAM (Numero Text(3), Argumento Text(15), Funcion Text(255), "
                    "Correl_param Text(3))");
        db->FindTableDef("PARAM")->SetAllowZeroLength("Correl_param", true);
        db->Execute("insert into Param values ('044','1','DOCUMENTO NACIONAL DE IDENTIDAD DNI         ','')");
        db->Execute("insert into Param values ('044','11','PARTIDA DE NACIMIENTO     P.NAC.      ','')");
    }
    std::string One(const std::string& expr, const std::string& from = "",
                    const std::vector<dao::Value>& params = {}) {
        auto rs = db->OpenRecordset("SELECT " + expr + " AS v " + from, dao::dbOpenSnapshot, params);
        return rs->Fields("v").IsNull() ? "<null>" : rs->Fields("v").AsText();
    }
};

TEST_F(SqlTest, JetFunctions) {
    struct Case {
        const char* expr;
        const char* expected;
    };
    const Case cases[] = {
        {"MID('abcdef', 2, 3)", "bcd"},   {"mid('abcdef', 4)", "def"},   {"MID('ñandú', 2, 3)", "and"},
        {"LEFT('20100000001', 8)", "20100000"}, {"Right('abc', 2)", "bc"}, {"LEN('ñandú')", "5"},
        {"len(trim('  ab  '))", "2"},     {"LTRIM('  ab ')", "ab "},     {"RTRIM('  ab ')", "  ab"},
        {"VAL('12abc')", "12"},           {"VAL('abc')", "0"},           {"VAL(' 1 2.5')", "12.5"},
        {"val('-7')", "-7"},              {"VAL(NULL)", "<null>"},       {"UCASE('peña')", "PEÑA"},
        {"MID(NULL, 1, 2)", "<null>"},    {"'a' & 'b' & 1", "ab1"},      {"nz(NULL, 'x')", "x"},
    };
    for (const auto& c : cases) EXPECT_EQ(One(c.expr), c.expected) << c.expr;
}

TEST_F(SqlTest, ValComparesWithTextArguments) {
    const std::string from = "FROM param WHERE Numero = '044' AND Argumento = val(?)";
    EXPECT_EQ(One("mid(Funcion, 27, 12)", from, {"01"}), "TIDAD DNI   ");
    EXPECT_EQ(One("mid(Funcion, 27, 12)", from, {"11"}), "P.NAC.      ");
    // MAX over LEFT, as the spool numbering reads it.
    EXPECT_EQ(One("max(left(Argumento, 2))", "FROM PARAM"), "11");
}

TEST_F(SqlTest, DeleteStarAndBoundValues) {
    EXPECT_EQ(db->Execute("DELETE * FROM PARAM WHERE Argumento = ?", {"11"}), 1);
    EXPECT_EQ(One("count(*)", "FROM PARAM"), "1");
    // A quote in a bound value is only data.
    db->Execute("INSERT INTO PARAM VALUES (?, ?, ?, ?)", {"783", "01", "O'Higgins", ""});
    EXPECT_EQ(One("Funcion", "FROM PARAM WHERE Numero = ?", {"783"}), "O'Higgins");
    EXPECT_EQ(ErrorOf([&] { db->Execute("INSERT INTO PARAM VALUES (?, ?, ?, ?)", {"1"}); }),
              dao::err::TooFewParameters);
    EXPECT_EQ(ErrorOf([&] { db->Execute("SELEC nada"); }), dao::err::SyntaxError);
}

// How many times each of the connection's statements over this text has run
// (SQLite counts a run at the first step after a reset).
std::multiset<int> Corridas(sqlite3* db, const char* texto) {
    std::multiset<int> corridas;
    for (sqlite3_stmt* s = sqlite3_next_stmt(db, nullptr); s; s = sqlite3_next_stmt(db, s))
        if (std::strstr(sqlite3_sql(s), texto)) corridas.insert(sqlite3_stmt_status(s, SQLITE_STMTSTATUS_RUN, 0));
    return corridas;
}

TEST_F(SqlTest, PreparedStatementsAreReused) {
    // The same text opened twice at once works (two statements), and again after closing.
    auto a = db->OpenRecordset("SELECT * FROM PARAM ORDER BY Argumento", dao::dbOpenSnapshot);
    auto b = db->OpenRecordset("SELECT * FROM PARAM ORDER BY Argumento", dao::dbOpenSnapshot);
    b->MoveNext();
    EXPECT_EQ(a->Fields("Argumento").AsText(), "1");
    EXPECT_EQ(b->Fields("Argumento").AsText(), "11");
    EXPECT_EQ(Corridas(zvtest::Conexion(*db), "ORDER BY Argumento"), (std::multiset<int>{1, 1}));
    a->Close();
    auto c = db->OpenRecordset("SELECT * FROM PARAM ORDER BY Argumento", dao::dbOpenSnapshot);
    EXPECT_EQ(c->Fields("Argumento").AsText(), "1");
    // c runs on the statement a left, prepared once: no third one.
    EXPECT_EQ(Corridas(zvtest::Conexion(*db), "ORDER BY Argumento"), (std::multiset<int>{1, 2}));
}

TEST_F(SqlTest, ClosedDatabaseLeavesItsRecordsetsClosed) {
    auto rs = db->OpenRecordset("SELECT * FROM PARAM", dao::dbOpenSnapshot);
    db->Close();
    EXPECT_NE(ErrorOf([&] { rs->MoveNext(); }), 0);
}

}  // namespace
}  // namespace daotest
