#include "platform/db/catalog.h"
#include "platform/db/errors.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "profile_test_support.h"
#include "storage/profile_creator.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"
#include "support/fakes.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

using kst::ProfileCreator;
using kst::RunTimeError;
using kst::db::ColumnDef;
using kst::db::ColumnKind;
using kst::db::Recordset;
using kst::db::Value;
using kst::test::errorNumberOf;
using kst::test::SupportBuilder;
namespace err = kst::db::err;

namespace {

const QStringList kProfileTables = {"Settings",      "progButtons",           "progAutoResp",
                                    "progMacrosSeq", "progMacrosSubRoutines", "tblBackup"};

class ProfileCreation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("Devices"));
        profile = dir.filePath("Devices/Device1.kst");
    }

    void buildSupport(const SupportBuilder& builder = SupportBuilder()) {
        builder.build(kst::supportDbPath(dir.path()), kst::SupportPassword);
    }

    bool create(const QString& file) {
        ProfileCreator creator(kst::supportConnStr(dir.path()), progress,
                               [this](const QString& name, const QString& title) {
                                   opened << name + " | " + title;
                                   return loads;
                               });
        return creator.CreateDB(file, QFileInfo(file).fileName());
    }

    // Every row and ordinal of `table` in both files, side by side.
    void expectSameRows(const QString& table, const QString& supportConn) {
        Recordset source;
        Recordset copy;
        source.open("SELECT * FROM " + table, supportConn);
        copy.open("SELECT * FROM " + table, kst::profileConnStr(profile));
        ASSERT_EQ(copy.recordCount(), source.recordCount()) << table.toStdString();
        for (int id = 1; !source.eof(); ++id, source.moveNext(), copy.moveNext()) {
            EXPECT_EQ(copy.value(0), Value(id)) << table.toStdString();
            for (int k = 1; k < copy.fieldCount(); ++k) {
                Value expected = source.value(k);
                if (copy.field(k).kind == ColumnKind::FixedText && !expected.isNull())
                    expected = Value(expected.toText().leftJustified(255, ' '));
                EXPECT_EQ(copy.value(k), expected)
                    << table.toStdString() << " row " << id << " ordinal " << k;
            }
        }
    }

    int rowCount(const QString& table) {
        Recordset rs;
        rs.open("SELECT * FROM " + table, kst::profileConnStr(profile));
        return rs.recordCount();
    }

    QTemporaryDir dir;
    QString profile;
    kst::test::RecordingMessageBoxes boxes;
    kst::test::RecordingProgress progress;
    QStringList opened;
    bool loads = true; // what the loader answers
};

TEST_F(ProfileCreation, MakesTheSixTablesAndCopiesEveryTemplateRowByOrdinal) {
    buildSupport();
    ASSERT_TRUE(create(profile));
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(progress.events, QStringList({"max 100", "show", "1", "50", "90", "100", "hide"}));
    EXPECT_EQ(opened, QStringList({profile + " | Device1.kst"}));

    kst::db::Catalog catalog = kst::db::Catalog::open(kst::profileConnStr(profile));
    EXPECT_EQ(catalog.tableNames(), kProfileTables);
    for (const kst::db::TableDef& def : kst::profileTables())
        EXPECT_EQ(catalog.table(def.name), def) << def.name.toStdString();
    catalog.close();

    const QString support = kst::supportConnStr(dir.path());
    for (const QString& table : kProfileTables)
        expectSameRows(table, support);
    EXPECT_TRUE(kst::ValidateSettingsDB(profile));
}

TEST_F(ProfileCreation, TakesTemplateRowsInKeyOrderWithoutTheirKeysAndKeepsNulls) {
    SupportBuilder builder;
    builder.setRows("Settings", 1, [](const ColumnDef& c, int row, int k) {
        return k == 17 || k == 8 ? Value() : SupportBuilder::distinctValue(c, row, k);
    });
    builder.setRows("progButtons", 40); // more rows than the program reads
    builder.setRows("progAutoResp", 0);
    builder.table("tblBackup").add(ColumnDef::text("extra", 10)); // ignored
    buildSupport(builder);
    // Gaps and a new order of keys: the rows still arrive numbered 1..n in key order.
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(kst::supportDbPath(dir.path()).toUtf8().constData(), &raw), SQLITE_OK);
    sqlite3_exec(raw, "UPDATE progButtons SET ID = 1000 - ID * 3", nullptr, nullptr, nullptr);
    sqlite3_close(raw);

    ASSERT_TRUE(create(profile));
    Recordset rs;
    rs.open("SELECT * FROM Settings", kst::profileConnStr(profile));
    EXPECT_EQ(rs.value(17), Value("")); // userNotes: Null becomes empty text
    EXPECT_TRUE(rs.value(8).isNull());  // any other Null stays Null
    rs.close();
    rs.open("SELECT * FROM progButtons", kst::profileConnStr(profile));
    ASSERT_EQ(rs.recordCount(), 40);
    EXPECT_EQ(rs.value(0), Value(1));
    EXPECT_EQ(rs.value(1), Value("40.1")); // highest template key 1000 - 40 * 3 comes first
    rs.close();
    EXPECT_EQ(rowCount("progAutoResp"), 0);
    EXPECT_EQ(rowCount("tblBackup"), 2);
    EXPECT_EQ(opened.size(), 1);
}

struct PartWayFailure {
    const char* what;
    std::function<void(SupportBuilder&)> change;
    int number;
};

TEST_F(ProfileCreation, AFailurePartWayShowsItsBoxAndLeavesNoHalfMadeFile) {
    const PartWayFailure cases[] = {
        {"template with fewer columns",
         [](SupportBuilder& b) { b.table("progMacrosSeq").columns.resize(20); }, err::ItemNotFound},
        {"template text the profile column cannot hold",
         [](SupportBuilder& b) {
             b.table("progButtons").columns[1] = ColumnDef::memo("keyCaption");
             b.setRows("progButtons", 32, [](const ColumnDef& c, int row, int k) {
                 return k == 1 && row == 7 ? Value(QString(51, 'c'))
                                           : SupportBuilder::distinctValue(c, row, k);
             });
         },
         err::ValueRefused},
        {"template table missing", [](SupportBuilder& b) { b.drop("tblBackup"); },
         err::TableNotFound},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(kst::supportDbPath(dir.path()));
        SupportBuilder builder;
        c.change(builder);
        buildSupport(builder);
        boxes.clear();
        progress.events.clear();

        EXPECT_FALSE(create(profile));
        ASSERT_EQ(boxes.boxes().size(), 1);
        const kst::test::RecordedBox& box = boxes.boxes().front();
        EXPECT_EQ(box.title, "AppendData Error:");
        EXPECT_EQ(box.icon, kst::MsgIcon::Exclamation);
        EXPECT_TRUE(box.text.startsWith(QString("Error Number: %1\nDescription: ").arg(c.number)))
            << box.text.toStdString();
        EXPECT_EQ(progress.events.mid(0, 4), QStringList({"max 100", "show", "1", "50"}));
        EXPECT_EQ(progress.events.last(), "hide");
        EXPECT_FALSE(progress.events.contains("100"));
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(profile));
        EXPECT_TRUE(QDir(dir.filePath("Devices")).isEmpty());
    }
}

TEST_F(ProfileCreation, AMissingOrLockedSupportDatabaseLeavesNoProfileEither) {
    EXPECT_FALSE(create(profile)); // no support database at all
    SupportBuilder().build(kst::supportDbPath(dir.path()), "other password");
    EXPECT_FALSE(create(profile));
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_TRUE(boxes.texts()[0].startsWith(QString("Error Number: %1").arg(err::CannotOpen)));
    EXPECT_EQ(boxes.texts()[1],
              "Error Number: -2147217843\nDescription: Not a valid password for the file '" +
                  kst::supportDbPath(dir.path()) + "'.");
    EXPECT_EQ(boxes.boxes()[1].title, "AppendData Error:");
    EXPECT_FALSE(QFileInfo::exists(profile));
}

TEST_F(ProfileCreation, AnExistingFileIsNeverTouched) {
    buildSupport();
    ASSERT_TRUE(create(profile));
    const QByteArray before = kst::test::fileBytes(profile);
    progress.events.clear();
    opened.clear();

    EXPECT_FALSE(create(profile));
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "CreateDB Error:");
    EXPECT_TRUE(boxes.texts()[0].startsWith(QString("Error Number: %1").arg(err::DatabaseExists)));
    EXPECT_EQ(progress.events, QStringList({"max 100", "show", "1", "hide"}));
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_EQ(kst::test::fileBytes(profile), before);

    // Filling an existing file that fails keeps it: this call did not make it.
    QFile::remove(kst::supportDbPath(dir.path()));
    ProfileCreator creator(kst::supportConnStr(dir.path()), progress,
                           [](auto&, auto&) { return true; });
    EXPECT_FALSE(creator.AppendData(profile, "Device1.kst"));
    EXPECT_EQ(kst::test::fileBytes(profile), before);
}

TEST_F(ProfileCreation, ANewProfileWhoseLoadFailsIsRemovedLikeOneWhoseCreationFailed) {
    buildSupport();
    loads = false;
    EXPECT_FALSE(create(profile));
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(QFileInfo::exists(profile));
    EXPECT_TRUE(QDir(dir.filePath("Devices")).isEmpty());
}

TEST_F(ProfileCreation, AMissingFolderFailsWithoutCreatingAnything) {
    buildSupport();
    const QString nowhere = dir.filePath("gone/New.kst");
    EXPECT_FALSE(create(nowhere));
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "CreateDB Error:");
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("gone")));
}

// A profile file whose tables are made from `tables` by our own database layer.
QString makeProfileFile(const QTemporaryDir& dir, const std::vector<kst::db::TableDef>& tables) {
    static int n = 0;
    const QString path = dir.filePath(QString("p%1.kst").arg(++n));
    kst::db::Catalog catalog = kst::db::Catalog::create(kst::profileConnStr(path));
    for (const auto& t : tables)
        catalog.appendTable(t);
    catalog.close();
    return path;
}

TEST(ProfileValidation, OnlyTheSixTablesCountAndTheirNamesInAnyCase) {
    QTemporaryDir dir;
    std::vector<kst::db::TableDef> otherCase = kst::profileTables();
    const char* names[] = {"SETTINGS",      "progbuttons",           "ProgAutoResp",
                           "PROGMACROSSEQ", "progMacrossubroutines", "TBLBACKUP"};
    for (size_t i = 0; i < otherCase.size(); ++i)
        otherCase[i].name = names[i];
    std::vector<kst::db::TableDef> fiveOfSix = kst::profileTables();
    fiveOfSix.pop_back();

    EXPECT_TRUE(kst::ValidateSettingsDB(makeProfileFile(dir, kst::profileTables())));
    EXPECT_TRUE(kst::ValidateSettingsDB(makeProfileFile(dir, otherCase)));
    EXPECT_FALSE(kst::ValidateSettingsDB(makeProfileFile(dir, fiveOfSix)));
    EXPECT_FALSE(kst::ValidateSettingsDB(makeProfileFile(dir, {})));
}

// Files made consistently by another program: their definitions match their tables,
// but not the columns that every reader and writer of a profile addresses by position.
TEST(ProfileValidation, TablesWithoutTheFormatsColumnsAreRefusedNamingTheColumn) {
    QTemporaryDir dir;
    const auto changed = [](const QString& table,
                            const std::function<void(kst::db::TableDef&)>& change) {
        std::vector<kst::db::TableDef> tables = kst::profileTables();
        for (auto& t : tables) {
            if (t.name == table)
                change(t);
        }
        return tables;
    };
    const struct {
        const char* what;
        std::vector<kst::db::TableDef> tables;
        QString reason;
    } cases[] = {
        {"a column left out",
         changed("Settings", [](auto& t) { t.columns.erase(t.columns.begin() + 17); }),
         "'Settings' of '%1' does not have the columns of a profile: it lacks the column "
         "'userNotes'."},
        {"a column added",
         changed("progButtons", [](auto& t) { t.add(ColumnDef::text("extra", 10)); }),
         "'progButtons' of '%1' does not have the columns of a profile: it has the column "
         "'extra', which does not belong there."},
        {"a column of another kind",
         changed("Settings", [](auto& t) { t.columns[17] = ColumnDef::longInt("userNotes"); }),
         "'Settings' of '%1' does not have the columns of a profile: its column 'userNotes' "
         "holds another kind of value."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = makeProfileFile(dir, c.tables);
        const QByteArray before = kst::test::fileBytes(path);
        try {
            kst::ValidateSettingsDB(path);
            ADD_FAILURE() << "accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::UnknownColumn);
            EXPECT_EQ(e.description(), "The table " + c.reason.arg(path));
        }
        EXPECT_EQ(kst::test::fileBytes(path), before);
    }

    // A profile of an earlier version begins five tables with the columns the import
    // copies: the import may read it, the load may not.
    std::vector<kst::db::TableDef> older;
    for (const kst::ImportedColumns& imported : kst::importedColumns()) {
        for (const kst::db::TableDef& t : kst::profileTables()) {
            if (t.name == imported.table) {
                older.push_back(t);
                older.back().columns.resize(static_cast<size_t>(imported.lastOrdinal) + 1);
            }
        }
    }
    ASSERT_EQ(older.size(), 5u);
    const QString olderFile = makeProfileFile(dir, older);
    EXPECT_EQ(errorNumberOf([&] { kst::CheckProfileFile(olderFile, kst::ProfileLayout::Older); }),
              0);
    EXPECT_EQ(errorNumberOf([&] { kst::CheckProfileFile(olderFile); }), err::UnknownColumn);
    const struct {
        const char* what;
        std::function<void(std::vector<kst::db::TableDef>&)> change;
        QString reason;
    } refused[] = {
        {"a copied column missing in the middle",
         [](auto& tables) { tables[0].columns.erase(tables[0].columns.begin() + 3); },
         "'Settings' of '%1' does not have the columns of a profile: it lacks the column "
         "'databit'."},
        {"the last copied column missing", [](auto& tables) { tables[1].columns.pop_back(); },
         "'progButtons' of '%1' does not have the columns of a profile: it lacks the column "
         "'bolBackup3'."},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.what);
        std::vector<kst::db::TableDef> tables = older;
        c.change(tables);
        const QString path = makeProfileFile(dir, tables);
        try {
            kst::CheckProfileFile(path, kst::ProfileLayout::Older);
            ADD_FAILURE() << "accepted";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::UnknownColumn);
            EXPECT_EQ(e.description(), "The table " + c.reason.arg(path));
        }
    }
}

TEST(ProfileValidation, AFileThatDoesNotOpenRaisesInsteadOfFalse) {
    QTemporaryDir dir;
    const QString otherPassword = dir.filePath("other.kst");
    kst::db::Catalog::create(kst::db::ConnectionInfo{otherPassword, "nottovrasiL"});
    const QString textFile = dir.filePath("notes.kst");
    QFile f(textFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("just some text, not a database\n").repeated(10));
    f.close();
    const QString missing = dir.filePath("missing.kst");

    EXPECT_EQ(errorNumberOf([&] { kst::ValidateSettingsDB(otherPassword); }), err::InvalidPassword);
    EXPECT_EQ(errorNumberOf([&] { kst::ValidateSettingsDB(textFile); }), err::CannotOpen);
    EXPECT_EQ(errorNumberOf([&] { kst::ValidateSettingsDB(missing); }), err::CannotOpen);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

} // namespace
