#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "profile_fixture.h"
#include "storage/preferences_store.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "support/fakes.h"
#include "support/profile_rows.h"
#include "support/raw_sqlite.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;
using db::Recordset;
using db::Value;

namespace {

class ProfileReaders : public test::ProfileFixture {
protected:
    int loadMacro(int macroNo) {
        try {
            const MacroRecords macro = LoadMacro(conn, macroNo);
            steps = macro.steps;
            subs = macro.subRoutines;
        } catch (const RunTimeError& e) {
            return e.number();
        }
        return 0;
    }

    MacroSteps steps;
    MacroSubRoutines subs;
};

} // namespace

TEST_F(ProfileReaders, AMacroReadsItsOwnEightRowsOfBothTables) {
    ASSERT_EQ(loadMacro(1), 0);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(steps[k].id, k + 1);
        EXPECT_EQ(subs[k].id, k + 1);
    }
    ASSERT_EQ(loadMacro(8), 0);
    EXPECT_EQ(steps[0].id, 57);
    EXPECT_EQ(subs[7].id, 64);
}

TEST_F(ProfileReaders, ConditionsCarryTheirControlCodesAndFixedTextsLoseTheirPadding) {
    set("progMacrosSubRoutines", 18,
        {{3, Value("OK")},
         {32, Value("D,A,")},
         {11, Value("AT")},
         {34, Value("D,")},
         {18, Value("41,42,")},
         {13, Value("")},
         {26, Value(true)}});
    ASSERT_EQ(loadMacro(3), 0);
    const MacroSubRoutine& s = subs[1];
    EXPECT_EQ(s.ifCondition.data, QString("OK\r\n"));
    EXPECT_EQ(s.elseIfCondition.data, QString("AT\r"));
    EXPECT_EQ(s.elseThen.command, "41,42,");
    EXPECT_EQ(s.elseIfThen.command, "");
    EXPECT_TRUE(s.elseOnTimeout);
}

// The load fails, and the message says where the value stands.
TEST_F(ProfileReaders, AValueOutsideItsFieldFailsTheLoad) {
    const struct {
        const char* table;
        int id;
        const char* column;
        const char* value; // as another tool would write it
        QString named;
    } cases[] = {
        {"progMacrosSeq", 3, "RepeatNo", "32768",
         "Overflow: row 3 of the table 'progMacrosSeq' holds 32768 in its column 'RepeatNo', "
         "which holds -32,768 to 32,767."},
        {"progMacrosSubRoutines", 5, "ElseThenRepeat", "-32769",
         "holds -32769 in its column 'ElseThenRepeat'"},
        {"progMacrosSeq", 8, "TimerAfter", "3000000000",
         "row 8 of the table 'progMacrosSeq' holds 3000000000 in its column 'TimerAfter', which "
         "holds -2,147,483,648 to 2,147,483,647."},
        {"progAutoResp", 4, "respRepeat", "70000",
         "row 4 of the table 'progAutoResp' holds 70000 in its column 'respRepeat'"},
    };
    auto store = [this](const auto& c, const char* value) {
        ASSERT_EQ(test::sqliteExec(profile, QString("UPDATE %1 SET %2 = %3 WHERE ID = %4")
                                                .arg(c.table, c.column, value)
                                                .arg(c.id)),
                  0);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.column);
        store(c, c.value);
        try {
            if (QString(c.table) == "progAutoResp") {
                AutoResponseRules rules;
                ReadAutoResponseRules(conn, rules);
            } else {
                LoadMacro(conn, 1);
            }
            ADD_FAILURE() << "read";
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), err::Overflow);
            EXPECT_TRUE(e.description().contains(c.named)) << e.description().toStdString();
        }
        store(c, "0");
    }
    EXPECT_EQ(loadMacro(1), 0);
}

TEST_F(ProfileReaders, AMacroWithoutRowsFails) {
    EXPECT_NE(loadMacro(0), 0);
    EXPECT_NE(loadMacro(9), 0);
}

TEST_F(ProfileReaders, ButtonsAndRulesReadEveryField) {
    set("progButtons", 5,
        {{1, Value("Ping")},
         {2, Value("50,49,")},
         {3, Value()},
         {4, Value(qint64(3))},
         {5, Value(qint64(250))},
         {6, Value(qint64(6))},
         {7, Value(qint64(9))},
         {9, Value("D,")}});
    Recordset rs;
    rs.open("SELECT * FROM progButtons WHERE ID = 5", conn);
    ProgButton b;
    b.action.delayMs = 77;
    ReadProgButton(rs, b);
    EXPECT_EQ(b.keyCaption, "Ping");
    EXPECT_EQ(b.action.command, "50,49,");
    EXPECT_EQ(b.action.delayMs, 0); // an empty delay loads as none
    EXPECT_EQ(b.action.repeat, 3);
    EXPECT_EQ(b.action.intervalMs, 250);
    EXPECT_EQ(b.chain, 6);
    EXPECT_TRUE(b.action.sendSignal); // the stored signal is shifted by one
    EXPECT_EQ(b.action.signal, OutputSignal::PlaySound);
    EXPECT_EQ(b.action.controlCodes, "D,");
    rs.close();
    // A chain link outside the 32 buttons reads as no chain.
    for (const auto& [stored, read] :
         {std::pair{0, 0}, {1, 1}, {31, 31}, {32, 32}, {33, 0}, {-1, 0}}) {
        set("progButtons", 5, {{6, Value(qint64(stored))}});
        rs.open("SELECT * FROM progButtons WHERE ID = 5", conn);
        ReadProgButton(rs, b);
        rs.close();
        EXPECT_EQ(b.chain, read) << stored;
    }
    // A stored signal outside the list is none, as for every other sender; a repeat is
    // read as stored, for the send to play or refuse by name.
    const struct {
        qint64 signal;
        bool sendSignal;
        OutputSignal read;
    } storedSignals[] = {{0, false, OutputSignal::RtsOn},    {1, true, OutputSignal::RtsOn},
                         {9, true, OutputSignal::PlaySound}, {10, true, OutputSignal(9)},
                         {42, true, OutputSignal(41)},       {-3, false, OutputSignal::RtsOn}};
    for (const auto& c : storedSignals) {
        set("progButtons", 5, {{7, Value(c.signal)}});
        rs.open("SELECT * FROM progButtons WHERE ID = 5", conn);
        ReadProgButton(rs, b);
        rs.close();
        EXPECT_EQ(b.action.sendSignal, c.sendSignal) << c.signal;
        EXPECT_EQ(b.action.signal, c.read) << c.signal;
        EXPECT_EQ(SignalNameOf(b.action) == "None", c.signal < 1 || c.signal > 9) << c.signal;
    }
    // A delay or interval no editor writes is brought into its range.
    for (const auto& [stored, read] : {std::pair{-1, 0}, {0, 0}, {65535, 65535}, {65536, 65535}}) {
        set("progButtons", 5, {{3, Value(qint64(stored))}, {5, Value(qint64(stored))}});
        rs.open("SELECT * FROM progButtons WHERE ID = 5", conn);
        ReadProgButton(rs, b);
        rs.close();
        EXPECT_EQ(b.action.delayMs, read) << stored;
        EXPECT_EQ(b.action.intervalMs, read) << stored;
    }
    for (const qint64 repeat : {0, 99, 32767, 40000, -2}) {
        set("progButtons", 5, {{4, Value(repeat)}});
        rs.open("SELECT * FROM progButtons WHERE ID = 5", conn);
        ReadProgButton(rs, b);
        rs.close();
        EXPECT_EQ(b.action.repeat, repeat);
    }

    set("progAutoResp", 16,
        {{1, Value("OK")},
         {12, Value("D,A,")},
         {2, Value("READY")},
         {13, Value("D,")},
         {6, Value(qint64(2))},
         {7, Value(true)},
         {8, Value(qint64(4))},
         {9, Value(true)},
         {10, Value(qint64(8))}});
    rs.open("SELECT * FROM progAutoResp WHERE ID = 16", conn);
    AutoResponseRule r;
    ReadAutoResponseRule(rs, r);
    EXPECT_EQ(r.condition.data, QString("OK\r\n"));
    EXPECT_TRUE(r.condition.usable);
    EXPECT_EQ(r.response.command, "READY");
    EXPECT_EQ(r.response.controlCodes, "D,");
    EXPECT_EQ(r.condition.kind, ConditionKind::Contains);
    EXPECT_TRUE(r.condition.requireLineState);
    EXPECT_EQ(r.condition.lineState, LineState::CtsOnDsrOn);
    EXPECT_TRUE(r.response.sendSignal);
    EXPECT_EQ(r.response.signal, OutputSignal::PlaySound);
}

TEST_F(ProfileReaders, EveryMacroFieldComesFromItsOwnColumn) {
    // Numbers tell their column: column k holds k * 100.
    auto n = [](int ordinal) { return Value(qint64(ordinal * 100)); };
    set("progMacrosSeq", 9,
        {{1, Value("Step")},
         {2, n(2)},
         {3, Value("41,")},
         {4, n(4)},
         {5, n(5)},
         {7, n(7)},
         {8, n(8)},
         {9, n(9)},
         {10, n(10)},
         {11, Value(true)},
         {13, Value("D,")}});
    set("progMacrosSubRoutines", 9,
        {{1, Value("Sub")},
         {2, Value(qint64(2))}, // data kinds, whose control codes fold into their text
         {3, Value("IF")},
         {4, n(4)},
         {5, Value("THEN")},
         {6, n(6)},
         {7, n(7)},
         {8, n(8)},
         {9, n(9)},
         {10, Value(qint64(1))},
         {11, Value("EI")},
         {12, n(12)},
         {13, Value("EITHEN")},
         {14, n(14)},
         {15, n(15)},
         {16, n(16)},
         {17, n(17)},
         {18, Value("ELSE")},
         {19, n(19)},
         {20, n(20)},
         {21, n(21)},
         {22, n(22)},
         {26, Value(true)},
         {27, Value(false)},
         {28, Value(true)},
         {29, Value(false)},
         {30, Value(true)},
         {31, Value(false)},
         {32, Value("41,")},
         {33, Value("B,")},
         {34, Value("42,")},
         {41, Value("C,")},
         {42, Value("E,")}});
    ASSERT_EQ(loadMacro(2), 0);
    const MacroStep& st = steps[0];
    EXPECT_EQ(st.name, "Step");
    EXPECT_EQ(st.action, 200);
    EXPECT_EQ(st.subRoutineNo, 500);
    EXPECT_EQ(st.waitMs, 700);
    SendAction stepSend{"41,", "D,", 800, 400, 900, OutputSignal(1000), true};
    EXPECT_EQ(st.send, stepSend);

    const MacroSubRoutine& s = subs[0];
    EXPECT_EQ(s.name, "Sub");
    // A line state stored for a data kind is a line state; out of the list it stays what
    // it is and never holds.
    MatchCondition ifCondition{ConditionKind::Contains, "IFA", false, LineState(400),
                               LineEvent::CtsOn,        true};
    EXPECT_EQ(s.ifCondition, ifCondition);
    SendAction ifThen{"THEN", "B,", 700, 600, 800, OutputSignal(900), true};
    EXPECT_EQ(s.ifThen, ifThen);
    MatchCondition elseIfCondition{
        ConditionKind::DataNotEqual, "EIB", false, LineState(1200), LineEvent::CtsOn, true};
    EXPECT_EQ(s.elseIfCondition, elseIfCondition);
    SendAction elseIfThen{"EITHEN", "C,", 1500, 1400, 1600, OutputSignal(1700), true};
    EXPECT_EQ(s.elseIfThen, elseIfThen);
    SendAction elseThen{"ELSE", "E,", 2000, 1900, 2100, OutputSignal(2200), false};
    EXPECT_EQ(s.elseThen, elseThen);
    EXPECT_TRUE(s.elseOnTimeout);
}

TEST_F(ProfileReaders, ControlCodesFoldOnlyIntoTheTextOfADataCondition) {
    // Codes left behind by an earlier data kind: a length or an event has none, so
    // "Len >" without a length never holds rather than holding for every block.
    for (int kind = 0; kind <= 7; ++kind) {
        const bool folds = kind <= 2;
        set("progMacrosSubRoutines", 1,
            {{2, Value(qint64(kind))}, {3, Value("")}, {32, Value("D,A,")}, {4, Value(0)}});
        set("progAutoResp", 1,
            {{6, Value(qint64(kind))}, {1, Value("5")}, {12, Value("D,1FF,")}, {8, Value(0)}});
        ASSERT_EQ(loadMacro(1), 0);
        EXPECT_EQ(subs[0].ifCondition.data, folds ? QString("\r\n") : QString()) << kind;
        AutoResponseRule rule;
        ReadRows("SELECT * FROM progAutoResp WHERE ID = 1", conn, 1,
                 [&](const Recordset& row, int) { ReadAutoResponseRule(row, rule); });
        EXPECT_EQ(rule.condition.data, "5") << kind;
        // Damaged codes spoil only a condition they belong to.
        EXPECT_EQ(rule.condition.usable, !folds) << kind;
    }
}

TEST_F(ProfileReaders, ControlCodesThatAreNotBytesAreNamedAndNeverMatchAsZero) {
    set("progAutoResp", 3, {{1, Value("OK")}, {12, Value("D,1FF,")}, {13, Value("G,")}});
    set("progButtons", 7, {{9, Value("0A,,")}});
    DamagedLists damaged;
    AutoResponseRule rule;
    ReadRows("SELECT * FROM progAutoResp WHERE ID = 3", conn, 1,
             [&](const Recordset& row, int) { ReadAutoResponseRule(row, rule, &damaged); });
    ProgButton button;
    ReadRows("SELECT * FROM progButtons WHERE ID = 7", conn, 1,
             [&](const Recordset& row, int) { ReadProgButton(row, button, &damaged); });
    EXPECT_FALSE(rule.condition.usable);
    EXPECT_EQ(rule.condition.data, "OK");
    EXPECT_EQ(damaged.places(), QStringList({"progAutoResp row 3 (strConditionCtrl)",
                                             "progAutoResp row 3 (strRespCtrl)",
                                             "progButtons row 7 (strASCIICtrl)"}));
}

TEST_F(ProfileReaders, EveryPreferenceComesFromItsOwnPosition) {
    Recordset rs;
    rs.open("SELECT * FROM userPreferences", supportConnStr(dir.path()));
    // Flags on at positions that no neighbour shares: a shifted reader gets them wrong.
    const QList<int> on = {1, 4, 6, 9, 12, 20, 24, 27, 31};
    for (int k : {1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 14,
                  20, 21, 22, 23, 24, 25, 26, 27, 28, 29, 30, 31})
        rs.setValue(k, Value(on.contains(k)));
    for (int k = 15; k <= 19; ++k)
        rs.setValue(k, Value(qint64(0x010101 * k)));
    rs.setValue(32, Value(qint64(2)));
    rs.update();
    rs.moveFirst();
    UserPreferences p;
    ReadPreferences(rs, p);
    const bool flags[] = {p.bolHideCalcAscii, p.bolAutoResponse,      p.bolDescription,
                          p.bolRxTimer,       p.bolAutoConnect,       p.bolSaveComSettings,
                          p.bolSaveRxTimer,   p.bolClearLogOnOpen,    p.bolSoundOnReceive,
                          p.bolSoundOnSend,   p.bolSoundOnLineChange, p.bolMonitoringMode};
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(flags[k - 1], on.contains(k)) << "position " << k;
    EXPECT_FALSE(p.bolFormattedView);
    const bool styles[] = {p.bolMsgBold, p.bolMsgItalic, p.bolMsgUnderline,
                           p.bolTxBold,  p.bolTxItalic,  p.bolTxUnderline,
                           p.bolRx1Bold, p.bolRx1Italic, p.bolRx1Underline,
                           p.bolRx2Bold, p.bolRx2Italic, p.bolRx2Underline};
    for (int k = 20; k <= 31; ++k)
        EXPECT_EQ(styles[k - 20], on.contains(k)) << "position " << k;
    EXPECT_EQ(p.backgroundColor, 0x010101u * 15);
    EXPECT_EQ(p.msgColor, 0x010101u * 16);
    EXPECT_EQ(p.txColor, 0x010101u * 17);
    EXPECT_EQ(p.rx1Color, 0x010101u * 18);
    EXPECT_EQ(p.rx2Color, 0x010101u * 19);
    EXPECT_EQ(p.fontSizeIndex, 2);
    EXPECT_EQ(p.rx2Style().TextColor, 0x010101u * 19);
    EXPECT_TRUE(p.rx2Style().IsUnderline);
}
