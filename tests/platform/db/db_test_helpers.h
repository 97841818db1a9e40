#pragma once

#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "support/fakes.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kst::test {

enum Ordinal { kId, kName, kCode, kAmount, kSmall, kFlag, kNotes, kStrict };

inline db::TableDef itemsTable() {
    db::TableDef t{"Items", {}, {}};
    db::ColumnDef strict = db::ColumnDef::text("strict", 5);
    strict.allowZeroLength = false;
    t.add(db::ColumnDef::autoNumber("ID"))
        .add(db::ColumnDef::text("name", 10))
        .add(db::ColumnDef::fixedText("code", 6))
        .add(db::ColumnDef::longInt("amount"))
        .add(db::ColumnDef::integer("small"))
        .add(db::ColumnDef::yesNo("flag"))
        .add(db::ColumnDef::memo("notes"))
        .add(strict)
        .primaryKey("PrimaryKey", "ID");
    return t;
}

// A database of ours with the one table `Items`, in a folder of its own.
class ItemsDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("items.kst");
        conn = db::ConnectionInfo{path, "s3cret!"}.toString();
        db::Catalog catalog = db::Catalog::create(conn);
        catalog.appendTable(itemsTable());
    }

    // Appends rows named by the texts, amount = position (1-based) * 10.
    void addItems(const QStringList& names) {
        db::Recordset rs;
        rs.open("SELECT * FROM Items", conn);
        for (const QString& name : names) {
            rs.addNew();
            rs.setValue(kName, name);
            rs.setValue(kAmount, (rs.recordCount()) * 10);
        }
        rs.updateBatch();
        rs.close();
    }

    db::Value readOne(int id, int ordinal) {
        db::Recordset rs;
        rs.open(QString("SELECT * FROM Items WHERE ID = %1").arg(id), conn);
        const db::Value v = rs.value(ordinal);
        rs.close();
        return v;
    }

    QTemporaryDir dir;
    QString path;
    QString conn;
};

} // namespace kst::test
