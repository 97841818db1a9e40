#include "app/app_fixtures.h"
#include "app/editors/frm_prog_but.h"
#include "app/main/session_closing.h"
#include "app/profiles/frm_import.h"
#include "app/profiles/profile_commands.h"
#include "platform/db/catalog.h"
#include "platform/file_names.h"
#include "storage/button_table.h"
#include "storage/columns/settings_columns.h"
#include "storage/profile_files.h"
#include "storage/profile_readers.h"
#include "support/guarded_fifo.h"
#include "support/ordinary_user.h"
#include "support/raw_sqlite.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <functional>
#include <sqlite3.h>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

class ProfileCommandsTest : public ::testing::Test {
protected:
    ProfileCommandsTest() : main((folder.makeReady(), folder.path())) {
        main.InitMainWindow();
        main.setCommands(nullptr);
        boxes.clear();
    }
    QString current() const { return main.session().ini().settingsFile(); }
    QString device(const QString& name) const { return folder.file("Devices/" + name); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    ScriptedFileDialogs dialogs;
    RecordingMain main;
};

TEST_F(ProfileCommandsTest, NewMakesAFreshProfileUnderAFreeNameAndOpensIt) {
    dialogs.chooseNext(device("Device1.kst"), "Device1.kst");
    dialogs.chooseNext(device("Bench"), "Bench");
    main.mnuNew_Click();
    EXPECT_EQ(boxes.texts().first(), "File already exists, please use another name!");
    EXPECT_EQ(dialogs.requests.size(), 2);
    EXPECT_EQ(dialogs.requests[0].filterIndex, 2);
    EXPECT_EQ(dialogs.requests[0].initDir, folder.path() + "/Devices");
    EXPECT_EQ(current(), device("Bench")) << "the name as typed: no extension is added";
    EXPECT_EQ(main.windowTitle(), "Kestrelon - Bench");
    EXPECT_FALSE(QFileInfo::exists(device("Bench.kst")));

    // Cancel creates nothing.
    const QStringList before = QDir(folder.file("Devices")).entryList(QDir::Files);
    main.mnuNew_Click();
    EXPECT_EQ(QDir(folder.file("Devices")).entryList(QDir::Files), before);
}

TEST_F(ProfileCommandsTest, OpenSwitchesOnlyToAProfileAndSaysWhyNot) {
    folder.addProfile("Devices/Other.kst");
    {
        db::Catalog half = db::Catalog::create(profileConnStr(device("Half.kst")));
        half.appendTable(profileTables().front());
    }
    folder.write("Devices/Noise.kst", QByteArray(4096, 'x'));
    const QByteArray noise = folder.read("Devices/Noise.kst");

    dialogs.chooseNext(device("Half.kst"), "Half.kst");
    main.mnuOpenSettings_Click();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Invalid file! If you are trying to open"));
    dialogs.chooseNext(device("Noise.kst"), "Noise.kst");
    main.mnuOpenSettings_Click();
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("Noise.kst")) << "the refusal names the file";
    EXPECT_EQ(current(), device("Device1.kst"));
    EXPECT_EQ(folder.read("Devices/Noise.kst"), noise);

    dialogs.chooseNext(device("Other.kst"), "Other.kst");
    main.mnuOpenSettings_Click();
    EXPECT_EQ(current(), device("Other.kst"));
    EXPECT_EQ(main.windowTitle(), "Kestrelon - Other.kst");
}

TEST_F(ProfileCommandsTest, SaveAsCopiesFirstWritesTheShownSettingsThenSwitches) {
    setRow(profileConnStr(current()), "Settings", 1, {{17, Value("stored notes")}});
    main.ui().RichTextBox1->setPlainText("typed, not stored");
    main.ui().BaudChoice->setCurrentIndex(13);
    main.state().HandshakeIndex = 2;
    dialogs.chooseNext(device("Copy"), "Copy");
    boxes.answerNext(AnswerNo);
    main.mnuSaveSettings_Click();
    EXPECT_EQ(boxes.texts().count("The user notes have been changed, would you like to save?"), 1);
    ASSERT_EQ(current(), device("Copy")) << "the name as typed: no extension is added";
    const ProfileSettings copy = ReadSettings(profileConnStr(device("Copy")));
    EXPECT_EQ(copy.baud, 13);
    EXPECT_EQ(copy.handshaking, 2);
    EXPECT_EQ(copy.userNotes, "stored notes");
    EXPECT_EQ(main.ui().RichTextBox1->toPlainText(), "stored notes");
    EXPECT_EQ(ReadSettings(profileConnStr(device("Device1.kst"))).baud, 6)
        << "the source is left as it was";

    // Onto an existing file: No writes nothing, Cancel asks again.
    folder.addProfile("Devices/Taken.kst");
    const QByteArray taken = folder.read("Devices/Taken.kst");
    dialogs.chooseNext(device("Taken.kst"), "Taken.kst");
    boxes.answerNext(AnswerNo);
    main.mnuSaveSettings_Click();
    EXPECT_EQ(folder.read("Devices/Taken.kst"), taken);
    EXPECT_EQ(current(), device("Copy"));

    // Onto itself, under its name or another: the settings shown are stored in it, with no
    // question about overwriting it.
    ASSERT_TRUE(QFile::link(device("Copy"), device("Link.kst")));
    const struct {
        const char* chosen;
        int baud;
    } itself[] = {{"Copy", 9}, {"Link.kst", 11}};
    for (const auto& c : itself) {
        boxes.clear();
        main.ui().BaudChoice->setCurrentIndex(c.baud);
        dialogs.chooseNext(device(c.chosen), c.chosen);
        main.mnuSaveSettings_Click();
        EXPECT_FALSE(boxes.texts().contains("File already exist, do you want to overwrite it?"))
            << c.chosen;
        EXPECT_EQ(ReadSettings(profileConnStr(device("Copy"))).baud, c.baud) << c.chosen;
        EXPECT_EQ(current(), device("Copy")) << c.chosen;
        EXPECT_EQ(main.windowTitle(), "Kestrelon - Copy") << c.chosen;
        EXPECT_EQ(main.ui().BaudChoice->currentIndex(), c.baud) << c.chosen;
    }

    // Never over the support database or kst.ini: refused, and the dialog shown again.
    for (const char* own : {"mscomctl.2fl", "kst.ini"}) {
        boxes.clear();
        const QByteArray before = folder.read(own);
        dialogs.chooseNext(folder.file(own), own);
        main.mnuSaveSettings_Click();
        EXPECT_EQ(folder.read(own), before) << own;
        ASSERT_EQ(boxes.boxes().size(), 1) << own;
        EXPECT_TRUE(boxes.boxes()[0].text.endsWith(
            ": the profile is not saved over it. Please choose another name."));
        EXPECT_EQ(current(), device("Copy"));
    }

    // A copy that cannot be made is told, and the program stays where it was. Notes given up
    // for it are still unsaved: the closing asks again.
    boxes.clear();
    main.ui().RichTextBox1->setPlainText("typed, kept");
    boxes.answerNext(AnswerNo);
    const QByteArray ini = folder.read("kst.ini");
    dialogs.chooseNext(folder.file("missing/folder/X.kst"), "X.kst");
    main.mnuSaveSettings_Click();
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_TRUE(boxes.boxes()[1].text.contains("X.kst"));
    EXPECT_EQ(current(), device("Copy"));
    EXPECT_EQ(folder.read("kst.ini"), ini);
    CountingEnder ender;
    main.close();
    EXPECT_EQ(ReadSettings(profileConnStr(device("Copy"))).userNotes, "typed, kept");
}

// Open, the import and Open Log take only a file, and New, Save As and Save Log write only
// over one: a named pipe is refused at once, with a message that says what it is; it stays
// a pipe and the open profile stays.
TEST_F(ProfileCommandsTest, ANamedPipeIsRefusedAtOnceByEveryCommandThatReadsOrWritesAFile) {
    GuardedFifo fifo(device("Pipe.kst"));
    ASSERT_TRUE(fifo.made());
    const QByteArray profile = folder.read("Devices/Device1.kst");
    const QByteArray ini = folder.read("kst.ini");
    const auto choosingThePipe = [&](void (frmMain::*command)()) {
        return [&, command] {
            dialogs.chooseNext(device("Pipe.kst"), "Pipe.kst");
            (main.*command)();
        };
    };
    const struct {
        const char* command;
        std::function<void()> run;
        const char* title;
    } cases[] = {
        {"Open", choosingThePipe(&frmMain::mnuOpenSettings_Click), "Error:"},
        {"Import",
         [&] {
             frmImport dialog(&main, main.session(), main.controller().profile());
             dialog.Text1->setText(device("Pipe.kst"));
             dialog.Command2->click();
         },
         "File Import Error:"},
        {"Open Log", choosingThePipe(&frmMain::mnuOpenLog_Click), "Open Log Error:"},
        {"New", choosingThePipe(&frmMain::mnuNew_Click), "Error:"},
        {"Save As", choosingThePipe(&frmMain::mnuSaveSettings_Click), "Error:"},
        {"Save Log", choosingThePipe(&frmMain::mnuSave_Click), "Save Log Error:"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        c.run();
        ASSERT_EQ(boxes.boxes().size(), 1) << c.command;
        EXPECT_EQ(boxes.boxes()[0].title, c.title) << c.command;
        EXPECT_TRUE(boxes.boxes()[0].text.contains("'" + device("Pipe.kst") +
                                                   "' is a named pipe (FIFO), not a file."))
            << c.command << ": " << boxes.boxes()[0].text.toStdString();
        EXPECT_EQ(current(), device("Device1.kst")) << c.command;
        EXPECT_EQ(folder.read("Devices/Device1.kst"), profile) << c.command;
        EXPECT_EQ(pathKind(device("Pipe.kst")), PathKind::Other) << c.command;
        EXPECT_EQ(folder.read("kst.ini"), ini) << c.command;
    }
    EXPECT_FALSE(fifo.readerWaited());
}

// A profile of an earlier version: the five tables with only their leading columns.
void makeOlderProfile(const QString& path, int settingsRows = 1) {
    db::Catalog catalog = db::Catalog::create(profileConnStr(path));
    const std::pair<QString, int> kept[] = {{"Settings", 16},
                                            {"progButtons", 17},
                                            {"progAutoResp", 20},
                                            {"progMacrosSeq", 21},
                                            {"progMacrosSubRoutines", 40}};
    for (const auto& [name, last] : kept) {
        for (const db::TableDef& table : profileTables()) {
            if (table.name != name)
                continue;
            db::TableDef older = table;
            older.columns.resize(static_cast<size_t>(last) + 1);
            catalog.appendTable(older);
        }
    }
    catalog.close();
    auto addRows = [&](const QString& table, int count) {
        db::Recordset rs;
        rs.open("SELECT * FROM " + table, profileConnStr(path));
        for (int i = 0; i < count; ++i) {
            rs.addNew();
            if (table == "progButtons")
                rs.setValue(1, Value(QString("O%1").arg(i + 1)));
        }
        rs.update();
        rs.close();
    };
    addRows("Settings", settingsRows);
    addRows("progButtons", 2);
    addRows("progAutoResp", 1);
    addRows("progMacrosSeq", 1);
    addRows("progMacrosSubRoutines", 1);
}

TEST_F(ProfileCommandsTest, AnImportBringsTheOlderRowsInAndTheProfileIsLoadedAgain) {
    makeOlderProfile(folder.file("old.kst"));
    setRow(profileConnStr(folder.file("old.kst")), "Settings", 1,
           {{SettingsColumn::baud, Value(4)}});
    setRow(profileConnStr(current()), "Settings", 1, {{17, Value("my notes")}});
    const QByteArray older = folder.read("old.kst");
    // The main window's file dialog was last used by Open Log, elsewhere.
    folder.write("last.txt", "log");
    dialogs.chooseNext(folder.file("last.txt"), "last.txt");
    main.mnuOpenLog_Click();
    QTimer::singleShot(0, [this] {
        auto* dialog = qobject_cast<frmImport*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialogs.chooseNext(folder.file("old.kst"), "old.kst");
        dialog->Command1->click();
        // Browse has a dialog of its own: no title or file left by Open Log.
        const FileDialogRequest& browse = dialogs.requests.last();
        EXPECT_EQ(browse.title, "");
        EXPECT_EQ(browse.fileName, "");
        EXPECT_EQ(browse.initDir, folder.path() + "/Devices");
        EXPECT_EQ(browse.filterIndex, 2);
        EXPECT_TRUE(dialog->Command2->isEnabled());
        dialog->Command2->click();
        EXPECT_EQ(dialog->Command3->text(), "Exit");
        ::raise(SIGTERM); // not through Exit: the profile is loaded again all the same
    });
    CountingEnder ender;
    const SessionClosing closing([this]() -> QWidget* { return &main; });
    main.mnuImport_Click();
    // The profile is loaded again before the session's end stores the settings shown.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ender.count == 1; }, 2000));
    EXPECT_EQ(ReadSettings(profileConnStr(current())).baud, 4);
    const ButtonTable buttons = ReadButtonTable(profileConnStr(current()));
    EXPECT_EQ(buttons.rows[0].caption, "O1");
    EXPECT_EQ(buttons.rows[1].caption, "O2");
    EXPECT_EQ(buttons.rows[2].caption, "3") << "rows the older file lacks keep their values";
    EXPECT_EQ(ReadSettings(profileConnStr(current())).userNotes, "my notes");
    EXPECT_EQ(main.shared().LoadedButtons[0].keyCaption, "O1") << "loaded again";
    EXPECT_EQ(folder.read("old.kst"), older) << "the older file is only read";
}

// The session's end closes the windows over the main window first, each as its close box
// does: an editor whose value is refused stays open, and the program with it, until a later
// signal.
TEST_F(ProfileCommandsTest, TheSessionsEndClosesTheWindowsOverTheMainWindowFirst) {
    CountingEnder ender;
    const SessionClosing closing([this]() -> QWidget* { return &main; });
    QTimer::singleShot(0, [&] {
        auto& row = qobject_cast<frmProgBut*>(QApplication::activeModalWidget())->rows[0];
        QApplication::setActiveWindow(row.txtCmd->window());
        row.txtCmd->setFocus();
        row.txtCmd->setText("20,77,");
        row.txtDelay->setFocus();
        row.txtDelay->setText("99999");
        ::raise(SIGTERM);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !boxes.boxes().isEmpty() && row.txtDelay->hasFocus(); }, 2000));
        EXPECT_EQ(ender.count, 0) << "the editor and the program stay";
        row.txtDelay->setText("250");
        ::raise(SIGTERM);
        QTimer::singleShot(5000, row.txtCmd->window(), &QWidget::hide); // a slip fails, not hangs
    });
    main.mnuProgBut_Click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ender.count == 1; }, 2000));
    EXPECT_EQ(boxes.texts().count("Maximum delay time is 65,535 ms, please try again!"), 1);
    EXPECT_EQ(ReadButtonTable(profileConnStr(current())).rows[0].command, "20,77,");
}

TEST_F(ProfileCommandsTest, AFailedImportChangesNothingAtAll) {
    const QByteArray profile = folder.read("Devices/Device1.kst");
    makeOlderProfile(folder.file("rows.kst"), 2); // two settings rows: one too many
    EXPECT_THROW(ImportOlderProfile(folder.file("rows.kst"), current(), {}), RunTimeError);
    EXPECT_EQ(folder.read("Devices/Device1.kst"), profile);

    // One value the load would refuse in each table it reads, macro 8's rows included, in a
    // copy of the profile: refused by its table, row and column, and nothing imported.
    const struct {
        const char* change;
        const char* refusal;
    } refused[] = {
        {"UPDATE Settings SET baud = 99",
         "row 1 of the table 'Settings' holds 99 in its column 'baud', outside its list of 16"},
        {"UPDATE Settings SET databit = 5",
         "holds 5 in its column 'databit', outside its list of 5"},
        {"UPDATE Settings SET parity = 5", "holds 5 in its column 'parity', outside its list of 5"},
        {"UPDATE Settings SET stopbit = 3",
         "holds 3 in its column 'stopbit', outside its list of 3"},
        {"UPDATE progButtons SET keyCaption = hex(zeroblob(25)) || 'x' WHERE ID = 7",
         "Row 7 of the table 'progButtons' holds a text of 51 characters in its column"},
        {"UPDATE progAutoResp SET respRepeat = 40000 WHERE ID = 3",
         "row 3 of the table 'progAutoResp' holds 40000 in its column 'respRepeat'"},
        {"UPDATE progMacrosSeq SET Delay = 'soon' WHERE ID = 58",
         "Row 58 of the table 'progMacrosSeq' holds a value of another kind in its column 'Delay'"},
        {"UPDATE progMacrosSeq SET Delay = 30000000000 WHERE ID = 59",
         "Row 59 of the table 'progMacrosSeq' holds a value its column 'Delay' cannot take"},
        {"UPDATE progMacrosSubRoutines SET IfThenCmdRepeat = 40000 WHERE ID = 63",
         "row 63 of the table 'progMacrosSubRoutines' holds 40000 in its column 'IfThenCmdRepeat'"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.change);
        const QString older = folder.file("older.kst");
        folder.write("older.kst", profile);
        ASSERT_EQ(sqliteExec(older, c.change), 0);
        try {
            ImportOlderProfile(older, current(), {});
            ADD_FAILURE() << "imported";
        } catch (const RunTimeError& e) {
            EXPECT_TRUE(e.description().contains(c.refusal)) << e.description().toStdString();
        }
        EXPECT_EQ(folder.read("Devices/Device1.kst"), profile);
    }

    // A read-only profile is not replaced by a file renamed over it: the import, Save As.
    folder.write("older.kst", profile);
    asOrdinaryUser({folder.path()}, [&] {
        ASSERT_TRUE(QFile::setPermissions(current(), QFile::ReadOwner));
        EXPECT_THROW(ImportOlderProfile(folder.file("older.kst"), current(), {}), RunTimeError);
        EXPECT_THROW(CopyProfileFile(folder.file("older.kst"), current()), RunTimeError);
        EXPECT_EQ(folder.read("Devices/Device1.kst"), profile);
    });

    // The open profile is not imported into itself.
    EXPECT_THROW(ImportOlderProfile(current(), current(), {}), RunTimeError);
    EXPECT_EQ(folder.read("Devices/Device1.kst"), profile);
    EXPECT_TRUE(QDir(folder.file("Devices"))
                    .entryList({".kestrelon-*"}, QDir::Hidden | QDir::Files)
                    .isEmpty())
        << "no work file is left behind";
}

} // namespace
