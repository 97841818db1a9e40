#include "notation/notation.h"
#include "platform/runtime_error.h"
#include "platform/scheduler.h"
#include "support/fakes.h"
#include "traffic/send_engine.h"
#include "traffic/send_parser.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

// Records what a send shows and writes; "@ms" marks the time of each write.
class RecordingEnvironment : public SendEnvironment {
public:
    explicit RecordingEnvironment(const ManualScheduler& clock) : clock_(clock) {}

    bool mayTransmit() const override { return open; }
    void output(const QByteArray& bytes) override {
        if (refuseOutput)
            throw RunTimeError(err::PortNotOpen);
        line += bytes;
        writes << clock_.now();
    }
    void setRts(bool on) override { rtsOn = on; }
    void setDtr(bool on) override { dtrOn = on; }
    int txFormat() const override { return format; }
    bool description() const override { return describe; }
    bool formattedView() const override { return formatted; }
    bool soundOnSend() const override { return sound; }
    int macroState() const override { return macro; }
    bool macroRunning() const override { return macroRuns; }
    void log(const QString& label, Style labelStyle, const QString& body,
             Style bodyStyle) override {
        auto mark = [](Style s) { return s == Style::Message ? "m:" : "t:"; };
        if (!label.isEmpty())
            logLines << mark(labelStyle) + label;
        if (!body.isEmpty())
            logLines << mark(bodyStyle) + body;
    }
    void linesChanged() override { ++ledUpdates; }
    void transmitting(bool busy) override { txStates << busy; }
    void sendsRunning(bool any) override { stopEnabled = any; }
    void wrote() override {
        ++focused;
        if (onWrote)
            onWrote();
    }
    void beep() override { ++beeps; }

    bool open = true;
    bool refuseOutput = false;
    bool rtsOn = false, dtrOn = false;
    int format = ncHex;
    bool describe = false;
    bool formatted = false;
    bool sound = false;
    int macro = 0;
    bool macroRuns = false;
    QByteArray line;
    QList<qint64> writes;
    QStringList logLines;
    QList<bool> txStates;
    bool stopEnabled = false;
    int ledUpdates = 0;
    int focused = 0;
    int beeps = 0;
    // What happens while the command box takes the focus back (a check's box may run
    // the event loop there).
    std::function<void()> onWrote;

private:
    const ManualScheduler& clock_;
};

SendAction command(const QString& text, qint32 delay = 0, qint32 repeat = 0, qint32 interval = 0) {
    SendAction a;
    a.command = text;
    a.delayMs = delay;
    a.repeat = repeat;
    a.intervalMs = interval;
    return a;
}

class SendEngineTest : public ::testing::Test {
protected:
    SendEngine::Done record() {
        return [this](SendOutcome outcome) { outcomes << outcome; };
    }

    test::RecordingMessageBoxes boxes;
    ManualScheduler clock;
    RecordingEnvironment env{clock};
    SendEngine engine{env, clock};
    QList<SendOutcome> outcomes;
};

} // namespace

TEST(ParseSend, EachNotationReadsItsCommaTerminatedItems) {
    struct Case {
        int format;
        QString command;
        QByteArray bytes;
        QString echo;
    };
    const Case cases[] = {
        {ncHex, "1a,1b,", QByteArray("\x1A\x1B"), "1A,1B,"},
        {ncHex, "1A,1B", QByteArray("\x1A"), "1A,1B"}, // the unterminated item is not sent
        {ncHex, "1A", QByteArray(), "1A"},
        {ncDec, "65,0,255,", QByteArray("A\x00\xFF", 3), "65,0,255,"},
        {ncOct, "101,377,", QByteArray("A\xFF"), "101,377,"},
        {ncBin, "1000001,0,", QByteArray("A\x00", 2), "1000001,0,"},
        {ncAscii, "AT,B,x", QByteArray("AT,B,x"), "AT,B,x"},
    };
    for (const Case& c : cases) {
        const ParsedSend parsed = ParseSend(command(c.command), c.format, false);
        ASSERT_TRUE(parsed.ok()) << c.command.toStdString();
        EXPECT_EQ(parsed.bytes, c.bytes) << c.command.toStdString();
        EXPECT_EQ(parsed.echo, c.echo) << c.command.toStdString();
    }
    // Formatted view fills the echo's items; ASCII names its control codes.
    EXPECT_EQ(ParseSend(command("a,1b,"), ncHex, true).echo, "0A 1B ");
    SendAction ati = command("ATI1");
    ati.controlCodes = "D,A,";
    EXPECT_EQ(ParseSend(ati, ncAscii, false).bytes, QByteArray("ATI1\r\n"));
    EXPECT_EQ(ParseSend(ati, ncAscii, true).echo, "ATI1<CR><LF>");
    // A control-code text of one character is no list.
    ati.controlCodes = "D";
    EXPECT_EQ(ParseSend(ati, ncAscii, false).bytes, QByteArray("ATI1"));
}

TEST(ParseSend, RefusesBadItemsAndValuesBeyondTheirFields) {
    using R = ParsedSend::Refusal;
    EXPECT_EQ(ParseSend(command("1A,,1B,"), ncHex, false).refusal, R::CommandItem);
    EXPECT_EQ(ParseSend(command("1G,"), ncHex, false).refusal, R::CommandItem);
    EXPECT_EQ(ParseSend(command("8,"), ncOct, false).refusal, R::CommandItem);
    // ASCII text is sent whole, but a leading comma or two in a row make an empty item.
    EXPECT_EQ(ParseSend(command(",AT"), ncAscii, false).refusal, R::CommandItem);
    EXPECT_EQ(ParseSend(command("A,,B"), ncAscii, false).refusal, R::CommandItem);
    EXPECT_EQ(ParseSend(command("300,"), ncDec, false).refusal, R::Invalid);
    EXPECT_EQ(ParseSend(command("400,"), ncOct, false).refusal, R::Invalid);
    EXPECT_EQ(ParseSend(command("100000000,"), ncBin, false).refusal, R::Invalid);
    EXPECT_EQ(ParseSend(command("123456789012345678901234567890,"), ncDec, false).refusal,
              R::Invalid);
    SendAction ctrl = command("AT");
    ctrl.controlCodes = "D,Q,";
    EXPECT_EQ(ParseSend(ctrl, ncAscii, false).refusal, R::ControlCode);
    ctrl.controlCodes = "1FF,";
    EXPECT_EQ(ParseSend(ctrl, ncAscii, false).refusal, R::Invalid);
    // Times and repeats beyond what their fields hold are refused, never cut short.
    EXPECT_EQ(ParseSend(command("1,", 65536), ncHex, false).refusal, R::Invalid);
    EXPECT_EQ(ParseSend(command("1,", 0, 0, 70000), ncHex, false).refusal, R::Invalid);
    EXPECT_EQ(ParseSend(command("1,", 0, 1000), ncHex, false).refusal, R::Invalid);
    EXPECT_TRUE(ParseSend(command("1,", 65535, 999, 65535), ncHex, false).ok());

    const ParsedSend e1 = ParseSend(command("1G,"), ncHex, false);
    EXPECT_EQ(RefusalMessage(e1, command("1G,"), ncHex),
              "Following command codes or format are invalid, please check and then try "
              "again!\nCommand Codes: 1G,\nData format: HexaDecimal\n");
    EXPECT_TRUE(RefusalMessage(ParseSend(command(",AT"), ncAscii, false), command(",AT"), ncAscii)
                    .endsWith("\nCommand Codes: ,AT\nData format: ASCII\n"));
}

TEST_F(SendEngineTest, WritesRepeatPlusOneTimesWithTheIntervalAfterEachWrite) {
    env.describe = true;
    engine.send(command("1A,1B,", 100, 2, 50), "Command Pane", record());
    EXPECT_TRUE(env.stopEnabled);
    EXPECT_TRUE(env.line.isEmpty()) << "the delay comes first";
    clock.advance(1000);
    EXPECT_EQ(env.line, QByteArray("\x1A\x1B\x1A\x1B\x1A\x1B"));
    EXPECT_EQ(env.writes, QList<qint64>({100, 150, 200}));
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Completed}));
    EXPECT_FALSE(env.stopEnabled);
    EXPECT_EQ(env.logLines,
              QStringList({"m:\r\n[Command Pane]\r\nSending signals and commands (Signal: None, "
                           "Command: 1A,1B, Delay: 100 ms, Repeat: 2 x, Interval: 50 ms) ...\r\n",
                           "m:Data sent: ", "t:1A,1B,\r\n", "m:Data sent: ", "t:1A,1B,\r\n",
                           "m:Data sent: ", "t:1A,1B,\r\n",
                           "m:... Signal and command sending was completed\r\n\r\n"}));
    // The interval also follows the last write: the completion comes 50 ms after it.
    EXPECT_EQ(env.focused, 3);
}

TEST_F(SendEngineTest, PassesReturnToTheEventLoopSoStopWorksBetweenWrites) {
    env.describe = true;
    engine.send(command("41,", 0, 999), "Command Pane", record());
    EXPECT_EQ(env.line, QByteArray("A")) << "the first write at once";
    clock.turn();
    clock.turn();
    EXPECT_EQ(env.line.size(), 3);
    engine.stopAll();
    clock.advance(1000);
    EXPECT_EQ(env.line.size(), 3);
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Interrupted}));
    EXPECT_EQ(env.logLines.last(), "m:... Signal and command sending was interrupted\r\n\r\n");
    EXPECT_FALSE(env.stopEnabled);
}

TEST_F(SendEngineTest, StopDuringTheDelaySkipsSignalAndWrites) {
    SendAction a = command("41,", 500);
    a.sendSignal = true;
    a.signal = 2;
    engine.send(a, "Programmable Buttons", record());
    clock.advance(499);
    engine.stopAll();
    clock.advance(1000);
    EXPECT_TRUE(env.line.isEmpty());
    EXPECT_FALSE(env.dtrOn);
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Interrupted}));
    EXPECT_TRUE(env.logLines.isEmpty()) << "no description, no lines";
}

TEST_F(SendEngineTest, OverlappingSendsKeepTheirOwnTimesAndStopEndsThemAll) {
    engine.send(command("1,", 0, 1, 300), "Command Pane", record());
    clock.advance(100);
    engine.send(command("2,", 50, 1, 100), "Auto Response", record());
    clock.advance(1000);
    // First: writes at 0 and 300, done at 600. Second: starts at 100, writes at 150, 250.
    EXPECT_EQ(env.writes, QList<qint64>({0, 150, 250, 300}));
    EXPECT_EQ(env.line, QByteArray("\x01\x02\x02\x01"));
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Completed, SendOutcome::Completed}));

    outcomes.clear();
    engine.send(command("1,", 0, 5, 100), "Command Pane", record());
    engine.send(command("2,", 0, 5, 100), "Command Pane", record());
    EXPECT_TRUE(env.stopEnabled);
    engine.stopAll();
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Interrupted, SendOutcome::Interrupted}));
    EXPECT_FALSE(env.stopEnabled);
    EXPECT_FALSE(engine.busy());
}

TEST_F(SendEngineTest, AMacroPauseOrStopEndsTheSendWithoutAWord) {
    env.describe = true;
    engine.send(command("41,", 0, 3, 100), "Macros", record());
    env.logLines.clear();
    env.macro = 2;
    clock.advance(100);
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::MacroEnded}));
    EXPECT_EQ(env.line, QByteArray("A"));
    EXPECT_TRUE(env.logLines.isEmpty());

    env.macro = 1;
    env.macroRuns = true;
    engine.send(command("42,", 0, 3, 100), "Macros", record());
    EXPECT_TRUE(env.logLines.first().startsWith("m:[Macros]\r\n")) << "no blank line in a macro";
    engine.endForMacro();
    EXPECT_EQ(outcomes.last(), SendOutcome::MacroEnded);
    EXPECT_FALSE(engine.busy());
}

TEST_F(SendEngineTest, SignalsAreSetAndLoggedAndSignalOnlySendsEndWithoutCompletion) {
    env.describe = true;
    SendAction a;
    a.sendSignal = true;
    a.signal = 6; // RTS OFF, DTR ON
    env.rtsOn = true;
    engine.send(a, "Programmable Buttons", record());
    EXPECT_FALSE(env.rtsOn);
    EXPECT_TRUE(env.dtrOn);
    EXPECT_EQ(env.ledUpdates, 1);
    EXPECT_EQ(env.logLines, QStringList({"m:\r\n[Programmable Buttons]\r\nSending signals (Delay: "
                                         "0 ms) ...\r\n",
                                         "m:Signal Sent: ", "t:RTS Turned OFF\r\n",
                                         "m:Signal sent: ", "t:DTR Turned ON\r\n"}));
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Completed}));

    env.logLines.clear();
    a.signal = 8;
    a.command = "41,";
    engine.send(a, "Programmable Buttons", record());
    EXPECT_EQ(env.beeps, 1);
    EXPECT_TRUE(env.logLines.contains("m:Playing Sound"));
    EXPECT_TRUE(env.logLines.first().contains("(Signal: Play sound, Command: 41,"));
}

TEST_F(SendEngineTest, ADelayOnlySendWaitsAndEndsAfterItsHeadline) {
    env.describe = true;
    engine.send(command("", 200), "Macros", record());
    EXPECT_EQ(env.logLines, QStringList({"m:\r\n[Macros]\r\nDelay: 200 ms ...\r\n"}));
    EXPECT_TRUE(outcomes.isEmpty());
    clock.advance(200);
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Completed}));
    EXPECT_EQ(env.logLines.size(), 1);
}

TEST_F(SendEngineTest, NothingHappensOnAClosedPortOrWithNothingToDo) {
    env.open = false;
    engine.send(command("41,"), "Command Pane", record());
    env.open = true;
    engine.send(command(""), "Command Pane", record());
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::NotSent, SendOutcome::NotSent}));
    EXPECT_TRUE(env.logLines.isEmpty());
    EXPECT_FALSE(env.stopEnabled);
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(SendEngineTest, ARefusedSendShowsItsBoxAndWritesNothing) {
    env.describe = true;
    engine.send(command("1A,1G,"), "Command Pane", record());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Error:");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(env.line.isEmpty());
    EXPECT_TRUE(env.logLines.isEmpty());
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Refused}));

    // A port that refuses the bytes ends the send with the invalid-data box.
    boxes.clear();
    env.refuseOutput = true;
    engine.send(command("41,", 0, 2), "Command Pane", record());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Invalid data, please check"));
    EXPECT_EQ(outcomes.last(), SendOutcome::Refused);
}

TEST_F(SendEngineTest, TheTxLedGoesOutAfterTheLastWriteAndEachWriteCanBeep) {
    env.sound = true;
    engine.send(command("41,", 0, 1, 10), "Command Pane", record());
    EXPECT_EQ(env.txStates, QList<bool>({true}));
    clock.advance(10);
    EXPECT_EQ(env.txStates, QList<bool>({true, true})) << "re-lit before it went out";
    clock.advance(SendEngine::TxLedMs);
    EXPECT_EQ(env.txStates, QList<bool>({true, true, false}));
    EXPECT_EQ(env.beeps, 2);
}

// A box runs an event loop: while it is up, the port can go and every send with it. The
// send that showed the box then ends once, and neither touches nor writes anything more.
TEST_F(SendEngineTest, ASendEndedWhileItsBoxIsUpEndsOnceAndWritesNothingMore) {
    class LoopingBoxes : public test::Installed<MessageBoxes, &Platform::setMessages> {
    public:
        int show(const QString&, MsgIcon, MsgButtons, const QString&) override {
            ++shown;
            if (whileShown)
                whileShown();
            return AnswerOk;
        }
        std::function<void()> whileShown;
        int shown = 0;
    };
    struct Case {
        const char* what;
        SendAction action;
        bool refuseOutput;
        bool boxOnWrite;
        QByteArray written;
    };
    const Case cases[] = {
        {"a refused command", command("1G,"), false, false, ""},
        {"bytes the port refuses", command("41,", 0, 3, 10), true, false, ""},
        {"a check's box as the command box takes the focus", command("41,", 0, 3, 0), false, true,
         "A"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LoopingBoxes loop;
        outcomes.clear();
        env.line.clear();
        env.refuseOutput = c.refuseOutput;
        // The port goes: every send is stopped, and the event loop turns (ended sends
        // would be dropped there).
        auto portGoes = [&] {
            env.open = false;
            engine.stopAll();
            clock.turn();
        };
        loop.whileShown = portGoes;
        env.onWrote = {};
        if (c.boxOnWrite) {
            env.onWrote = [&] {
                if (loop.shown++ == 0)
                    portGoes();
            };
        }
        engine.send(c.action, "Command Pane", record());
        env.open = true;
        clock.advance(1000);
        EXPECT_EQ(loop.shown, 1);
        EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Interrupted}));
        EXPECT_EQ(env.line, c.written);
        EXPECT_FALSE(engine.busy());
    }
    env.onWrote = {};
}
