// The behaviours the profile code relies on from its database layer.

#include "db_test_helpers.h"
#include "platform/db/catalog.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using kst::RunTimeError;
using namespace kst::db;
using namespace kst::test;

namespace {

using DatabaseBehaviour = ItemsDatabase;

TEST_F(DatabaseBehaviour, OpensOnlyWithItsPassword) {
    addItems({"a"});
    EXPECT_EQ(errorNumberOf([&] { Catalog::open(conn); }), 0);
    for (const char* wrong : {"", "s3cret", "S3CRET!", "s3cret! x"}) {
        try {
            Recordset rs;
            rs.open("SELECT * FROM Items", ConnectionInfo{path, wrong});
            ADD_FAILURE() << wrong;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::InvalidPassword);
            EXPECT_EQ(e.number(), -2147217843);
            EXPECT_EQ(e.description(), "Not a valid password for the file '" + path + "'.");
        }
    }
    // The file keeps a salted check, not the password.
    EXPECT_FALSE(kst::test::fileBytes(path).contains("s3cret!"));
}

TEST_F(DatabaseBehaviour, OpeningNeverCreatesAFile) {
    const QString missing[] = {dir.filePath("none.kst"), dir.filePath("no/folder/x.kst")};
    for (const QString& p : missing) {
        EXPECT_EQ(errorNumberOf([&] {
                      Catalog::open(ConnectionInfo{p, "s3cret!"});
                  }),
                  err::CannotOpen);
        Recordset rs;
        EXPECT_EQ(errorNumberOf([&] {
                      rs.open("SELECT * FROM Items", ConnectionInfo{p, ""});
                  }),
                  err::CannotOpen);
        EXPECT_FALSE(QFileInfo::exists(p));
        EXPECT_FALSE(rs.isOpen());
    }
}

TEST_F(DatabaseBehaviour, EmptyTextAndForeignFilesFailClearlyAndStayAsTheyWere) {
    const QString empty = dir.filePath("empty.kst");
    const QString text = dir.filePath("text.kst");
    const QString foreign = dir.filePath("foreign.kst");
    kst::test::writeFile(empty, {});
    kst::test::writeFile(text, QByteArray("not a database at all, but long enough ").repeated(5));
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(foreign.toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "CREATE TABLE Items(ID INTEGER)", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    const QByteArray foreignBytes = kst::test::fileBytes(foreign);

    for (const QString& p : {empty, text, foreign, dir.path()}) {
        try {
            Catalog::open(ConnectionInfo{p, ""});
            ADD_FAILURE() << p.toStdString();
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::CannotOpen);
            EXPECT_TRUE(e.description().contains(p)) << e.description().toStdString();
        }
    }
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    EXPECT_EQ(kst::test::fileBytes(foreign), foreignBytes);
}

TEST_F(DatabaseBehaviour, CreatingRefusesAnExistingFileAndAMissingFolder) {
    addItems({"keep"});
    const QByteArray before = kst::test::fileBytes(path);
    EXPECT_EQ(errorNumberOf([&] { Catalog::create(conn); }), err::DatabaseExists);
    EXPECT_EQ(kst::test::fileBytes(path), before);
    const QString nowhere = dir.filePath("missing/new.kst");
    EXPECT_EQ(errorNumberOf([&] {
                  Catalog::create(ConnectionInfo{nowhere, ""});
              }),
              err::CannotOpen);
    EXPECT_FALSE(QFileInfo::exists(nowhere));
}

TEST_F(DatabaseBehaviour, CatalogListsOnlyUserTablesAndLooksThemUpWithoutCase) {
    Catalog catalog = Catalog::open(conn);
    TableDef second{"Second", {}, {}};
    second.add(ColumnDef::longInt("n"));
    catalog.appendTable(second);
    EXPECT_EQ(catalog.tableNames(), QStringList({"Items", "Second"}));
    EXPECT_TRUE(catalog.hasTable("ITEMS"));
    EXPECT_FALSE(catalog.hasTable("kst_sys_meta"));
    EXPECT_EQ(catalog.table("items"), itemsTable());
    EXPECT_EQ(errorNumberOf([&] { catalog.table("Third"); }), err::ItemNotFound);
    EXPECT_EQ(errorNumberOf([&] { catalog.appendTable(second); }), err::TableExists);
    TableDef reserved{"kst_sys_mine", {ColumnDef::longInt("n")}, {}};
    EXPECT_EQ(errorNumberOf([&] { catalog.appendTable(reserved); }), err::InvalidDefinition);
}

TEST_F(DatabaseBehaviour, SnapshotInKeyOrderThatLaterWritesByOthersDoNotChange) {
    addItems({"a", "b", "c", "d"});
    Recordset rs;
    rs.open("select * from ITEMS where id between 2 and 3", conn);
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(kId).toInteger(), 2);
    addItems({"e"});
    Recordset other;
    other.open("SELECT * FROM Items WHERE ID = 3", conn);
    other.setValue(kName, "changed");
    other.update();
    other.close();
    rs.moveNext();
    EXPECT_EQ(rs.value(kName).toText(), "c");
    EXPECT_EQ(rs.recordCount(), 2);
    rs.close();

    rs.open("SELECT * FROM Items", conn);
    QStringList names;
    for (; !rs.eof(); rs.moveNext())
        names << rs.value(kName).toText();
    EXPECT_EQ(names, QStringList({"a", "b", "changed", "d", "e"}));
}

TEST_F(DatabaseBehaviour, MovingPastTheEndAndMissingOrdinalsRaise) {
    addItems({"a"});
    Recordset rs;
    EXPECT_EQ(errorNumberOf([&] { rs.value(0); }), err::ObjectClosed);
    EXPECT_EQ(errorNumberOf([&] { rs.open("SELECT * FROM Nothing", conn); }), err::TableNotFound);
    EXPECT_EQ(errorNumberOf([&] { rs.open("SELECT * FROM Items WHERE Nope = 1", conn); }),
              err::UnknownColumn);
    rs.open("SELECT * FROM Items", conn);
    EXPECT_EQ(errorNumberOf([&] { rs.open("SELECT * FROM Items", conn); }), err::ObjectOpen);
    EXPECT_EQ(errorNumberOf([&] { rs.value(8); }), err::ItemNotFound);
    EXPECT_EQ(errorNumberOf([&] { rs.value(-1); }), err::ItemNotFound);
    rs.moveNext();
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(errorNumberOf([&] { rs.value(kName); }), err::NoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rs.setValue(kName, "x"); }), err::NoCurrentRecord);
    EXPECT_EQ(errorNumberOf([&] { rs.moveNext(); }), err::NoCurrentRecord);
    rs.moveFirst();
    EXPECT_EQ(rs.value(kName).toText(), "a");
    rs.close();

    rs.open("SELECT * FROM Items WHERE ID BETWEEN 57 AND 64", conn);
    EXPECT_TRUE(rs.eof());
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_EQ(errorNumberOf([&] { rs.moveFirst(); }), err::NoCurrentRecord);
}

TEST_F(DatabaseBehaviour, WritesReachTheFileWhenTheRecordIsLeftOrUpdated) {
    addItems({"a", "b", "c"});
    Recordset rs;
    rs.open("SELECT * FROM Items", conn);
    rs.setValue(kName, "A");
    EXPECT_EQ(rs.value(kName).toText(), "A");
    EXPECT_EQ(readOne(1, kName).toText(), "a"); // still pending
    rs.moveNext();
    EXPECT_EQ(readOne(1, kName).toText(), "A");
    rs.setValue(kName, "B");
    rs.update();
    EXPECT_EQ(readOne(2, kName).toText(), "B");
    rs.moveNext();
    rs.setValue(kName, "C");
    // Closing with a change neither written nor cancelled is refused and keeps it.
    EXPECT_EQ(errorNumberOf([&] { rs.close(); }), err::NotAllowed);
    EXPECT_TRUE(rs.isOpen());
    rs.cancelUpdate();
    rs.close();
    EXPECT_EQ(readOne(3, kName).toText(), "c");
}

TEST_F(DatabaseBehaviour, NewRowsAreNumberedAndTakeTheDefaultsOfTheirKinds) {
    Recordset rs;
    rs.open("SELECT * FROM Items", conn);
    rs.addNew();
    EXPECT_TRUE(rs.value(kId).isNull());
    rs.addNew(); // writes the first row, all defaults
    rs.setValue(kName, "second");
    rs.updateBatch();
    EXPECT_EQ(rs.value(kId).toInteger(), 2);
    rs.close();

    rs.open("SELECT * FROM Items", conn);
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.value(kId).toInteger(), 1);
    EXPECT_EQ(rs.value(kFlag), Value(false)); // Yes/No is never Null
    EXPECT_TRUE(rs.value(kName).isNull());
    EXPECT_TRUE(rs.value(kAmount).isNull());
    EXPECT_EQ(rs.value(kNotes).toText(), ""); // Null reads as empty text
    EXPECT_EQ(errorNumberOf([&] { rs.value(kAmount).toInteger(); }), err::InvalidUseOfNull);
    rs.close();
}

TEST_F(DatabaseBehaviour, TextKeepsItsFormAndFixedTextIsPadded) {
    addItems({"x", "y"});
    QString everyByte;
    for (int c = 0; c < 256; ++c)
        everyByte += QChar(c);
    {
        Recordset rs;
        rs.open("SELECT * FROM Items", conn);
        rs.setValue(kName, "0012");
        rs.setValue(kCode, "AB");
        rs.setValue(kNotes, everyByte.repeated(40));
        rs.moveNext();
        rs.setValue(kCode, Value());
        rs.setValue(kAmount, "0012");
        rs.updateBatch();
        rs.close();
    }
    EXPECT_EQ(readOne(1, kName), Value("0012"));
    EXPECT_EQ(readOne(1, kCode), Value("AB    "));
    EXPECT_EQ(readOne(1, kNotes).toText(), everyByte.repeated(40));
    EXPECT_TRUE(readOne(2, kCode).isNull());
    EXPECT_EQ(readOne(2, kAmount), Value(12));
}

TEST_F(DatabaseBehaviour, FieldsRefuseWhatTheyCannotHoldAndKeepTheirValue) {
    addItems({"keep"});
    struct Case {
        int ordinal;
        Value value;
    } refused[] = {
        {kName, QString(11, 'x')}, {kCode, "1234567"},      {kStrict, ""},   {kAmount, ""},
        {kAmount, "12abc"},        {kAmount, 2147483648.0}, {kSmall, 32768}, {kSmall, "-32769"},
        {kFlag, "maybe"},          {kFlag, Value()},        {kId, 5},
    };
    Recordset rs;
    rs.open("SELECT * FROM Items", conn);
    for (const auto& c : refused) {
        EXPECT_EQ(errorNumberOf([&] { rs.setValue(c.ordinal, c.value); }), err::ValueRefused)
            << c.ordinal << " " << c.value.toText().toStdString();
    }
    EXPECT_FALSE(rs.editPending());
    rs.close();
    EXPECT_EQ(readOne(1, kName).toText(), "keep");
}

TEST_F(DatabaseBehaviour, FieldsConvertWhatTheyCanHold) {
    addItems({"n"});
    struct Case {
        int ordinal;
        Value written;
        Value read;
    } cases[] = {
        {kName, 42, "42"},
        {kName, true, "True"},
        {kName, QString(10, 'x'), QString(10, 'x')},
        {kAmount, " 17 ", 17},
        {kAmount, 2.5, 2},
        {kAmount, "3.5", 4},
        {kAmount, true, -1},
        {kAmount, -2147483648.0, qint64(-2147483648)},
        {kSmall, "-32768", -32768},
        {kFlag, -1, true},
        {kFlag, 0, false},
        {kFlag, "true", true},
        {kFlag, "False", false},
        {kFlag, 7, true},
        {kStrict, "12345", "12345"},
    };
    for (const auto& c : cases) {
        Recordset rs;
        rs.open("SELECT * FROM Items WHERE ID = 1", conn);
        rs.setValue(c.ordinal, c.written);
        rs.update();
        rs.close();
        EXPECT_EQ(readOne(1, c.ordinal), c.read) << c.written.toText().toStdString();
    }
}

TEST_F(DatabaseBehaviour, AWriteToARowDeletedMeanwhileFails) {
    addItems({"a", "b"});
    Recordset rs;
    rs.open("SELECT * FROM Items", conn);
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "DELETE FROM Items WHERE ID = 1", nullptr, nullptr, nullptr);
    sqlite3_close(raw);
    rs.setValue(kName, "gone");
    EXPECT_EQ(errorNumberOf([&] { rs.moveNext(); }), err::RowNotFound);
    rs.cancelUpdate();
    rs.close();
}

} // namespace
