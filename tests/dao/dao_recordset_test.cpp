// Recordsets: typed fields by name and position, moving, counting, editing,
// transactions and a table busy in another connection.
#include "tests/dao/dao_fixture.h"

namespace daotest {
namespace {

using dao::DataType;
using dao::Value;

class RecordsetTest : public DaoTest {
protected:
    void SetUp() override {
        DaoTest::SetUp();
        db->Execute("CREATE TABLE Tipos (t Text(10), b Byte, s Short, l Long, d Double, c Currency, f Date, "
                    "y YesNo, semana Short DEFAULT 0, CONSTRAINT pk PRIMARY KEY (t))");
        db->FindTableDef("Tipos")->SetAllowZeroLength("t", true);
    }
    void AddRows(int n) {
        for (int i = 1; i <= n; ++i) db->Execute("INSERT INTO Tipos (t, l) VALUES (?, ?)", {"R" + std::to_string(i), i});
    }
};

TEST_F(RecordsetTest, FieldsAreTypedByTheirColumnsAndFoundByNameOrPosition) {
    db->Execute("INSERT INTO Tipos VALUES ('abc', 200, -3, 70000, 1.5, 12.3456, '1980-05-23', 1, 2)");
    auto rs = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenSnapshot);
    ASSERT_EQ(rs->FieldCount(), 9);
    struct Case {
        const char* name;
        DataType type;
        std::string text;
    };
    const Case cases[] = {
        {"t", DataType::Text, "abc"},         {"b", DataType::Byte, "200"},
        {"s", DataType::Integer, "-3"},       {"l", DataType::Long, "70000"},
        {"d", DataType::Double, "1.5"},       {"c", DataType::Currency, "12.3456"},
        {"f", DataType::Date, "1980-05-23"},  {"y", DataType::Boolean, "True"},
        {"semana", DataType::Integer, "2"},
    };
    for (int i = 0; i < 9; ++i) {
        const auto& c = cases[i];
        EXPECT_EQ(rs->FieldDefs()[i].Name(), c.name);
        EXPECT_EQ(rs->Fields(i).Type(), c.type) << c.name;
        EXPECT_EQ(rs->Fields(c.name).AsText(), c.text) << c.name;
    }
    EXPECT_EQ(rs->Fields("SEMANA").AsLong(), 2);  // names ignore case
    EXPECT_EQ(rs->Fields("f").AsDate(), (dao::Date{1980, 5, 23}));
    EXPECT_EQ(rs->Fields("c").AsCurrency(), zv::Currency::FromRaw(123456));
    EXPECT_EQ(ErrorOf([&] { rs->Fields("nohay"); }), dao::err::ItemNotFound);
    EXPECT_EQ(ErrorOf([&] { rs->Fields(9); }), dao::err::ItemNotFound);
}

TEST_F(RecordsetTest, ExpressionsAreTypedByTheirValues) {
    AddRows(3);
    auto rs = db->OpenRecordset("SELECT count(*) AS n, max(t) AS m, sum(l * 1.5) AS s, max(f) AS z FROM Tipos",
                                dao::dbOpenSnapshot);
    EXPECT_EQ(rs->Fields("n").Type(), DataType::Long);
    EXPECT_EQ(rs->Fields("n").AsLong(), 3);
    EXPECT_EQ(rs->Fields("m").Type(), DataType::Text);
    EXPECT_EQ(rs->Fields("s").AsDouble(), 9.0);
    EXPECT_TRUE(rs->Fields("z").IsNull());
}

TEST_F(RecordsetTest, MovingCountingAndPositions) {
    AddRows(5);
    auto rs = db->OpenRecordset("SELECT * FROM Tipos ORDER BY l", dao::dbOpenDynaset);
    EXPECT_FALSE(rs->BOF());
    EXPECT_EQ(rs->RecordCount(), 1);  // rows reached so far
    EXPECT_EQ(rs->AbsolutePosition(), 0);
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("l").AsLong(), 2);
    EXPECT_EQ(rs->AbsolutePosition(), 1);
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_EQ(rs->AbsolutePosition(), 4);
    EXPECT_EQ(rs->Fields("t").AsText(), "R5");
    rs->MoveFirst();
    EXPECT_EQ(rs->Fields("t").AsText(), "R1");
    EXPECT_EQ(rs->RecordCount(), 5);
    int seen = 0;
    for (; !rs->EOF_(); rs->MoveNext()) ++seen;
    EXPECT_EQ(seen, 5);
    EXPECT_EQ(rs->AbsolutePosition(), -1);
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), dao::err::NoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->Fields("t"); }), dao::err::NoCurrentRecord);
    rs->MoveLast();  // from the end too
    EXPECT_EQ(rs->Fields("l").AsLong(), 5);
}

TEST_F(RecordsetTest, EmptySetIsAtBothEnds) {
    auto rs = db->OpenRecordset("SELECT * FROM Tipos WHERE l = ?", dao::dbOpenSnapshot, {99});
    EXPECT_TRUE(rs->BOF());
    EXPECT_TRUE(rs->EOF_());
    EXPECT_EQ(rs->RecordCount(), 0);
    EXPECT_EQ(ErrorOf([&] { rs->MoveFirst(); }), dao::err::NoCurrentRecord);
    EXPECT_EQ(ErrorOf([&] { rs->MoveLast(); }), dao::err::NoCurrentRecord);
}

TEST_F(RecordsetTest, DynasetAddNewEditUpdateAndDelete) {
    auto rs = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenDynaset);
    rs->AddNew();
    EXPECT_EQ(rs->Fields("semana").AsLong(), 0);  // the column's default fills the new row
    EXPECT_EQ(rs->Fields("semana").Type(), DataType::Integer);
    rs->SetField("t", "nuevo");
    rs->SetField("b", "6");
    rs->SetField("f", "23/05/1980");  // day first, as the programs assign dates
    rs->SetField("c", "1234.5");
    rs->Update();
    auto check = db->OpenRecordset("SELECT t, b, f, c, semana, CAST(f AS TEXT) AS enDisco FROM Tipos",
                                   dao::dbOpenSnapshot);
    EXPECT_EQ(check->Fields("b").Type(), DataType::Byte);
    EXPECT_EQ(check->Fields("b").AsLong(), 6);
    EXPECT_EQ(check->Fields("f").AsDate(), (dao::Date{1980, 5, 23}));
    EXPECT_EQ(check->Fields("enDisco").AsText(), "1980-05-23");
    EXPECT_EQ(check->Fields("c").AsCurrency(), zv::Currency::FromRaw(12345000));
    EXPECT_EQ(check->Fields("semana").AsLong(), 0);

    auto edit = db->OpenRecordset("SELECT * FROM Tipos WHERE t = ?", dao::dbOpenDynaset, {"nuevo"});
    edit->Edit();
    edit->SetField("l", 42);
    EXPECT_EQ(edit->Fields("l").AsLong(), 42);  // the edit buffer
    edit->Update();
    EXPECT_EQ(edit->Fields("l").AsLong(), 42);
    EXPECT_EQ(db->OpenRecordset("SELECT l FROM Tipos", dao::dbOpenSnapshot)->Fields(0).AsLong(), 42);
    edit->Delete();
    EXPECT_TRUE(db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenSnapshot)->EOF_());
}

TEST_F(RecordsetTest, UpdateRulesAndConversions) {
    AddRows(1);
    auto rs = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenDynaset);
    EXPECT_EQ(ErrorOf([&] { rs->SetField("l", 1); }), dao::err::UpdateWithoutEdit);
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::err::UpdateWithoutEdit);
    rs->Edit();
    EXPECT_EQ(ErrorOf([&] { rs->SetField("l", "abc"); }), dao::err::ConversionError);
    EXPECT_EQ(ErrorOf([&] { rs->SetField("b", 300); }), dao::err::Overflow);
    EXPECT_EQ(ErrorOf([&] { rs->SetField("f", "31/02/2008"); }), dao::err::ConversionError);
    rs->CancelUpdate();
    rs->AddNew();
    rs->SetField("t", "R1");
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::err::DuplicateKey);
    rs->AddNew();  // a new row drops the refused one
    rs->SetField("t", std::string(11, 'x'));
    EXPECT_EQ(ErrorOf([&] { rs->Update(); }), dao::err::FieldTooSmall);
    auto snap = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenSnapshot);
    EXPECT_EQ(ErrorOf([&] { snap->AddNew(); }), dao::err::ReadOnly);
    EXPECT_EQ(ErrorOf([&] { snap->Edit(); }), dao::err::ReadOnly);
}

TEST_F(RecordsetTest, TableTypeSetAddsRowsAndCountsExactly) {
    AddRows(3);
    auto rs = db->OpenRecordset("tipos", dao::dbOpenTable);
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->AddNew();
    rs->SetField("t", "R9");
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 4);
}

TEST_F(RecordsetTest, RolledBackTransactionLeavesNothing) {
    db->BeginTrans();
    AddRows(3);
    auto rs = db->OpenRecordset("Tipos", dao::dbOpenTable);
    rs->AddNew();
    rs->SetField("t", "X");
    rs->Update();
    rs->Close();
    db->Rollback();
    EXPECT_EQ(db->OpenRecordset("SELECT count(*) FROM Tipos", dao::dbOpenSnapshot)->Fields(0).AsLong(), 0);
    EXPECT_FALSE(db->InTransaction());
    db->BeginTrans();
    AddRows(2);
    db->CommitTrans();
    auto other = OpenSecond();
    EXPECT_EQ(other->OpenRecordset("SELECT count(*) FROM Tipos", dao::dbOpenSnapshot)->Fields(0).AsLong(), 2);
    EXPECT_EQ(ErrorOf([&] { db->CommitTrans(); }), dao::err::NoTransaction);
}

TEST_F(RecordsetTest, TableBusyInAnotherConnectionIsS1000) {
    auto other = OpenSecond();
    other->BeginTrans();
    other->Execute("INSERT INTO Tipos (t) VALUES ('otro')");
    long number = ErrorOf([&] { AddRows(1); });
    EXPECT_EQ(number, dao::err::OdbcCallFailed);
    ASSERT_FALSE(engine->Errors().empty());
    EXPECT_EQ(engine->Errors()[0].description.substr(0, 5), "S1000");
    EXPECT_EQ(ErrorOf([&] { db->BeginTrans(); }), dao::err::OdbcCallFailed);
    other->Rollback();
    EXPECT_EQ(ErrorOf([&] { AddRows(1); }), 0);  // free again
    // Readers are never kept waiting by a writer.
    other->BeginTrans();
    other->Execute("INSERT INTO Tipos (t) VALUES ('otro')");
    EXPECT_EQ(db->OpenRecordset("SELECT count(*) FROM Tipos", dao::dbOpenSnapshot)->Fields(0).AsLong(), 1);
    other->Rollback();
}

TEST_F(RecordsetTest, ReadingWhileAnotherConnectionWrites) {
    AddRows(3);
    auto rs = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenSnapshot);  // left open mid-way
    auto other = OpenSecond();
    EXPECT_EQ(ErrorOf([&] { other->Execute("INSERT INTO Tipos (t) VALUES ('otro')"); }), 0);
}

}  // namespace
}  // namespace daotest

namespace daotest {
namespace {

TEST_F(RecordsetTest, DynasetWithAComputedColumnEditsOnlyTableColumns) {
    AddRows(2);
    auto rs = db->OpenRecordset("SELECT *, (SELECT max(l) FROM Tipos) AS mayor FROM Tipos WHERE l = ?",
                                dao::dbOpenDynaset, {1});
    EXPECT_EQ(rs->Fields("mayor").AsLong(), 2);
    rs->Edit();
    EXPECT_EQ(ErrorOf([&] { rs->SetField("mayor", 5); }), dao::err::FieldNotUpdatable);
    rs->SetField("d", 2.5);
    rs->Update();
    EXPECT_EQ(db->OpenRecordset("SELECT d FROM Tipos WHERE l = 1", dao::dbOpenSnapshot)->Fields(0).AsDouble(), 2.5);
}

TEST_F(RecordsetTest, TransactionsWhileARecordsetIsHalfRead) {
    AddRows(3);
    auto rs = db->OpenRecordset("SELECT * FROM Tipos ORDER BY l", dao::dbOpenDynaset);
    db->BeginTrans();
    rs->Edit();
    rs->SetField("d", 1.0);
    rs->Update();
    db->Execute("INSERT INTO Tipos (t, l) VALUES ('R9', 9)");
    db->CommitTrans();
    rs->MoveNext();
    EXPECT_EQ(rs->Fields("l").AsLong(), 2);
    db->BeginTrans();
    db->Execute("DELETE FROM Tipos WHERE l = 9");
    db->Rollback();
    EXPECT_EQ(db->OpenRecordset("SELECT count(*) FROM Tipos", dao::dbOpenSnapshot)->Fields(0).AsLong(), 4);
}

}  // namespace
}  // namespace daotest

namespace daotest {
namespace {

TEST_F(RecordsetTest, RecordCountCountsAddedRowsOnce) {
    AddRows(2);
    auto rs = db->OpenRecordset("SELECT * FROM Tipos", dao::dbOpenDynaset);
    rs->MoveLast();
    rs->AddNew();
    rs->SetField("t", "R3");
    rs->Update();
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveFirst();
    rs->MoveLast();
    EXPECT_EQ(rs->RecordCount(), 3);
}

}  // namespace
}  // namespace daotest
