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
    int openError() {
        try {
            Recordset rs;
            rs.open("SELECT * FROM Rows", conn);
        } catch (const kst::RunTimeError& e) {
            return e.number();
        }
        return 0;
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
