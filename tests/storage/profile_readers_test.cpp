#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "support/fakes.h"

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
        NoProgress progress;
        ProfileCreator creator(supportConnStr(dir.path()), progress,
                               [](const QString&, const QString&) {});
        ASSERT_TRUE(creator.CreateDB(profile, "Device1.kst"));
        conn = profileConnStr(profile);
    }

    void set(const QString& table, int id, std::initializer_list<std::pair<int, Value>> fields) {
        Recordset rs;
        rs.open("SELECT * FROM " + table + " WHERE ID = " + QString::number(id), conn);
        for (const auto& [ordinal, value] : fields)
            rs.setValue(ordinal, value);
        rs.update();
        rs.close();
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

TEST_F(ProfileReaders, PreferencesComeFromTheSupportDatabaseByPosition) {
    Recordset rs;
    rs.open("SELECT * FROM userPreferences", supportConnStr(dir.path()));
    rs.setValue(16, Value(qint64(0x123456)));
    rs.setValue(22, Value(true));
    rs.setValue(32, Value(qint64(3)));
    rs.setValue(12, Value(true));
    rs.update();
    rs.moveFirst();
    UserPreferences p;
    ReadPreferences(rs, p);
    EXPECT_EQ(p.msgColor, 0x123456u);
    EXPECT_TRUE(p.bolMsgUnderline);
    EXPECT_TRUE(p.bolMonitoringMode);
    EXPECT_EQ(p.fontSizeIndex, 3);
    EXPECT_EQ(p.messageStyle().TextColor, 0x123456u);
}
