#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "notation/notation.h"
#include "support/fakes.h"
#include "support/recording_sender.h"

#include <gtest/gtest.h>

using namespace kst;
using namespace kst::test;

namespace {

class NoSwitch : public AutoResponseView {
public:
    void autoResponseSwitched(bool) override {}
    void note(const QString&) override {}
};

// The window around a run: the log it writes (lines joined by "|", line breaks
// dropped), the controls it shows, the macro box and the macros a load finds.
class RecordingRunView : public MacroRunView {
public:
    void describe(const QString& text) override {
        if (description)
            log << QString(text).remove(u'\r').remove(u'\n');
        log.removeAll(QString());
    }
    void note(const QString& line) override { log << "note: " + line; }
    void showRunControls(const MacroRunControls& c) override { controls = c; }
    void enableMacroBox() override { controls.macroBox = true; }
    void playModeShown(bool continuous) override { continuousShown = continuous; }
    int shownMacro() const override { return shown; }
    bool selectMacro(int number) override {
        shown = number;
        // A failed load puts the choice back to the macro held.
        if (number == failingMacro) {
            shown = runner->loadedMacro();
            return false;
        }
        runner->setMacro(number, macros[number - 1]);
        if (number == 8)
            runner->setContinuousPlay(false);
        return true;
    }
    bool portOpen() const override { return open; }

    QString joined() const { return log.join('|'); }

    MacroRunner* runner = nullptr;
    std::array<MacroRecords, 8> macros{};
    QStringList log;
    MacroRunControls controls;
    bool continuousShown = false;
    bool description = true;
    int shown = 1;
    int failingMacro = 0;
    bool open = true;
};

MacroStep sendStep(const QString& name, const QString& command, int intervalMs = 0,
                   int repeat = 0) {
    MacroStep s;
    s.name = name;
    s.send.command = command;
    s.send.intervalMs = intervalMs;
    s.send.repeat = repeat;
    return s;
}

MacroStep waitStep(const QString& name, int subRoutine, int waitMs) {
    MacroStep s;
    s.name = name;
    s.action = 1;
    s.subRoutineNo = subRoutine;
    s.waitMs = waitMs;
    return s;
}

// A sub-routine: IF the block equals `ifData` send "49,", ELSE IF it contains
// `elseIfData` send "45,", ELSE send "4C,".
MacroSubRoutine answering(const QString& name, const QString& ifData, const QString& elseIfData,
                          bool elseOnTimeout = false) {
    MacroSubRoutine s;
    s.name = name;
    s.ifCondition.data = ifData;
    s.ifThen.command = "49,";
    s.elseIfCondition.kind = ConditionKind::Contains;
    s.elseIfCondition.data = elseIfData;
    s.elseIfThen.command = "45,";
    s.elseThen.command = "4C,";
    s.elseOnTimeout = elseOnTimeout;
    return s;
}

class MacroRunnerTest : public ::testing::Test {
public:
    MacroRunnerTest() {
        view.runner = &runner;
        for (int m = 0; m < 8; ++m) {
            for (int k = 0; k < 8; ++k)
                view.macros[m].steps[k].name = QStringLiteral("m%1s%2").arg(m + 1).arg(k + 1);
        }
    }
    void load(int number) {
        view.shown = number;
        runner.setMacro(number, view.macros[number - 1]);
    }
    void received(const QString& text) {
        ReceivedEvent e = ReceivedEvent::block(text, false, env);
        if (runner.waitsForEvent())
            runner.offer(e);
    }
    QByteArray sent() {
        clock.advance(0);
        return env.taken();
    }

public:
    RecordingMessageBoxes boxes;
    ManualScheduler clock;
    RecordingSendEnvironment env;
    SendEngine sender{env, clock};
    NoSwitch noSwitch;
    AutoResponder autoResponder{sender, noSwitch};
    RecordingRunView view;
    MacroRunner runner{sender, clock, autoResponder, view};
};

TEST_F(MacroRunnerTest, AMacroSendsWaitsAnswersByItsBranchAndStops) {
    MacroRecords& m = view.macros[0];
    m.steps[0] = sendStep("Hello", "41,");
    // The last sub-routine, with the longest wait.
    m.steps[1] = waitStep("Reply", 7, 65535);
    m.subRoutines[7] = answering("Check", "42,", "44,");
    load(1);
    runner.run();
    EXPECT_EQ(sent(), "A");
    EXPECT_TRUE(runner.waitsForEvent());
    EXPECT_EQ(runner.armedSubRoutine(), 7);
    EXPECT_EQ(view.controls, (MacroRunControls{false, true, true, false}));
    received("42,");
    EXPECT_EQ(sent(), "I");
    EXPECT_EQ(runner.state(), MacroRunState::Idle);
    EXPECT_EQ(view.joined(), "Macro 1 is now running . . . . . . . . . .|Step 1 (Hello):|"
                             "Step 2 (Reply):|Running Sub-Routine 8 (Check) for 65535 ms ...|"
                             "<IF> condition met ...|Step 3 (m1s3):|Step 4 (m1s4):|"
                             "Step 5 (m1s5):|Step 6 (m1s6):|Step 7 (m1s7):|Step 8 (m1s8):|"
                             ". . . . . . . . . . Macro 1 stopped.");
    EXPECT_EQ(view.controls, (MacroRunControls{true, false, false, true}));
    EXPECT_FALSE(sender.busy());
}

// One block (or the timer) meets one waiting sub-routine: which branch answers.
TEST_F(MacroRunnerTest, TheFirstConditionThatHoldsAnswersAndTheTimerTakesTheElseWhenAsked) {
    const struct {
        const char* what;
        MacroSubRoutine sub;
        QString block; // empty: the wait runs out
        QByteArray answer;
        const char* line;
    } cases[] = {
        {"IF", answering("s", "42,", "4"), "42,", "I", "<IF> condition met ..."},
        {"ELSE IF", answering("s", "42,", "44,"), "43,44,", "E", "<ELSE IF> condition met ..."},
        {"ELSE on any other block", answering("s", "42,", "44,"), "43,", "L",
         "No condition met ..."},
        {"a kind out of the list skips the IF",
         [] {
             MacroSubRoutine s = answering("s", "42,", "42,");
             s.ifCondition.kind = ConditionKind(9);
             return s;
         }(),
         "42,", "E", "<ELSE IF> condition met ..."},
        {"the timer without ELSE on timeout", answering("s", "42,", "44,"), "", "", nullptr},
        {"the timer with ELSE on timeout", answering("s", "42,", "44,", true), "", "L",
         "No condition met ..."},
    };
    for (const auto& c : cases) {
        view.log.clear();
        // The shortest wait still waits.
        view.macros[0].steps[0] = waitStep("w", 0, 1);
        view.macros[0].subRoutines[0] = c.sub;
        load(1);
        runner.run();
        if (!c.block.isEmpty())
            received(c.block);
        clock.advance(100);
        EXPECT_EQ(env.taken(), c.answer) << c.what;
        EXPECT_EQ(view.log.contains(c.line ? c.line : "No condition met ..."), c.line != nullptr)
            << c.what;
        EXPECT_EQ(runner.state(), MacroRunState::Idle) << c.what;
    }
}

TEST_F(MacroRunnerTest, ContinuousPlayRunsOnToMacroEightAndNeverWraps) {
    for (int start : {6, 8}) {
        view.log.clear();
        load(start);
        runner.setContinuousPlay(true);
        runner.run();
        QStringList started = view.log.filter("is now running");
        QStringList expected;
        for (int m = start; m <= 8; ++m)
            expected << QStringLiteral("Macro %1 is now running . . . . . . . . . .").arg(m);
        EXPECT_EQ(started, expected) << start;
        EXPECT_EQ(view.log.last(), ". . . . . . . . . . Macro 8 stopped.");
        EXPECT_TRUE(view.log.contains("Step 1 (m8s1):")) << "each macro from its first step";
        if (start < 8) {
            EXPECT_FALSE(runner.continuousPlay()) << "loading macro 8 leaves single play";
        }
    }
    // Single play ends with the shown macro.
    runner.setContinuousPlay(false);
    view.log.clear();
    load(3);
    runner.run();
    EXPECT_EQ(view.log.last(), ". . . . . . . . . . Macro 3 stopped.");
}

TEST_F(MacroRunnerTest, APauseInAWaitPlaysThatStepAgainWithItsWholeWait) {
    view.macros[0].steps[0] = waitStep("Reply", 0, 300);
    view.macros[0].subRoutines[0] = answering("s", "42,", "44,", true);
    load(1);
    runner.run();
    clock.advance(200);
    runner.pause();
    EXPECT_EQ(view.log.last(), "Macro 1 paused ...");
    EXPECT_EQ(view.controls, (MacroRunControls{true, false, true, false}));
    EXPECT_TRUE(runner.idle());
    received("42,");
    clock.advance(1000);
    EXPECT_TRUE(env.taken().isEmpty()) << "neither a block nor the timer reaches a paused run";
    view.log.clear();
    runner.run();
    EXPECT_EQ(view.log.mid(0, 3), QStringList({"Macro 1 resumed ...", "Step 1 (Reply):",
                                               "Running Sub-Routine 1 (s) for 300 ms ..."}));
    clock.advance(299);
    EXPECT_TRUE(env.taken().isEmpty()) << "the wait starts again whole";
    clock.advance(1);
    EXPECT_EQ(env.taken(), "L");
    // A later macro of a continuous run starts without its "is now running" after such a
    // pause; a stop clears that.
    EXPECT_EQ(view.log.filter("is now running").size(), 0);
}

TEST_F(MacroRunnerTest, APauseDuringASendPausesAtTheNextStepsHead) {
    view.macros[0].steps[0] = sendStep("Slow", "41,", 100, 5);
    load(1);
    runner.run();
    clock.advance(150);
    runner.pause();
    EXPECT_EQ(env.taken(), "AA") << "the send's remaining waits end";
    EXPECT_EQ(view.log.last(), "Macro 1 paused ...");
    view.log.clear();
    runner.run();
    EXPECT_EQ(view.log.mid(0, 3),
              QStringList({"Macro 1 resumed ...", "Macro 1 is now running . . . . . . . . . .",
                           "Step 2 (m1s2):"}));
}

// How a run ends from each place it can be stopped.
TEST_F(MacroRunnerTest, AStopEndsTheRunFromEveryStateAndAutoResponseComesBack) {
    const struct {
        const char* what;
        std::function<void(MacroRunnerTest&)> act;
    } cases[] = {
        {"Stop in a wait", [](MacroRunnerTest& t) { t.runner.stop(); }},
        {"Stop while paused",
         [](MacroRunnerTest& t) {
             t.runner.pause();
             t.runner.stop();
         }},
        {"the port closed in a wait",
         [](MacroRunnerTest& t) {
             t.view.open = false;
             t.runner.portClosed();
         }},
        {"the port closed while paused",
         [](MacroRunnerTest& t) {
             t.runner.pause();
             t.view.open = false;
             t.runner.portClosed();
         }},
    };
    for (const auto& c : cases) {
        view.log.clear();
        view.open = true;
        view.macros[0].steps[0] = waitStep("w", 0, 1000);
        load(1);
        autoResponder.switchTo(true);
        runner.run();
        EXPECT_FALSE(autoResponder.isOn()) << c.what;
        c.act(*this);
        EXPECT_EQ(view.log.last(), ". . . . . . . . . . Macro 1 stopped.") << c.what;
        EXPECT_EQ(view.log.filter("Step 2").size(), 0) << c.what;
        EXPECT_EQ(view.controls, (MacroRunControls{view.open, false, false, view.open})) << c.what;
        EXPECT_TRUE(autoResponder.isOn()) << c.what;
        runner.portOpened();
        EXPECT_TRUE(runner.idle()) << c.what;
    }
    // Off before the run, off after it.
    autoResponder.switchTo(false);
    runner.run();
    runner.stop();
    EXPECT_FALSE(autoResponder.isOn());
}

// The port closes (it reads closed at once, then every send is interrupted, as the
// window closes it) wherever the run is: the run ends there, and its end leaves the
// controls of a closed port, Run and the macro box included.
TEST_F(MacroRunnerTest, ARunEndedByTheClosingPortLeavesTheControlsOfAClosedPort) {
    const struct {
        const char* what;
        std::function<void(MacroRunnerTest&)> reach;
    } cases[] = {
        {"during a send step", [](MacroRunnerTest& t) { t.clock.advance(50); }},
        {"paused after a send step",
         [](MacroRunnerTest& t) {
             t.clock.advance(50);
             t.runner.pause();
         }},
        {"in a wait", [](MacroRunnerTest& t) { t.clock.advance(450); }},
        {"paused in a wait",
         [](MacroRunnerTest& t) {
             t.clock.advance(450);
             t.runner.pause();
         }},
        {"during a branch send",
         [](MacroRunnerTest& t) {
             t.clock.advance(450);
             t.received("42,");
             t.clock.advance(100);
         }},
    };
    MacroRecords& m = view.macros[0];
    m.steps[0] = sendStep("Slow", "41,", 100, 3);
    m.steps[1] = waitStep("Reply", 0, 1000);
    m.subRoutines[0] = answering("s", "42,", "44,");
    m.subRoutines[0].ifThen.delayMs = 2000;
    m.steps[2] = sendStep("After", "43,");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        view.log.clear();
        view.open = env.open = true;
        runner.portOpened();
        load(1);
        autoResponder.switchTo(true);
        runner.run();
        c.reach(*this);
        view.open = env.open = false;
        runner.portClosed();
        sender.stopAll();
        clock.advance(5000);
        EXPECT_EQ(view.log.last(), ". . . . . . . . . . Macro 1 stopped.");
        EXPECT_EQ(view.log.filter("Step 3").size(), 0);
        EXPECT_EQ(view.controls, (MacroRunControls{false, false, false, false}));
        EXPECT_TRUE(runner.idle());
        EXPECT_FALSE(sender.busy());
        EXPECT_TRUE(autoResponder.isOn()) << "a stop gives back what the run took";
        env.taken();
    }
    // The port closed with no run and the window's start: Run does nothing while the port
    // is closed, and once it is open starts the macro at its first step.
    runner.portClosed();
    runner.portOpened();
    view.log.clear();
    runner.run();
    EXPECT_TRUE(view.log.isEmpty());
    view.open = env.open = true;
    runner.run();
    EXPECT_EQ(view.log.mid(0, 2),
              QStringList({"Macro 1 is now running . . . . . . . . . .", "Step 1 (Slow):"}));
    runner.stop();
}

// One wait, one answer: the first block or event that decides a wait decides it. While
// the branch taken sends (here after a delay), the blocks that follow are not evaluated,
// even when offered straight to the runner.
TEST_F(MacroRunnerTest, TheFirstBlockDecidesTheWaitAndLaterOnesAreNotEvaluated) {
    const struct {
        const char* what;
        QString first, second; // an empty second: a line event
        QByteArray answer;
        const char* line;
    } cases[] = {
        {"the IF, then another block", "31,", "39,", "IF", "<IF> condition met ..."},
        {"the ELSE, then the IF's block", "39,", "31,", "L", "No condition met ..."},
        {"the ELSE IF, then a line event", "33,34,", "", "E", "<ELSE IF> condition met ..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        view.log.clear();
        view.macros[0].steps[0] = waitStep("w", 0, 10000);
        MacroSubRoutine s = answering("s", "31,", "34,");
        s.ifThen.command = "49,46,";
        for (SendAction* branch : {&s.ifThen, &s.elseIfThen, &s.elseThen})
            branch->delayMs = 2000;
        view.macros[0].subRoutines[0] = s;
        load(1);
        runner.run();
        runner.offer(ReceivedEvent::block(c.first, false, env));
        EXPECT_FALSE(runner.waitsForEvent()) << "decided";
        clock.advance(600);
        runner.offer(c.second.isEmpty() ? ReceivedEvent::lineEvent(LineEvent::CtsOn, false, env)
                                        : ReceivedEvent::block(c.second, false, env));
        EXPECT_TRUE(env.taken().isEmpty()) << "nothing before the branch's delay";
        clock.advance(2000);
        EXPECT_EQ(env.taken(), c.answer);
        EXPECT_EQ(view.log.filter("condition met ...").size(), 1) << "one branch in all";
        EXPECT_TRUE(view.log.contains(c.line));
        EXPECT_TRUE(runner.idle()) << "the step ended after its one answer";
    }
}

// A stored signal outside the list (0-8) is no signal: the step or branch sends its
// command without one. One inside the list shows the table tells them apart.
TEST_F(MacroRunnerTest, ASignalOutsideItsListIsNoSignalAndTheCommandGoesOut) {
    enum Where { Step, If, ElseIf, Else };
    const struct {
        Where where;
        qint32 signal;
        QByteArray sent;
        bool rts;
    } cases[] = {
        {Step, 9, "S", false}, {Step, 42, "S", false},   {Step, -1, "S", false},
        {If, 42, "I", false},  {ElseIf, 99, "E", false}, {Else, 12, "L", false},
        {Step, 0, "S", true},  {Else, 0, "L", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.where << " signal " << c.signal);
        env.rtsOn = false;
        env.beeps = 0;
        MacroRecords& m = view.macros[0];
        m = MacroRecords();
        MacroSubRoutine s = answering("s", "42,", "44,");
        SendAction* send = nullptr;
        QString block;
        switch (c.where) {
        case Step:
            m.steps[0] = sendStep("Send", "53,");
            send = &m.steps[0].send;
            break;
        case If:
            send = &s.ifThen;
            block = "42,";
            break;
        case ElseIf:
            send = &s.elseIfThen;
            block = "44,";
            break;
        case Else:
            send = &s.elseThen;
            block = "43,";
            break;
        }
        send->sendSignal = true;
        send->signal = OutputSignal(c.signal);
        m.subRoutines[0] = s;
        if (c.where != Step)
            m.steps[0] = waitStep("w", 0, 1000);
        load(1);
        runner.run();
        if (!block.isEmpty())
            received(block);
        EXPECT_EQ(sent(), c.sent);
        EXPECT_EQ(env.rtsOn, c.rts);
        EXPECT_EQ(env.beeps, 0);
        EXPECT_TRUE(runner.idle());
    }
}

TEST_F(MacroRunnerTest, AStopDuringTheLastStepOfAContinuousRunStartsTheNextMacroFirst) {
    view.macros[1].steps[7] = waitStep("last", 0, 1000);
    load(2);
    runner.setContinuousPlay(true);
    runner.run();
    runner.stop();
    EXPECT_EQ(view.log.mid(view.log.size() - 2),
              QStringList({"Macro 3 is now running . . . . . . . . . .",
                           ". . . . . . . . . . Macro 3 stopped."}));
}

TEST_F(MacroRunnerTest, TheTimerDuringABranchSendFindsTheElseClearedAndTheStepEndsAfterIt) {
    view.macros[0].steps[0] = waitStep("w", 0, 100);
    MacroSubRoutine s = answering("s", "42,", "44,", true);
    s.ifThen.intervalMs = 300;
    view.macros[0].subRoutines[0] = s;
    load(1);
    runner.run();
    received("42,");
    clock.advance(100);
    EXPECT_EQ(env.taken(), "I");
    EXPECT_FALSE(runner.idle()) << "the step waits for its branch's send";
    EXPECT_FALSE(runner.waitsForEvent()) << "but hears no more blocks";
    clock.advance(200);
    EXPECT_TRUE(env.taken().isEmpty()) << "no ELSE";
    EXPECT_TRUE(runner.idle());
    // The flag comes back when the step arms its sub-routine again.
    runner.run();
    clock.advance(100);
    EXPECT_EQ(env.taken(), "L");
}

TEST_F(MacroRunnerTest, WithoutDescriptionNothingIsWrittenAndAWaitOfZeroMovesOn) {
    view.description = false;
    view.macros[0].steps[0] = waitStep("w", 0, 0);
    view.macros[0].subRoutines[0] = answering("s", "42,", "44,", true);
    view.macros[0].steps[1] = sendStep("next", "41,");
    load(1);
    runner.run();
    EXPECT_EQ(sent(), "A") << "no ELSE: the next step plays";
    EXPECT_TRUE(runner.idle());
    EXPECT_TRUE(view.log.isEmpty());
}

// A step whose stored list holds an item beyond one byte sends nothing, says so once, and
// the run goes on with the next step.
TEST_F(MacroRunnerTest, AStepWhoseListHoldsNoByteSendsNothingAndTheRunGoesOn) {
    env.format = ncDec;
    view.macros[0].steps[0] = sendStep("Bad", "41,1FF,");
    view.macros[0].steps[1] = sendStep("Good", "42,");
    // A branch likewise ends its wait at once.
    view.macros[0].steps[2] = waitStep("w", 0, 1000);
    view.macros[0].subRoutines[0] = answering("s", "43,", "44,");
    view.macros[0].subRoutines[0].ifThen.command = "1FF,";
    view.macros[0].steps[3] = sendStep("After", "45,");
    load(1);
    runner.run();
    EXPECT_EQ(sent(), "B") << "only the next step";
    received("43,");
    EXPECT_EQ(sent(), "E");
    EXPECT_EQ(boxes.texts(), QStringList(2, "Invalid data: operand must be within 1 byte!"));
    EXPECT_TRUE(runner.idle());
}

// Values no editor writes end the run with the message, as a stop would.
TEST_F(MacroRunnerTest, ASubRoutineOrWaitOutOfRangeOrAMacroThatWillNotLoadEndsTheRun) {
    runner.run();
    EXPECT_TRUE(view.log.isEmpty()) << "no macro held, none runs";
    const struct {
        const char* what;
        MacroStep step;
        int expectedError; // 0: the load's own failure, no box here
    } cases[] = {
        {"sub-routine 9", waitStep("w", 8, 100), 9},
        {"sub-routine -1", waitStep("w", -1, 100), 9},
        {"a wait of 65536 ms", waitStep("w", 0, 65536), 380},
    };
    for (const auto& c : cases) {
        boxes.clear();
        view.macros[0].steps[0] = c.step;
        load(1);
        runner.run();
        ASSERT_EQ(boxes.boxes().size(), 1) << c.what;
        EXPECT_EQ(boxes.boxes()[0].title, "MacrosSteps Error:") << c.what;
        EXPECT_TRUE(boxes.boxes()[0].text.startsWith(
            QStringLiteral("Error Number: %1\n").arg(c.expectedError)))
            << c.what;
        EXPECT_TRUE(runner.idle()) << c.what;
        EXPECT_EQ(view.controls, (MacroRunControls{true, false, false, true})) << c.what;
    }
    view.macros[0].steps[0] = MacroStep();
    view.failingMacro = 2;
    load(1);
    runner.setContinuousPlay(true);
    runner.run();
    // The choice is back on the macro that played, and the log names it.
    EXPECT_EQ(view.log.last(), ". . . . . . . . . . Macro 1 stopped.");
    EXPECT_EQ(view.log.filter("Macro 2 is now running").size(), 0);
}

} // namespace
