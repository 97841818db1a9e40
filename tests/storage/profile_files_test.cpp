#include "platform/file_hold.h"
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
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <sys/wait.h>
#include <unistd.h>

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

// A folder with the support database, in which profiles are made from its templates.
class ProfileFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
    }
    // A new profile at `relative` (its folder must exist); its full path.
    QString profile(const QString& relative) {
        const QString path = dir.filePath(relative);
        test::createProfile(supportConnStr(dir.path()), path);
        return path;
    }

    QTemporaryDir dir;
};

} // namespace

// Copies and imports are written beside their target and renamed into its place; the
// file put there must be as readable as the one it replaces, or as its source.
TEST_F(ProfileFiles, ACopyOrAnImportKeepsWhoMayReadTheProfile) {
    const QString current = profile("Current.kst");
    const QString older = profile("Older.kst");
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
TEST_F(ProfileFiles, AnImportReadsAProfileTrimmedByAnotherToolByColumnName) {
    const QString current = profile("Current.kst");
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
        const QString older = profile(QString("Older%1.kst").arg(++n));
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

namespace {

// The hidden files of a folder whose names begin as the program's work files do.
QStringList workFilesIn(const QString& folder) {
    return QDir(folder).entryList({".kestrelon-*"}, QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

// An import killed part-way leaves its work file. While the instance that made it lives,
// another instance's start-up leaves it alone; once that instance is gone, it goes.
TEST_F(ProfileFiles, TheWorkFileOfAKilledImportGoesOnlyOnceItsInstanceIsGone) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("Devices"));
    const QString devices = dir.filePath("Devices");
    const QString current = profile("Devices/Device1.kst");
    const QString older = profile("Older.kst");
    const QByteArray before = test::fileBytes(current);

    std::fflush(stdout);
    const pid_t importer = ::fork();
    ASSERT_GE(importer, 0);
    if (importer == 0) {
        // Stops half-way, as a program that hangs or is being killed.
        ImportOlderProfile(older, current, [](int percent) {
            if (percent == 40)
                ::raise(SIGSTOP);
        });
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(importer, &status, WUNTRACED), importer);
    ASSERT_TRUE(WIFSTOPPED(status));
    const QStringList inUse = workFilesIn(devices);
    EXPECT_EQ(inUse.size(), 1) << inUse.join(' ').toStdString();
    RemoveAbandonedWorkFiles(devices);
    EXPECT_EQ(workFilesIn(devices), inUse) << "the importing instance still holds it";

    ::kill(importer, SIGKILL);
    ASSERT_EQ(::waitpid(importer, &status, 0), importer);
    EXPECT_EQ(workFilesIn(devices), inUse) << "left behind";
    RemoveAbandonedWorkFiles(devices);
    EXPECT_EQ(workFilesIn(devices), QStringList());
    EXPECT_EQ(test::fileBytes(current), before) << "the profile never saw the half import";

    // An import of this instance, under way when the folder is cleaned, keeps its file.
    QStringList whileImporting;
    ImportOlderProfile(older, current, [&](int percent) {
        if (percent != 40)
            return;
        RemoveAbandonedWorkFiles(devices);
        whileImporting = workFilesIn(devices);
    });
    EXPECT_EQ(whileImporting.size(), 1);
    EXPECT_EQ(workFilesIn(devices), QStringList());
}

// Only the program's own work files go, and only when nobody holds them: every other
// name, link and folder stays.
TEST_F(ProfileFiles, OnlyWorkFilesThatNobodyHoldsAreRemovedAsLeftOver) {
    enum class Kind { File, Held, Link, Folder };
    const struct {
        const char* name;
        Kind kind;
        bool removed;
    } entries[] = {
        {".kestrelon-Ab12Cd.part", Kind::File, true},
        {".kestrelon-Ab12Cd.part-journal", Kind::File, true},
        {".kestrelon-GONE42.part-journal", Kind::File, true}, // its copy is gone
        {".kestrelon-Held01.part", Kind::Held, false},
        {".kestrelon-Held01.part-journal", Kind::File, false}, // its copy is in use
        {".kestrelon-Link01.part", Kind::Link, false},
        {".kestrelon-Link02.part-journal", Kind::Link, false},
        {".kestrelon-Dir001.part", Kind::Folder, false},
        {".kestrelon-Ab12C.part", Kind::File, false},
        {".kestrelon-Ab_2Cd.part", Kind::File, false},
        {".kestrelon-Ab12Cd.part.bak", Kind::File, false},
        {".kestrelon-Ab12Cd.part-wal", Kind::File, false},
        {"kestrelon-Ab12Cd.part", Kind::File, false},
        {"Device1.kst", Kind::File, false},
        {"target.kst", Kind::File, false}, // what the links lead to
    };
    std::vector<std::unique_ptr<QFile>> holds;
    for (const auto& e : entries) {
        const QString path = dir.filePath(e.name);
        switch (e.kind) {
        case Kind::File:
        case Kind::Held: {
            auto file = std::make_unique<QFile>(path);
            ASSERT_TRUE(file->open(QIODevice::WriteOnly));
            file->write("x");
            file->flush();
            if (e.kind == Kind::Held) {
                ASSERT_TRUE(holdOpenFile(static_cast<int>(file->handle()), path));
                holds.push_back(std::move(file));
            }
            break;
        }
        case Kind::Link:
            ASSERT_TRUE(QFile::link(dir.filePath("target.kst"), path));
            break;
        case Kind::Folder:
            ASSERT_TRUE(QDir(dir.path()).mkdir(e.name));
            break;
        }
    }

    RemoveAbandonedWorkFiles(dir.path());

    for (const auto& e : entries) {
        const QFileInfo info(dir.filePath(e.name));
        EXPECT_EQ(!info.exists() && !info.isSymLink(), e.removed) << e.name;
    }
    EXPECT_EQ(test::fileBytes(dir.filePath("target.kst")), "x");
}
