// Values another tool wrote into a column not made for them, and files opened only to
// be read.

#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace kst::db;

namespace {

class StoredKinds : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("k.kst");
        conn = ConnectionInfo{path, "pw"}.toString();
        TableDef t{"Rows", {}, {}};
        t.add(ColumnDef::autoNumber("ID"))
            .add(ColumnDef::longInt("amount"))
            .add(ColumnDef::text("name", 10))
            .add(ColumnDef::fixedText("code", 4))
            .add(ColumnDef::memo("notes"))
            .primaryKey("PrimaryKey", "ID");
        Catalog catalog = Catalog::create(conn);
        catalog.appendTable(t);
        catalog.close();
        Recordset rs;
        rs.open("SELECT * FROM Rows", conn);
        rs.addNew();
        rs.setValue(1, Value(qint64(7)));
        rs.setValue(2, Value(QString("seven")));
        rs.update();
        rs.close();
    }
    // Writes straight into the file, as another tool would.
    void rawExec(const char* sql) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    int openError() { return openRefusal().number(); }
    // The refusal of the read, or error 0 when it reads.
    kst::RunTimeError openRefusal() {
        try {
            Recordset rs;
            rs.open("SELECT * FROM Rows", conn);
        } catch (const kst::RunTimeError& e) {
            return e;
        }
        return kst::RunTimeError(0, QString());
    }

    QTemporaryDir dir;
    QString path;
    QString conn;
};

} // namespace

TEST_F(StoredKinds, ANumberColumnHoldingTextOrAFractionIsRefusedNotReadAsZero) {
    rawExec("UPDATE Rows SET amount = 'seven'");
    EXPECT_EQ(openError(), kst::err::TypeMismatch);
    rawExec("UPDATE Rows SET amount = 7.5");
    EXPECT_EQ(openError(), kst::err::TypeMismatch);
    rawExec("UPDATE Rows SET amount = 7.0");
    EXPECT_EQ(openError(), 0) << "a whole number stored as a fraction is still that number";
    rawExec("UPDATE Rows SET name = x'00ff'");
    EXPECT_EQ(openError(), kst::err::TypeMismatch);
}

// No writer of ours stores a text longer than its column: another tool's is damage, refused
// with the file, the row, the table and the column named, whatever reads it. A Memo has no
// size of its own.
TEST_F(StoredKinds, ATextLongerThanItsColumnIsRefusedNamingWhereItIs) {
    const struct {
        const char* sql;
        const char* refusal; // none: read as stored
    } cases[] = {
        {"UPDATE Rows SET name = 'ten chars!'", nullptr},
        {"UPDATE Rows SET name = 'ééééééééé€'", nullptr},
        {"UPDATE Rows SET name = 'eleven char'",
         "row 1 of the table 'Rows' holds a text of 11 characters in its column 'name', which "
         "holds at most 10."},
        {"UPDATE Rows SET name = hex(zeroblob(5000000))",
         "row 1 of the table 'Rows' holds a text of 10000000 characters in its column 'name', "
         "which holds at most 10."},
        {"UPDATE Rows SET name = 'x', code = 'abcde'",
         "row 1 of the table 'Rows' holds a text of 5 characters in its column 'code', which "
         "holds at most 4."},
        {"UPDATE Rows SET code = 'abcd', notes = hex(zeroblob(500000))", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        rawExec(c.sql);
        const kst::RunTimeError e = openRefusal();
        if (!c.refusal) {
            EXPECT_EQ(e.number(), 0) << e.description().toStdString();
            continue;
        }
        EXPECT_EQ(e.number(), kst::err::CannotOpen);
        EXPECT_EQ(e.description(), "The file '" + path + "' is damaged: " + c.refusal);
    }
}

TEST_F(StoredKinds, AFileOpenedForReadingCannotBeChanged) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    ConnectionInfo info = ConnectionInfo::parse(conn);
    info.readOnly = true;
    Recordset rs;
    rs.open("SELECT * FROM Rows", info);
    rs.moveFirst();
    EXPECT_EQ(rs.value(1).toInteger(), 7);
    rs.setValue(1, Value(qint64(8)));
    EXPECT_THROW(rs.update(), kst::RunTimeError);
    rs.cancelUpdate();
    rs.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}
