#include "autoresp/auto_responder.h"
// Profiles as users' files really get damaged or arrive from elsewhere: truncated,
// random bytes, foreign, another password, a table or column gone, a page destroyed,
// objects that run statements, values too long, locked by another program. None of
// them changes a stored field or stops the program from starting, and every refusal
// names the file and the reason.

#include "app/app_fixtures.h"
#include "platform/db/errors.h"
#include "platform/file_names.h"
#include "storage/columns/prog_buttons_columns.h"
#include "storage/columns/settings_columns.h"
#include "storage/profile_validation.h"
#include "support/ordinary_user.h"
#include "support/raw_sqlite.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <functional>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

const QString kInvalidFile = "Invalid file, the default file will be opened instead!\n";

QByteArray randomBytes(qsizetype size) {
    QRandomGenerator random(42);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& b : bytes)
        b = static_cast<char>(random.bounded(256));
    return bytes;
}

// Ways to damage a profile, each as a user's file gets damaged or changed elsewhere.
struct Damage {
    const char* what;
    std::function<void(const QString& file)> apply;
    const char* reason; // words of the message that say why
};

const Damage kNotAProfile = {"random bytes",
                             [](const QString& f) { writeFile(f, randomBytes(8192)); },
                             "Unrecognized database format"};
const Damage kOtherPassword = {
    "a changed password row",
    [](const QString& f) {
        sqliteExec(f, "UPDATE kst_sys_meta SET value = '00' WHERE key = 'password_check'");
    },
    "Not a valid password for the file"};
const Damage kTrigger = {"a trigger on Settings",
                         [](const QString& f) {
                             sqliteExec(f, "CREATE TRIGGER rewrite AFTER UPDATE ON Settings BEGIN "
                                           "UPDATE progButtons SET keyCodes = 'FF,FF,FF,' "
                                           "WHERE ID = 1; END");
                         },
                         "holds objects that a profile never has: trigger 'rewrite'"};

class DamagedProfiles : public ::testing::Test {
protected:
    QString defaultProfile() const { return folder.file("Devices/Device1.kst"); }
    QString bench() const { return folder.file("Devices/Bench.kst"); }

    // Starts the program in the folder, with kst.ini naming `recorded` when one is given.
    std::unique_ptr<RecordingMain> start(const QString& recorded = QString()) {
        if (!recorded.isEmpty())
            folder.write("kst.ini", fileNameBytes(recorded) + "\r\n 0 \r\n");
        auto main = std::make_unique<RecordingMain>(folder.path());
        main->Form_Load();
        return main;
    }

    // The boxes shown, apart from the port list's note that it found no port.
    QList<RecordedBox> shown() const {
        QList<RecordedBox> result;
        for (const RecordedBox& box : boxes.boxes())
            if (box.title != "COM port checking")
                result << box;
        return result;
    }
    QStringList titles() const {
        QStringList result;
        for (const RecordedBox& box : shown())
            result << box.title;
        return result;
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingEnder ender;
    ScriptedFileDialogs dialogs;
};

// ---------------------------------------------------------------------------------------
// Fields never shift

TEST_F(DamagedProfiles, ATableWithoutTheFormatsColumnsIsRefusedAndNoStoredFieldShifts) {
    folder.makeReady();
    folder.addProfile("Devices/Bench.kst");
    setRow(profileConnStr(bench()), "Settings", 1,
           {{SettingsColumn::bolDetectRI, Value(false)}, {SettingsColumn::userNotes, "notes"}});
    ASSERT_EQ(sqliteExec(bench(), "ALTER TABLE Settings DROP COLUMN userNotes"), SQLITE_OK);
    const QByteArray before = fileBytes(bench());

    auto main = start(bench());

    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(shown()[0].text, kInvalidFile + "The table 'Settings' of '" + bench() +
                                   "' does not match its definition: it lacks the column "
                                   "'userNotes'.");
    EXPECT_EQ(main->ini().SettingsPath(), defaultProfile());
    main->shared().Prefs.bolSaveComSettings = true;
    main->state().DetectRI = true;
    main->ExitSave();
    EXPECT_EQ(fileBytes(bench()), before);

    // A profile changed by another tool while it is loaded is not written at the exit.
    folder.addProfile("Devices/Later.kst");
    const QString later = folder.file("Devices/Later.kst");
    main->Open_DB(later, "Later.kst");
    ASSERT_EQ(sqliteExec(later, "ALTER TABLE Settings DROP COLUMN userNotes"), SQLITE_OK);
    const QByteArray laterBefore = fileBytes(later);
    EXPECT_EQ(errorNumberOf([&] { main->ExitSave(); }), err::UnknownColumn);
    EXPECT_EQ(fileBytes(later), laterBefore);
}

// ---------------------------------------------------------------------------------------
// A new profile that does not load does not stay

TEST_F(DamagedProfiles, ANewDefaultProfileThatDoesNotLoadIsRemovedAndMadeAgainLater) {
    folder.addSupportDatabase();
    QDir(folder.path()).mkdir("Devices");
    const QString support = folder.file("mscomctl.2fl");
    ASSERT_EQ(sqliteExec(support, "DELETE FROM progButtons"), SQLITE_OK);

    EXPECT_THROW(start(), ProgramEnded);
    EXPECT_EQ(titles(), QStringList({"OpenDB Error:"}));
    EXPECT_TRUE(shown()[0].text.contains("\nProfile: " + defaultProfile() + "\n"));
    EXPECT_FALSE(QFileInfo::exists(defaultProfile()));

    // With the templates whole again, the next start makes the default and goes on.
    ASSERT_TRUE(QFile::remove(support));
    folder.addSupportDatabase();
    boxes.clear();
    auto main = start();
    EXPECT_TRUE(titles().isEmpty()) << titles().join(' ').toStdString();
    EXPECT_TRUE(ValidateSettingsDB(defaultProfile()));
    EXPECT_EQ(main->windowTitle(), "Kestrelon - Device1.kst");
}

// ---------------------------------------------------------------------------------------
// A damaged default profile is set aside, never deleted, and made again

TEST_F(DamagedProfiles, ADamagedDefaultProfileIsSetAsideAndANewOneIsMade) {
    const Damage damages[] = {
        {"zero length", [](const QString& f) { writeFile(f, {}); }, "Unrecognized database format"},
        kNotAProfile,
        kOtherPassword,
        {"a missing table", [](const QString& f) { sqliteExec(f, "DROP TABLE tblBackup"); },
         "lacks the table 'tblBackup'"},
        {"a stored position outside its list",
         [](const QString& f) {
             setRow(profileConnStr(f), "Settings", 1,
                    {{SettingsColumn::rxTimerIndex, Value(qint64(12))}});
         },
         "Invalid property value: row 1 of the table 'Settings' holds 12 in its column "
         "'rxTimerIndex', outside its list of 12 entries."},
        {"a text longer than its column",
         [](const QString& f) {
             sqliteExec(f, "UPDATE progButtons SET keyCaption = hex(zeroblob(30)) WHERE ID = 7");
         },
         "is damaged: row 7 of the table 'progButtons' holds a text of 60 characters in its "
         "column 'keyCaption', which holds at most 50."},
        kTrigger,
    };
    folder.makeReady();
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        boxes.clear();
        damage.apply(defaultProfile());
        const QByteArray damaged = fileBytes(defaultProfile());
        const QString aside = folder.file("Devices/Device1 (damaged).kst");

        auto main = start();

        ASSERT_EQ(titles(), QStringList({"OpenDB Error:"}));
        const QString text = shown()[0].text;
        EXPECT_TRUE(text.contains(damage.reason)) << text.toStdString();
        EXPECT_TRUE(text.endsWith("\nProfile: " + defaultProfile() +
                                  "\nThe default profile is damaged. It is kept as '" + aside +
                                  "', and a new default profile is made from the templates."))
            << text.toStdString();
        EXPECT_EQ(fileBytes(aside), damaged);
        EXPECT_TRUE(ValidateSettingsDB(defaultProfile()));
        EXPECT_EQ(main->ini().SettingsPath(), defaultProfile());
        EXPECT_EQ(main->windowTitle(), "Kestrelon - Device1.kst");
        EXPECT_EQ(ender.count, 0);
        // The next one damaged is kept beside the first.
        ASSERT_TRUE(QFile::rename(aside, folder.file("Devices/kept " + QString(damage.what))));
    }
    kNotAProfile.apply(defaultProfile());
    writeFile(folder.file("Devices/Device1 (damaged).kst"), "an earlier one");
    start();
    EXPECT_EQ(fileBytes(folder.file("Devices/Device1 (damaged).kst")), "an earlier one");
    EXPECT_EQ(fileBytes(folder.file("Devices/Device1 (damaged 2).kst")), randomBytes(8192));
}

// ---------------------------------------------------------------------------------------
// A recorded profile that cannot be opened is named once, then the default opens

TEST_F(DamagedProfiles, ARefusedProfileIsNamedWithItsReasonOnceAndTheDefaultOpens) {
    const Damage damages[] = {
        kNotAProfile,
        kOtherPassword,
        {"a damaged page",
         [](const QString& f) {
             const int root = rootPageOf(f, "progButtons");
             overwriteBytes(f, qint64(root - 1) * 4096, QByteArray(64, '\xA5'));
         },
         "' is damaged: "},
        {"a missing column",
         [](const QString& f) { sqliteExec(f, "ALTER TABLE progButtons DROP COLUMN keyDelay"); },
         "it lacks the column 'keyDelay'"},
        kTrigger,
        {"a view", [](const QString& f) { sqliteExec(f, "CREATE VIEW names AS SELECT 1"); },
         "holds objects that a profile never has: view 'names'"},
        {"a virtual table",
         [](const QString& f) { sqliteExec(f, "CREATE VIRTUAL TABLE search USING fts5(body)"); },
         "holds objects that a profile never has: virtual table 'search'"},
        {"a value far over the limit",
         [](const QString& f) {
             sqliteExec(f, "UPDATE Settings SET userNotes = hex(zeroblob(8500000))");
         },
         "holds a value longer than 16 MB"},
    };
    folder.makeReady();
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        boxes.clear();
        QFile::remove(bench());
        folder.addProfile("Devices/Bench.kst");
        damage.apply(bench());
        const QByteArray before = fileBytes(bench());

        auto main = start(bench());

        ASSERT_EQ(shown().size(), 1);
        EXPECT_EQ(shown()[0].title, "Kestrelon");
        EXPECT_TRUE(shown()[0].text.startsWith(kInvalidFile)) << shown()[0].text.toStdString();
        EXPECT_TRUE(shown()[0].text.contains("'" + bench() + "'")) << shown()[0].text.toStdString();
        EXPECT_TRUE(shown()[0].text.contains(damage.reason)) << shown()[0].text.toStdString();
        EXPECT_EQ(main->ini().SettingsPath(), defaultProfile());
        EXPECT_EQ(main->windowTitle(), "Kestrelon - Device1.kst");
        main->shared().Prefs.bolSaveComSettings = true;
        main->ExitSave();
        EXPECT_EQ(fileBytes(bench()), before);
        EXPECT_EQ(ender.count, 0);
    }
}

// ---------------------------------------------------------------------------------------
// A lock of another program

TEST_F(DamagedProfiles, ALockedProfileIsReportedAtOnceAndNeverSetAside) {
    folder.makeReady();
    folder.addProfile("Devices/Bench.kst");
    const QByteArray benchBefore = fileBytes(bench());
    {
        ForeignLock lock(bench());
        ASSERT_TRUE(lock.held());
        QElapsedTimer clock;
        clock.start();
        start(bench());
        // No wait of several seconds for the lock to go.
        EXPECT_LT(clock.elapsed(), 3000);
        ASSERT_EQ(shown().size(), 1);
        EXPECT_EQ(shown()[0].text,
                  kInvalidFile + "The file '" + bench() + "' is locked by another program.");
    }
    EXPECT_EQ(fileBytes(bench()), benchBefore);

    boxes.clear();
    const QByteArray before = fileBytes(defaultProfile());
    ForeignLock lock(defaultProfile());
    EXPECT_THROW(start(), ProgramEnded);
    ASSERT_EQ(titles(), QStringList({"OpenDB Error:"}));
    EXPECT_TRUE(shown()[0].text.contains("is locked by another program."));
    EXPECT_EQ(fileBytes(defaultProfile()), before);
    EXPECT_FALSE(QFileInfo::exists(folder.file("Devices/Device1 (damaged).kst")));
}

// ---------------------------------------------------------------------------------------
// Lists that are not lists of bytes: one box a load

TEST_F(DamagedProfiles, ControlCodesThatAreNotBytesAreNamedInOneBoxALoad) {
    folder.makeReady();
    const QString conn = profileConnStr(defaultProfile());
    setRow(conn, "progButtons", 3, {{ProgButtonsColumn::strASCIICtrl, Value("0A,,")}});
    setRow(conn, "progButtons", 4, {{ProgButtonsColumn::strASCIICtrl, Value("1FF,")}});
    setRow(conn, "progAutoResp", 2, {{1, Value("OK")}, {12, Value("ZZ,")}});
    setRow(conn, "progMacrosSeq", 1, {{13, Value("G,")}});
    setRow(conn, "progMacrosSubRoutines", 9, {{32, Value("100,")}});
    const QByteArray before = fileBytes(defaultProfile());
    auto main = start();

    ASSERT_EQ(shown().size(), 1);
    EXPECT_EQ(shown()[0].text,
              "The profile '" + defaultProfile() +
                  "' holds control-code lists that are not lists of bytes:\n"
                  "progButtons row 3 (strASCIICtrl)\nprogButtons row 4 (strASCIICtrl)\n"
                  "progAutoResp row 2 (strConditionCtrl)\nprogMacrosSeq row 1 (strASCIICtrl)\n"
                  "Conditions with such a list never match.");
    // Kept as they are stored: never turned into a 0 byte.
    EXPECT_EQ(main->shared().LoadedButtons[3].action.controlCodes, "1FF,");
    EXPECT_FALSE(main->session().autoResponder().rules()[1].condition.usable);
    EXPECT_EQ(main->session().autoResponder().rules()[1].condition.data, "OK");

    // Another macro is a load of its own.
    boxes.clear();
    main->control<QComboBox>("cboMacros")->setCurrentIndex(1);
    main->cboMacros_Click();
    ASSERT_EQ(shown().size(), 1);
    EXPECT_TRUE(shown()[0].text.contains("\nprogMacrosSubRoutines row 9 (strIfCtrl)\n"));
    EXPECT_EQ(fileBytes(defaultProfile()), before);
}

// ---------------------------------------------------------------------------------------
// Messages name the file and the cause

TEST_F(DamagedProfiles, WhatStandsInTheWayOfTheProgramsFilesIsNamed) {
    folder.addSupportDatabase();
    ASSERT_TRUE(QDir(folder.path()).mkpath("kst.ini"));
    EXPECT_THROW(start(), ProgramEnded);
    ASSERT_EQ(titles(), QStringList({"Form Load Error:"}));
    EXPECT_TRUE(shown()[0].text.contains("Description: Permission denied: '" +
                                         folder.file("kst.ini") + "' is a folder, not a file."));

    boxes.clear();
    ASSERT_TRUE(QDir(folder.path()).rmdir("kst.ini"));
    ASSERT_TRUE(QFile::link(folder.file("gone/kst.ini"), folder.file("kst.ini")));
    EXPECT_THROW(start(), ProgramEnded);
    EXPECT_TRUE(shown()[0].text.contains("Description: Permission denied: '" +
                                         folder.file("kst.ini") + "' is a link to '" +
                                         folder.file("gone/kst.ini") + "', which cannot be made"));

    boxes.clear();
    ASSERT_TRUE(QFile::remove(folder.file("kst.ini")));
    ASSERT_TRUE(QDir(folder.path()).mkpath("Devices/Device1.kst"));
    EXPECT_THROW(start(), ProgramEnded);
    ASSERT_EQ(titles(), QStringList({"CreateDB Error:", "OpenDB Error:"}));
    EXPECT_TRUE(shown()[0].text.contains("The database '" + defaultProfile() +
                                         "' cannot be created: a folder of that name is in the "
                                         "way."));
    EXPECT_TRUE(shown()[1].text.contains("'" + defaultProfile() + "' is a folder, not a file."));
    EXPECT_TRUE(QFileInfo(defaultProfile()).isDir());
}

TEST_F(DamagedProfiles, AProgramFolderThatCannotBeWrittenIsNamed) {
    folder.addSupportDatabase();
    asOrdinaryUser({folder.path()}, [&] {
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_THROW(start(), ProgramEnded);
        QFile::setPermissions(folder.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(titles(), QStringList({"Form Load Error:"}));
        EXPECT_TRUE(shown()[0].text.contains("Description: Permission denied: the folder '" +
                                             folder.path() +
                                             "' does not allow 'kst.ini' to be written."));
    });
}

// ---------------------------------------------------------------------------------------
// Paths as kst.ini and the system give them

TEST_F(DamagedProfiles, RecordedPathsCountFromTheProgramFolderAndKeepTheirBytes) {
    folder.makeReady();
    folder.addProfile("Devices/Bench.kst");
    QTemporaryDir elsewhere;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    folder.write("kst.ini", "Devices/Bench.kst\r\n 0 \r\n");
    auto relative = std::make_unique<RecordingMain>(folder.path());
    relative->Form_Load();
    QDir::setCurrent(previous);
    EXPECT_TRUE(titles().isEmpty()) << titles().join(' ').toStdString();
    EXPECT_EQ(relative->windowTitle(), "Kestrelon - Bench.kst");
    EXPECT_EQ(folder.read("kst.ini"), QFile::encodeName(bench()) + "\r\n 0 \r\n");

    // A name that is not UTF-8 opens again, and kst.ini keeps its very bytes.
    const QByteArray raw = QFile::encodeName(folder.path()) + "/Devices/Ger\xe4t.kst";
    const QString latin = fileNameFromBytes(raw);
    createProfile(supportConnStr(folder.path()), latin);
    auto main = start(latin);
    EXPECT_TRUE(titles().isEmpty()) << titles().join(' ').toStdString();
    EXPECT_EQ(main->ini().SettingsPath(), latin);
    EXPECT_EQ(folder.read("kst.ini"), raw + "\r\n 0 \r\n");
    EXPECT_TRUE(removeFile(latin)); // the folder's own clean-up cannot see such a name
}

} // namespace
