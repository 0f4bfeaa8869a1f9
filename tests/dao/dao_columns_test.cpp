// Table creation in the old dialect and the column rules it brings: sizes,
// empty text, keys, types, document numbers compared without trailing blanks.
#include "tests/dao/dao_fixture.h"

namespace daotest {
namespace {

using dao::DataType;
using dao::Value;

// The module's affiliate-detail table, as the installer writes it (shortened).
const char* kCreateDetalle =
    "CREATE TABLE F841DETDES ([tip_doc_d] Byte,[doc_id_d] text(15),[periodo] Text(6),[formulario] Text(4), "
    "[Num_RUCEmpl] Text(11), [Num_Doctrab] Text (15), [Fec_NacTrab] DATE, [Nom_ApePat] Text(40), "
    "[Nom_Nombre] Text(40), [Mes_deveng] Text(6), [cnumero] Text(6));";
const char* kKeyDetalle =
    "ALTER TABLE F841DETDES ADD CONSTRAINT PK_F841DETDES PRIMARY KEY ([doc_id_d], [Periodo],   [Num_RUCEmpl], "
    "[Num_Doctrab], [Mes_deveng] ) ";
const char* kInsert =
    "INSERT INTO F841DETDES (tip_doc_d, doc_id_d, periodo, formulario, Num_RUCEmpl, Num_Doctrab, Nom_ApePat, "
    "Nom_Nombre, Mes_deveng, cnumero) VALUES (6, ?, '200801', '0841', ?, ?, ?, ?, '200712', '123456')";

class ColumnsTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute(kCreateDetalle, {}, dao::dbInconsistent);
        db->Execute(kKeyDetalle, {}, dao::dbInconsistent);
    }
    long Insert(const std::string& ruc, const std::string& emp, const std::string& doc, const std::string& pat,
                const std::string& nombre) {
        return ErrorOf([&] { db->Execute(kInsert, {ruc, emp, doc, pat, nombre}); });
    }
};

TEST_F(ColumnsTest, JetTypesBecomeTypedFieldsInTableOrder) {
    auto def = db->FindTableDef("f841detdes");
    ASSERT_TRUE(def);
    EXPECT_EQ(def->Name(), "F841DETDES");
    const auto& f = def->Fields();
    ASSERT_EQ(f.size(), 11u);
    EXPECT_EQ(f[0].Name(), "tip_doc_d");
    EXPECT_EQ(f[0].Type(), DataType::Byte);
    EXPECT_EQ(f[1].Type(), DataType::Text);
    EXPECT_EQ(f[1].Size(), 15);
    EXPECT_EQ(f[5].Size(), 15);  // "Text (15)" with a blank
    EXPECT_EQ(f[6].Type(), DataType::Date);
    EXPECT_EQ(f[10].Name(), "cnumero");
    EXPECT_FALSE(f[7].AllowZeroLength());  // columns made by a statement refuse empty text
    auto all = db->TableDefs();
    ASSERT_EQ(all.size(), 1u);  // the catalog's own tables are not listed
}

TEST_F(ColumnsTest, TextLongerThanItsColumnIsRefused) {
    EXPECT_EQ(Insert("20100000001", "0", "12345678", "PEREZ", std::string(40, 'N')), 0);
    EXPECT_EQ(Insert("20100000001", "0", "12345679", "PEREZ", std::string(41, 'N')), dao::err::FieldTooSmall);
    // Characters, not bytes: forty accented letters fit in Text(40).
    std::string accents;
    for (int i = 0; i < 40; ++i) accents += "Ñ";
    EXPECT_EQ(Insert("20100000001", "0", "12345670", "PEREZ", accents), 0);
    EXPECT_EQ(ErrorOf([&] { db->Execute("UPDATE F841DETDES SET periodo = '2008011'"); }), dao::err::FieldTooSmall);
}

TEST_F(ColumnsTest, EmptyTextIsRefusedUntilTheColumnAllowsIt) {
    EXPECT_EQ(Insert("20100000001", "0", "1", "", "ANA"), dao::err::ZeroLengthString);
    EXPECT_NE(engine->Errors().at(0).description.find("Nom_ApePat"), std::string::npos);
    auto def = db->FindTableDef("F841DETDES");
    def->SetAllowZeroLength("nom_apepat", true);
    EXPECT_TRUE(def->FindField("Nom_ApePat")->AllowZeroLength());
    EXPECT_TRUE(db->FindTableDef("F841DETDES")->FindField("Nom_ApePat")->AllowZeroLength());
    EXPECT_EQ(Insert("20100000001", "0", "1", "", "ANA"), 0);
    EXPECT_EQ(Insert("20100000001", "0", "2", "ROJAS", ""), dao::err::ZeroLengthString);  // others still refuse
    EXPECT_EQ(ErrorOf([&] { def->SetAllowZeroLength("NoExiste", true); }), dao::err::ObjectNotFound);
}

TEST_F(ColumnsTest, DuplicateKeyTableAndPrimaryKeyErrors) {
    EXPECT_EQ(Insert("20100000001", "0", "1", "A", "B"), 0);
    EXPECT_EQ(Insert("20100000001", "0", "1", "C", "D"), dao::err::DuplicateKey);
    EXPECT_EQ(ErrorOf([&] { db->Execute(kCreateDetalle, {}, dao::dbInconsistent); }), dao::err::TableExists);
    EXPECT_EQ(ErrorOf([&] { db->Execute(kKeyDetalle, {}, dao::dbInconsistent); }), dao::err::PrimaryKeyExists);
    EXPECT_EQ(ErrorOf([&] { db->Execute("CREATE INDEX Otra ON F841DETDES (periodo) WITH PRIMARY"); }),
              dao::err::PrimaryKeyExists);
    db->Execute("CREATE TABLE T2 (a Long CONSTRAINT pk PRIMARY KEY, b Text(3))");
    EXPECT_EQ(ErrorOf([&] { db->Execute("ALTER TABLE T2 ADD CONSTRAINT pk2 PRIMARY KEY (b)"); }),
              dao::err::PrimaryKeyExists);
}

TEST_F(ColumnsTest, KeyColumnsRefuseNull) {
    EXPECT_EQ(ErrorOf([&] { db->Execute("INSERT INTO F841DETDES (doc_id_d) VALUES ('1')"); }),
              dao::err::NullInKey);
}

TEST_F(ColumnsTest, MissingObjectsAreObjectNotFound) {
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("NOHAY", dao::dbOpenTable); }), dao::err::ObjectNotFound);
    EXPECT_EQ(ErrorOf([&] { db->OpenRecordset("SELECT * FROM NOHAY", dao::dbOpenSnapshot); }),
              dao::err::ObjectNotFound);
    EXPECT_EQ(ErrorOf([&] { db->Execute("DELETE FROM NOHAY"); }), dao::err::ObjectNotFound);
    EXPECT_EQ(ErrorOf([&] { db->Execute("ALTER TABLE NOHAY ADD CONSTRAINT pk PRIMARY KEY (a)"); }),
              dao::err::ObjectNotFound);
}

TEST_F(ColumnsTest, PaddedDocumentNumberMatchesTheTrimmedOne) {
    ASSERT_EQ(Insert("20100000001", "20500000002", "1", "A", "B"), 0);
    auto rs = db->OpenRecordset("SELECT count(*) AS n FROM F841DETDES WHERE doc_id_d = '20100000001    '",
                                dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields("n").AsLong(), 1);
    auto bound = db->OpenRecordset("SELECT * FROM F841DETDES WHERE doc_id_d = ? AND Num_RUCEmpl = ?",
                                   dao::dbOpenSnapshot, {"20100000001    ", "20500000002 "});
    EXPECT_FALSE(bound->EOF_());
    // And the key counts them as the same number.
    EXPECT_EQ(Insert("20100000001  ", "20500000002", "1", "A", "B"), dao::err::DuplicateKey);
}

TEST_F(ColumnsTest, ColumnsAddedByAlterTableGetTheRules) {
    db->Execute("ALTER TABLE F841DETDES ADD COLUMN Extra Text(2)");
    auto def = db->FindTableDef("F841DETDES");  // the field lives in it
    ASSERT_TRUE(def);
    auto f = def->FindField("extra");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->Size(), 2);
    EXPECT_EQ(ErrorOf([&] { db->Execute("UPDATE F841DETDES SET Extra = 'ABC'"); }), 0);  // no rows yet
    Insert("1", "0", "1", "A", "B");
    EXPECT_EQ(ErrorOf([&] { db->Execute("UPDATE F841DETDES SET Extra = 'ABC'"); }), dao::err::FieldTooSmall);
}

TEST_F(ColumnsTest, DroppedTableLeavesNoCatalogBehind) {
    db->Execute("DROP TABLE F841DETDES");
    EXPECT_TRUE(db->TableDefs().empty());
    db->Execute("CREATE TABLE F841DETDES (doc_id_d Text(3))");
    EXPECT_EQ(db->FindTableDef("F841DETDES")->Fields().size(), 1u);
}

}  // namespace
}  // namespace daotest

namespace daotest {
namespace {

TEST_F(ColumnsTest, ConditionalCreateAndDropKeepTheRules) {
    db->FindTableDef("F841DETDES")->SetAllowZeroLength("Nom_ApePat", true);
    db->Execute("CREATE TABLE IF NOT EXISTS F841DETDES (doc_id_d Text(3))");
    EXPECT_TRUE(db->FindTableDef("F841DETDES")->FindField("Nom_ApePat")->AllowZeroLength());
    db->Execute("DROP TABLE IF EXISTS NoHay");
    EXPECT_EQ(ErrorOf([&] { db->Execute("DROP TABLE NoHay"); }), dao::err::ObjectNotFound);
}

}  // namespace
}  // namespace daotest
