#include "autoresp/auto_responder.h"
#include "autoresp/match_condition.h"
#include "notation/notation.h"
#include "support/fakes.h"
#include "support/recording_sender.h"

#include <gtest/gtest.h>
#include <optional>
#include <vector>

using namespace kst;
using namespace kst::test;

namespace {

class RecordingSwitch : public AutoResponseView {
public:
    void autoResponseSwitched(bool on) override { shown << on; }
    void note(const QString& line) override { notes << line; }
    QList<bool> shown;
    QStringList notes;
};

AutoResponseRule rule(ConditionKind kind, const QString& data, const QString& response) {
    AutoResponseRule r;
    r.condition.kind = kind;
    r.condition.data = data;
    r.response.command = response;
    return r;
}

AutoResponseRule eventRule(LineEvent event, const QString& response) {
    AutoResponseRule r = rule(ConditionKind::Signaling, QString(), response);
    r.condition.event = event;
    return r;
}

class AutoResponderTest : public ::testing::Test {
protected:
    // Offers a block (or a line event) with the rules set, and tells what went out.
    QByteArray answer(const AutoResponseRules& rules, const ReceivedEvent& received) {
        responder.setRules(rules);
        responder.offer(received);
        clock.advance(0);
        return env.taken();
    }
    ReceivedEvent block(const QString& text, bool ring = false) {
        return ReceivedEvent::block(text, ring, env);
    }
    ReceivedEvent event(LineEvent e, bool ring = false) {
        return ReceivedEvent::lineEvent(e, ring, env);
    }

    RecordingMessageBoxes boxes;
    ManualScheduler clock;
    RecordingSendEnvironment env;
    SendEngine sender{env, clock};
    RecordingSwitch view;
    AutoResponder responder{sender, view};
};

// Each case: one rule 1, a block or event, and whether the rule answers. The response
// "52," goes out as the byte 0x52.
TEST_F(AutoResponderTest, EachKindAnswersExactlyWhatItsConditionSays) {
    const QByteArray answered("\x52");
    const struct {
        const char* what;
        AutoResponseRule rule;
        bool lineEvent;
        QString text;
        LineEvent event;
        bool answers;
    } cases[] = {
        {"equal", rule(ConditionKind::DataEqual, "4F,4B,", "52,"), false, "4F,4B,", {}, true},
        {"equal is exact",
         rule(ConditionKind::DataEqual, "4f,4b,", "52,"),
         false,
         "4F,4B,",
         {},
         false},
        {"equal, ASCII case", rule(ConditionKind::DataEqual, "ok", "52,"), false, "OK", {}, false},
        {"not equal", rule(ConditionKind::DataNotEqual, "4F,", "52,"), false, "41,", {}, true},
        {"not equal, same",
         rule(ConditionKind::DataNotEqual, "4F,", "52,"),
         false,
         "4F,",
         {},
         false},
        {"contains", rule(ConditionKind::Contains, "4B,", "52,"), false, "4F,4B,D,", {}, true},
        {"contains not", rule(ConditionKind::Contains, "4C,", "52,"), false, "4F,4B,", {}, false},
        // A hexadecimal list counts its separators: OK is six characters.
        {"length =", rule(ConditionKind::LenEqual, "6", "52,"), false, "4F,4B,", {}, true},
        {"length = in ASCII", rule(ConditionKind::LenEqual, "6", "52,"), false, "OK", {}, false},
        {"length >", rule(ConditionKind::LenGreater, "4", "52,"), false, "41,42,", {}, true},
        {"length > equal", rule(ConditionKind::LenGreater, "6", "52,"), false, "41,42,", {}, false},
        {"length <", rule(ConditionKind::LenLess, "3", "52,"), false, "OK", {}, true},
        {"length < equal", rule(ConditionKind::LenLess, "2", "52,"), false, "OK", {}, false},
        {"no condition text never answers",
         rule(ConditionKind::DataNotEqual, "", "52,"),
         false,
         "41,",
         {},
         false},
        {"empty length never answers",
         rule(ConditionKind::LenGreater, "", "52,"),
         false,
         "41,",
         {},
         false},
        {"a data rule hears no event", rule(ConditionKind::DataNotEqual, "41,", "52,"), true, "",
         LineEvent::CtsOn, false},
        {"an event rule hears no block",
         eventRule(LineEvent::CtsOn, "52,"),
         false,
         "41,",
         {},
         false},
        {"its own event", eventRule(LineEvent::CtsOn, "52,"), true, "", LineEvent::CtsOn, true},
        {"another event", eventRule(LineEvent::CtsOn, "52,"), true, "", LineEvent::DsrOn, false},
        {"a kind out of the list", rule(ConditionKind(7), "41,", "52,"), false, "41,", {}, false},
        {"an event out of the list", eventRule(LineEvent::None, "52,"), true, "", LineEvent::CtsOn,
         false},
    };
    for (const auto& c : cases) {
        AutoResponseRules rules;
        rules[0] = c.rule;
        env.lines = {true, false, false};
        const ReceivedEvent received = c.lineEvent ? event(c.event) : block(c.text);
        EXPECT_EQ(answer(rules, received), c.answers ? answered : QByteArray()) << c.what;
    }
}

TEST_F(AutoResponderTest, TheFirstRuleInOrderAnswersAndOnlyOnce) {
    AutoResponseRules rules;
    rules[3] = rule(ConditionKind::Contains, "41,", "33,");
    rules[5] = rule(ConditionKind::DataEqual, "41,", "35,");
    rules[1] = rule(ConditionKind::DataEqual, "42,", "31,");
    rules[15] = rule(ConditionKind::DataEqual, "43,", "36,");
    EXPECT_EQ(answer(rules, block("41,")), QByteArray("3"));
    EXPECT_EQ(answer(rules, block("42,")), QByteArray("1"));
    EXPECT_EQ(answer(rules, block("43,")), QByteArray("6")) << "the last rule answers too";
}

// Line events are tested against the line as it is now; the ring while it is pending.
// The data rules' line states 10-12 mean a pending ring, with DCD where they say so.
TEST_F(AutoResponderTest, LinesAreReadAtTheTestAndTheRingCountsWhilePending) {
    // Each line event answers while its own line still shows it, under every level of the
    // three lines: one that changed back fails, and the other lines do not count.
    const struct {
        LineEvent event;
        bool LineLevels::*line;
        bool level;
    } events[] = {
        {LineEvent::CtsOn, &LineLevels::cts, true}, {LineEvent::CtsOff, &LineLevels::cts, false},
        {LineEvent::DsrOn, &LineLevels::dsr, true}, {LineEvent::DsrOff, &LineLevels::dsr, false},
        {LineEvent::DcdOn, &LineLevels::cd, true},  {LineEvent::DcdOff, &LineLevels::cd, false},
    };
    for (const auto& e : events) {
        for (int bits = 0; bits < 8; ++bits) {
            AutoResponseRules rules;
            rules[0] = eventRule(e.event, "52,");
            env.lines = {(bits & 1) != 0, (bits & 2) != 0, (bits & 4) != 0};
            EXPECT_EQ(!answer(rules, event(e.event)).isEmpty(), env.lines.*e.line == e.level)
                << "event " << static_cast<int>(e.event) << " lines " << bits;
        }
    }
    // The ring counts while it is pending.
    for (const bool ring : {false, true}) {
        AutoResponseRules rules;
        rules[0] = eventRule(LineEvent::Ring, "52,");
        EXPECT_EQ(!answer(rules, event(LineEvent::Ring, ring)).isEmpty(), ring);
    }

    const struct {
        LineState state;
        LineLevels lines;
        bool ring;
        bool answers;
    } states[] = {
        {LineState::CtsOn, {true, false, false}, false, true},
        {LineState::CtsOn, {false, true, true}, false, false},
        {LineState::RingDetected, {}, false, false},
        {LineState::RingDetected, {}, true, true},
        {LineState::DcdOnRingDetected, {false, false, true}, true, true},
        {LineState::DcdOnRingDetected, {}, true, false},
        {LineState::DcdOffRingDetected, {}, true, true},
        {LineState::DcdOffRingDetected, {false, false, true}, true, false},
    };
    for (const auto& s : states) {
        AutoResponseRules rules;
        rules[0] = rule(ConditionKind::Contains, "41,", "52,");
        rules[0].condition.requireLineState = true;
        rules[0].condition.lineState = s.state;
        env.lines = s.lines;
        EXPECT_EQ(answer(rules, block("41,", s.ring)).isEmpty(), !s.answers)
            << "state " << static_cast<int>(s.state) << (s.ring ? " ring" : "");
    }
}

TEST_F(AutoResponderTest, TheResponseGoesOutInTheSendNotation) {
    const struct {
        int notation;
        QString command, controlCodes;
        QByteArray bytes;
    } cases[] = {
        {ncHex, "1A,1B,", "", QByteArray("\x1A\x1B")},
        {ncDec, "1A,1B,", "", QByteArray("\x1A\x1B")},
        {ncOct, "1A,1B,", "", QByteArray("\x1A\x1B")},
        {ncBin, "1A,1B,", "", QByteArray("\x1A\x1B")},
        {ncAscii, "ATI1", "D,A,", QByteArray("ATI1\r\n")},
        // Text kept in ASCII holds no list: in Hex nothing goes out.
        {ncHex, "ATI1", "D,A,", QByteArray()},
    };
    for (const auto& c : cases) {
        env.format = c.notation;
        AutoResponseRules rules;
        rules[0] = rule(ConditionKind::DataEqual, "OK", c.command);
        rules[0].response.controlCodes = c.controlCodes;
        EXPECT_EQ(answer(rules, block("OK")), c.bytes) << c.notation << c.command.toStdString();
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// A response that is no list, or a condition out of its lists, sends nothing and is told
// once; a signal out of its list is no signal, and the response goes out without one.
TEST_F(AutoResponderTest, AResponseThatIsNoListOrAConditionOutOfItsListSendsNothingAndIsToldOnce) {
    AutoResponseRules rules;
    rules[0] = rule(ConditionKind(7), "41,", "52,");
    rules[15] = rule(ConditionKind::DataEqual, "41,", "1FF,");
    rules[1] = rule(ConditionKind::DataEqual, "42,", "52,");
    rules[1].response.sendSignal = true;
    rules[1].response.signal = OutputSignal(12);
    rules[2] = rule(ConditionKind::DataEqual, "43,", "52,");
    rules[2].condition.requireLineState = true;
    rules[2].condition.lineState = LineState(13);
    rules[3] = eventRule(lineEventAt(7), "52,"); // past the seven line events
    rules[4] = rule(ConditionKind::DataEqual, "41,", "52,");
    rules[4].condition.requireLineState = true;
    rules[4].condition.lineState = LineState(-1); // none chosen in the editor
    rules[5] = eventRule(LineEvent::None, "52,");
    rules[5].condition.noEventChosen = true;
    // Without the line-state box ticked, the line state is not looked at.
    for (const int k : {6, 7}) {
        rules[k] = rule(ConditionKind::DataEqual, "44,", "53,");
        rules[k].condition.lineState = LineState(k == 6 ? -1 : 13);
    }
    responder.setRules(rules);
    EXPECT_EQ(view.notes.size(), 5) << "rules 1, 3, 4, 5 and 6, once at the load";
    for (int k = 0; k < 3; ++k) {
        for (const char* text : {"41,", "42,", "43,"})
            responder.offer(block(text));
    }
    responder.offer(block("44,"));
    clock.advance(0);
    EXPECT_EQ(env.taken(), "RRRS") << "rule 2, with no signal, and rule 7";
    EXPECT_FALSE(env.rtsOn || env.dtrOn);
    EXPECT_EQ(env.beeps, 0);
    EXPECT_EQ(view.notes.size(), 6) << view.notes.join('\n').toStdString();
    EXPECT_TRUE(view.notes[0].startsWith("Auto-Response 1 holds"));
    EXPECT_TRUE(view.notes[1].startsWith("Auto-Response 3 holds"));
    EXPECT_TRUE(view.notes[2].startsWith("Auto-Response 4 holds"));
    for (int k = 0; k < 3; ++k) // a kind, a line state and a line event: only Reset mends them
        EXPECT_TRUE(view.notes[k].endsWith("its Reset sets all 16 rules back to empty."));
    EXPECT_TRUE(view.notes[3].startsWith("Auto-Response 5 has no line state chosen"));
    EXPECT_TRUE(view.notes[4].startsWith("Auto-Response 6 has no line event chosen"));
    EXPECT_TRUE(view.notes[5].startsWith("Auto-Response 16 was not sent"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(AutoResponderTest, TheSwitchShowsEveryChangeAndAChainOrRunGivesBackOnlyWhatItTook) {
    AutoResponder::Suspension chain(responder);
    responder.switchTo(true);
    chain.take();
    EXPECT_FALSE(responder.isOn());
    chain.giveBack();
    EXPECT_TRUE(responder.isOn());
    responder.switchTo(false);
    chain.take();
    chain.giveBack();
    EXPECT_FALSE(responder.isOn()) << "switched off by the user, it stays off";
    responder.toggle();
    EXPECT_EQ(view.shown, QList<bool>({true, false, true, false, true}));
}

// A run and button chains overlap (a button pressed during a run, a run started while a
// chain waits): the rules stay off until the last of them ends by itself, none shows a
// switch it did not make, and the user's own switch wins over all. Each case: the switch
// before, then steps with the switch expected after each.
TEST_F(AutoResponderTest, OverlappingChainsAndRunsGiveTheRulesBackOnlyWhenTheLastEnds) {
    enum Act { TakeRun, TakeChain, GiveBackRun, GiveBackChain, DropChain, EndChain, Toggle };
    const struct {
        const char* what;
        bool onBefore;
        std::vector<std::pair<Act, bool>> steps;
    } cases[] = {
        {"a button pressed during a run",
         true,
         {{TakeRun, false}, {TakeChain, false}, {GiveBackChain, false}, {GiveBackRun, true}}},
        {"a run started during a chain",
         true,
         {{TakeChain, false}, {TakeRun, false}, {GiveBackChain, false}, {GiveBackRun, true}}},
        {"the run ends before the chain",
         true,
         {{TakeRun, false}, {TakeChain, false}, {GiveBackRun, false}, {GiveBackChain, true}}},
        {"a chain taken at every link counts once",
         true,
         {{TakeRun, false},
          {TakeChain, false},
          {TakeChain, false},
          {GiveBackChain, false},
          {GiveBackRun, true}}},
        {"a chain cut short leaves them off for the next run",
         true,
         {{TakeChain, false}, {DropChain, false}, {TakeRun, false}, {GiveBackRun, true}}},
        {"a chain gone while it held counts as cut short",
         true,
         {{TakeChain, false}, {EndChain, false}, {TakeRun, false}, {GiveBackRun, true}}},
        {"off by the user before the run",
         false,
         {{TakeRun, false}, {TakeChain, false}, {GiveBackChain, false}, {GiveBackRun, false}}},
        {"switched on by the user during a run, then off",
         true,
         {{TakeRun, false}, {Toggle, true}, {Toggle, false}, {GiveBackRun, false}}},
        {"switched on by the user during a run",
         true,
         {{TakeRun, false},
          {Toggle, true},
          {TakeChain, false},
          {GiveBackChain, false},
          {GiveBackRun, true}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        AutoResponder::Suspension run(responder);
        std::optional<AutoResponder::Suspension> chain(std::in_place, responder);
        responder.switchTo(c.onBefore);
        view.shown.clear();
        int step = 0;
        for (const auto& [act, onAfter] : c.steps) {
            const bool before = responder.isOn();
            const qsizetype shown = view.shown.size();
            switch (act) {
            case TakeRun:
                run.take();
                break;
            case TakeChain:
                chain->take();
                break;
            case GiveBackRun:
                run.giveBack();
                break;
            case GiveBackChain:
                chain->giveBack();
                break;
            case DropChain:
                chain->drop();
                break;
            case EndChain:
                chain.reset();
                break;
            case Toggle:
                responder.toggle();
                break;
            }
            EXPECT_EQ(responder.isOn(), onAfter) << "step " << step;
            // Only a change shows ("Auto-Response is now ON"), and the user's toggle.
            EXPECT_EQ(view.shown.size() - shown, act == Toggle || before != onAfter ? 1 : 0)
                << "step " << step;
            ++step;
        }
    }
}

} // namespace
