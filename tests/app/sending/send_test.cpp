#include "app/app_fixtures.h"
#include "app/port/port_control.h"
#include "app/sending/command_box_focus.h"
#include "app/sending/send_buttons.h"
#include "app/sending/send_pane.h"
#include "autoresp/auto_responder.h"
#include "notation/notation.h"
#include "platform/scheduler.h"
#include "platform/serial/simulated_line.h"
#include "support/pty_pair.h"
#include "traffic/send_engine.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>

using namespace kst;
using namespace kst::test;
using comm::SimulatedLine;

namespace {

// A main window on a simulated COM1, the default profile loaded and the port open.
class SendTest : public ::testing::Test {
protected:
    SendTest() : main((folder.makeReady(), folder.path()), FullScreen, &clock) {
        main.session().useDevices(SimulatedLine::factory({{1, &com1}}));
        main.InitMainWindow();
        main.controller().port().OpenPort();
        main.shared().Prefs.bolDescription = false;
        main.shared().Prefs.bolFormattedView = false;
        main.log().clear();
        boxes.clear();
        QApplication::setActiveWindow(&main);
    }

    const MainControls& ui() const { return main.ui(); }
    SendPane& pane() { return main.controller().sendPane(); }
    SendButtons& buttons() { return main.controller().buttons(); }
    AutoResponder& responder() { return main.session().autoResponder(); }
    void format(int notation) { ui().Option1[static_cast<size_t>(notation)]->click(); }
    // Types into the command box as a user does, Enter included when asked.
    void type(const QString& text, bool enter = false) {
        ui().Combo1->setFocus();
        ui().Combo1->lineEdit()->clear();
        QTest::keyClicks(ui().Combo1, text);
        if (enter)
            QTest::keyClick(ui().Combo1, Qt::Key_Return);
    }
    QByteArray sent() {
        const QByteArray bytes = com1.written();
        com1.clearActions();
        return bytes;
    }
    QStringList history() const {
        QStringList items;
        for (int i = 0; i < ui().Combo1->count(); ++i)
            items << ui().Combo1->itemText(i);
        return items;
    }
    void setButton(int number, const QString& codes, qint32 chain = 0) {
        ProgButton& b = main.shared().LoadedButtons[static_cast<size_t>(number - 1)];
        b.action = SendAction();
        b.action.command = codes;
        b.chain = chain;
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    ManualScheduler clock;
    SimulatedLine com1;
    RecordingMain main;
};

TEST_F(SendTest, TheCommandBoxFiltersTidiesAndSendsOnEnter) {
    type("1g a,00f,");
    EXPECT_EQ(ui().Combo1->currentText(), "1A,00F,") << "g and the blank are refused, a capital";
    QTest::keyClick(ui().Combo1, Qt::Key_Return);
    EXPECT_EQ(ui().Combo1->currentText(), "1A,F,");
    EXPECT_EQ(sent(), QByteArray("\x1A\x0F"));
    EXPECT_EQ(main.log().plainText(), "Data sent: 1A,F,\n");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(SendTest, DecimalDigitsAreTidiedAsTextAndAByteTooLargeIsRefused) {
    format(ncDec);
    type("007,300,", true);
    EXPECT_EQ(ui().Combo1->currentText(), "7,300,");
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Invalid data, please check"));
    EXPECT_TRUE(sent().isEmpty());

    // Leaving the box checks it.
    boxes.clear();
    type("256,");
    ui().txtCmdDelay->setFocus();
    EXPECT_EQ(boxes.texts(), QStringList({"Invalid data: Decimal code greater than 255, or no "
                                          "command code in between two (,) sign!"}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui().Combo1->hasFocus(); }, 2000))
        << "the focus stays in the box";
}

TEST_F(SendTest, TheHistoryKeepsSixteenCommandsNewestFirstAndEachOnce) {
    for (int i = 1; i <= 17; ++i)
        type(QString::number(i, 16).toUpper() + ',', true);
    const QStringList items = history();
    ASSERT_EQ(items.size(), 16);
    EXPECT_EQ(items.first(), "11,");
    EXPECT_EQ(items.last(), "2,") << "the oldest went";
    type("5,", true);
    EXPECT_EQ(history(), items) << "a command sent again is not stored again";
    EXPECT_EQ(ui().Combo1->lineEdit()->selectedText(), "5,");
}

TEST_F(SendTest, TheFieldsFollowTheCommandBoxAndTheRepeatCount) {
    type("");
    EXPECT_FALSE(ui().Send->isEnabled());
    EXPECT_FALSE(ui().txtCmdDelay->isEnabled());
    type("41,");
    EXPECT_TRUE(ui().Send->isEnabled());
    EXPECT_TRUE(ui().txtCmdDelay->isEnabled());
    EXPECT_FALSE(ui().txtCmdInterval->isEnabled()) << "repeat 0";
    ui().txtCmdRepeat->setText("1");
    EXPECT_TRUE(ui().txtCmdInterval->isEnabled());
    EXPECT_EQ(ui().Line1->borderColor(), syscolor::MenuText);

    // A delay beyond its field cannot leave it; an empty one becomes 0.
    ui().txtCmdDelay->setFocus();
    ui().txtCmdDelay->setText("70000");
    ui().txtCmdRepeat->setFocus();
    EXPECT_EQ(boxes.texts(), QStringList({"Maximum delay time is 65,535 ms, please try again!"}));
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Critical);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui().txtCmdDelay->hasFocus(); }, 2000));
    ui().txtCmdDelay->setText("");
    ui().txtCmdRepeat->setFocus();
    EXPECT_EQ(ui().txtCmdDelay->text(), "0");
}

TEST_F(SendTest, AnotherWindowTakingTheFocusChecksNothing) {
    type("41,");
    ui().txtCmdDelay->setFocus();
    ui().txtCmdDelay->setText("70000");
    // Another window (a tool window, a box) is no leaving of the field: it keeps the focus
    // of the main window and is checked when it is left there.
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(ui().txtCmdDelay->text(), "70000");
    EXPECT_EQ(main.focusWidget(), ui().txtCmdDelay);
}

TEST_F(SendTest, AClickIntoAFieldMakesItYellowWithItsWholeTextSelected) {
    type("41,42,");
    ui().txtCmdDelay->setText("250");
    const struct {
        QWidget* shown; // the widget that turns yellow
        QLineEdit* edit;
        QString text;
    } fields[] = {{ui().txtCmdDelay, ui().txtCmdDelay, "250"},
                  {ui().Combo1, ui().Combo1->lineEdit(), "41,42,"}};
    for (const auto& f : fields) {
        ui().txtCmdRepeat->setFocus();
        QTest::mouseClick(f.edit, Qt::LeftButton, {}, QPoint(4, f.edit->height() / 2));
        QCoreApplication::processEvents();
        SCOPED_TRACE(f.shown->objectName().toStdString());
        EXPECT_TRUE(f.edit->hasFocus());
        EXPECT_EQ(f.edit->selectedText(), f.text) << "the click does not drop the selection";
        EXPECT_EQ(f.shown->palette().color(QPalette::Base), QColor(Qt::yellow));
    }
    EXPECT_EQ(ui().txtCmdDelay->palette().color(QPalette::Base), QColor(Qt::white));
}

TEST_F(SendTest, TheNotationDecidesTheBoxTheFieldsAndTheLogLine) {
    type("41,");
    format(ncHex);
    EXPECT_EQ(ui().Combo1->currentText(), "41,") << "the same notation keeps the box";
    format(ncAscii);
    EXPECT_EQ(ui().Combo1->currentText(), "");
    EXPECT_TRUE(ui().Text3->isVisible());
    EXPECT_EQ(ui().Frame4->title(), "Programmable buttons (ASCII)");
    EXPECT_TRUE(main.log().plainText().isEmpty()) << "an empty log gets no line";

    type("ATI1");
    ui().Text3->setText("D,A,");
    QTest::keyClick(ui().Combo1, Qt::Key_Return);
    EXPECT_EQ(sent(), QByteArray("ATI1\r\n"));
    format(ncBin);
    EXPECT_FALSE(ui().Text3->isVisible());
    EXPECT_EQ(ui().Text3->text(), "");
    EXPECT_TRUE(ui().Label4->text().contains("11110000,10101010,"));
    EXPECT_TRUE(main.log().plainText().endsWith("# # # TX data format changed to: Bin # # # \n"));
}

TEST_F(SendTest, ControlCodeButtonsSendTheirCodeInEveryNotation) {
    ui().Option3[1]->click();
    EXPECT_EQ(ui().cmdFreqused[11]->text(), "ESC");
    EXPECT_EQ(ui().cmdFreqused[11]->toolTip(), "1B,");
    for (int notation : {ncHex, ncDec, ncOct, ncBin, ncAscii}) {
        format(notation);
        ui().cmdFreqused[11]->click();
        EXPECT_EQ(sent(), QByteArray("\x1B")) << notation;
    }
    EXPECT_TRUE(main.log().plainText().contains("Data sent: 11011,\n"));
    EXPECT_TRUE(main.log().plainText().contains("Data sent: 33,\n"));
}

// A chain link at each end of the buttons and beyond them. Auto-response is off while a
// chain runs; one ended by Stop leaves it off until a chain ends by itself.
TEST_F(SendTest, AChainFollowsItsLinksAndOnlyItsOwnEndGivesAutoResponseBack) {
    setButton(31, "42,");
    setButton(32, "43,");
    responder().switchTo(true);
    // The button clicked (17 is the first of the second page), its link, the bytes sent.
    const std::tuple<int, qint32, QByteArray> cases[] = {
        {1, 0, "A"}, {1, 1, "AAAAAA"}, {1, 31, "AB"}, {17, 32, "AC"}, {1, 33, "A"}};
    for (const auto& [button, link, bytes] : cases) {
        SCOPED_TRACE(link);
        boxes.clear();
        setButton(button, "41,", link);
        ui().Option6[button > 16 ? 1 : 0]->click();
        ui().cmdProBut[static_cast<size_t>((button - 1) % 16)]->click();
        // Without a wait a chain only yields to the event loop: time stands still.
        for (int turn = 0; turn < 5; ++turn)
            clock.turn();
        const bool running = link == 1; // it comes back on itself until Stop
        EXPECT_EQ(ui().cmdStop->isEnabled(), running);
        EXPECT_EQ(responder().isOn(), !running);
        ui().cmdStop->click();
        EXPECT_EQ(sent(), bytes);
        EXPECT_EQ(boxes.texts(), link <= 32 ? QStringList()
                                            : QStringList("Programmable button 1 links to button "
                                                          "33, which does not exist: the chain "
                                                          "stops here."));
        EXPECT_EQ(responder().isOn(), !running);
        EXPECT_EQ(responder().isSuspended(), running);
        EXPECT_FALSE(ui().cmdStop->isEnabled());
    }
}

// A button pressed while a macro runs or is paused: its chain gives back nothing it did
// not switch off itself, so the rules stay off (no "now ON") and a rule's data is not
// answered while the run waits or is paused. The run's stop gives them back.
TEST_F(SendTest, AButtonPressedDuringARunLeavesAutoResponseOffUntilTheRunStops) {
    main.shared().Prefs.bolDescription = true;
    AutoResponseRules rules;
    rules[0].condition.data = "41,";
    rules[0].response.command = "52,";
    responder().setRules(rules);
    responder().switchTo(true);
    MacroRecords macro;
    macro.steps[0].action = 1;
    macro.steps[0].waitMs = 10000;
    main.session().macroRunner().setMacro(1, macro);
    setButton(1, "42,");
    // The far end sends the rule's data: a block after the gap.
    auto farEndSendsTheRulesData = [this] {
        com1.deliver("A");
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::sendPostedEvents();
        // Gap detection or the fixed receive delay, whichever the profile chose.
        clock.advance(500);
        return sent();
    };
    for (const bool paused : {false, true}) {
        SCOPED_TRACE(paused ? "paused" : "running");
        main.controller().runMacro();
        ASSERT_FALSE(responder().isOn());
        if (paused)
            main.controller().pauseMacro();
        main.log().clear();
        ui().cmdProBut[0]->click();
        for (int turn = 0; turn < 3; ++turn)
            clock.turn();
        EXPECT_EQ(sent(), "B");
        EXPECT_FALSE(responder().isOn());
        EXPECT_EQ(ui().StatusBar1->panelText("AutoResp"), "Auto-Response: OFF ");
        EXPECT_FALSE(main.log().plainText().contains("Auto-Response is now ON"));
        if (paused) {
            EXPECT_TRUE(farEndSendsTheRulesData().isEmpty()) << "no rule answers a paused run";
        }
        main.controller().stopMacro();
        EXPECT_TRUE(responder().isOn());
        EXPECT_EQ(farEndSendsTheRulesData(), "R") << "the rules answer again";
    }
}

// Stop pressed and released as a person does, over several writes of a send that keeps
// writing at a short interval: each case is one way of sending.
TEST_F(SendTest, AHeldStopStopsEverySendAndTheBoxGetsTheFocusBackOtherwise) {
    const struct {
        const char* what;
        int interval;
        std::function<void()> start;
    } cases[] = {
        {"a repeat at 10 ms", 10,
         [this] {
             type("41,");
             ui().txtCmdRepeat->setText("99");
             ui().txtCmdInterval->setText("10");
             ui().Send->click();
         }},
        {"a chain of two buttons with no wait", 0,
         [this] {
             setButton(1, "41,", 2);
             setButton(2, "42,", 1);
             ui().cmdProBut[0]->click();
         }},
        {"a button that chains to itself at 10 ms", 10,
         [this] {
             setButton(1, "41,", 1);
             main.shared().LoadedButtons[0].action.delayMs = 10;
             ui().cmdProBut[0]->click();
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Without a wait a chain only yields to the event loop: time stands still.
        auto ticks = [&](int n) {
            for (int tick = 0; tick < n; ++tick)
                c.interval == 0 ? clock.turn() : clock.advance(c.interval);
        };
        c.start();
        ticks(20);
        EXPECT_TRUE(ui().Combo1->hasFocus()) << "nothing pressed: the box has the focus";
        QTest::mousePress(ui().cmdStop, Qt::LeftButton);
        ticks(12);
        EXPECT_TRUE(ui().cmdStop->isDown()) << "the writes leave the pressed button alone";
        QTest::mouseRelease(ui().cmdStop, Qt::LeftButton);
        ticks(3);
        EXPECT_FALSE(main.session().sender().busy());
        EXPECT_FALSE(ui().cmdStop->isEnabled());
        EXPECT_GT(sent().size(), 20);
        ticks(50);
        EXPECT_TRUE(sent().isEmpty()) << "nothing after Stop";
    }
}

// A write of a send and a received block both hand the focus back to the command box;
// each case is where the focus was and who hands it back.
TEST_F(SendTest, TheCommandBoxTakesTheFocusBackOnlyFromNobodyBusy) {
    constexpr FocusReturn write = FocusReturn::AfterWrite;
    constexpr FocusReturn block = FocusReturn::AfterBlock;
    for (QWidget* control :
         std::initializer_list<QWidget*>{ui().Text2, ui().txtCmdDelay, ui().cmdStop, ui().Send})
        control->setEnabled(true);
    const struct {
        const char* what;
        QWidget* focus;
        FocusReturn after;
        bool boxTakesIt;
        bool keyHeld = false;
        const char* typed = "";
    } cases[] = {
        {"the log, after a write", ui().responseBox, write, true},
        {"the log, after a block", ui().responseBox, block, true},
        {"the search field, after a write", ui().Text2, write, false},
        {"the search field, after a block", ui().Text2, block, false},
        {"a send field, after the write of its send", ui().txtCmdDelay, write, true},
        {"a send field, after a block", ui().txtCmdDelay, block, false},
        {"a send field typed in, after a write", ui().txtCmdDelay, write, false, false, "2"},
        {"Stop, after a write", ui().cmdStop, write, false},
        {"Stop, after a block", ui().cmdStop, block, false},
        {"Send held down by its key, after a write", ui().Send, write, false, true},
        {"Send held down by its key, after a block", ui().Send, block, false, true},
        {"Send released, after a block", ui().Send, block, true},
        {"the notes, after a block", ui().RichTextBox1, block, false},
        {"the notes typed in, after a write", ui().RichTextBox1, write, false, false, "reboot"},
    };
    ui().SSTab1->findChild<QTabBar*>("tabs")->setCurrentIndex(1); // the notes' page
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.focus->setFocus();
        ASSERT_TRUE(c.focus->hasFocus());
        QTest::keyClicks(c.focus, c.typed);
        if (c.keyHeld)
            QTest::keyPress(c.focus, Qt::Key_Space);
        returnFocusToCommandBox(ui(), c.after);
        EXPECT_EQ(ui().Combo1->hasFocus(), c.boxTakesIt);
        if (c.keyHeld)
            QTest::keyRelease(c.focus, Qt::Key_Space);
    }
    // Every control of the window that takes typed text keeps the focus when a block comes.
    int typedIn = 0;
    for (QWidget* control : main.findChildren<QWidget*>()) {
        if (!control->testAttribute(Qt::WA_InputMethodEnabled) || !control->isVisible() ||
            !control->isEnabled() || control == ui().Combo1 || ui().Combo1->isAncestorOf(control))
            continue;
        control->setFocus();
        returnFocusToCommandBox(ui(), block);
        EXPECT_TRUE(control->hasFocus()) << control->objectName().toStdString();
        ++typedIn;
    }
    EXPECT_GE(typedIn, 5) << "the search, the send fields and the notes";
    // A box that cannot take the focus leaves it where it is.
    ui().responseBox->setFocus();
    ui().Combo1->setEnabled(false);
    returnFocusToCommandBox(ui(), write);
    EXPECT_TRUE(ui().responseBox->hasFocus());
}

TEST_F(SendTest, AStoredListWithAnItemBeyondOneByteSendsNothing) {
    format(ncDec);
    setButton(1, "41,1FF,42,");
    ui().cmdProBut[0]->click();
    EXPECT_TRUE(sent().isEmpty()) << "no 0 in place of the bad item";
    EXPECT_EQ(boxes.texts(), QStringList({"Invalid data: operand must be within 1 byte!"}));
}

TEST_F(SendTest, ClosingThePortInterruptsTheSend) {
    main.shared().Prefs.bolDescription = true;
    type("41,");
    ui().txtCmdRepeat->setText("5");
    ui().txtCmdInterval->setText("100");
    ui().Send->click();
    clock.advance(150);
    main.controller().port().ClosePort();
    clock.advance(1000);
    EXPECT_EQ(sent(), QByteArray("AA"));
    EXPECT_TRUE(main.log().plainText().contains("... Signal and command sending was interrupted"));
    EXPECT_FALSE(main.session().sender().busy());
}

// A box runs the event loop while it is up. The device that refused a write has gone, and
// the report of its loss arrives while the send's own box is up: the port closes, the
// send ends once and nothing of it is left to run.
TEST_F(SendTest, TheDeviceGoneWhileTheSendsBoxIsUpClosesThePortAndEndsTheSendOnce) {
    class BoxesThatTurnTheLoop : public Installed<MessageBoxes, &Platform::setMessages> {
    public:
        explicit BoxesThatTurnTheLoop(ManualScheduler& clock) : clock_(clock) {}
        int show(const QString&, MsgIcon, MsgButtons, const QString& title) override {
            titles << title;
            // What a box's event loop delivers: the port's reports and the calls due.
            QCoreApplication::sendPostedEvents();
            clock_.turn();
            return AnswerOk;
        }
        QStringList titles;

    private:
        ManualScheduler& clock_;
    };
    main.shared().Prefs.bolDescription = true;
    type("41,");
    ui().txtCmdRepeat->setText("5");
    ui().txtCmdInterval->setText("10");
    ui().Send->click();
    EXPECT_EQ(sent(), QByteArray("A"));
    BoxesThatTurnTheLoop loop(clock);
    com1.unplug();     // its report waits in the queue
    clock.advance(10); // the next write is refused, and its box comes up
    clock.advance(1000);
    EXPECT_EQ(loop.titles, QStringList({"Error:", "COM Error:"}));
    EXPECT_FALSE(main.session().state().PortIsOpen);
    EXPECT_FALSE(main.session().sender().busy());
    EXPECT_TRUE(sent().isEmpty());
    EXPECT_EQ(main.log().plainText().count("... Signal and command sending was interrupted"), 1);
}

TEST_F(SendTest, NothingIsSentOnAMonitoredLine) {
    main.state().MonitoringMode = true;
    buttons().cmdFreqused_Click(0);
    EXPECT_TRUE(sent().isEmpty());
}

TEST(SendPty, TheBytesOnTheLineAreExactlyTheCommand) {
    ProgramFolder folder;
    folder.makeReady();
    PtyPair com1;
    ASSERT_TRUE(linkPort(folder.path(), 1, com1.slavePath()));
    RecordingMessageBoxes boxes;
    RecordingMain main(folder.path());
    main.InitMainWindow();
    main.controller().port().OpenPort();
    ASSERT_TRUE(main.MSComm1().PortOpen());
    SendPane& pane = main.controller().sendPane();
    const struct {
        int notation;
        QString command;
        QString controlCodes;
        QByteArray bytes;
    } cases[] = {{ncHex, "0,7F,80,FF,", "", QByteArray("\x00\x7F\x80\xFF", 4)},
                 {ncDec, "0,127,128,255,", "", QByteArray("\x00\x7F\x80\xFF", 4)},
                 {ncOct, "0,177,200,377,", "", QByteArray("\x00\x7F\x80\xFF", 4)},
                 {ncBin, "0,1111111,10000000,11111111,", "", QByteArray("\x00\x7F\x80\xFF", 4)},
                 {ncAscii, "AT+X=1,2", "D,A,", QByteArray("AT+X=1,2\r\n")}};
    for (const auto& c : cases) {
        main.ui().Option1[static_cast<size_t>(c.notation)]->click();
        main.ui().Combo1->setEditText(c.command);
        main.ui().Text3->setText(c.controlCodes);
        pane.Send_Click();
        EXPECT_EQ(com1.read(c.bytes.size()), c.bytes) << c.command.toStdString();
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

} // namespace

namespace {

// The switch shows itself on the toolbar, the status panel and, with the port open and
// Description on, in the log; closed, it says nothing there.
TEST_F(SendTest, TheAutoResponseSwitchShowsEveryToggle) {
    main.shared().Prefs.bolDescription = true;
    const bool before = responder().isOn();
    for (int k = 0; k < 2; ++k)
        main.controller().toggleAutoResponse();
    EXPECT_EQ(responder().isOn(), before);
    const QString first = before ? "OFF" : "ON";
    const QString second = before ? "ON" : "OFF";
    EXPECT_EQ(main.log().plainText(), "# # # Auto-Response is now " + first +
                                          " # # #\n# # # Auto-Response is now " + second +
                                          " # # #\n");
    EXPECT_EQ(ui().StatusBar1->panelText("AutoResp"), "Auto-Response: " + second + " ");
    EXPECT_EQ(ui().Toolbar1->buttonImage(ToolButton::AutoRespOnOff), before ? 6 : 5);
    main.controller().port().ClosePort();
    main.log().clear();
    main.controller().toggleAutoResponse();
    EXPECT_TRUE(main.log().plainText().isEmpty());
}

} // namespace
