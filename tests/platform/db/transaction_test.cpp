// Writes that belong together reach the file together or not at all.

#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst::db;

namespace {

class RecordsetTransaction : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        conn = ConnectionInfo{dir.filePath("t.kst"), "pw"}.toString();
        TableDef t{"Rows", {}, {}};
        t.add(ColumnDef::autoNumber("ID"))
            .add(ColumnDef::text("name", 3))
            .primaryKey("PrimaryKey", "ID");
        Catalog catalog = Catalog::create(conn);
        catalog.appendTable(t);
        Recordset rs;
        rs.open("SELECT * FROM Rows", conn);
        for (const char* name : {"a", "b", "c"}) {
            rs.addNew();
            rs.setValue(1, Value(QString::fromLatin1(name)));
        }
        rs.update();
        rs.close();
    }

    QStringList names() {
        Recordset rs;
        rs.open("SELECT * FROM Rows", conn);
        QStringList result;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            result << rs.value(1).toText();
        rs.close();
        return result;
    }

    QTemporaryDir dir;
    QString conn;
};

} // namespace

TEST_F(RecordsetTransaction, AFailureHalfwayTakesBackTheRowsWrittenBeforeIt) {
    {
        Recordset rs;
        rs.open("SELECT * FROM Rows", conn);
        rs.beginTrans();
        rs.moveFirst();
        rs.setValue(1, Value(QString("x")));
        rs.moveNext(); // the first row is written, inside the transaction
        EXPECT_THROW(rs.setValue(1, Value(QString("four"))), kst::RunTimeError);
        // Never committed: the recordset goes, and the first row's write with it.
    }
    EXPECT_EQ(names(), QStringList({"a", "b", "c"}));

    Recordset rs;
    rs.open("SELECT * FROM Rows", conn);
    rs.beginTrans();
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        rs.setValue(1, Value(rs.value(1).toText().toUpper()));
    rs.commitTrans();
    rs.close();
    EXPECT_EQ(names(), QStringList({"A", "B", "C"}));
}

TEST_F(RecordsetTransaction, WritesToTwoTablesOfOneTransactionReachTheFileTogether) {
    {
        TableDef other{"Others", {}, {}};
        other.add(ColumnDef::autoNumber("ID"))
            .add(ColumnDef::text("name", 3))
            .primaryKey("PrimaryKey", "ID");
        Catalog::open(conn).appendTable(other);
        Recordset rs;
        rs.open("SELECT * FROM Others", conn);
        rs.addNew();
        rs.setValue(1, Value(QString("o")));
        rs.update();
        rs.close();
    }
    const auto others = [this] {
        Recordset rs;
        rs.open("SELECT * FROM Others", conn);
        rs.moveFirst();
        const QString name = rs.value(1).toText();
        rs.close();
        return name;
    };
    const auto writeBoth = [this](const QString& first, const QString& second, bool commit) {
        Recordset rs;
        rs.open("SELECT * FROM Others", conn);
        rs.beginTrans();
        rs.moveFirst();
        rs.setValue(1, Value(first));
        rs.reopen("SELECT * FROM Rows WHERE ID = 2"); // the pending value is written first
        rs.moveFirst();
        EXPECT_EQ(rs.value(1).toText(), "b");
        rs.setValue(1, Value(second));
        if (commit)
            rs.commitTrans();
        else
            rs.update();
    };
    // Never committed: neither table changes.
    writeBoth("x", "y", false);
    EXPECT_EQ(others(), "o");
    EXPECT_EQ(names(), QStringList({"a", "b", "c"}));
    // A value the second table refuses takes back the first table's write.
    EXPECT_THROW(writeBoth("x", "four", true), kst::RunTimeError);
    EXPECT_EQ(others(), "o");
    writeBoth("x", "y", true);
    EXPECT_EQ(others(), "x");
    EXPECT_EQ(names(), QStringList({"a", "y", "c"}));
}
