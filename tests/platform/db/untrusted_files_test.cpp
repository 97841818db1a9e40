// Files that come from elsewhere: changed by other tools, damaged, or made to run
// something when the program opens or writes them. Every one is refused with the file's
// name and the reason, and left byte for byte as it was.

#include "db_test_helpers.h"
#include "platform/db/errors.h"
#include "platform/file_names.h"
#include "support/ordinary_user.h"
#include "support/raw_sqlite.h"

#include <QDir>
#include <QElapsedTimer>
#include <functional>
#include <map>
#include <sqlite3.h>
#include <unistd.h>

using namespace kst;
using namespace kst::db;
using namespace kst::test;

namespace {

class UntrustedFiles : public ItemsDatabase {
protected:
    // A copy of the database, changed with `sql` by a plain SQLite connection.
    QString changedCopy(const QString& name, const QString& sql) {
        const QString copy = dir.filePath(name);
        EXPECT_TRUE(QFile::copy(path, copy));
        EXPECT_EQ(sqliteExec(copy, sql), SQLITE_OK) << sql.toStdString();
        return copy;
    }

    // The error that opening the table raises, and the file's bytes untouched by it.
    RunTimeError refusal(const QString& file, const std::function<void()>& open) {
        const QByteArray before = fileBytes(file);
        try {
            open();
        } catch (const RunTimeError& e) {
            EXPECT_EQ(fileBytes(file), before);
            EXPECT_TRUE(e.description().contains("'" + file + "'")) << e.what();
            return e;
        }
        ADD_FAILURE() << "opened " << file.toStdString();
        return RunTimeError(0, QString());
    }
    RunTimeError readRefusal(const QString& file) {
        return refusal(file, [&] {
            Recordset rs;
            rs.open("SELECT * FROM Items", ConnectionInfo{file, "s3cret!"});
        });
    }
    RunTimeError integrityRefusal(const QString& file) {
        return refusal(file, [&] {
            Catalog catalog = Catalog::open(ConnectionInfo{file, "s3cret!"});
            catalog.checkIntegrity();
        });
    }
};

TEST_F(UntrustedFiles, NothingStoredInAFileRunsOnAConnection) {
    addItems({"a"});
    {
        Connection c = Connection::open(ConnectionInfo{path, "s3cret!"});
        for (int option : {SQLITE_DBCONFIG_TRUSTED_SCHEMA, SQLITE_DBCONFIG_ENABLE_TRIGGER,
                           SQLITE_DBCONFIG_ENABLE_VIEW, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION}) {
            int on = -1;
            sqlite3_db_config(c.handle(), option, -1, &on);
            EXPECT_EQ(on, 0) << option;
        }
        int defensive = -1;
        sqlite3_db_config(c.handle(), SQLITE_DBCONFIG_DEFENSIVE, -1, &defensive);
        EXPECT_EQ(defensive, 1);
        EXPECT_EQ(sqlite3_limit(c.handle(), SQLITE_LIMIT_LENGTH, -1), 16 * 1024 * 1024);
        EXPECT_EQ(sqlite3_limit(c.handle(), SQLITE_LIMIT_ATTACHED, -1), 0);

        // A trigger that slipped into the file does not fire on the program's writes.
        c.exec("CREATE TRIGGER rewrite AFTER UPDATE ON Items BEGIN "
               "UPDATE Items SET name = 'FF,FF,FF,'; END");
        c.exec("UPDATE Items SET amount = 5");
    }
    EXPECT_EQ(sqliteExec(path, "DROP TRIGGER rewrite"), SQLITE_OK);
    EXPECT_EQ(readOne(1, kName).toText(), "a");
    EXPECT_EQ(readOne(1, kAmount).toInteger(), 5);
}

TEST_F(UntrustedFiles, AFileWithObjectsOurFilesNeverHoldIsRefused) {
    addItems({"a", "b"});
    const std::pair<const char*, const char*> cases[] = {
        {"trigger 'rewrite'", "CREATE TRIGGER rewrite AFTER UPDATE ON Items BEGIN "
                              "UPDATE Items SET name = 'FF,FF,FF,'; END"},
        {"view 'names'", "CREATE VIEW names AS SELECT name FROM Items"},
        {"virtual table 'search'", "CREATE VIRTUAL TABLE search USING fts5(body)"},
        {"index 'byName'", "CREATE INDEX byName ON Items(name)"},
        {"table 'kst_sys_extra'", "CREATE TABLE kst_sys_extra(x)"},
        {"table 'kst_sys_meta'",
         "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
         "'value TEXT NOT NULL', 'value TEXT NOT NULL DEFAULT (random())') "
         "WHERE name = 'kst_sys_meta'"},
    };
    int n = 0;
    for (const auto& [object, sql] : cases) {
        SCOPED_TRACE(object);
        const QString file = changedCopy(QString("copy%1.kst").arg(++n), sql);
        const RunTimeError e = readRefusal(file);
        EXPECT_EQ(e.number(), err::CannotOpen);
        EXPECT_TRUE(e.description().contains("holds objects that a profile never has"));
        EXPECT_TRUE(e.description().contains(object)) << e.what();
        EXPECT_EQ(integrityRefusal(file).description(), e.description());
    }
}

TEST_F(UntrustedFiles, ATableChangedByAnotherToolIsNeverReadByPosition) {
    addItems({"a"});
    const struct {
        const char* change;
        const char* sql;
        int number;
        const char* reason;
    } cases[] = {
        {"column dropped", "ALTER TABLE Items DROP COLUMN notes", err::UnknownColumn,
         "does not match its definition: it lacks the column 'notes'."},
        {"column added", "ALTER TABLE Items ADD COLUMN extra TEXT", err::UnknownColumn,
         "it has the column 'extra', which does not belong there."},
        {"computed column added", "ALTER TABLE Items ADD COLUMN g GENERATED ALWAYS AS (1)",
         err::UnknownColumn, "it has the column 'g', which does not belong there."},
        {"columns renamed into each other's places",
         "ALTER TABLE Items RENAME COLUMN code TO tmp; ALTER TABLE Items RENAME COLUMN amount "
         "TO code; ALTER TABLE Items RENAME COLUMN tmp TO amount",
         err::UnknownColumn, "its column 'amount' stands where 'code' belongs."},
        {"constraint added",
         "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
         "'\"amount\" INTEGER', '\"amount\" INTEGER CHECK (amount < 0)') WHERE name = 'Items'",
         err::CannotOpen, "does not match its definition: it was changed outside the program."},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        const QString file = changedCopy(QString("copy%1.kst").arg(++n), c.sql);
        const RunTimeError e = readRefusal(file);
        EXPECT_EQ(e.number(), c.number);
        EXPECT_TRUE(e.description().startsWith("The table 'Items' of '" + file + "'")) << e.what();
        EXPECT_TRUE(e.description().endsWith(c.reason)) << e.what();
    }
}

TEST_F(UntrustedFiles, AReaderThatAcceptsDroppedColumnsReadsWhatIsLeftByName) {
    addItems({"a"});
    ASSERT_EQ(sqliteExec(path, "UPDATE Items SET code = 'C', small = 5, notes = 'n', "
                               "strict = 's'"),
              SQLITE_OK);
    const struct {
        const char* change;
        const char* sql;
        QStringList columns; // those left; none when the table is refused
        int number = 0;
    } cases[] = {
        {"one column dropped",
         "ALTER TABLE Items DROP COLUMN notes",
         {"ID", "name", "code", "amount", "small", "flag", "strict"}},
        {"columns dropped here and there",
         "ALTER TABLE Items DROP COLUMN code; ALTER TABLE Items DROP COLUMN strict",
         {"ID", "name", "amount", "small", "flag", "notes"}},
        {"a constraint added, which holds nothing back from a reader",
         "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
         "'\"amount\" INTEGER', '\"amount\" INTEGER CHECK (amount < 0)') WHERE name = 'Items'",
         {"ID", "name", "code", "amount", "small", "flag", "notes", "strict"}},
        {"a column added", "ALTER TABLE Items ADD COLUMN extra TEXT", {}, err::UnknownColumn},
        {"a computed column added",
         "ALTER TABLE Items ADD COLUMN g GENERATED ALWAYS AS (1)",
         {},
         err::UnknownColumn},
        {"columns renamed into each other's places",
         "ALTER TABLE Items RENAME COLUMN code TO tmp; ALTER TABLE Items RENAME COLUMN amount "
         "TO code; ALTER TABLE Items RENAME COLUMN tmp TO amount",
         {},
         err::UnknownColumn},
        {"a column declared as another kind",
         "PRAGMA writable_schema = ON; UPDATE sqlite_master SET sql = replace(sql, "
         "'\"amount\" INTEGER', '\"amount\" TEXT') WHERE name = 'Items'",
         {},
         err::CannotOpen},
    };
    const std::map<QString, QString> stored = {{"ID", "1"},      {"name", "a"},  {"code", "C"},
                                               {"amount", "10"}, {"small", "5"}, {"flag", "False"},
                                               {"notes", "n"},   {"strict", "s"}};
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        const QString file = changedCopy(QString("trimmed%1.kst").arg(++n), c.sql);
        ConnectionInfo info{file, "s3cret!"};
        info.acceptDroppedColumns = true;
        if (c.columns.isEmpty()) {
            const RunTimeError e = refusal(file, [&] {
                Recordset rs;
                rs.open("SELECT * FROM Items", info);
            });
            EXPECT_EQ(e.number(), c.number);
            continue;
        }
        const QByteArray before = fileBytes(file);
        Recordset rs;
        rs.open("SELECT * FROM Items", info);
        rs.moveFirst();
        QStringList columns;
        for (int k = 0; k < rs.fieldCount(); ++k) {
            columns << rs.field(k).name;
            EXPECT_EQ(rs.value(k).toText(), stored.at(rs.field(k).name))
                << rs.field(k).name.toStdString();
        }
        EXPECT_EQ(columns, c.columns);
        // Such a reader never writes.
        rs.setValue(rs.fieldCount() - 1, rs.value(rs.fieldCount() - 1));
        EXPECT_EQ(errorNumberOf([&] { rs.update(); }), err::PermissionDenied);
        rs.cancelUpdate();
        rs.close();
        EXPECT_EQ(fileBytes(file), before);
    }
}

TEST_F(UntrustedFiles, ADamagedPageIsFoundByTheIntegrityCheckBeforeAnythingIsRead) {
    QStringList names;
    for (int i = 0; i < 300; ++i)
        names << QString("item%1").arg(i);
    addItems(names);
    const int root = rootPageOf(path, "Items");
    ASSERT_GT(root, 1);
    ASSERT_TRUE(overwriteBytes(path, qint64(root - 1) * 4096, QByteArray(64, '\xA5')));

    const RunTimeError e = integrityRefusal(path);
    EXPECT_EQ(e.number(), err::CannotOpen);
    EXPECT_TRUE(e.description().startsWith("The file '" + path + "' is damaged: ")) << e.what();
}

TEST_F(UntrustedFiles, AValueLongerThanAnyFieldIsRefusedInsteadOfLoaded) {
    addItems({"a", "b"});
    // 17 million characters: more than the 16 MB that a connection reads.
    ASSERT_EQ(sqliteExec(path, "UPDATE Items SET notes = hex(zeroblob(8500000)) WHERE ID = 2"),
              SQLITE_OK);
    const QString tooLong = "holds a value longer than 16 MB";
    EXPECT_TRUE(integrityRefusal(path).description().contains(tooLong));
    EXPECT_TRUE(readRefusal(path).description().contains(tooLong));

    // Nor is such a value written.
    ASSERT_EQ(sqliteExec(path, "UPDATE Items SET notes = NULL WHERE ID = 2"), SQLITE_OK);
    Recordset rs;
    rs.open("SELECT * FROM Items WHERE ID = 1", conn);
    rs.setValue(kNotes, QString(17'000'000, 'x'));
    EXPECT_EQ(errorNumberOf([&] { rs.update(); }), err::ValueRefused);
    rs.cancelUpdate();
    rs.close();
    EXPECT_TRUE(readOne(1, kNotes).toText().isEmpty());
}

TEST_F(UntrustedFiles, AFileOutOfReachIsToldApartFromAFileAtFault) {
    addItems({"a"});
    {
        ForeignLock lock(path);
        ASSERT_TRUE(lock.held());
        QElapsedTimer clock;
        clock.start();
        const RunTimeError e = readRefusal(path);
        // At once, not after the engine's usual wait of several seconds.
        EXPECT_LT(clock.elapsed(), 2000);
        EXPECT_EQ(e.number(), err::PermissionDenied);
        EXPECT_EQ(e.description(), "The file '" + path + "' is locked by another program.");
    }
    const RunTimeError folder = readRefusal(dir.path());
    EXPECT_EQ(folder.number(), err::CannotOpen);
    EXPECT_EQ(folder.description(), "'" + dir.path() + "' is a folder, not a file.");
}

TEST_F(UntrustedFiles, AFileWithoutPermissionIsOutOfReach) {
    addItems({"a"});
    asOrdinaryUser({dir.path()}, [&] {
        ASSERT_TRUE(QFile::setPermissions(path, QFile::WriteOwner));
        EXPECT_EQ(readRefusal(path).number(), err::PermissionDenied);
        ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner));
        Recordset rs;
        rs.open("SELECT * FROM Items", conn);
        rs.setValue(kName, "b");
        try {
            rs.update();
            ADD_FAILURE() << "wrote a read-only file";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::PermissionDenied);
            EXPECT_TRUE(e.description().startsWith("The file '" + path + "' is read-only"));
        }
        rs.cancelUpdate();
    });
}

TEST_F(UntrustedFiles, ANameThatIsNotUtf8IsKeptAsTheSystemGaveIt) {
    const QByteArray raw = QFile::encodeName(dir.path()) + "/Ger\xe4t \xff.kst";
    const QString name = fileNameFromBytes(raw);
    {
        Catalog catalog = Catalog::create(ConnectionInfo{name, "s3cret!"});
        catalog.appendTable(itemsTable());
    }
    EXPECT_EQ(::access(raw.constData(), F_OK), 0);
    EXPECT_EQ(pathKind(name), PathKind::File);
    Recordset rs;
    rs.open("SELECT * FROM Items", ConnectionInfo{name, "s3cret!"});
    EXPECT_EQ(rs.recordCount(), 0);
    rs.close();
    // The folder's own clean-up cannot see such a name.
    EXPECT_TRUE(removeFile(name));
}

} // namespace
