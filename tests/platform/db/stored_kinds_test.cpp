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
    int readError(int ordinal) { return readRefusal(ordinal).number(); }
    // The refusal of reading column `ordinal` of the row, or error 0 when it reads; the row
    // itself always opens.
    kst::RunTimeError readRefusal(int ordinal) {
        Recordset rs;
        rs.open("SELECT * FROM Rows", conn);
        rs.moveFirst();
        try {
            rs.value(ordinal);
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
    const struct {
        const char* sql;
        int ordinal;
        int error;
    } cases[] = {
        {"UPDATE Rows SET amount = 'seven'", 1, kst::err::TypeMismatch},
        {"UPDATE Rows SET amount = 7.5", 1, kst::err::TypeMismatch},
        // A whole number stored as a fraction is still that number.
        {"UPDATE Rows SET amount = 7.0", 1, 0},
        {"UPDATE Rows SET amount = 7, name = x'00ff'", 2, kst::err::TypeMismatch},
    };
    for (const auto& c : cases) {
        rawExec(c.sql);
        EXPECT_EQ(readError(c.ordinal), c.error) << c.sql;
        EXPECT_EQ(readError(c.ordinal == 1 ? 2 : 1), 0) << c.sql << ": the row's other values";
    }
}

TEST_F(StoredKinds, AValueOfAnotherKindIsMendedByWritingOverIt) {
    rawExec("UPDATE Rows SET amount = 'seven'");
    Recordset rs;
    rs.open("SELECT * FROM Rows", conn);
    rs.moveFirst();
    EXPECT_EQ(rs.value(2).toText(), "seven");
    rs.setValue(1, Value(qint64(8)));
    EXPECT_EQ(rs.value(1).toInteger(), 8) << "what is to be written";
    rs.update();
    EXPECT_EQ(rs.value(1).toInteger(), 8);
    rs.close();
    EXPECT_EQ(readError(1), 0);

    // A new row is read back as the file holds it.
    rawExec("UPDATE Rows SET amount = 'seven'");
    rs.open("SELECT * FROM Rows", conn);
    rs.addNew();
    rs.setValue(2, Value(QString("eight")));
    rs.update();
    EXPECT_TRUE(rs.value(1).isNull());
    rs.moveFirst();
    EXPECT_THROW(rs.value(1), kst::RunTimeError) << "the damaged row is still refused";
    rs.close();
}

// No writer of ours stores a text longer than its column: another tool's is damage, refused
// with the file, the row, the table and the column named, whatever reads it. A Memo has no
// size of its own.
TEST_F(StoredKinds, ATextLongerThanItsColumnIsRefusedNamingWhereItIs) {
    const struct {
        const char* sql;
        int ordinal;
        const char* refusal; // none: read as stored
    } cases[] = {
        {"UPDATE Rows SET name = 'ten chars!'", 2, nullptr},
        {"UPDATE Rows SET name = 'ééééééééé€'", 2, nullptr},
        {"UPDATE Rows SET name = 'eleven char'", 2,
         "row 1 of the table 'Rows' holds a text of 11 characters in its column 'name', which "
         "holds at most 10."},
        {"UPDATE Rows SET name = hex(zeroblob(5000000))", 2,
         "row 1 of the table 'Rows' holds a text of 10000000 characters in its column 'name', "
         "which holds at most 10."},
        {"UPDATE Rows SET name = 'x', code = 'abcde'", 3,
         "row 1 of the table 'Rows' holds a text of 5 characters in its column 'code', which "
         "holds at most 4."},
        {"UPDATE Rows SET code = 'abcd', notes = hex(zeroblob(500000))", 4, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        rawExec(c.sql);
        const kst::RunTimeError e = readRefusal(c.ordinal);
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
