// The profile format is its column order: every reader and writer addresses columns
// by ordinal, the spare ones included.

#include "storage/profile_schema.h"

#include <QStringList>
#include <gtest/gtest.h>

using kst::db::ColumnKind;

namespace {

QString namesOf(const kst::db::TableDef& table) {
    QStringList names;
    for (const auto& c : table.columns)
        names << c.name;
    return names.join(' ');
}

TEST(ProfileFormat, ColumnsStandAtTheirOrdinals) {
    const std::pair<const char*, const char*> expected[] = {
        {"Settings", "ID port baud databit parity stopbit handshaking rxTimerIndex strBackup1 "
                     "strBackup2 strBackup3 secondCOMport noBackup2 noBackup3 bolFullDuplex "
                     "bolDetectCTS bolDetectDSR userNotes memoBackup bolDetectDCD bolDetectRI "
                     "noBackup1 bolBackup1 bolBackup2 bolBackup3"},
        {"progButtons", "ID keyCaption keyCodes keyDelay keyRepeat keyInterval chain signals "
                        "hexformat strASCIICtrl strBackup1 strBackup2 noBackup1 noBackup2 "
                        "noBackup3 bolBackup1 bolBackup2 bolBackup3 strBackup3 memoBackup"},
        {"progAutoResp", "ID Condition respCodes respDelay respRepeat respInterval CondOpt "
                         "CondChk CondCbo respChk respCbo hexFormat strConditionCtrl strRespCtrl "
                         "strBackup1 noBackup1 noBackup2 noBackup3 bolBackup1 bolBackup2 "
                         "bolBackup3 strBackup2 strBackup3 memoBackup"},
        {"progMacrosSeq", "ID SeqName ActionOpt CmdStr RepeatNo SubRoutineNo hexFormat "
                          "TimerAfter Delay Interval stepSignal stepChk autoSave strASCIICtrl "
                          "strBackup1 strBackup2 noBackup1 noBackup2 noBackup3 bolBackup1 "
                          "bolBackup2 bolBackup3 strBackup3 memoBackup"},
        {"progMacrosSubRoutines",
         "ID SubRoutineName IfOpt IfCode IfSignal IfThenCmd IfThenCmdRepeat IfThenCmdDelay "
         "IfThenCmdInterval IfThenSignal ElseIfOpt ElseIfCode ElseIfSignal ElseIfThenCmd "
         "ElseIfThenCmdRepeat ElseIfThenCmdDelay ElseIfThenCmdInterval ElseIfThenSignal "
         "ElseThenCmd ElseThenRepeat ElseThenCmdDelay ElseThenCmdInterval ElseThenSignal "
         "IfThenOpt ElseIfThenOpt ElseThenOpt ElseCheck IfCheck IfThenCheck ElseIfCheck "
         "ElseIfThenChk ElseThenCheck strIfCtrl strIfThenCtrl strElseIfCtrl noBackup1 noBackup2 "
         "noBackup3 bolBackup1 bolBackup2 bolBackup3 ElseIfThenCtrl ElseThenCtrl strBackup1 "
         "strBackup2 strBackup3 memoBackup"},
        {"tblBackup", "ID str1 str2 str3 str4 str5 no1 no2 no3 no4 no5 bol1 bol2 bol3 bol4 bol5 "
                      "memo1 memo2"},
    };
    const auto& tables = kst::profileTables();
    ASSERT_EQ(tables.size(), std::size(expected));
    for (size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(tables[i].name, expected[i].first);
        EXPECT_EQ(namesOf(tables[i]), expected[i].second);
        ASSERT_EQ(tables[i].indexes.size(), 1u);
        EXPECT_EQ(tables[i].indexes[0].name, "PrimaryKey");
        EXPECT_TRUE(tables[i].columns[0].autoIncrement);
    }
}

TEST(ProfileFormat, KindsFollowTheNamePrefixesWithTheirExceptions) {
    for (const auto& table : kst::profileTables()) {
        for (size_t k = 1; k < table.columns.size(); ++k) {
            const auto& c = table.columns[k];
            const std::string where = (table.name + "." + c.name).toStdString();
            if (c.name.startsWith("bol")) {
                EXPECT_EQ(c.kind, ColumnKind::YesNo) << where;
            }
            if (c.name.startsWith("memo") || c.name == "userNotes") {
                EXPECT_EQ(c.kind, ColumnKind::Memo) << where;
            }
            if (c.name.startsWith("no")) {
                EXPECT_EQ(c.kind, ColumnKind::Long) << where;
            }
            if (c.kind == ColumnKind::Text || c.kind == ColumnKind::FixedText) {
                const bool name50 =
                    c.name == "keyCaption" || c.name == "SeqName" || c.name == "SubRoutineName";
                EXPECT_EQ(c.size, name50 ? 50 : 255) << where;
            }
            EXPECT_EQ(c.kind == ColumnKind::FixedText, c.name == "ElseIfCode" ||
                                                           c.name == "ElseIfThenCmd" ||
                                                           c.name == "ElseThenCmd")
                << where;
            // Only the seven port-setting columns refuse an empty value.
            EXPECT_EQ(c.allowZeroLength, !(table.name == "Settings" && k <= 7)) << where;
        }
    }
    // Yes/No columns elsewhere: the flags of rules, steps and sub-routines.
    const auto& subs = kst::profileTables()[4];
    for (int k = 26; k <= 31; ++k)
        EXPECT_EQ(subs.columns[k].kind, ColumnKind::YesNo) << k;
}

TEST(ProfileFormat, PreferencesHoldFlagsColoursAndTheFontSize) {
    const auto& prefs = kst::userPreferencesTable();
    ASSERT_EQ(prefs.columns.size(), 33u);
    for (int k = 1; k <= 32; ++k) {
        const ColumnKind expected = k == 13 || (k >= 15 && k <= 19) ? ColumnKind::Long
                                    : k == 32                       ? ColumnKind::Integer
                                                                    : ColumnKind::YesNo;
        EXPECT_EQ(prefs.columns[k].kind, expected) << k;
    }
    EXPECT_EQ(prefs.columns[14].name, "bolFormattedView");
    EXPECT_EQ(prefs.columns[32].name, "fontSizeIndex");
}

TEST(ProfileFormat, ConnectionStringsAreThoseOfTheProfileCode) {
    EXPECT_EQ(kst::profileConnStr("/x/Devices/Device1.kst"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/x/Devices/Device1.kst; JET "
              "OLEDB:Database password = tovrasiL");
    EXPECT_EQ(kst::supportConnStr("/opt/kst"),
              "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=/opt/kst/mscomctl.2fl; JET "
              "OLEDB:Database password = 5813046");
}

} // namespace
