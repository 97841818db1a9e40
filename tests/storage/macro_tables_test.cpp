#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "profile_fixture.h"
#include "storage/macro_reset.h"
#include "storage/macro_rows.h"
#include "storage/macro_step_table.h"
#include "storage/sub_routine_table.h"
#include "support/profile_rows.h"
#include "support/raw_sqlite.h"

#include <functional>
#include <gtest/gtest.h>
#include <set>

using namespace kst;
using db::Value;

namespace {

const QString ListMessage =
    "Invalid data: Hex codes exceed 2 digits, or no command codes in between two (,) sign!";

Refusal listRefusal(int row, int field) {
    return Refusal{row, field, ListMessage, MsgIcon::Exclamation, "Error:"};
}

// One change to a step of the reset table per case, and the first refusal it makes.
TEST(MacroStepTableValidate, TheFirstValueThatCannotBeStoredIsNamedWithItsBox) {
    const int command = StepField::send(SendField::Command);
    const struct {
        const char* what;
        std::function<void(MacroStepTable&)> change;
        std::optional<Refusal> refusal;
    } cases[] = {
        {"the reset table", [](MacroStepTable&) {}, std::nullopt},
        {"an empty name", [](MacroStepTable& t) { t.rows[1].name = ""; },
         Refusal{1, StepField::Name, "Please enter something for the selected step"}},
        {"a blank is a name", [](MacroStepTable& t) { t.rows[1].name = " "; }, std::nullopt},
        {"a Hex list with an empty item",
         [](MacroStepTable& t) { t.rows[2].send.command = "1A,,1B,"; }, listRefusal(2, command)},
        {"a byte beyond FF", [](MacroStepTable& t) { t.rows[2].send.command = "100,"; },
         listRefusal(2, command)},
        {"three digits of one byte", [](MacroStepTable& t) { t.rows[2].send.command = "0FF,"; },
         std::nullopt},
        {"ASCII text is no list",
         [](MacroStepTable& t) {
             t.notation = 1;
             t.rows[2].send.command = "1A,,";
         },
         std::nullopt},
        {"ASCII control codes are",
         [](MacroStepTable& t) {
             t.notation = 1;
             t.rows[3].send.controlCodes = "D,,A,";
         },
         listRefusal(3, StepField::send(SendField::ControlCodes))},
        {"codes kept hidden in Hex are not checked",
         [](MacroStepTable& t) { t.rows[3].send.controlCodes = "D,,A,"; }, std::nullopt},
        {"a delay of 65535", [](MacroStepTable& t) { t.rows[4].send.delay = "65535"; },
         std::nullopt},
        {"a delay of 65536", [](MacroStepTable& t) { t.rows[4].send.delay = "65536"; },
         Refusal{4, StepField::send(SendField::Delay),
                 "Maximum delay time is 65,535 ms, please try again!"}},
        {"an interval beyond, repeated",
         [](MacroStepTable& t) {
             t.rows[5].send.command = "41,";
             t.rows[5].send.repeat = "1";
             t.rows[5].send.interval = "65536";
         },
         Refusal{5, StepField::send(SendField::Interval),
                 "Maximum interval time is 65,535 ms, please try again!"}},
        {"control codes alone are a command in ASCII",
         [](MacroStepTable& t) {
             t.notation = 1;
             t.rows[5].send.controlCodes = "D,";
             t.rows[5].send.repeat = "1";
             t.rows[5].send.interval = "65536";
         },
         Refusal{5, StepField::send(SendField::Interval),
                 "Maximum interval time is 65,535 ms, please try again!"}},
        {"an interval not in use is not checked",
         [](MacroStepTable& t) { t.rows[5].send.interval = "70000"; }, std::nullopt},
        {"nor that of a command sent once",
         [](MacroStepTable& t) {
             t.rows[5].send.command = "41,";
             t.rows[5].send.interval = "65536";
         },
         std::nullopt},
        {"a timer of 65535", [](MacroStepTable& t) { t.rows[6].timerAfter = "65535"; },
         std::nullopt},
        {"a timer of 65536", [](MacroStepTable& t) { t.rows[6].timerAfter = "65536"; },
         Refusal{6, StepField::TimerAfter,
                 "Maximum value for timer is 65,535 ms, please try again!"}},
        {"a sub-routine step checks none of its send fields",
         [](MacroStepTable& t) {
             t.rows[7].action = StepAction::SubRoutine;
             t.rows[7].send.command = "1A,,";
             t.rows[7].send.delay = "99999";
         },
         std::nullopt},
        {"but its timer",
         [](MacroStepTable& t) {
             t.rows[7].action = StepAction::SubRoutine;
             t.rows[7].timerAfter = "99999";
         },
         Refusal{7, StepField::TimerAfter,
                 "Maximum value for timer is 65,535 ms, please try again!"}},
        {"the name comes first, then the fields in their order",
         [](MacroStepTable& t) {
             t.rows[0].timerAfter = "70000";
             t.rows[0].send.delay = "70000";
             t.rows[0].send.command = "G,";
             t.rows[0].name = "";
         },
         Refusal{0, StepField::Name, "Please enter something for the selected step"}},
        {"the command before the delay",
         [](MacroStepTable& t) {
             t.rows[0].send.delay = "70000";
             t.rows[0].send.command = "G,";
         },
         listRefusal(0, command)},
    };
    for (const auto& c : cases) {
        MacroStepTable table;
        for (int k = 0; k < 8; ++k)
            table.rows[static_cast<size_t>(k)] = DefaultMacroStepRow(1, k);
        c.change(table);
        EXPECT_EQ(table.validate(), c.refusal) << c.what;
    }
}

TEST(SubRoutineTableValidate, TheFirstValueThatCannotBeStoredIsNamedWithItsBox) {
    using SubRoutineField::conditionField;
    using SubRoutineField::sendField;
    const struct {
        const char* what;
        std::function<void(SubRoutineTable&)> change;
        std::optional<Refusal> refusal;
    } cases[] = {
        {"the reset table", [](SubRoutineTable&) {}, std::nullopt},
        {"an empty name", [](SubRoutineTable& t) { t.rows[2].name = ""; },
         Refusal{2, SubRoutineField::Name, "Please enter something for the selected sub-routine"}},
        {"IF data in Hex", [](SubRoutineTable& t) { t.rows[0].ifCondition.data = "1B,,2C,"; },
         listRefusal(0, conditionField(ConditionPart::If, ConditionField::Data))},
        {"IF data of three digits", [](SubRoutineTable& t) { t.rows[0].ifCondition.data = "0FF,"; },
         std::nullopt},
        {"IF data in ASCII is text",
         [](SubRoutineTable& t) {
             t.notation = 1;
             t.rows[0].ifCondition.data = "1B,,2C,";
         },
         std::nullopt},
        {"ELSE IF control codes of a data kind in ASCII",
         [](SubRoutineTable& t) {
             t.notation = 1;
             t.rows[3].elseIfCondition.controlCodes = "100,";
         },
         listRefusal(3, conditionField(ConditionPart::ElseIf, ConditionField::ControlCodes))},
        {"Signaling keeps no data to check",
         [](SubRoutineTable& t) {
             t.rows[3].elseIfCondition.kind = 6;
             t.rows[3].elseIfCondition.data = "1B,,";
         },
         std::nullopt},
        {"a length in Hex",
         [](SubRoutineTable& t) {
             t.rows[3].ifCondition.kind = 4;
             t.rows[3].ifCondition.data = "12";
         },
         std::nullopt},
        {"THEN command in Hex", [](SubRoutineTable& t) { t.rows[4].ifThen.command = "1A,,"; },
         listRefusal(4, sendField(SendPart::IfThen, SendField::Command))},
        {"THEN control codes in ASCII",
         [](SubRoutineTable& t) {
             t.notation = 1;
             t.rows[4].elseIfThen.controlCodes = "D,,";
         },
         listRefusal(4, sendField(SendPart::ElseIfThen, SendField::ControlCodes))},
        {"ELSE delay of 65535", [](SubRoutineTable& t) { t.rows[5].elseThen.delay = "65535"; },
         std::nullopt},
        {"ELSE delay of 65536", [](SubRoutineTable& t) { t.rows[5].elseThen.delay = "65536"; },
         Refusal{5, sendField(SendPart::ElseThen, SendField::Delay),
                 "Maximum delay time is 65,535 ms, please try again!"}},
        {"ELSE IF THEN interval, repeated",
         [](SubRoutineTable& t) {
             SendRow& s = t.rows[6].elseIfThen;
             s.command = "41,";
             s.repeat = "1";
             s.interval = "65536";
         },
         Refusal{6, sendField(SendPart::ElseIfThen, SendField::Interval),
                 "Maximum interval time is 65,535 ms, please try again!"}},
        {"an interval not in use",
         [](SubRoutineTable& t) { t.rows[6].elseIfThen.interval = "70000"; }, std::nullopt},
        {"in the order of the frames: IF THEN before ELSE IF",
         [](SubRoutineTable& t) {
             t.rows[7].elseIfCondition.data = "G,";
             t.rows[7].ifThen.delay = "70000";
         },
         Refusal{7, sendField(SendPart::IfThen, SendField::Delay),
                 "Maximum delay time is 65,535 ms, please try again!"}},
    };
    for (const auto& c : cases) {
        SubRoutineTable table;
        for (int k = 0; k < 8; ++k)
            table.rows[static_cast<size_t>(k)] = DefaultSubRoutineRow(1, k);
        c.change(table);
        EXPECT_EQ(table.validate(), c.refusal) << c.what;
    }
}

// A refusal names one box: no two fields of a step, or of a sub-routine, share a number.
TEST(MacroTableFields, EachFieldARefusalNamesIsABoxOfItsOwn) {
    const auto sendFields = {SendField::Command, SendField::ControlCodes, SendField::Delay,
                             SendField::Repeat, SendField::Interval};
    std::set<int> step = {StepField::Name, StepField::TimerAfter};
    for (SendField m : sendFields)
        step.insert(StepField::send(m));
    EXPECT_EQ(step.size(), 7u);
    std::set<int> sub = {SubRoutineField::Name};
    for (ConditionPart p : {ConditionPart::If, ConditionPart::ElseIf})
        for (ConditionField m : {ConditionField::Data, ConditionField::ControlCodes})
            sub.insert(SubRoutineField::conditionField(p, m));
    for (SendPart p : {SendPart::IfThen, SendPart::ElseIfThen, SendPart::ElseThen})
        for (SendField m : sendFields)
            sub.insert(SubRoutineField::sendField(p, m));
    EXPECT_EQ(sub.size(), 20u);
}

class MacroTables : public test::ProfileFixture {
protected:
    Value stored(const QString& table, int id, int ordinal) {
        db::Recordset rs;
        rs.open(QString("SELECT * FROM %1 WHERE ID = %2").arg(table).arg(id), conn);
        rs.moveFirst();
        const Value value = rs.value(ordinal);
        rs.close();
        return value;
    }
    static int failure(const std::function<void()>& act) {
        try {
            act();
        } catch (const RunTimeError& e) {
            return e.number();
        }
        return 0;
    }
};

TEST_F(MacroTables, AStepIsStoredWithTheNotationAndReadBackWhole) {
    set("progMacrosSeq", 9, {{5, Value(5)}});
    // A row between the first and the one stored that cannot be read stops nothing.
    ASSERT_EQ(test::sqliteExec(profile, "UPDATE progMacrosSeq SET TimerAfter = 'abc' WHERE ID = 5"),
              0);
    MacroStepRow send{
        "Ping", StepAction::SendCommands, {"AT", "D,A,", "250", "3", "100", true, 8}, 2, "1200"};
    WriteMacroStepRow(conn, 2, 0, send, 1);
    send.subRoutine = 5; // a send step keeps the stored sub-routine
    EXPECT_EQ(ReadMacroStepRow(conn, 2, 0), send);
    EXPECT_EQ(ReadMacroEditorOptions(conn).notation, 1);
    EXPECT_EQ(ReadMacroStepNames(conn, 2)[0], "Ping");
    EXPECT_EQ(ReadMacroStepTable(conn, 2).rows[0], send);
    EXPECT_EQ(stored("progMacrosSeq", 33, 1).toText(), "Step5A") << "macro 5 untouched";

    // A sub-routine step stores its sub-routine; the send columns keep what they held.
    MacroStepRow sub = send;
    sub.action = StepAction::SubRoutine;
    sub.send.command = "changed";
    sub.send.delay = "9";
    sub.subRoutine = 7;
    WriteMacroStepRow(conn, 2, 0, sub, 0);
    MacroStepRow expected = send;
    expected.action = StepAction::SubRoutine;
    expected.subRoutine = 7;
    EXPECT_EQ(ReadMacroStepRow(conn, 2, 0), expected);
    EXPECT_EQ(stored("progMacrosSeq", 9, 2).toText(), "1") << "the action as the runner reads it";
    EXPECT_EQ(ReadMacroEditorOptions(conn).notation, 0);
    // Any stored notation but 0 is ASCII.
    set("progMacrosSeq", 1, {{6, Value(2)}, {12, Value(true)}});
    EXPECT_EQ(ReadMacroEditorOptions(conn).notation, 1);
    EXPECT_TRUE(ReadMacroEditorOptions(conn).autoSave);
    WriteMacroAutoSave(conn, false);
    EXPECT_FALSE(ReadMacroEditorOptions(conn).autoSave);
}

TEST_F(MacroTables, ASubRoutineIsStoredInEveryColumnAndReadBackWhole) {
    SubRoutineRow sub;
    sub.name = "Answer";
    sub.ifCondition = {2, "OK", "D,A,", true, 12};
    sub.ifThen = {"AT", "D,", "10", "2", "20", true, 8};
    sub.elseIfCondition = {6, "", "", false, 6};
    sub.elseIfThen = {"41,42,", "", "30", "0", "0", false, 3};
    sub.elseOnTimeout = false;
    sub.elseThen = {"ELSE", "A,", "40", "1", "50", true, 0};
    WriteSubRoutineRow(conn, 3, 7, sub);
    EXPECT_EQ(ReadSubRoutineRow(conn, 3, 7), sub);
    EXPECT_EQ(ReadSubRoutineTable(conn, 3).rows[7], sub);
    EXPECT_EQ(ReadSubRoutineNames(conn, 3)[7], "Answer");
    EXPECT_EQ(stored("progMacrosSubRoutines", 24, 26), Value(false));
    EXPECT_EQ(stored("progMacrosSubRoutines", 24, 11).toText().trimmed(), "");

    // Trailing blanks of the fixed-length texts go; those of the others stay.
    sub.ifCondition.data = "OK  ";
    sub.elseIfCondition = {0, "AT  ", "", false, 0};
    sub.elseThen.command = "E  ";
    WriteSubRoutineRow(conn, 3, 7, sub);
    const SubRoutineRow back = ReadSubRoutineRow(conn, 3, 7);
    EXPECT_EQ(back.ifCondition.data, "OK  ");
    EXPECT_EQ(back.elseIfCondition.data, "AT");
    EXPECT_EQ(back.elseThen.command, "E");

    // Empty numbers are stored as 0.
    sub.ifThen.repeat = sub.ifThen.delay = sub.ifThen.interval = "";
    WriteSubRoutineRow(conn, 3, 7, sub);
    EXPECT_EQ(ReadSubRoutineRow(conn, 3, 7).ifThen.delay, "0");
}

TEST_F(MacroTables, AWriteThatFailsPartWayChangesNothing) {
    const MacroStepRow stepBefore = ReadMacroStepRow(conn, 1, 3);
    MacroStepRow step = DefaultMacroStepRow(1, 3);
    step.send.command = "41,";
    step.name = QString(60, u'x'); // beyond the column's 50 characters
    EXPECT_NE(failure([&] { WriteMacroStepRow(conn, 1, 3, step, 1); }), 0);
    EXPECT_EQ(ReadMacroStepRow(conn, 1, 3), stepBefore);
    EXPECT_EQ(ReadMacroEditorOptions(conn).notation, 0) << "the notation is written first";

    const SubRoutineRow subBefore = ReadSubRoutineRow(conn, 1, 3);
    SubRoutineRow sub = DefaultSubRoutineRow(1, 3);
    sub.name = "new";
    sub.elseThen.controlCodes = QString(256, u'A'); // the last column written
    EXPECT_NE(failure([&] { WriteSubRoutineRow(conn, 1, 3, sub); }), 0);
    EXPECT_EQ(ReadSubRoutineRow(conn, 1, 3), subBefore);
}

TEST_F(MacroTables, ARowThatCannotBeShownIsNotReadHalfWayAndIsNamed) {
    const struct {
        const char* table;
        const char* column;
        const char* value; // as another tool would write it
        int error;
    } cases[] = {
        {"progMacrosSeq", "stepSignal", "9", err::InvalidPropertyValue},
        {"progMacrosSeq", "stepSignal", "NULL", err::InvalidUseOfNull},
        {"progMacrosSeq", "SubRoutineNo", "8", err::InvalidPropertyValue},
        {"progMacrosSeq", "SubRoutineNo", "-2", err::InvalidPropertyValue},
        {"progMacrosSubRoutines", "IfOpt", "-1", err::InvalidPropertyValue},
        {"progMacrosSubRoutines", "IfOpt", "7", err::InvalidPropertyValue},
        {"progMacrosSubRoutines", "IfSignal", "13", err::InvalidPropertyValue},
        {"progMacrosSubRoutines", "ElseIfSignal", "NULL", err::InvalidUseOfNull},
        {"progMacrosSubRoutines", "ElseThenSignal", "9", err::InvalidPropertyValue},
        // Values of another kind than their columns'.
        {"progMacrosSeq", "TimerAfter", "'abc'", err::TypeMismatch},
        {"progMacrosSeq", "stepChk", "'yes'", err::TypeMismatch},
        {"progMacrosSubRoutines", "IfThenCmdDelay", "2.5", err::TypeMismatch},
        {"progMacrosSubRoutines", "ElseCheck", "'x'", err::TypeMismatch},
        // Texts longer than their columns.
        {"progMacrosSeq", "CmdStr", "hex(zeroblob(130))", err::CannotOpen},
        {"progMacrosSubRoutines", "ElseIfCode", "hex(zeroblob(200))", err::CannotOpen},
    };
    // Each case alone in step or sub-routine i % 8 of macro 2.
    for (int i = 0; i < static_cast<int>(std::size(cases)); ++i) {
        const auto& c = cases[i];
        const int macro = 2;
        const int index = i % 8;
        ASSERT_EQ(test::sqliteExec(profile, QString("UPDATE %1 SET %2 = %3 WHERE ID = %4")
                                                .arg(c.table, c.column, c.value)
                                                .arg(MacroRowId(macro, index))),
                  0);
        const bool step = QString(c.table) == "progMacrosSeq";
        try {
            if (step)
                ReadMacroStepRow(conn, macro, index);
            else
                ReadSubRoutineRow(conn, macro, index);
            ADD_FAILURE() << c.column << " read";
        } catch (const UnreadableMacroRow& e) {
            EXPECT_EQ(e.number(), c.error) << c.column;
            EXPECT_EQ(e.part, step ? MacroPart::Step : MacroPart::SubRoutine) << c.column;
            EXPECT_EQ(e.macro, macro) << c.column;
            EXPECT_EQ(e.index, index) << c.column;
            EXPECT_TRUE(IsStoredValueFault(e)) << c.column;
            if (c.error != err::InvalidUseOfNull) {
                EXPECT_TRUE(e.description().contains(QString("column '%1'").arg(c.column)))
                    << "the column is named: " << e.description().toStdString();
            }
        }
        // Its names are still read.
        EXPECT_EQ(
            (step ? ReadMacroStepNames(conn, macro) : ReadSubRoutineNames(conn, macro)).size(), 8)
            << c.column;
        // A reset of the macro mends it.
        ResetMacros(conn, macro, macro);
        EXPECT_EQ(ReadMacroStepTable(conn, macro).rows[static_cast<size_t>(index)],
                  DefaultMacroStepRow(macro, index))
            << c.column;
        EXPECT_EQ(ReadSubRoutineTable(conn, macro).rows[static_cast<size_t>(index)],
                  DefaultSubRoutineRow(macro, index))
            << c.column;
    }
    // Seven line events under Signaling: the eighth entry is none of them.
    set("progMacrosSubRoutines", 1, {{2, Value(6)}, {4, Value(6)}});
    EXPECT_EQ(ReadSubRoutineRow(conn, 1, 0).ifCondition.lineState, 6);
    set("progMacrosSubRoutines", 1, {{4, Value(7)}});
    EXPECT_EQ(failure([&] { ReadSubRoutineRow(conn, 1, 0); }), err::InvalidPropertyValue);
    // An empty kind is the first.
    set("progMacrosSubRoutines", 1, {{2, Value()}, {4, Value(12)}});
    EXPECT_EQ(ReadSubRoutineRow(conn, 1, 0).ifCondition.kind, 0);
}

TEST_F(MacroTables, AResetStoresTheDefaultsOfOneMacroOrOfAllInOneTransaction) {
    // Values of another kind are written over, not read.
    ASSERT_EQ(test::sqliteExec(profile, "UPDATE progMacrosSeq SET TimerAfter = 'abc', Delay = "
                                        "'x' WHERE ID = 26"),
              0);
    ASSERT_EQ(test::sqliteExec(profile, "UPDATE progMacrosSubRoutines SET IfSignal = 'x', "
                                        "ElseCheck = 'y' WHERE ID = 31"),
              0);
    for (int id : {25, 32, 40})
        set("progMacrosSeq", id,
            {{1, Value("mine")},
             {3, Value("41,")},
             {5, Value(5)},
             {7, Value(5)},
             {13, Value("D,")}});
    for (int id : {25, 32, 40})
        set("progMacrosSubRoutines", id,
            {{1, Value("mine")},
             {2, Value(3)},
             {26, Value(false)},
             {32, Value("D,")},
             {42, Value("A,")}});
    set("progMacrosSeq", 1, {{6, Value(1)}, {12, Value(true)}});

    ResetMacros(conn, 4, 4);
    EXPECT_EQ(ReadMacroStepNames(conn, 4), QStringList({"Step4A", "Step4B", "Step4C", "Step4D",
                                                        "Step4E", "Step4F", "Step4G", "Step4H"}));
    MacroStepTable steps = ReadMacroStepTable(conn, 4);
    SubRoutineTable subs = ReadSubRoutineTable(conn, 4);
    EXPECT_EQ(steps.notation, 0);
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(steps.rows[static_cast<size_t>(k)], DefaultMacroStepRow(4, k));
        EXPECT_EQ(subs.rows[static_cast<size_t>(k)], DefaultSubRoutineRow(4, k));
    }
    EXPECT_EQ(steps.rows[0].timerAfter, "1000");
    // Every number but the timer is 0, as the loader and the runner read them.
    for (int id : {25, 32}) {
        for (int ordinal : {2, 4, 5, 8, 9, 10})
            EXPECT_EQ(stored("progMacrosSeq", id, ordinal).toText(), "0") << id << ":" << ordinal;
        for (int ordinal : {2, 4, 6, 7, 8, 9, 10, 12, 14, 15, 16, 17, 19, 20, 21, 22})
            EXPECT_EQ(stored("progMacrosSubRoutines", id, ordinal).toText(), "0")
                << id << ":" << ordinal;
    }
    EXPECT_TRUE(subs.rows[7].elseOnTimeout);
    // Control codes go with the texts they belong to: none is left to be sent.
    EXPECT_EQ(stored("progMacrosSeq", 25, 13).toText(), "");
    EXPECT_EQ(stored("progMacrosSubRoutines", 32, 32).toText(), "");
    EXPECT_TRUE(ReadMacroEditorOptions(conn).autoSave) << "Auto Save stays";
    EXPECT_EQ(stored("progMacrosSeq", 40, 1).toText(), "mine") << "macro 5 untouched";

    ResetMacros(conn, 1, 8);
    QStringList names;
    for (int m = 1; m <= 8; ++m)
        names += ReadSubRoutineNames(conn, m);
    EXPECT_EQ(names[0], "Sub1A");
    EXPECT_EQ(names[8], "Sub2A");
    EXPECT_EQ(names[63], "Sub8H");
    EXPECT_EQ(stored("progMacrosSeq", 40, 1).toText(), "Step5H");
    EXPECT_EQ(stored("progMacrosSubRoutines", 40, 42).toText(), "");
}

TEST_F(MacroTables, AResetOfATableWithRowsMissingChangesNothing) {
    set("progMacrosSubRoutines", 1, {{1, Value("mine")}});
    set("progMacrosSeq", 1, {{1, Value("mine")}, {6, Value(1)}});
    ASSERT_EQ(test::sqliteExec(profile, "DELETE FROM progMacrosSeq WHERE ID = 64"), 0);
    EXPECT_EQ(failure([&] { ResetMacros(conn, 1, 8); }), err::NoCurrentRecord);
    EXPECT_EQ(stored("progMacrosSubRoutines", 1, 1).toText(), "mine");
    EXPECT_EQ(stored("progMacrosSeq", 1, 1).toText(), "mine");
    EXPECT_EQ(ReadMacroEditorOptions(conn).notation, 1);
    // The rows that are there reset alone.
    ResetMacros(conn, 1, 1);
    EXPECT_EQ(stored("progMacrosSeq", 1, 1).toText(), "Step1A");
}

} // namespace
