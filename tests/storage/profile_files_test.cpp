#include "platform/runtime_error.h"
#include "storage/button_table.h"
#include "storage/columns/prog_buttons_columns.h"
#include "storage/columns/settings_columns.h"
#include "storage/profile_files.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "support/fakes.h"
#include "support/profile_rows.h"
#include "support/raw_sqlite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;

namespace {

constexpr QFileDevice::Permissions Shared = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                            QFileDevice::ReadOther;
constexpr QFileDevice::Permissions OwnerAndGroup =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;

QFileDevice::Permissions modeOf(const QString& path) {
    constexpr QFileDevice::Permissions unixBits =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
        QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    return QFile::permissions(path) & unixBits;
}

} // namespace

// Copies and imports are written beside their target and renamed into its place; the
// file put there must be as readable as the one it replaces, or as its source.
TEST(ProfileFiles, ACopyOrAnImportKeepsWhoMayReadTheProfile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
    const QString current = dir.filePath("Current.kst");
    const QString older = dir.filePath("Older.kst");
    test::createProfile(supportConnStr(dir.path()), current);
    test::createProfile(supportConnStr(dir.path()), older);
    ASSERT_TRUE(QFile::setPermissions(current, Shared));

    const QString copy = dir.filePath("Copy.kst");
    CopyProfileFile(current, copy);
    EXPECT_EQ(modeOf(copy), Shared) << "a new copy reads like its source";
    EXPECT_EQ(test::fileBytes(copy), test::fileBytes(current));

    ASSERT_TRUE(QFile::setPermissions(copy, OwnerAndGroup));
    CopyProfileFile(older, copy);
    EXPECT_EQ(modeOf(copy), OwnerAndGroup) << "a replaced copy reads like the file it replaced";
    EXPECT_EQ(test::fileBytes(copy), test::fileBytes(older));

    ImportOlderProfile(older, current, {});
    EXPECT_EQ(modeOf(current), Shared);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.part"}, QDir::Files | QDir::Hidden), QStringList());
}

// Users make an older profile by dropping columns with a database tool. The import reads
// what it copies by the columns' names, whatever else was dropped, and refuses a file
// that lacks one of them.
TEST(ProfileFiles, AnImportReadsAProfileTrimmedByAnotherToolByColumnName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
    const QString current = dir.filePath("Current.kst");
    test::createProfile(supportConnStr(dir.path()), current);
    test::setRow(profileConnStr(current), "Settings", 1,
                 {{SettingsColumn::userNotes, db::Value("my notes")},
                  {SettingsColumn::bolDetectDCD, db::Value(true)}});

    auto drop = [](const QString& table, const QStringList& columns) {
        QString sql;
        for (const QString& column : columns)
            sql += "ALTER TABLE " + table + " DROP COLUMN " + column + ";";
        return sql;
    };
    const struct {
        const char* what;
        QString trim;
        QString lacking; // the column the import misses; empty when it imports
    } cases[] = {
        {"every column after those copied",
         drop("Settings", {"userNotes", "memoBackup", "bolDetectDCD", "bolDetectRI", "noBackup1",
                           "bolBackup1", "bolBackup2", "bolBackup3"}) +
             drop("progButtons", {"strBackup3", "memoBackup"}) +
             drop("progAutoResp", {"strBackup2", "strBackup3", "memoBackup"}) +
             drop("progMacrosSeq", {"strBackup3", "memoBackup"}) +
             drop("progMacrosSubRoutines", {"ElseIfThenCtrl", "ElseThenCtrl", "strBackup1",
                                            "strBackup2", "strBackup3", "memoBackup"}),
         ""},
        {"a column after those copied, with later ones kept", drop("Settings", {"userNotes"}), ""},
        {"a column the import copies", drop("progButtons", {"keyDelay"}), "keyDelay"},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QString older = dir.filePath(QString("Older%1.kst").arg(++n));
        test::createProfile(supportConnStr(dir.path()), older);
        test::setRow(profileConnStr(older), "Settings", 1,
                     {{SettingsColumn::port, db::Value(n)},
                      {SettingsColumn::bolDetectDSR, db::Value(true)}});
        test::setRow(profileConnStr(older), "progButtons", 1,
                     {{ProgButtonsColumn::keyCaption, db::Value(QString("T%1").arg(n))},
                      {ProgButtonsColumn::keyDelay, db::Value(250 + n)}});
        ASSERT_EQ(test::sqliteExec(older, c.trim), SQLITE_OK);
        const QByteArray olderBytes = test::fileBytes(older);
        const QByteArray before = test::fileBytes(current);

        if (!c.lacking.isEmpty()) {
            try {
                ImportOlderProfile(older, current, {});
                ADD_FAILURE() << "imported";
            } catch (const RunTimeError& e) {
                EXPECT_TRUE(e.description().contains("lacks the column '" + c.lacking + "'"))
                    << e.what();
            }
            EXPECT_EQ(test::fileBytes(current), before);
        } else {
            ImportOlderProfile(older, current, {});
            const ProfileSettings settings = ReadSettings(profileConnStr(current));
            EXPECT_EQ(settings.port, n);
            EXPECT_TRUE(settings.detectDSR);
            EXPECT_EQ(settings.userNotes, "my notes") << "not copied: kept";
            EXPECT_TRUE(settings.detectDCD) << "not copied: kept";
            const ButtonRow first = ReadButtonTable(profileConnStr(current)).rows[0];
            EXPECT_EQ(first.caption, QString("T%1").arg(n));
            EXPECT_EQ(first.delay, QString::number(250 + n));
        }
        EXPECT_EQ(test::fileBytes(older), olderBytes) << "the older file is only read";
    }
}
