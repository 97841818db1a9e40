#include "app/app_fixtures.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "platform/db/catalog.h"
#include "platform/db/recordset.h"
#include "storage/profile_schema.h"
#include "support/file_size_limit.h"
#include "support/profile_rows.h"
#include "support/pty_pair.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <sqlite3.h>

using namespace kst;
using namespace kst::test;
using db::Recordset;
using db::Value;

namespace {

// A program folder with the shipped support database and the default profile, and a
// main window that has not started yet.
class ProfileLoadTest : public ::testing::Test {
protected:
    ProfileLoadTest() {
        folder.makeReady();
        main = std::make_unique<RecordingMain>(folder.path());
    }

    QString defaultProfile() const { return folder.file("Devices/Device1.kst"); }

    void setSettings(FieldValues fields, const QString& profile = QString()) {
        setRow(profileConnStr(profile.isEmpty() ? defaultProfile() : profile), "Settings", 1,
               fields);
    }
    void setPrefs(FieldValues fields) {
        setRow(supportConnStr(folder.path()), "userPreferences", 0, fields);
    }
    Value storedSetting(int ordinal, const QString& profile = QString()) {
        Recordset rs;
        rs.open("SELECT * FROM Settings",
                profileConnStr(profile.isEmpty() ? defaultProfile() : profile));
        return rs.value(ordinal);
    }
    QStringList titles() const {
        QStringList result;
        for (const auto& box : boxes.boxes())
            if (box.title != "COM port checking")
                result << box.title;
        return result;
    }
    QComboBox* list(const char* name) { return main->control<QComboBox>(name); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    CountingEnder ender;
    ScriptedFileDialogs dialogs;
    std::unique_ptr<RecordingMain> main;
};

} // namespace

TEST_F(ProfileLoadTest, EveryKindOfRowReachesItsPlace) {
    PtyPair com2, com7;
    ASSERT_TRUE(linkPort(folder.path(), 2, com2.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 7, com7.slavePath()));
    setSettings({{1, Value(qint64(1))},
                 {2, Value(qint64(13))},
                 {3, Value(qint64(3))},
                 {4, Value(qint64(1))},
                 {5, Value(qint64(2))},
                 {6, Value(qint64(2))},
                 {7, Value(qint64(7))},
                 {11, Value(qint64(9))},
                 {14, Value(true)},
                 {15, Value(true)},
                 {16, Value(false)},
                 {19, Value(true)},
                 {20, Value(false)},
                 {17, Value("0012 notes")}});
    setRow(profileConnStr(defaultProfile()), "progButtons", 1,
           {{1, Value("Ping")}, {2, Value("50,49,")}, {7, Value(qint64(1))}});
    setRow(profileConnStr(defaultProfile()), "progButtons", 17, {{1, Value("Second page")}});
    setRow(profileConnStr(defaultProfile()), "progAutoResp", 2,
           {{1, Value("OK")}, {12, Value("D,")}, {2, Value("41,")}});
    setRow(profileConnStr(defaultProfile()), "progMacrosSeq", 3, {{1, Value("Wake up")}});
    setPrefs({{15, Value(qint64(0x00FFFF))},
              {2, Value(true)},
              {3, Value(false)},
              {4, Value(true)},
              {14, Value(true)}});

    main->Open_DB(defaultProfile(), "Device1.kst");

    EXPECT_EQ(titles(), QStringList());
    EXPECT_EQ(main->portChoice()->currentText(), "7"); // position 1 of the list just probed
    EXPECT_EQ(list("BaudChoice")->currentText(), "115200");
    EXPECT_EQ(list("DataBitChoice")->currentText(), "7");
    EXPECT_EQ(list("ParityChoice")->currentText(), "Even");
    EXPECT_EQ(list("StopBitChoice")->currentText(), "2");
    EXPECT_EQ(main->StatusBar1()->panelText("Setting"),
              "COM Port Settings: 115200,E,7,2 Handshaking: RTS/CTS");
    EXPECT_EQ(main->StatusBar1()->panelText("Status"), "COM Port (7) Status:");
    EXPECT_EQ(list("CbTimer")->currentText(), "500 ms");
    EXPECT_EQ(main->state().RxTimerMs, 500);
    const MainState& s = main->state();
    EXPECT_EQ(s.HandshakeIndex, 2);
    EXPECT_EQ(s.SecondPort, 9);
    EXPECT_TRUE(s.FullDuplexSelected);
    EXPECT_TRUE(s.DetectCTS);
    EXPECT_FALSE(s.DetectDSR);
    EXPECT_TRUE(s.DetectDCD);
    EXPECT_FALSE(s.DetectRI);
    EXPECT_EQ(main->control<QPlainTextEdit>("RichTextBox1")->toPlainText(), "0012 notes");

    EXPECT_EQ(main->responseBox()->palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_TRUE(main->session().autoResponder().isOn());
    EXPECT_EQ(main->StatusBar1()->panelText("AutoResp"), "Auto-Response: ON ");
    EXPECT_EQ(main->Toolbar1()->buttonImage(ToolButton::AutoRespOnOff), 6);
    EXPECT_FALSE(main->control<QCheckBox>("Check2")->isChecked());
    EXPECT_TRUE(main->control<QCheckBox>("Check3")->isChecked());
    EXPECT_TRUE(main->control<QCheckBox>("Check1")->isChecked());
    EXPECT_TRUE(main->control("CbTimer")->isEnabled());

    EXPECT_EQ(main->shared().LoadedButtons[0].action.command, "50,49,");
    EXPECT_EQ(main->control<QAbstractButton>("cmdProBut", 0)->text(), "Ping");
    EXPECT_TRUE(
        main->control("cmdProBut", 0)->toolTip().startsWith("Signal: RTS ON, Command: 50,49,\r\n"));
    EXPECT_EQ(main->session().autoResponder().rules()[1].condition.data, "OK\r");
    EXPECT_EQ(main->session().autoResponder().rules()[1].response.command, "41,");
    EXPECT_EQ(main->session().macroRunner().macro().steps[2].name, "Wake up");
    EXPECT_EQ(main->control<QComboBox>("cboMacros")->currentIndex(), 0);

    // The page shown decides which buttons the load labels.
    main->control<QAbstractButton>("Option6", 1)->click();
    main->Open_DB(defaultProfile(), "Device1.kst");
    EXPECT_EQ(main->control<QAbstractButton>("cmdProBut", 0)->text(), "Second page");
}

TEST_F(ProfileLoadTest, TheFileIsRecordedAndTheCaptionKeepsOneTitle) {
    folder.addProfile("Devices/Bench-2.kst");
    main->Open_DB(defaultProfile(), "Device1.kst");
    EXPECT_EQ(main->windowTitle(), "Kestrelon - Device1.kst");
    main->Open_DB(folder.file("Devices/Bench-2.kst"), "Bench-2.kst");
    EXPECT_EQ(main->windowTitle(), "Kestrelon - Bench-2.kst");
    main->Open_DB(defaultProfile(), "Device1.kst");
    EXPECT_EQ(main->windowTitle(), "Kestrelon - Device1.kst");
    EXPECT_EQ(folder.read("kst.ini"), (defaultProfile() + "\r\n 0 \r\n").toLocal8Bit());
    EXPECT_EQ(main->ini().SettingsFileName(), "Device1.kst");

    // A kst.ini that cannot record the load (a full disk: a file-size limit) still names the
    // profile before, but the profile loaded is the open one, for Save Log's guard, Save As,
    // the import and its reload through kst.ini's names, and the exit save.
    const QString bench = folder.file("Devices/Bench-2.kst");
    {
        const FileSizeLimit fullDisk(4);
        main->Open_DB(bench, "Bench-2.kst");
        main->Open_DB(main->ini().settingsFile(), main->ini().SettingsFileName());
    }
    EXPECT_EQ(titles().last(), "SaveText Error");
    EXPECT_EQ(folder.read("kst.ini"), (defaultProfile() + "\r\n 0 \r\n").toLocal8Bit());
    EXPECT_EQ(main->windowTitle(), "Kestrelon - Bench-2.kst");
    EXPECT_EQ(main->ini().settingsFile(), bench);
    EXPECT_EQ(main->session().ownFileAt(bench), "the device profile that is open");
    main->shared().Prefs.bolSaveRxTimer = true;
    list("CbTimer")->setCurrentIndex(9);
    main->ExitSave();
    EXPECT_EQ(storedSetting(7, bench), Value(qint64(9)));
}

namespace {

// Keeps what kst.ini held when each box appeared.
class IniWatchingBoxes : public RecordingMessageBoxes {
public:
    explicit IniWatchingBoxes(const ProgramFolder& folder) : folder_(folder) {}
    int show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& title) override {
        iniAtBox << folder_.read("kst.ini");
        return RecordingMessageBoxes::show(text, icon, buttons, title);
    }
    QList<QByteArray> iniAtBox;

private:
    const ProgramFolder& folder_;
};

} // namespace

TEST_F(ProfileLoadTest, AFailingLoadEndsTheProgramAndTheNextStartOpensTheDefault) {
    folder.addProfile("Broken.kst");
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(folder.file("Broken.kst").toUtf8().constData(), &raw), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(raw, "DELETE FROM progButtons WHERE ID = 32", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(raw);
    setSettings({{6, Value(qint64(1))}}, folder.file("Broken.kst"));
    main->Open_DB(defaultProfile(), "Device1.kst");
    const QByteArray storedBefore = folder.read("Broken.kst");
    main->shared().Prefs.bolSaveComSettings = true;
    IniWatchingBoxes watching(folder);

    main->Open_DB(folder.file("Broken.kst"), "Broken.kst");

    // The file was recorded before the load began.
    ASSERT_FALSE(watching.iniAtBox.isEmpty());
    EXPECT_EQ(watching.iniAtBox.last(), (folder.file("Broken.kst") + "\r\n 0 \r\n").toLocal8Bit());
    ASSERT_EQ(watching.boxes().last().title, "OpenDB Error:");
    EXPECT_TRUE(watching.boxes().last().text.startsWith("Error Number: 3021\n"));
    EXPECT_TRUE(watching.boxes().last().text.endsWith(
        "\nProgram will be ended!\nIf the problem persists, please reinstall the program."));
    EXPECT_EQ(ender.count, 1);
    // The next start is not stopped by the same file, and nothing was saved into it.
    EXPECT_EQ(folder.read("kst.ini"), (defaultProfile() + "\r\n1\r\n").toLocal8Bit());
    EXPECT_EQ(folder.read("Broken.kst"), storedBefore);
}

// (A default profile that fails so is set aside and made again: see the damaged profiles.)
TEST_F(ProfileLoadTest, AStoredPositionOutsideItsListFailsTheLoad) {
    folder.addProfile("Devices/Bench.kst");
    const QString bench = folder.file("Devices/Bench.kst");
    setSettings({{7, Value(qint64(12))}}, bench);
    main->Open_DB(bench, "Bench.kst");
    EXPECT_EQ(titles(), QStringList({"OpenDB Error:"}));
    EXPECT_EQ(ender.count, 1);

    boxes.clear();
    setSettings({{7, Value(qint64(0))}, {2, Value(qint64(-1))}}, bench);
    main->Open_DB(bench, "Bench.kst");
    EXPECT_EQ(titles(), QStringList({"OpenDB Error:"}));
}

TEST_F(ProfileLoadTest, AStoredPortBeyondTheListSelectsTheFirstPort) {
    PtyPair com1, com4;
    ASSERT_TRUE(linkPort(folder.path(), 1, com1.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 4, com4.slavePath()));
    setSettings({{1, Value(qint64(2))}}); // the first position past the two ports listed
    main->Open_DB(defaultProfile(), "Device1.kst");
    EXPECT_EQ(main->portChoice()->currentText(), "1");
    EXPECT_TRUE(titles().isEmpty());
}

TEST_F(ProfileLoadTest, StartUpChoosesTheRecordedTheValidOrTheDefaultProfile) {
    // A recorded file that lacks a table: the message, then the default.
    {
        db::Catalog catalog = db::Catalog::create(profileConnStr(folder.file("Devices/Half.kst")));
        catalog.appendTable(profileTables().front());
        catalog.close();
    }
    folder.write("kst.ini", (folder.file("Devices/Half.kst") + "\r\n 0 \r\n").toLocal8Bit());
    main->InitMainWindow();
    EXPECT_EQ(titles(), QStringList({"Kestrelon"}));
    EXPECT_EQ(boxes.boxes().first().text,
              "Invalid file, the default file will be opened instead!\nThe file '" +
                  folder.file("Devices/Half.kst") +
                  "' lacks the table 'progButtons' of a profile.");
    EXPECT_EQ(main->ini().SettingsPath(), defaultProfile());
    EXPECT_TRUE(dialogs.requests.isEmpty());

    // A name written in capitals is not a profile's name: the dialog asks, Cancel opens
    // the default without a message.
    boxes.clear();
    folder.addProfile("Devices/Upper.KST");
    folder.write("kst.ini", (folder.file("Devices/Upper.KST") + "\r\n 0 \r\n").toLocal8Bit());
    RecordingMain second(folder.path());
    second.InitMainWindow();
    EXPECT_TRUE(titles().isEmpty());
    ASSERT_EQ(dialogs.requests.size(), 1);
    EXPECT_EQ(dialogs.requests[0].filterIndex, 2);
    EXPECT_EQ(dialogs.requests[0].initDir, folder.path() + "/Devices");
    EXPECT_EQ(second.ini().SettingsPath(), defaultProfile());

    // A valid file chosen in the dialog opens.
    dialogs.chooseNext(folder.file("Devices/Upper.KST"), "Upper.KST");
    folder.write("kst.ini", "\r\n 0 \r\n");
    RecordingMain third(folder.path());
    third.InitMainWindow();
    EXPECT_EQ(third.ini().SettingsPath(), folder.file("Devices/Upper.KST"));
    EXPECT_EQ(third.windowTitle(), "Kestrelon - Upper.KST");
}

TEST_F(ProfileLoadTest, StartUpPreferencesActOnceMonitoringFirst) {
    setPrefs({{12, Value(true)}, {5, Value(true)}});
    main->InitMainWindow();
    EXPECT_EQ(main->calls, QStringList({"switchToMonitoring"}));
    EXPECT_FALSE(main->state().StartupPending);
    main->cboMacros_Click();
    EXPECT_EQ(main->calls, QStringList({"switchToMonitoring"}));
}

TEST_F(ProfileLoadTest, ConnectAutomaticallyOpensThePortOnceAndNeitherKeepsWaiting) {
    setPrefs({{12, Value(false)}, {5, Value(true)}});
    main->InitMainWindow();
    EXPECT_EQ(main->calls, QStringList({"openPort"}));
    EXPECT_FALSE(main->state().StartupPending);

    setPrefs({{5, Value(false)}});
    RecordingMain idle(folder.path());
    idle.InitMainWindow();
    idle.cboMacros_Click();
    EXPECT_TRUE(idle.calls.isEmpty());
    EXPECT_TRUE(idle.state().StartupPending);
}

TEST_F(ProfileLoadTest, TheEighthMacroAlwaysLeavesSinglePlay) {
    main->Open_DB(defaultProfile(), "Device1.kst");
    main->session().macroRunner().setContinuousPlay(true);
    EXPECT_EQ(main->Toolbar1()->buttonImage(ToolButton::MacrosContinue), 11);
    main->control<QComboBox>("cboMacros")->setCurrentIndex(7);
    main->cboMacros_Click();
    EXPECT_FALSE(main->session().macroRunner().continuousPlay());
    EXPECT_EQ(main->Toolbar1()->buttonImage(ToolButton::MacrosContinue), 10);
    EXPECT_EQ(main->session().macroRunner().macro().steps[0].id, 57);

    // No selection asks for a macro that does not exist.
    main->control<QComboBox>("cboMacros")->setCurrentIndex(-1);
    main->cboMacros_Click();
    EXPECT_EQ(titles(), QStringList({"Getting MacrosDetails Error:"}));
    EXPECT_TRUE(boxes.boxes().last().text.endsWith(
        "\nUnexpected errors occur when loading macros, please try again!"));
}

TEST_F(ProfileLoadTest, TheExitSaveWritesWhatThePreferencesAsk) {
    PtyPair com2, com5;
    ASSERT_TRUE(linkPort(folder.path(), 2, com2.slavePath()));
    ASSERT_TRUE(linkPort(folder.path(), 5, com5.slavePath()));
    main->Open_DB(defaultProfile(), "Device1.kst");
    main->portChoice()->setCurrentIndex(1);
    list("BaudChoice")->setCurrentIndex(15);
    list("DataBitChoice")->setCurrentIndex(1);
    list("ParityChoice")->setCurrentIndex(4);
    list("StopBitChoice")->setCurrentIndex(1);
    list("CbTimer")->setCurrentIndex(9);
    MainState& s = main->state();
    s.HandshakeIndex = 3;
    s.SecondPort = 12;
    s.FullDuplexSelected = true;
    s.DetectCTS = false;
    s.DetectDSR = true;
    s.DetectDCD = false;
    s.DetectRI = true;
    const Value timerBefore = storedSetting(7);

    // The port settings only.
    main->shared().Prefs.bolSaveComSettings = true;
    main->shared().Prefs.bolSaveRxTimer = false;
    main->ExitSave();
    const std::pair<int, Value> expected[] = {
        {1, Value(qint64(1))},   {2, Value(qint64(15))}, {3, Value(qint64(1))},
        {4, Value(qint64(4))},   {5, Value(qint64(1))},  {6, Value(qint64(3))},
        {11, Value(qint64(12))}, {14, Value(true)},      {15, Value(false)},
        {16, Value(true)},       {19, Value(false)},     {20, Value(true)}};
    for (const auto& [ordinal, value] : expected)
        EXPECT_EQ(storedSetting(ordinal), value) << "ordinal " << ordinal;
    EXPECT_EQ(storedSetting(7), timerBefore);

    // The receive timer only.
    main->shared().Prefs.bolSaveComSettings = false;
    main->shared().Prefs.bolSaveRxTimer = true;
    list("BaudChoice")->setCurrentIndex(3);
    main->ExitSave();
    EXPECT_EQ(storedSetting(7), Value(qint64(9)));
    EXPECT_EQ(storedSetting(2), Value(qint64(15)));

    // With no port found the stored port stays.
    main->FillPortList({});
    main->portChoice()->setCurrentIndex(0);
    main->shared().Prefs.bolSaveComSettings = true;
    main->ExitSave();
    EXPECT_EQ(storedSetting(1), Value(qint64(1)));
    EXPECT_EQ(storedSetting(2), Value(qint64(3)));

    // Neither preference: the profile is not even opened, so a missing one is no error.
    main->shared().Prefs.bolSaveComSettings = false;
    main->shared().Prefs.bolSaveRxTimer = false;
    ASSERT_TRUE(QFile::rename(defaultProfile(), defaultProfile() + ".away"));
    EXPECT_NO_THROW(main->ExitSave());
}

namespace {

// A macro that will not load leaves the one held before: the macro box goes back to it,
// so Run plays the macro shown and the log names it. A profile whose first macro will
// not load holds none of the profile before.
TEST_F(ProfileLoadTest, AFailedMacroLoadPutsTheChoiceBackToTheMacroHeld) {
    const struct {
        int shown;   // chosen first (0: the profile's own load of macro 1 fails)
        int damaged; // the macro whose row is damaged, chosen next
        int held;    // the macro held and shown afterwards (0: none)
    } cases[] = {{5, 7, 5}, {2, 1, 2}, {8, 3, 8}, {0, 1, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.shown << " then " << c.damaged);
        QFile::remove(defaultProfile());
        folder.addProfile("Devices/Device1.kst");
        MacroRunner& runner = main->session().macroRunner();
        QComboBox* box = main->control<QComboBox>("cboMacros");
        const int damagedRow = (c.damaged - 1) * 8 + 1;
        if (c.shown == 0) {
            // The macro of the profile opened before is held when this one opens.
            main->Open_DB(defaultProfile(), "Device1.kst");
            box->setCurrentIndex(3);
            main->cboMacros_Click();
            ASSERT_EQ(runner.loadedMacro(), 4);
            setRow(profileConnStr(defaultProfile()), "progMacrosSeq", damagedRow,
                   {{4, Value(qint64(40000))}});
            main->Open_DB(defaultProfile(), "Device1.kst");
        } else {
            main->Open_DB(defaultProfile(), "Device1.kst");
            box->setCurrentIndex(c.shown - 1);
            main->cboMacros_Click();
            setRow(profileConnStr(defaultProfile()), "progMacrosSeq", damagedRow,
                   {{4, Value(qint64(40000))}});
            box->setCurrentIndex(c.damaged - 1);
            main->cboMacros_Click();
        }
        EXPECT_EQ(titles(), QStringList({"Getting MacrosDetails Error:"}));
        EXPECT_EQ(runner.loadedMacro(), c.held);
        EXPECT_EQ(box->currentIndex(), (c.held ? c.held : c.damaged) - 1);
        if (c.held)
            EXPECT_EQ(runner.macro().steps[0].id, (c.held - 1) * 8 + 1);
        else
            EXPECT_EQ(runner.macro().steps[0].id, 0) << "nothing of the profile before";
        boxes.clear();
    }
}

} // namespace
