// Text compares as the engine compares it: without regard to case over the
// letters of Windows-1252, accents still telling letters apart; document
// numbers also without trailing blanks. In WHERE, ORDER BY, keys and indexes.
#include "tests/dao/dao_fixture.h"

namespace daotest {
namespace {

using dao::Value;

class TextTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute("CREATE TABLE PERSONAS (Nombre Text(30), doc_id_d Text(15), Nota Memo, "
                    "CONSTRAINT PK_PERSONAS PRIMARY KEY (Nombre))");
    }
    long Add(const std::string& nombre, const std::string& doc = "1") {
        return ErrorOf([&] { db->Execute("INSERT INTO PERSONAS (Nombre, doc_id_d, Nota) VALUES (?, ?, ?)",
                                         {nombre, doc, nombre}); });
    }
    std::vector<std::string> Names(const std::string& sql, std::vector<Value> params = {}) {
        std::vector<std::string> out;
        auto rs = db->OpenRecordset(sql, dao::dbOpenSnapshot, std::move(params));
        for (; !rs->EOF_(); rs->MoveNext()) out.push_back(rs->Fields(0).AsText());
        return out;
    }
};

TEST_F(TextTest, EqualityFoldsTheCaseOfEveryWindows1252LetterButNotItsAccent) {
    struct Case {
        const char* stored;
        const char* asked;
        bool same;
    };
    const Case cases[] = {
        {"ZVADMIN", "zvadmin", true},   {"Peña", "PEÑA", true},   {"JOSÉ", "josé", true},
        {"ŒUVRE ŠŽŸ", "œuvre šžÿ", true}, {"ÀÉÎÕÜÇ", "àéîõüç", true}, {"JOSÉ", "JOSE", false},
        {"Peña", "Pena", false},        {"ana", "ana ", false},   {"a×b", "a÷b", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + c.asked);
        db->Execute("DELETE FROM PERSONAS");
        ASSERT_EQ(Add(c.stored), 0);
        EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE Nombre = ?", {c.asked}).size(), c.same ? 1u : 0u);
        EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE Nota = ?", {c.asked}).size(), c.same ? 1u : 0u);
        EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE ? = Nombre", {c.asked}).size(), c.same ? 1u : 0u);
        EXPECT_EQ(Add(c.asked), c.same ? dao::err::DuplicateKey : 0);  // the key is the same rule
    }
}

TEST_F(TextTest, OrderPutsCaseTogetherAndAnAccentRightAfterItsLetter) {
    for (const char* n : {"b", "Zapata", "álvaro", "Alvaro", "ALVARO Z", "Ñandú", "nube", "Oso", "_x", "ñu"})
        ASSERT_EQ(Add(n), 0) << n;
    // Letters first as if without accents, then the accent: á sorts with a, ñ with n.
    const std::vector<std::string> expected{"_x",    "Alvaro", "álvaro", "ALVARO Z", "b",
                                            "Ñandú", "ñu",     "nube",   "Oso",      "Zapata"};
    EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS ORDER BY Nombre"), expected);
    EXPECT_EQ(Names("SELECT Nota FROM PERSONAS ORDER BY Nota"), expected);
    // The key's index gives the same order as the sort.
    EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE Nombre > 'ALVARO' ORDER BY Nombre")[0], "álvaro");
    EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE Nombre BETWEEN 'N' AND 'ÑZ' ORDER BY Nombre"),
              (std::vector<std::string>{"Ñandú", "ñu", "nube"}));
}

TEST_F(TextTest, DocumentNumbersAlsoIgnoreTrailingBlanksAndGroupsAndIndexesFollow) {
    ASSERT_EQ(Add("uno", "ab123"), 0);
    ASSERT_EQ(Add("dos", "AB123    "), 0);
    ASSERT_EQ(Add("tres", "AB124"), 0);
    EXPECT_EQ(Names("SELECT Nombre FROM PERSONAS WHERE doc_id_d = ? ORDER BY Nombre", {"Ab123 "}),
              (std::vector<std::string>{"dos", "uno"}));
    EXPECT_EQ(Names("SELECT COUNT(*) FROM PERSONAS GROUP BY doc_id_d ORDER BY 1"),
              (std::vector<std::string>{"1", "2"}));
    // A unique index sees the two rows as one number: refused until one goes.
    EXPECT_NE(ErrorOf([&] { db->Execute("CREATE UNIQUE INDEX IX_DOC ON PERSONAS (doc_id_d)"); }), 0);
    db->Execute("DELETE FROM PERSONAS WHERE Nombre = 'DOS'");
    ASSERT_EQ(ErrorOf([&] { db->Execute("CREATE UNIQUE INDEX IX_DOC ON PERSONAS (doc_id_d)"); }), 0);
    EXPECT_EQ(Add("cuatro", "aB123  "), dao::err::DuplicateKey);
    EXPECT_EQ(Add("cinco", "AB123X"), 0);
}

}  // namespace
}  // namespace daotest
