#include "app/app_fixtures.h"
#include "app/port/frm_monitoring.h"
#include "app/port/frm_settings.h"
#include "app/port/port_control.h"
#include "macros/macro_runner.h"
#include "platform/scheduler.h"
#include "platform/serial/simulated_line.h"
#include "support/pty_pair.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kst;
using namespace kst::test;
using comm::SimulatedLine;

namespace {

// Runs `act` on the modal dialog the next call opens, as a user would.
void onNextDialog(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        QWidget* dialog = QApplication::activeModalWidget();
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

template <class T> T* child(QWidget* dialog, const QString& name) {
    T* found = dialog->findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

// A main window on two simulated lines, COM1 and COM2, with the default profile loaded.
class PortControlTest : public ::testing::Test {
protected:
    PortControlTest() : main((folder.makeReady(), folder.path()), FullScreen, &clock) {
        main.session().useDevices(SimulatedLine::factory({{1, &com1}, {2, &com2}}));
        main.InitMainWindow();
        boxes.clear();
    }

    PortControl& port() { return main.controller().port(); }
    const MainControls& ui() const { return main.ui(); }
    QString log() { return main.log().plainText(); }
    bool ledOn(Led led) const {
        return ui().ledImage(led)->picture().cacheKey() ==
               ui().imgLedSample[1]->picture().cacheKey();
    }
    void clearLog() { main.log().clear(); }
    // Monitoring mode as the dialog's OK leaves it.
    void monitoring(bool fullDuplex, int secondPort = 2) {
        main.state().MonitoringMode = true;
        main.state().TwoPortActive = fullDuplex;
        main.state().SecondPort = secondPort;
        main.menus().mnuDebugging->setChecked(false);
        main.menus().mnuMonitoring->setChecked(true);
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    CountingBeeper beeper;
    ManualClock wall;
    ManualScheduler clock;
    SimulatedLine com1;
    SimulatedLine com2;
    RecordingMain main;
};

TEST_F(PortControlTest, OpenWritesTheDatedStatusBlockAndCloseTurnsTheWindowBack) {
    ui().BaudChoice->setCurrentIndex(6); // 9600
    ui().ParityChoice->setCurrentIndex(1);
    ui().DataBitChoice->setCurrentIndex(3);
    ui().StopBitChoice->setCurrentIndex(2);
    main.state().HandshakeName = "None";
    wall.ms = 5000;
    port().OpenPort();

    ASSERT_TRUE(com1.isOpen());
    EXPECT_FALSE(com2.isOpen());
    EXPECT_TRUE(main.state().PortIsOpen);
    EXPECT_EQ(main.state().MonitorStartTick, 5000);
    EXPECT_EQ(com1.settings().baud, 9600);
    const QString date = QLocale().toString(wall.wallClock.date(), QLocale::ShortFormat);
    EXPECT_EQ(log(), date + " 03:04:05\n"
                            "COM port: 1; Baud rate: 9600bps; Parity: Even; Data bit: 7; Stop "
                            "bit: 2;  Handshaking: None\n"
                            "Communication mode: Debugging / Simulating\n"
                            "TX data format: Hex; RX data format: Hex\n\n"
                            "* * * * * * * * * * COM Port Opened * * * * * * * * * * \n\n");
    PanelStatusBar* bar = ui().StatusBar1;
    EXPECT_EQ(bar->panelText("Setting"), "COM Port Settings: 9600,E,7,2 Handshaking: None");
    EXPECT_EQ(bar->panelText("Status"), "COM Port (1) Status:");
    EXPECT_EQ(bar->panelText("Ball"), "Ready");
    EXPECT_EQ(bar->panelPicture("Ball"), 2);
    EXPECT_EQ(ui().Toolbar1->buttonImage(ToolButton::Connect), 4);
    EXPECT_FALSE(main.menus().mnuPortOpen->isEnabled());
    EXPECT_TRUE(main.menus().mnuPortClose->isEnabled());

    // Opening again closes and reopens, with a second block.
    port().OpenPort();
    EXPECT_EQ(log().count("COM Port Opened"), 2);
    EXPECT_TRUE(com1.isOpen());

    port().ClosePort();
    EXPECT_FALSE(com1.isOpen());
    EXPECT_FALSE(main.state().PortIsOpen);
    EXPECT_EQ(main.session().macroRunner().state(), MacroRunState::StopRequested);
    EXPECT_TRUE(log().endsWith("\n* * * * * * * * * * COM Port Closed * * * * * * * * * * \n"));
    EXPECT_EQ(bar->panelText("Status"), "COM Port Status:");
    EXPECT_EQ(bar->panelText("Ball"), "Port closed");
    EXPECT_EQ(ui().Toolbar1->buttonImage(ToolButton::Connect), 3);
    EXPECT_TRUE(main.menus().mnuPortOpen->isEnabled());
    for (Led led : {Led::RX, Led::DTR, Led::CTS, Led::BRK}) {
        EXPECT_FALSE(ledOn(led));
        EXPECT_FALSE(ui().ledLabel(led)->isEnabled());
    }
}

// The port closed wherever a macro run is: the run ends first ("... stopped."), then the
// window shows the closed port, and the run's end does not undo that: Run, Pause, Stop
// and the macro box stay off until the port opens again.
TEST_F(PortControlTest, ClosingThePortDuringARunLeavesTheControlsOfAClosedPort) {
    MacroRecords macro;
    macro.steps[0].send.command = "41,";
    macro.steps[0].send.repeat = 3;
    macro.steps[0].send.intervalMs = 100;
    macro.steps[1].action = 1;
    macro.steps[1].waitMs = 10000;
    macro.subRoutines[0].ifCondition.data = "42,";
    macro.subRoutines[0].ifThen.command = "49,";
    macro.subRoutines[0].ifThen.delayMs = 2000;
    const struct {
        const char* what;
        int ms;      // into the run: the send step ends at 400 ms, then the wait
        bool answer; // the far end sends what the IF waits for, whose send waits 2 s
        bool pause;
    } cases[] = {
        {"during a send step", 50, false, false},
        {"paused after a send step", 50, false, true},
        {"waiting on a sub-routine", 450, false, false},
        {"paused in the wait", 450, false, true},
        {"during a branch send", 450, true, false},
    };
    main.shared().Prefs.bolDescription = true;
    MacroRunner& runner = main.session().macroRunner();
    runner.setMacro(1, macro);
    const MainMenus& menus = main.menus();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        port().OpenPort();
        clearLog();
        main.controller().runMacro();
        clock.advance(c.ms);
        if (c.answer) {
            com1.deliver("B");
            for (int pass = 0; pass < 3; ++pass)
                QCoreApplication::sendPostedEvents();
            // Gap detection or the fixed receive delay, whichever the profile chose.
            clock.advance(500);
            ASSERT_TRUE(log().contains("<IF> condition met ...")) << log().toStdString();
        }
        if (c.pause)
            main.controller().pauseMacro();
        port().ClosePort();
        clock.advance(5000);
        const QString text = log();
        ASSERT_NE(text.indexOf("Macro 1 stopped."), -1) << text.toStdString();
        EXPECT_LT(text.indexOf("Macro 1 stopped."), text.indexOf("COM Port Closed"));
        EXPECT_TRUE(runner.idle());
        for (ToolButton button :
             {ToolButton::MacrosPlay, ToolButton::MacrosPause, ToolButton::MacrosStop})
            EXPECT_FALSE(ui().Toolbar1->button(button)->isEnabled()) << static_cast<int>(button);
        for (QAction* item : {menus.mnuRun, menus.mnuPause, menus.mnuStop})
            EXPECT_FALSE(item->isEnabled()) << item->objectName().toStdString();
        EXPECT_FALSE(ui().cboMacros->isEnabled());
        EXPECT_FALSE(ui().txtMacros->isEnabled());
    }
    // Opened again, a run can start.
    port().OpenPort();
    EXPECT_TRUE(ui().Toolbar1->button(ToolButton::MacrosPlay)->isEnabled());
    EXPECT_TRUE(menus.mnuRun->isEnabled());
    EXPECT_TRUE(ui().cboMacros->isEnabled());
}

TEST_F(PortControlTest, TheStatusBlockNamesEachMode) {
    ui().Option2[4]->setChecked(true);
    main.state().RxFormat = 4;
    monitoring(false);
    port().OpenPort();
    EXPECT_TRUE(log().contains("Stop bit: 1; \nCommunication mode: Monitoring (Half-duplex)\n"
                               "RX data format: ASCII\n\n"))
        << log().toStdString();
    EXPECT_EQ(ui().StatusBar1->panelText("Setting"), "COM Port Settings: 9600,N,8,1");
    port().ClosePort();

    clearLog();
    monitoring(true, 2);
    main.state().DetectCTS = main.state().DetectDCD = main.state().DetectRI = false;
    main.state().DetectDSR = true;
    com1.setCts(true);
    com2.setCts(true); // the other device's RTS
    com2.setDsr(true); // the other device's DTR
    port().OpenPort();
    ASSERT_TRUE(com2.isOpen());
    EXPECT_TRUE(log().contains("COM port: 1,2; "));
    EXPECT_TRUE(
        log().contains("Communication mode: Monitoring (Full-duplex)\nRX data format: ASCII"));
    EXPECT_TRUE(log().endsWith("Current Line States (Note: Line States are viewed from the RS232 "
                               "port that is connected to COM1):\nRTS is ON\nDTR is ON\nCTS is ON"))
        << log().toStdString();
    EXPECT_EQ(ui().StatusBar1->panelText("Status"), "COM Port (1,2) Status:");
    EXPECT_TRUE(ledOn(Led::RTS));
    EXPECT_TRUE(ledOn(Led::DTR));
    EXPECT_TRUE(ledOn(Led::CTS));
    EXPECT_FALSE(ledOn(Led::DSR));
    port().ClosePort();
    EXPECT_FALSE(com2.isOpen());

    // Without any detection switch no line states are written.
    clearLog();
    main.state().DetectCTS = main.state().DetectDSR = false;
    main.state().DetectDCD = main.state().DetectRI = false;
    port().OpenPort();
    EXPECT_FALSE(log().contains("Current Line States"));
}

TEST_F(PortControlTest, EachModeAndPortStateEnablesItsOwnControls) {
    main.ui().Combo1->setEditText("41,");
    main.ui().txtCmdRepeat->setText("2");
    struct Case {
        const char* mode;
        bool open;
        bool senders;   // send pane, macro and auto-response controls
        bool portLists; // the port and its settings
        bool ledLabels;
        bool ledImages;
    };
    const Case cases[] = {{"debugging", true, true, false, true, true},
                          {"debugging", false, false, true, false, false},
                          {"half", true, false, false, false, false},
                          {"half", false, false, true, false, false},
                          {"full", true, false, false, true, false},
                          {"full", false, false, true, false, false}};
    for (const Case& c : cases) {
        const QString mode = c.mode;
        if (mode == "debugging") {
            main.state().MonitoringMode = false;
            main.state().TwoPortActive = false;
            main.menus().mnuDebugging->setChecked(true);
            main.menus().mnuMonitoring->setChecked(false);
        } else {
            monitoring(mode == "full");
        }
        port().SetControlsForPortState(!c.open);
        const std::string what = std::string(c.mode) + (c.open ? " open" : " closed");
        for (QWidget* w : std::initializer_list<QWidget*>{
                 ui().Combo1, ui().Send, ui().cboMacros, ui().txtCmdDelay, ui().txtCmdInterval,
                 ui().cmdFreqused[0], ui().cmdProBut[15], ui().Option6[1], ui().Frame3})
            EXPECT_EQ(w->isEnabled(), c.senders) << what << " " << w->objectName().toStdString();
        for (QAction* a : {main.menus().mnuAutoResp, main.menus().mnuRun, main.menus().mnuMacro})
            EXPECT_EQ(a->isEnabled(), c.senders) << what << " " << a->objectName().toStdString();
        EXPECT_EQ(ui().Toolbar1->button(ToolButton::AutoRespOnOff)->isEnabled(), c.senders) << what;
        // Pause and stop belong to a running macro only.
        EXPECT_FALSE(ui().Toolbar1->button(ToolButton::MacrosPause)->isEnabled()) << what;
        EXPECT_FALSE(main.menus().mnuStop->isEnabled()) << what;
        for (QWidget* w : std::initializer_list<QWidget*>{ui().portChoice, ui().BaudChoice,
                                                          ui().StopBitChoice, ui().txtport[2]})
            EXPECT_EQ(w->isEnabled(), c.portLists) << what;
        EXPECT_EQ(main.menus().mnuNew->isEnabled(), c.portLists) << what;
        EXPECT_EQ(ui().ledLabel(Led::CTS)->isEnabled(), c.ledLabels) << what;
        EXPECT_EQ(ui().ledImage(Led::DTR)->isEnabled(), c.ledImages) << what;
        EXPECT_EQ(ui().Line1->borderColor(), c.senders ? syscolor::MenuText : syscolor::ScrollBar)
            << what;
    }

    // The interval follows the repeat count, the fields the command box.
    main.state().MonitoringMode = false;
    main.menus().mnuDebugging->setChecked(true);
    main.ui().txtCmdRepeat->setText("0");
    port().SetControlsForPortState(false);
    EXPECT_TRUE(ui().txtCmdDelay->isEnabled());
    EXPECT_FALSE(ui().txtCmdInterval->isEnabled());
    main.ui().Combo1->setEditText("");
    port().SetControlsForPortState(false);
    EXPECT_FALSE(ui().txtCmdDelay->isEnabled());
    EXPECT_TRUE(ui().Send->isEnabled());
}

TEST_F(PortControlTest, HandshakingDecidesWhoOwnsRts) {
    main.state().HandshakeIndex = 2;
    port().OpenPort();
    EXPECT_TRUE(com1.rts());
    EXPECT_TRUE(ledOn(Led::RTS));
    EXPECT_FALSE(ui().ledImage(Led::RTS)->isEnabled());
    port().imgRTS_Click();
    EXPECT_TRUE(com1.rts()) << "hardware flow control keeps RTS";

    main.state().HandshakeIndex = 1;
    port().OpenPort();
    EXPECT_FALSE(com1.rts());
    EXPECT_TRUE(ui().ledImage(Led::RTS)->isEnabled());
    EXPECT_EQ(com1.settings().handshake, comm::Handshake::XonXoff);
}

TEST_F(PortControlTest, DtrAndRtsTogglesSwitchTheLinesAndLogThem) {
    main.shared().Prefs.bolSoundOnLineChange = true;
    // A closed port takes no toggle and fails nothing.
    port().imgDTR_Click();
    EXPECT_FALSE(com1.dtr());
    EXPECT_EQ(beeper.count, 0);

    port().OpenPort();
    clearLog();
    QTest::mouseClick(ui().ledImage(Led::DTR), Qt::LeftButton);
    EXPECT_TRUE(com1.dtr());
    EXPECT_TRUE(ledOn(Led::DTR));
    EXPECT_EQ(ui().StatusBar1->panelText("Ball"), "DTR Turned ON");
    port().imgDTR_Click();
    port().imgRTS_Click();
    EXPECT_FALSE(com1.dtr());
    EXPECT_TRUE(com1.rts());
    EXPECT_EQ(beeper.count, 3);
    EXPECT_EQ(log(), "Signal sent: DTR Turned ON ...\nSignal sent: DTR Turned OFF ...\n"
                     "Signal sent: RTS Turned ON ...\n");

    // Outside Debugging mode nothing transmits on the line.
    monitoring(false);
    port().imgDTR_Click();
    EXPECT_FALSE(com1.dtr());
}

TEST_F(PortControlTest, BreakLastsItsTimeAndEndsWithThePort) {
    port().imgBRK_Click();
    EXPECT_TRUE(log().isEmpty()) << "no break on a closed port";

    port().OpenPort();
    clearLog();
    main.shared().Prefs.bolSoundOnLineChange = true;
    port().imgBRK_Click();
    EXPECT_TRUE(com1.breakOn());
    EXPECT_TRUE(ledOn(Led::BRK));
    EXPECT_EQ(ui().StatusBar1->panelText("Ball"), "Communication Break for 500ms");
    EXPECT_EQ(log(), "Signal sent: Communication Break for 500ms ...\n");
    EXPECT_EQ(beeper.count, 0);
    clock.advance(PortControl::BreakMs - 1);
    EXPECT_TRUE(com1.breakOn());
    clock.advance(1);
    EXPECT_FALSE(com1.breakOn());
    EXPECT_FALSE(ledOn(Led::BRK));
    EXPECT_EQ(ui().StatusBar1->panelText("Ball"), "Ready");

    // Closing in the middle of a break clears it; the timer finds nothing to do later.
    port().imgBRK_Click();
    port().ClosePort();
    EXPECT_FALSE(com1.breakOn());
    EXPECT_EQ(clock.waitingCount(), 0);

    // A driver that refuses the break is logged as refusing it.
    port().OpenPort();
    clearLog();
    com1.setBreakRefused(true);
    port().imgBRK_Click();
    EXPECT_FALSE(ledOn(Led::BRK));
    EXPECT_TRUE(log().startsWith("Signal sent: Communication Break refused by the port: "));
    EXPECT_FALSE(log().contains("for 500ms"));

    // Monitoring takes no break.
    com1.setBreakRefused(false);
    monitoring(false);
    port().OpenPort();
    port().imgBRK_Click();
    EXPECT_FALSE(com1.breakOn());
}

TEST_F(PortControlTest, TheLineStateTestReadsThePrimaryPortNow) {
    port().OpenPort();
    com1.setCts(true);
    com1.setDsr(false);
    EXPECT_TRUE(port().CheckSignalCondition(LineState::CtsOnDsrOff));
    EXPECT_FALSE(port().CheckSignalCondition(LineState::CtsOnDsrOn));
    com1.setDsr(true);
    EXPECT_TRUE(port().CheckSignalCondition(LineState::CtsOnDsrOn));
    EXPECT_FALSE(port().CheckSignalCondition(LineState::RingDetected));
    port().ClosePort();
    // A closed port reads every line off, without an error box.
    EXPECT_TRUE(port().CheckSignalCondition(LineState::CtsOffDsrOff));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(PortControlTest, ALostDeviceClosesThePortOnceAndItOpensAgainWhenBack) {
    port().OpenPort();
    com1.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.state().PortIsOpen; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().value(0).contains("COM1"));
    EXPECT_TRUE(log().endsWith("COM Port Closed * * * * * * * * * * \n"));
    EXPECT_EQ(ui().Toolbar1->buttonImage(ToolButton::Connect), 3);

    com1.plugIn();
    port().OpenPort();
    EXPECT_TRUE(main.state().PortIsOpen);
    EXPECT_TRUE(com1.isOpen());
}

TEST_F(PortControlTest, AFailedOpenNamesThePortAndLeavesNothingOpen) {
    com1.setOpenError(err::PortAlreadyOpen);
    port().OpenPort();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Port Open Error:");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Error Number: 8005\nDescription: Port already open\nCOM port: 1");
    EXPECT_FALSE(main.state().PortIsOpen);
    EXPECT_EQ(ui().Toolbar1->buttonImage(ToolButton::Connect), 3);

    // In full duplex the second port, opened first, is closed again.
    boxes.clear();
    monitoring(true, 2);
    port().OpenPort();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.endsWith("\nCOM ports: 1, 2"));
    EXPECT_FALSE(com2.isOpen());
}

TEST_F(PortControlTest, WithoutAnyPortTheOpenFailsOnThePlaceholder) {
    main.FillPortList({});
    boxes.clear();
    port().OpenPort();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Error Number: 13\n"));
    EXPECT_FALSE(com1.isOpen());
}

TEST_F(PortControlTest, TheMonitoringDialogSwitchesModeAndOffersOnlyOtherPorts) {
    main.setCommands(nullptr); // the real commands
    port().OpenPort();
    onNextDialog([](QWidget* dialog) {
        auto* full = child<QRadioButton>(dialog, "Option1(1)");
        full->click();
        auto* list = child<QComboBox>(dialog, "Combo1");
        QStringList offered;
        for (int i = 0; i < list->count(); ++i)
            offered << list->itemText(i);
        EXPECT_EQ(offered, QStringList({"2"})) << "the primary port is not offered";
        list->setCurrentIndex(-1);
        child<QPushButton>(dialog, "Command1")->click(); // refused: no second port
        EXPECT_TRUE(dialog->isVisible());
        list->setCurrentIndex(0);
        child<QPushButton>(dialog, "Command1")->click();
    });
    main.mnuMonitoring_Click();
    EXPECT_EQ(boxes.texts(),
              QStringList({"Please choose the 2nd COM port for full-duplex monitoring."}));
    EXPECT_TRUE(main.state().MonitoringMode);
    EXPECT_TRUE(main.state().TwoPortActive);
    EXPECT_TRUE(main.state().FullDuplexSelected);
    EXPECT_EQ(main.state().SecondPort, 2);
    EXPECT_FALSE(main.state().PortIsOpen) << "the switch closes the port";
    EXPECT_TRUE(main.menus().mnuMonitoring->isChecked());
    EXPECT_FALSE(main.menus().mnuDebugging->isChecked());
    EXPECT_EQ(ui().frMonitoring->title(), "Communication mode: Monitoring (Full-duplex)");
    EXPECT_EQ(ui().StatusBar1->panelText("Setting"), "COM Port Settings: 9600,N,8,1")
        << "a monitored line has no flow control";
    EXPECT_FALSE(ui().frSend->isVisible());
    EXPECT_FALSE(ui().Send->isEnabled());

    // Closing the dialog without OK while in Monitoring mode keeps the mode.
    onNextDialog([](QWidget* dialog) { dialog->close(); });
    main.mnuMonitoring_Click();
    EXPECT_TRUE(main.state().MonitoringMode);

    // Back to Debugging: the Debugging dialog closed by its frame acts as OK.
    onNextDialog([](QWidget* dialog) { dialog->close(); });
    main.mnuDebugging_Click();
    EXPECT_FALSE(main.state().MonitoringMode);
    EXPECT_FALSE(main.state().TwoPortActive);
    EXPECT_TRUE(main.menus().mnuDebugging->isChecked());
    EXPECT_FALSE(main.menus().mnuMonitoring->isChecked());
    EXPECT_EQ(ui().frMonitoring->title(), "Communication mode: Debugging / Simulating");
    EXPECT_EQ(ui().StatusBar1->panelText("Setting"),
              "COM Port Settings: 9600,N,8,1 Handshaking: None");
    EXPECT_TRUE(ui().frSend->isVisible());
    EXPECT_TRUE(ui().Check1->isEnabled());
    // Debugging mode again: the menu does nothing more.
    main.mnuDebugging_Click();
    EXPECT_TRUE(main.menus().mnuDebugging->isChecked());
}

TEST_F(PortControlTest, OpeningMonitoringFromDebuggingAndClosingItChangesNothing) {
    onNextDialog([](QWidget* dialog) { dialog->close(); });
    main.setCommands(nullptr);
    main.mnuMonitoring_Click();
    EXPECT_FALSE(main.state().MonitoringMode);
    EXPECT_TRUE(main.menus().mnuDebugging->isChecked());
    EXPECT_TRUE(ui().frSend->isVisible());
}

TEST_F(PortControlTest, AdvancedSettingsKeepTheChoiceForTheNextOpening) {
    main.setCommands(nullptr);
    main.state().HandshakeIndex = 0;
    main.state().DetectCTS = true;
    onNextDialog([](QWidget* dialog) {
        EXPECT_TRUE(child<QRadioButton>(dialog, "Option1(0)")->isChecked());
        EXPECT_TRUE(child<QCheckBox>(dialog, "chkFilter(0)")->isChecked());
        child<QRadioButton>(dialog, "Option1(3)")->click();
        child<QCheckBox>(dialog, "chkFilter(0)")->setChecked(false);
        child<QCheckBox>(dialog, "chkFilter(3)")->setChecked(true);
        child<QPushButton>(dialog, "Command1")->click();
    });
    main.mnuSettings_Click();
    EXPECT_EQ(main.state().HandshakeIndex, 3);
    EXPECT_EQ(main.state().HandshakeName, "Both");
    EXPECT_FALSE(main.state().DetectCTS);
    EXPECT_TRUE(main.state().DetectRI);
    EXPECT_TRUE(ui().StatusBar1->panelText("Setting").endsWith(" Handshaking: Both"));

    onNextDialog([](QWidget* dialog) {
        child<QRadioButton>(dialog, "Option1(1)")->click();
        child<QPushButton>(dialog, "Command2")->click();
    });
    main.mnuSettings_Click();
    EXPECT_EQ(main.state().HandshakeIndex, 3) << "Cancel keeps what was there";

    port().OpenPort();
    EXPECT_EQ(com1.settings().handshake, comm::Handshake::Both);
}

} // namespace

namespace {

TEST(PortControlPty, TheChosenPortOpensExclusivelyAndABusyOneIsNamed) {
    ProgramFolder folder;
    folder.makeReady();
    PtyPair com3;
    ASSERT_TRUE(linkPort(folder.path(), 3, com3.slavePath()));
    RecordingMessageBoxes boxes;
    RecordingMain main(folder.path());
    main.InitMainWindow();
    ASSERT_EQ(main.portChoice()->currentText(), "3");

    // Another program holds the port: it is listed, and opening it names it.
    comm::CommControl elsewhere(folder.path());
    elsewhere.setCommPort(3);
    elsewhere.setPortOpen(true);
    boxes.clear();
    main.controller().port().OpenPort();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Port Open Error:");
    EXPECT_TRUE(boxes.boxes()[0].text.endsWith("\nCOM port: 3"));
    elsewhere.setPortOpen(false);

    main.controller().port().OpenPort();
    ASSERT_TRUE(main.MSComm1().PortOpen());
    main.MSComm1().Output("AT\r");
    EXPECT_EQ(com3.read(3), QByteArray("AT\r"));
    main.controller().port().ClosePort();
    EXPECT_FALSE(main.MSComm1().PortOpen());
}

} // namespace
