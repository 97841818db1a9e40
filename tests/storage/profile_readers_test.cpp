#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "support/fakes.h"
#include "support/profile_rows.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst;
using db::Recordset;
using db::Value;

namespace {

// A profile made from the support database the build ships, then altered row by row.
class ProfileReaders : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkpath("Devices"));
        ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, supportDbPath(dir.path())));
        profile = dir.filePath("Devices/Device1.kst");
        test::createProfile(supportConnStr(dir.path()), profile);
        conn = profileConnStr(profile);
    }

    void set(const QString& table, int id, test::FieldValues fields) {
        test::setRow(conn, table, id, fields);
    }

    int loadMacro(int macroNo) {
        try {
            LoadMacro(conn, macroNo, {steps, subs, elseChecks});
        } catch (const RunTimeError& e) {
            return e.number();
        }
        return 0;
    }

    QTemporaryDir dir;
    QString profile;
    QString conn;
    MacroSteps steps;
    MacroSubRoutines subs;
    std::array<bool, 8> elseChecks{};
};

} // namespace

TEST_F(ProfileReaders, AMacroReadsItsOwnEightRowsOfBothTables) {
    ASSERT_EQ(loadMacro(1), 0);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(steps[k].ID, k + 1);
        EXPECT_EQ(subs[k].ID, k + 1);
    }
    ASSERT_EQ(loadMacro(8), 0);
    EXPECT_EQ(steps[0].ID, 57);
    EXPECT_EQ(subs[7].ID, 64);
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
    EXPECT_EQ(s.IfCode, QString("OK\r\n"));
    EXPECT_EQ(s.ElseIfCode, QString("AT\r"));
    EXPECT_EQ(s.ElseThenCmd, "41,42,");
    EXPECT_EQ(s.ElseIfThenCmd, "");
    EXPECT_TRUE(s.ElseCheck);
    EXPECT_TRUE(elseChecks[1]);
}

TEST_F(ProfileReaders, AValueOutsideItsFieldStopsTheLoadKeepingWhatWasRead) {
    set("progMacrosSeq", 3, {{1, Value("third")}, {4, Value(qint64(40000))}});
    steps[3].SeqName = "old";
    EXPECT_EQ(loadMacro(1), err::Overflow);
    EXPECT_EQ(steps[2].SeqName, "third"); // read before the failing field
    EXPECT_EQ(steps[1].ID, 2);
    EXPECT_EQ(steps[3].SeqName, "old"); // never reached
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
    b.keyDelay = 77;
    ReadProgButton(rs, b);
    EXPECT_EQ(b.keyCaption, "Ping");
    EXPECT_EQ(b.keyCodes, "50,49,");
    EXPECT_EQ(b.keyDelay, 0); // an empty delay loads as none
    EXPECT_EQ(b.keyRepeat, 3);
    EXPECT_EQ(b.keyInterval, 250);
    EXPECT_EQ(b.chain, 6);
    EXPECT_EQ(b.keySignal, 9);
    EXPECT_EQ(b.strASCIICtrl, "D,");
    rs.close();

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
    EXPECT_EQ(r.Condition, QString("OK\r\n"));
    EXPECT_EQ(r.respCodes, "READY");
    EXPECT_EQ(r.strRespCtrl, "D,");
    EXPECT_EQ(r.CondOpt, 2);
    EXPECT_TRUE(r.CondChk);
    EXPECT_EQ(r.CondCbo, 4);
    EXPECT_TRUE(r.respChk);
    EXPECT_EQ(r.respCbo, 8);
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
         {2, n(2)},
         {3, Value("IF")},
         {4, n(4)},
         {5, Value("THEN")},
         {6, n(6)},
         {7, n(7)},
         {8, n(8)},
         {9, n(9)},
         {10, n(10)},
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
    EXPECT_EQ(st.SeqName, "Step");
    EXPECT_EQ(st.ActionOpt, 200);
    EXPECT_EQ(st.CmdStr, "41,");
    EXPECT_EQ(st.RepeatNo, 400);
    EXPECT_EQ(st.SubRoutineNo, 500);
    EXPECT_EQ(st.TimerAfter, 700);
    EXPECT_EQ(st.Delay, 800);
    EXPECT_EQ(st.Interval, 900);
    EXPECT_EQ(st.stepSignal, 1000);
    EXPECT_TRUE(st.stepChk);
    EXPECT_EQ(st.strASCIICtrl, "D,");

    const MacroSubRoutine& s = subs[0];
    EXPECT_EQ(s.SubRoutineName, "Sub");
    EXPECT_EQ(s.IfOpt, 200);
    EXPECT_EQ(s.IfCode, "IFA");
    EXPECT_EQ(s.IfSignal, 400);
    EXPECT_EQ(s.IfThenCmd, "THEN");
    EXPECT_EQ(s.strIfThenCtrl, "B,");
    EXPECT_EQ(s.IfThenCmdRepeat, 600);
    EXPECT_EQ(s.IfThenCmdDelay, 700);
    EXPECT_EQ(s.IfThenCmdInterval, 800);
    EXPECT_EQ(s.IfThenSignal, 900);
    EXPECT_EQ(s.ElseIfOpt, 1000);
    EXPECT_EQ(s.ElseIfCode, "EIB");
    EXPECT_EQ(s.ElseIfSignal, 1200);
    EXPECT_EQ(s.ElseIfThenCmd, "EITHEN");
    EXPECT_EQ(s.ElseIfThenCtrl, "C,");
    EXPECT_EQ(s.ElseIfThenCmdRepeat, 1400);
    EXPECT_EQ(s.ElseIfThenCmdDelay, 1500);
    EXPECT_EQ(s.ElseIfThenCmdInterval, 1600);
    EXPECT_EQ(s.ElseIfThenSignal, 1700);
    EXPECT_EQ(s.ElseThenCmd, "ELSE");
    EXPECT_EQ(s.ElseThenCtrl, "E,");
    EXPECT_EQ(s.ElseThenRepeat, 1900);
    EXPECT_EQ(s.ElseThenCmdDelay, 2000);
    EXPECT_EQ(s.ElseThenCmdInterval, 2100);
    EXPECT_EQ(s.ElseThenSignal, 2200);
    EXPECT_TRUE(s.ElseCheck);
    EXPECT_TRUE(elseChecks[0]);
    EXPECT_FALSE(s.IfCheck);
    EXPECT_TRUE(s.IfThenCheck);
    EXPECT_FALSE(s.ElseIfCheck);
    EXPECT_TRUE(s.ElseIfThenChk);
    EXPECT_FALSE(s.ElseThenCheck);
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
