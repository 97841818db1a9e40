#include "app/app_fixtures.h"
#include "app/main/controls.h"
#include "app/main/frm_splash.h"
#include "app/main/session_closing.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "macros/macro_runner.h"
#include "platform/serial/posix_serial_device.h"
#include "storage/profile_readers.h"
#include "support/pty_pair.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <atomic>
#include <csignal>
#include <future>
#include <unistd.h>

using namespace kst;
using namespace kst::test;

namespace {

class StartupTest : public ::testing::Test {
protected:
    ProgramFolder folder;
    RecordingMessageBoxes boxes;
};

TEST_F(StartupTest, MissingSupportDatabaseEndsBeforeAnyFileIsCreated) {
    RecordingEnder ender;
    RecordingMain main(folder.path(), FullScreen);

    EXPECT_THROW(main.Form_Load(), ProgramEnded);

    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Initialization Error:");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(
        boxes.boxes()[0].text.startsWith("Initial DLL file missing, program will be ended!"));
    EXPECT_EQ(ender.count, 1);
    EXPECT_FALSE(main.isVisible());
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(StartupTest, FirstStartWritesIniCreatesDefaultProfileThenOpensItShown) {
    // A folder with only the program and its support database: Devices is made too.
    folder.addSupportDatabase();
    RecordingMain main(folder.path(), FullScreen);

    main.Form_Load();

    // The profile is loaded twice (once when made, once at the end of start-up), and
    // this folder links no port for the list.
    ASSERT_EQ(boxes.boxes().size(), 2) << boxes.texts().join("|").toStdString();
    for (const auto& box : boxes.boxes())
        EXPECT_EQ(box.title, "COM port checking") << box.text.toStdString();
    const QString profile = folder.path() + "/Devices/Device1.kst";
    EXPECT_TRUE(FileExists(profile));
    EXPECT_EQ(folder.read("kst.ini"), (profile + "\r\n 0 \r\n").toLocal8Bit());
    EXPECT_EQ(main.ini().SettingsPath(), profile);
    EXPECT_EQ(main.windowTitle(), "Kestrelon - Device1.kst");
    EXPECT_TRUE(main.isVisible());
    EXPECT_TRUE(main.session().SupportConnStr().contains(folder.path() + "/mscomctl.2fl;"));
    EXPECT_FALSE(main.control("ProgressBar1")->isVisible());
}

TEST_F(StartupTest, ExistingFilesAreKept) {
    folder.addSupportDatabase();
    folder.addProfile("Devices/Device1.kst");
    folder.addProfile("Mine.kst");
    const QByteArray defaultProfile = folder.read("Devices/Device1.kst");
    const QByteArray ini = (folder.file("Mine.kst") + "\r\n 0 \r\n").toLocal8Bit();
    folder.write("kst.ini", ini);
    // What copies and imports killed part-way left, in the profiles folder and beside
    // the recorded profile, and a file of the user's that only looks alike.
    folder.write("Devices/.kestrelon-Ab12Cd.part", "left");
    folder.write("Devices/.kestrelon-Ab12Cd.part-journal", "left");
    folder.write(".kestrelon-Zz99Yy.part", "left");
    folder.write("Devices/.kestrelon-notes.txt", "mine");
    RecordingMain main(folder.path(), FullScreen);

    main.Form_Load();

    EXPECT_EQ(folder.read("kst.ini"), ini);
    EXPECT_EQ(folder.read("Devices/Device1.kst"), defaultProfile);
    EXPECT_EQ(main.ini().SettingsFileName(), "Mine.kst");
    EXPECT_EQ(main.windowTitle(), "Kestrelon - Mine.kst");
    EXPECT_EQ(QDir(folder.file("Devices")).entryList(QDir::Files | QDir::Hidden),
              QStringList({".kestrelon-notes.txt", "Device1.kst"}));
    EXPECT_FALSE(QFileInfo::exists(folder.file(".kestrelon-Zz99Yy.part")));
}

TEST_F(StartupTest, FailingProfileCreationLeavesNoFileAndEndsAtTheLoad) {
    folder.addSupportDatabase();
    folder.write("Devices", "a file where the folder should be");
    RecordingEnder ender;
    ScriptedFileDialogs dialogs;
    RecordingMain main(folder.path(), FullScreen);

    EXPECT_THROW(main.Form_Load(), ProgramEnded);

    QStringList titles;
    for (const auto& box : boxes.boxes())
        titles << box.title;
    EXPECT_EQ(titles, QStringList({"CreateDB Error:", "OpenDB Error:"}));
    EXPECT_TRUE(boxes.boxes()[1].text.endsWith(
        "\nProgram will be ended!\nIf the problem persists, please reinstall the program."));
    EXPECT_EQ(ender.count, 1);
    EXPECT_FALSE(main.isVisible());
}

TEST_F(StartupTest, InitialControlStateIsThePortClosedState) {
    folder.addSupportDatabase();
    folder.addProfile("Devices/Device1.kst");
    RecordingMain main(folder.path(), FullScreen);
    main.Form_Load();

    const MainState& s = main.state();
    EXPECT_EQ(s.TxFormat, 1);
    EXPECT_EQ(s.RxFormat, 1);
    EXPECT_EQ(s.CalcNotation, 1);
    EXPECT_EQ(s.CalcOperation, 0);
    EXPECT_EQ(main.session().macroRunner().state(), MacroRunState::Idle);
    EXPECT_TRUE(s.StartupPending);
    EXPECT_TRUE(main.control<QRadioButton>("Option1", 1)->isChecked());
    EXPECT_TRUE(main.control<QRadioButton>("Option2", 1)->isChecked());
    EXPECT_TRUE(main.control<QRadioButton>("Option4", 1)->isChecked());
    EXPECT_TRUE(main.control<QRadioButton>("Option5", 0)->isChecked());

    EXPECT_EQ(main.StatusBar1()->panelText("Ball"), "Port closed");
    EXPECT_EQ(main.StatusBar1()->panelPicture("Ball"), 1);

    // Every LED is off and out of use; the samples are hidden.
    const qint64 off = main.imgLedSample(0)->picture().cacheKey();
    EXPECT_NE(off, main.imgLedSample(1)->picture().cacheKey());
    EXPECT_FALSE(main.imgLedSample(0)->isVisible());
    EXPECT_FALSE(main.imgLedSample(1)->isVisible());
    for (const QString& led : ledNames()) {
        EXPECT_EQ(main.control<ImageControl>("img" + led)->picture().cacheKey(), off);
        EXPECT_FALSE(main.control("img" + led)->isEnabled()) << led.toStdString();
        EXPECT_FALSE(main.control("lbl" + led)->isEnabled()) << led.toStdString();
    }

    // What only an open port makes usable.
    for (const char* name :
         {"Label4", "txtCmdDelay", "txtCmdRepeat", "txtCmdInterval", "Combo1", "Text3", "Send",
          "Frame3", "Frame4", "txtMacros", "cboMacros", "lblCmdDelay", "lblCmdDelay1",
          "lblCmdRepeat", "lblCmdInterval", "lblCmdInterval1", "cmdStop"})
        EXPECT_FALSE(main.control(name)->isEnabled()) << name;
    for (int k = 0; k < 16; ++k) {
        EXPECT_FALSE(main.control("cmdFreqused", k)->isEnabled());
        EXPECT_FALSE(main.control("cmdProBut", k)->isEnabled());
    }
    EXPECT_FALSE(main.control("Option6", 0)->isEnabled());
    for (const char* name : {"mnuPortClose", "mnuAutoResp", "mnuMacro", "mnuRun", "mnuPause",
                             "mnuStop", "mnuContinue"})
        EXPECT_FALSE(main.menuItem(name)->isEnabled()) << name;
    for (ToolButton button :
         {ToolButton::AutoRespOnOff, ToolButton::MacrosPlay, ToolButton::MacrosPause,
          ToolButton::MacrosStop, ToolButton::MacrosContinue})
        EXPECT_FALSE(main.Toolbar1()->button(button)->isEnabled()) << static_cast<int>(button);
    EXPECT_EQ(main.control<LineControl>("Line1")->borderColor(), syscolor::ScrollBar);
    EXPECT_EQ(main.control<LineControl>("Line2")->borderColor(), syscolor::ScrollBar);

    // What the closed port leaves usable.
    for (const char* name : {"mnuPortOpen", "mnuNew", "mnuOpenSettings", "mnuSaveSettings",
                             "mnuSettings", "mnuOptions"})
        EXPECT_TRUE(main.menuItem(name)->isEnabled()) << name;
    for (const char* name : {"portChoice", "BaudChoice", "DataBitChoice", "ParityChoice",
                             "StopBitChoice", "Check1", "Check2", "Check3"})
        EXPECT_TRUE(main.control(name)->isEnabled()) << name;
    EXPECT_TRUE(main.Toolbar1()->button("Connect")->isEnabled());
    EXPECT_TRUE(main.menuItem("mnuDebugging")->isChecked());

    // Calculator pane: results in one wide box, the quotient's extras hidden.
    EXPECT_FALSE(main.control("lblQuotient")->isVisible());
    EXPECT_FALSE(main.control("lblRemainder")->isVisible());
    EXPECT_FALSE(main.control("txtRemainder")->isVisible());
    EXPECT_EQ(main.control("txtResult")->width(), toPixels(2550));

    // The ASCII chart is filled once; the log view is read-only: typing in it, pasting
    // or undoing there changes nothing.
    EXPECT_EQ(main.ui().ListView1->topLevelItemCount(), 256);
    main.Add_Color("log\r\n", {});
    QTest::keyClicks(main.responseBox(), "typed");
    QTest::keyClick(main.responseBox(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(main.responseBox(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(main.responseBox(), Qt::Key_Backspace);
    EXPECT_EQ(main.log().plainText(), "log\n");
    EXPECT_FALSE(main.control("ProgressBar1")->isVisible());
}

TEST_F(StartupTest, ClosingRunsTheExitSaveClosesOtherWindowsAndEnds) {
    folder.makeReady();
    CountingEnder ender;
    RecordingMain main(folder.path(), FullScreen);
    main.InitMainWindow();
    QWidget other;
    other.setWindowTitle("calculator window");
    other.show();
    PtyPair line;
    ASSERT_TRUE(linkPort(folder.path(), 1, line.slavePath()));
    main.MSComm1().setCommPort(1);
    main.MSComm1().setPortOpen(true);
    // The exit save is asked for, but the recorded profile does not exist.
    main.shared().Prefs.bolSaveRxTimer = true;
    main.ini().setSettings(folder.file("Devices/Gone.kst"), "Gone.kst");

    main.menuItem("mnuExit")->trigger();

    EXPECT_FALSE(main.MSComm1().PortOpen());
    ASSERT_FALSE(boxes.boxes().isEmpty());
    EXPECT_EQ(boxes.boxes().last().title, "Form Unload Error:");
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(other.isVisible());
    EXPECT_EQ(ender.count, 1);
}

// A serial adapter's close waits while its handshake holds the line (up to 30 s): the
// window closes and the program ends all the same.
TEST_F(StartupTest, ClosingEndsWhileTheKernelStillClosesThePort) {
    folder.makeReady();
    CountingEnder ender;
    RecordingMain main(folder.path(), FullScreen);
    main.InitMainWindow();
    PtyPair line;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto closed = std::make_shared<std::atomic<bool>>(false);
    main.session().useDevices([&](int) {
        return std::make_unique<comm::PosixSerialDevice>(
            line.slavePath(), comm::PosixSerialDevice::DefaultOutputCapacity,
            [released, closed](int fd) {
                released.wait_for(std::chrono::seconds(20));
                ::close(fd);
                *closed = true;
            });
    });
    main.MSComm1().setCommPort(1);
    main.MSComm1().setPortOpen(true);
    main.MSComm1().Output("held back");

    main.close();

    EXPECT_EQ(ender.count, 1);
    EXPECT_FALSE(main.MSComm1().PortOpen());
    EXPECT_FALSE(*closed) << "the program ended before the kernel's close did";
    release.set_value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return closed->load(); }, 10000));
}

// A logout (TERM), the terminal that started the program closed (HUP) or Ctrl+C there (INT)
// close the window as its close box does: the exit save stores the settings shown.
TEST_F(StartupTest, TheSessionsEndClosesTheWindowAsItsCloseBoxDoes) {
    folder.makeReady();
    const std::pair<int, int> signalAndBaud[] = {{SIGTERM, 3}, {SIGHUP, 4}, {SIGINT, 5}};
    for (const auto& [signal, baud] : signalAndBaud) {
        CountingEnder ender;
        RecordingMain main(folder.path(), FullScreen);
        main.InitMainWindow();
        const SessionClosing closing([&main]() -> QWidget* { return &main; });
        main.ui().BaudChoice->setCurrentIndex(baud);
        ASSERT_EQ(::raise(signal), 0);
        EXPECT_TRUE(QTest::qWaitFor([&] { return ender.count == 1; }, 2000)) << signal;
        EXPECT_EQ(ReadSettings(main.shared().SettingsConnStr).baud, baud) << signal;
    }
}

TEST(Splash, OneTickClosesTheSplashAndRunsTheLoadOnce) {
    frmSplash splash;
    int loads = 0;
    splash.setLoad([&] {
        ++loads;
        EXPECT_FALSE(splash.isVisible());
    });
    EXPECT_FALSE(splash.Timer1()->isActive());
    splash.show();
    EXPECT_TRUE(splash.Timer1()->isActive());
    EXPECT_EQ(splash.Timer1()->interval(), 1000);

    splash.Timer1_Timer();
    splash.Timer1_Timer();

    EXPECT_EQ(loads, 1);
    EXPECT_FALSE(splash.Timer1()->isActive());
    EXPECT_FALSE(splash.isVisible());
}

TEST(Splash, KeyPressEndsTheProgramWithoutLoading) {
    CountingEnder ender;
    frmSplash splash;
    bool loaded = false;
    splash.setLoad([&] { loaded = true; });
    splash.show();

    QTest::keyClick(&splash, Qt::Key_Shift); // types nothing
    EXPECT_EQ(ender.count, 0);
    QTest::keyClick(&splash, Qt::Key_Space);

    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1()->isActive());
    EXPECT_FALSE(loaded);
    EXPECT_EQ(ender.count, 1);
}

} // namespace
