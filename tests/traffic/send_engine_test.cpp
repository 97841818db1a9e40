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
    explicit RecordingEnvironment(const ManualScheduler& clock) : clock_(&clock) {}

    bool mayTransmit() const override { return open; }
    void output(const QByteArray& bytes) override {
        if (refuseOutput)
            throw RunTimeError(err::PortNotOpen);
        line += bytes;
        writes << clock_->now();
    }
    void setRts(bool on) override { lineChanges << (on ? "RTS ON" : "RTS OFF"); }
    void setDtr(bool on) override { lineChanges << (on ? "DTR ON" : "DTR OFF"); }
    int txFormat() const override { return format; }
    bool description() const override { return describe; }
    bool formattedView() const override { return formatted; }
    bool soundOnSend() const override { return sound; }
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
    QStringList lineChanges;
    int format = ncHex;
    bool describe = false;
    bool formatted = false;
    bool sound = false;
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
    const ManualScheduler* clock_;
};

// Sends are written SendAction{command, control codes, delay, repeat, interval, signal, on}.
class SendEngineTest : public ::testing::Test {
protected:
    SendEngine::Done record() {
        return [this](SendOutcome outcome) { outcomes << outcome; };
    }
    // The next row of a table: a fresh recorder, with the description on, and no outcomes.
    void nextRow() {
        env = RecordingEnvironment(clock);
        env.describe = true;
        outcomes.clear();
    }

    test::RecordingMessageBoxes boxes;
    ManualScheduler clock;
    RecordingEnvironment env{clock};
    SendEngine engine{env, clock};
    QList<SendOutcome> outcomes;
};

} // namespace

// Every notation with every kind of control-code text: only ASCII sends them.
TEST(ParseSend, EachNotationReadsItsItemsAndOnlyAsciiAddsControlCodes) {
    // Notation, command, its bytes, its echo and its formatted echo.
    const std::tuple<int, QString, QByteArray, QString, QString> cases[] = {
        {ncHex, "1a,1b,", QByteArray("\x1A\x1B"), "1A,1B,", "1A 1B "},
        {ncHex, "1A,b", QByteArray("\x1A"), "1A,B", "1A "}, // the unterminated item is not sent
        {ncHex, "a,", QByteArray("\x0A"), "A,", "0A "},
        {ncDec, "65,0,255,", QByteArray("A\x00\xFF", 3), "65,0,255,", "065 000 255 "},
        {ncOct, "101,377,", QByteArray("A\xFF"), "101,377,", "101 377 "},
        {ncBin, "1000001,0,", QByteArray("A\x00", 2), "1000001,0,", "01000001 00000000 "},
        {ncAscii, "AT,B,x", QByteArray("AT,B,x"), "AT,B,x", "AT,B,x"},
        {ncAscii, "", QByteArray(), "", ""},
    };
    // Control codes, their bytes and their names: one character is no list, "D," a lone CR.
    const std::tuple<QString, QByteArray, QString> controls[] = {
        {"", "", ""}, {"D", "", ""}, {"D,", "\r", "<CR>"}, {"D,A,", "\r\n", "<CR><LF>"}};
    for (const auto& [format, text, bytes, echo, formatted] : cases) {
        for (const auto& [codes, codeBytes, names] : controls) {
            SCOPED_TRACE(qPrintable(QString::number(format) + ' ' + text + " / " + codes));
            const bool ascii = format == ncAscii;
            const ParsedSend parsed = ParseSend(SendAction{text, codes}, format, false);
            ASSERT_TRUE(parsed.ok());
            EXPECT_EQ(parsed.bytes, bytes + (ascii ? codeBytes : QByteArray()));
            EXPECT_EQ(parsed.echo, echo + (ascii ? QString::fromLatin1(codeBytes) : QString()));
            EXPECT_EQ(ParseSend(SendAction{text, codes}, format, true).echo,
                      formatted + (ascii ? names : QString()));
        }
    }
}

TEST(ParseSend, RefusesBadItemsAndValuesBeyondTheirFields) {
    using R = ParsedSend::Refusal;
    const std::tuple<int, SendAction, R> cases[] = {
        {ncHex, {"1A,,1B,"}, R::CommandItem},
        {ncHex, {"1G,"}, R::CommandItem},
        {ncOct, {"8,"}, R::CommandItem},
        // ASCII text is sent whole, but a leading comma or two in a row make an empty item.
        {ncAscii, {",AT"}, R::CommandItem},
        {ncAscii, {"A,,B"}, R::CommandItem},
        {ncDec, {"255,"}, R::None},
        {ncDec, {"256,"}, R::Invalid},
        {ncOct, {"377,"}, R::None},
        {ncOct, {"400,"}, R::Invalid},
        {ncBin, {"11111111,"}, R::None},
        {ncBin, {"100000000,"}, R::Invalid},
        {ncDec, {"123456789012345678901234567890,"}, R::Invalid},
        {ncAscii, {"AT", "D,Q,"}, R::ControlCode},
        {ncAscii, {"AT", "1FF,"}, R::Invalid},
        // Times beyond what their fields hold are refused, never cut short; a stored
        // repeat plays as stored up to what a 16-bit count holds, and is refused by name
        // beyond it.
        {ncHex, {"1,", "", 65536}, R::Invalid},
        {ncHex, {"1,", "", 0, 0, 70000}, R::Invalid},
        {ncHex, {"1,", "", 0, 1000}, R::None},
        {ncHex, {"F,", "", 0, 32766}, R::None},
        {ncHex, {"F,", "", 0, 32767}, R::None},
        {ncHex, {"F,", "", 0, 32768}, R::Repeat},
        {ncAscii, {"F,", "", 0, 40000}, R::Repeat},
        {ncHex, {"1,", "", 65535, 999, 65535}, R::None},
    };
    for (const auto& [format, action, refusal] : cases) {
        const ParsedSend parsed = ParseSend(action, format, false);
        EXPECT_EQ(parsed.refusal, refusal) << action.command.toStdString();
        EXPECT_EQ(parsed.bytes.isEmpty(), !parsed.ok()) << action.command.toStdString();
    }

    const SendAction bad{"1G,"}, empty{",AT"};
    EXPECT_EQ(RefusalMessage(ParseSend(bad, ncHex, false), bad, ncHex),
              "Following command codes or format are invalid, please check and then try "
              "again!\nCommand Codes: 1G,\nData format: HexaDecimal\n");
    EXPECT_TRUE(RefusalMessage(ParseSend(empty, ncAscii, false), empty, ncAscii)
                    .endsWith("\nCommand Codes: ,AT\nData format: ASCII\n"));
    // A repeat refused names the repeat, not the command codes, which are valid.
    const SendAction many{"F,", "", 0, 40000};
    EXPECT_EQ(RefusalMessage(ParseSend(many, ncHex, false), many, ncHex),
              "Invalid data: the repeat count 40000 is more than 32,767, please check and then "
              "try again!");
}

// A stored repeat count is played as stored, however large; beyond what a count holds
// the send is refused with a box that names the repeat, and nothing goes out. A count
// below 0 writes nothing.
TEST_F(SendEngineTest, AStoredRepeatIsPlayedAsStoredOrRefusedNamingTheRepeat) {
    const struct {
        qint32 repeat;
        qsizetype writes;
        SendOutcome outcome;
    } cases[] = {
        {3, 4, SendOutcome::Completed},         {32766, 32767, SendOutcome::Completed},
        {32767, 32768, SendOutcome::Completed}, {32768, 0, SendOutcome::Refused},
        {-1, 0, SendOutcome::Completed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.repeat);
        nextRow();
        engine.send(SendAction{"F,", "", 0, c.repeat}, "Auto Response", record());
        clock.advance(0);
        EXPECT_EQ(env.line, QByteArray(c.writes, '\x0F'));
        EXPECT_EQ(outcomes, QList<SendOutcome>({c.outcome}));
        EXPECT_EQ(boxes.texts(),
                  c.outcome == SendOutcome::Refused
                      ? QStringList(QStringLiteral("Invalid data: the repeat count %1 is more than "
                                                   "32,767, please check and then try again!")
                                        .arg(c.repeat))
                      : QStringList());
        boxes.clear();
    }
}

TEST_F(SendEngineTest, WritesRepeatPlusOneTimesWithTheIntervalAfterEachWrite) {
    env.describe = true;
    engine.send(SendAction{"1A,1B,", "", 100, 2, 50}, "Command Pane", record());
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
    engine.send(SendAction{"41,", "", 0, 999}, "Command Pane", record());
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

TEST_F(SendEngineTest, OverlappingSendsKeepTheirOwnTimesAndStopEndsThemAll) {
    engine.send(SendAction{"1,", "", 0, 1, 300}, "Command Pane", record());
    clock.advance(100);
    engine.send(SendAction{"2,", "", 50, 1, 100}, "Auto Response", record());
    clock.advance(1000);
    // First: writes at 0 and 300, done at 600. Second: starts at 100, writes at 150, 250.
    EXPECT_EQ(env.writes, QList<qint64>({0, 150, 250, 300}));
    EXPECT_EQ(env.line, QByteArray("\x01\x02\x02\x01"));
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Completed, SendOutcome::Completed}));

    outcomes.clear();
    engine.send(SendAction{"1,", "", 0, 5, 100}, "Command Pane", record());
    engine.send(SendAction{"2,", "", 0, 5, 100}, "Command Pane", record());
    EXPECT_TRUE(env.stopEnabled);
    engine.stopAll();
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Interrupted, SendOutcome::Interrupted}));
    EXPECT_FALSE(env.stopEnabled);
    EXPECT_FALSE(engine.busy());
}

// A send waits in its delay, or in its interval after a write. Stop ends it with a word; a
// macro's pause or stop, which ends the macro's sends, without one.
TEST_F(SendEngineTest, StopOrAMacroEndsAWaitingSend) {
    // While the send waits: nothing, the macro's end or Stop, and the outcome.
    const std::tuple<const char*, void (SendEngine::*)(), SendOutcome> cases[] = {
        {"nothing", nullptr, SendOutcome::Completed},
        {"the macro ends its sends", &SendEngine::endForMacro, SendOutcome::MacroEnded},
        {"Stop", &SendEngine::stopAll, SendOutcome::Interrupted}};
    for (const auto& [what, end, outcome] : cases) {
        for (int delay : {100, 0}) {
            SCOPED_TRACE(std::string(what) + (delay ? " in the delay" : " in the interval"));
            nextRow();
            engine.setMacroRunning(true);
            engine.send(SendAction{"41,", "", delay, 1, 100, OutputSignal::DtrOn, true}, "Macros",
                        record());
            ASSERT_TRUE(env.logLines.first().startsWith("m:[Macros]\r\n")) << "no blank line";
            QStringList log = env.logLines;
            clock.advance(50);
            if (end)
                (engine.*end)();
            clock.advance(1000);
            EXPECT_EQ(outcomes, QList<SendOutcome>({outcome}));
            const bool ended = outcome != SendOutcome::Completed;
            EXPECT_EQ(env.line, !ended ? "AA" : delay ? "" : "A");
            // Ended in its delay, the send sets no signal (here DTR ON) either.
            EXPECT_EQ(env.lineChanges, ended && delay ? QStringList() : QStringList("DTR ON"));
            if (outcome == SendOutcome::Interrupted)
                log << "m:... Signal and command sending was interrupted\r\n\r\n";
            if (ended) {
                EXPECT_EQ(env.logLines, log);
            }
            EXPECT_FALSE(env.stopEnabled);
        }
    }
}

// Each output signal, none (-1) and one outside the list: the lines a signal changes are
// the ones its name says.
TEST_F(SendEngineTest, EachSignalSetsItsOwnLinesAndLogsThem) {
    const std::tuple<int, QString, QString> cases[] = {
        {-1, "None", ""},
        {0, "RTS ON", "m:Signal sent: t:RTS Turned ON\r\n"},
        {1, "RTS OFF", "m:Signal sent: t:RTS Turned OFF\r\n"},
        {2, "DTR ON", "m:Signal sent: t:DTR Turned ON\r\n"},
        {3, "DTR OFF", "m:Signal sent: t:DTR Turned OFF\r\n"},
        {4, "RTS ON, DTR ON",
         "m:Signal sent: t:RTS Turned ON\r\nm:Signal sent: t:DTR Turned ON\r\n"},
        {5, "RTS ON, DTR OFF",
         "m:Signal sent: t:RTS Turned ON\r\nm:Signal sent: t:DTR Turned OFF\r\n"},
        // The two codes that turn RTS off with DTR have always been logged this way.
        {6, "RTS OFF, DTR ON",
         "m:Signal Sent: t:RTS Turned OFF\r\nm:Signal sent: t:DTR Turned ON\r\n"},
        {7, "RTS OFF, DTR OFF",
         "m:Signal Sent: t:RTS Turned OFF\r\nm:Signal sent: t:DTR Turned OFF\r\n"},
        {8, "Play sound", "m:Playing Soundt:\r\n"},
        {9, "None", ""},
    };
    for (const auto& [signal, name, signalLog] : cases) {
        // With a command; alone; alone in a macro, whose headline names the signal.
        for (const auto& [text, inMacro] :
             {std::pair{QStringLiteral("41,"), false}, {QString(), false}, {QString(), true}}) {
            SCOPED_TRACE(qPrintable(QString::number(signal) + " with [" + text + "] " +
                                    (inMacro ? "in a macro" : "")));
            nextRow();
            engine.setMacroRunning(inMacro);
            // Control codes are no data in Hex: without the command the send is signal-only.
            engine.send(SendAction{text, "D,", 0, 0, 0, OutputSignal(signal), signal >= 0},
                        "Programmable Buttons", record());
            EXPECT_EQ(env.lineChanges.join(", "), signal >= 0 && signal <= 7 ? name : "");
            EXPECT_EQ(env.ledUpdates, signal >= 0 && signal <= 7 ? 1 : 0);
            EXPECT_EQ(env.beeps, signal == 8 ? 1 : 0);
            EXPECT_EQ(outcomes,
                      QList<SendOutcome>({signal < 0 && text.isEmpty() ? SendOutcome::NotSent
                                                                       : SendOutcome::Completed}));
            QString headline = "(Signal: " + name + ", Command: 41, Delay";
            if (text.isEmpty() && inMacro)
                headline = "m:[Programmable Buttons]\r\nSending signal (Signals: " + name +
                           ", Delay: 0 ms) ...\r\n";
            else if (text.isEmpty())
                headline = "m:\r\n[Programmable Buttons]\r\nSending signals (Delay: 0 ms) ...\r\n";
            EXPECT_EQ(env.logLines.value(0).contains(headline), signal >= 0 || !text.isEmpty());
            // A signal-only send ends after its signal, without a completion line.
            EXPECT_EQ(env.logLines.mid(1).join(QString()),
                      signalLog + (text.isEmpty() ? ""
                                                  : "m:Data sent: t:41,\r\nm:... Signal and "
                                                    "command sending was completed\r\n\r\n"));
        }
    }
}

// Data is a command, or control codes in ASCII: the other notations send none. Without
// data, a signal or a delay there is nothing to do; with a delay alone the send waits.
TEST_F(SendEngineTest, OnlyACommandOrAsciiControlCodesAreData) {
    for (int format : {ncDec, ncHex, ncOct, ncBin, ncAscii})
        for (const QString& text : {QString(), QStringLiteral("1,")})
            for (const QString& codes : {QString(), QStringLiteral("D,")})
                for (int delay : {0, 10}) {
                    SCOPED_TRACE(testing::Message() << format << " [" << text.toStdString() << "] ["
                                                    << codes.toStdString() << "] " << delay);
                    nextRow();
                    env.format = format;
                    engine.send(SendAction{text, codes, delay}, "Command Pane", record());
                    EXPECT_EQ(outcomes.isEmpty(), delay > 0) << "a delay is waited for";
                    clock.advance(delay);
                    const bool ascii = format == ncAscii;
                    const bool data = !text.isEmpty() || (ascii && !codes.isEmpty());
                    EXPECT_EQ(outcomes, QList<SendOutcome>({data || delay ? SendOutcome::Completed
                                                                          : SendOutcome::NotSent}));
                    const QByteArray bytes = text.isEmpty() ? "" : ascii ? "1," : "\x01";
                    EXPECT_EQ(env.line, bytes + (ascii && !codes.isEmpty() ? "\r" : ""));
                    // Headline, data, completion; or the headline of a wait alone.
                    EXPECT_EQ(env.logLines.count("m:Data sent: "), data ? 1 : 0);
                    EXPECT_EQ(env.logLines.size(), data ? 4 : delay ? 1 : 0);
                    EXPECT_EQ(env.logLines.value(0).endsWith("]\r\nDelay: 10 ms ...\r\n"),
                              !data && delay);
                }
    nextRow();
    env.open = false;
    engine.send(SendAction{"41,"}, "Command Pane", record());
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::NotSent}));
    EXPECT_TRUE(env.logLines.isEmpty() && !env.stopEnabled && boxes.boxes().isEmpty());
}

TEST_F(SendEngineTest, ARefusedSendShowsItsBoxAndWritesNothing) {
    env.describe = true;
    engine.send(SendAction{"1A,1G,"}, "Command Pane", record());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Error:");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Exclamation);
    EXPECT_TRUE(env.line.isEmpty());
    EXPECT_TRUE(env.logLines.isEmpty());
    EXPECT_EQ(outcomes, QList<SendOutcome>({SendOutcome::Refused}));

    // A port that refuses the bytes ends the send with the invalid-data box.
    boxes.clear();
    env.refuseOutput = true;
    engine.send(SendAction{"41,", "", 0, 2}, "Command Pane", record());
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.boxes()[0].text.startsWith("Invalid data, please check"));
    EXPECT_EQ(outcomes.last(), SendOutcome::Refused);
}

TEST_F(SendEngineTest, TheTxLedGoesOutAfterTheLastWriteAndEachWriteCanBeep) {
    env.sound = true;
    engine.send(SendAction{"41,", "", 0, 1, 10}, "Command Pane", record());
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
        {"a refused command", SendAction{"1G,"}, false, false, ""},
        {"bytes the port refuses", SendAction{"41,", "", 0, 3, 10}, true, false, ""},
        {"a check's box as the command box takes the focus", SendAction{"41,", "", 0, 3, 0}, false,
         true, "A"},
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
