#include "app/editors/condition_fields.h"
#include "app/editors/send_fields.h"
#include "macro_editor_fixture.h"
#include "storage/sub_routine_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

using SubRoutineEditorTest = MacroEditorTest;

TEST_F(SubRoutineEditorTest,
       ASubRoutineTypedAndSavedIsStoredInEveryColumnAndRunsFromTheMainWindow) {
    main.ui().cboMacros->setCurrentIndex(2);
    main.cboMacros_Click();
    withEditor([this](frmAutoSequence& editor) {
        chooseMacro(editor, 3);
        editor.Option1[1]->click();
        SubRoutineFields& subs = editor.subRoutines();
        pickSubRoutine(subs, 2);
        EXPECT_EQ(subs.Label1->text(), "Sub-Routines ( 2/8 )");
        subs.txtSubRoutine->setText("Answer");
        ConditionFields& ifCondition = subs.condition(ConditionPart::If);
        ifCondition.kindOptions[2]->click();
        ifCondition.data->setText("OK");
        ifCondition.controlCodes->setText("D,A,");
        ifCondition.lineStateCheck->click();
        ifCondition.lineStateList->setCurrentIndex(12);
        SendFields& ifThen = subs.send(SendPart::IfThen);
        ifThen.command->setText("AT");
        ifThen.controlCodes->setText("D,");
        ifThen.delay->setText("10");
        ifThen.repeat->setText("2");
        ifThen.interval->setText("20");
        ifThen.signalCheck->click();
        ifThen.signalList->setCurrentIndex(8);
        ConditionFields& elseIf = subs.condition(ConditionPart::ElseIf);
        elseIf.kindOptions[6]->click();
        ASSERT_EQ(elseIf.lineStateList->count(), 7);
        elseIf.lineStateList->setCurrentIndex(3);
        EXPECT_EQ(elseIf.lineStateList->currentText(), "DSR OFF");
        subs.chkElse->click();
        subs.send(SendPart::ElseThen).command->setText("NO");
        subs.cmdSubRoutineSave->click();
        EXPECT_EQ(boxes.texts().last(), "Sub-Routine 2 was updated successfully!");
        EXPECT_EQ(subs.Combo3->itemText(1), "Answer");
        EXPECT_EQ(editor.steps().cboSub->itemText(1), "Answer") << "the step's list too";
        EXPECT_FALSE(subs.changed());
    });
    SubRoutineRow expected;
    expected.name = "Answer";
    expected.ifCondition = {2, "OK", "D,A,", true, 12};
    expected.ifThen = {"AT", "D,", "10", "2", "20", true, 8};
    expected.elseIfCondition = {6, "", "", false, 3};
    expected.elseIfThen = {"", "", "0", "0", "0", false, 0};
    expected.elseOnTimeout = false;
    expected.elseThen = {"NO", "", "0", "0", "0", false, 0};
    EXPECT_EQ(ReadSubRoutineRow(conn(), 3, 1), expected);
    // Closing has the main window load its macro again, with the codes in the condition.
    const MacroSubRoutine& loaded = main.session().macroRunner().macro().subRoutines[1];
    EXPECT_EQ(loaded.ifCondition.data, QString("OK\r\n"));
    EXPECT_EQ(loaded.elseIfCondition.event, LineEvent::DsrOff);
    EXPECT_EQ(loaded.ifThen.signal, OutputSignal::PlaySound);
}

TEST_F(SubRoutineEditorTest, AnotherSubRoutineIsShownOnceTheShownOneIsSettled) {
    withEditor([this](frmAutoSequence& editor) {
        SubRoutineFields& subs = editor.subRoutines();
        pickSubRoutine(subs, 2);
        subs.send(SendPart::IfThen).command->setText("1A,");
        pickSubRoutine(subs, 2);
        EXPECT_EQ(subs.send(SendPart::IfThen).command->text(), "1A,")
            << "the one shown is not read again";

        boxes.answerNext(AnswerYes);
        pickSubRoutine(subs, 5);
        EXPECT_EQ(boxes.texts(),
                  QStringList({"Sub-Routine 2's data has been changed, would you like to save?",
                               "Sub-Routine 2 was updated successfully!"}));
        EXPECT_EQ(subs.currentSubRoutine(), 1);
        EXPECT_EQ(subs.Combo3->currentIndex(), 1);

        subs.send(SendPart::IfThen).command->setText("2B,");
        boxes.answerNext(AnswerNo);
        pickSubRoutine(subs, 5);
        EXPECT_EQ(subs.currentSubRoutine(), 4);
        EXPECT_FALSE(subs.changed());

        boxes.clear();
        editor.chkAutoSave->setChecked(true);
        subs.txtSubRoutine->setText("auto");
        pickSubRoutine(subs, 8);
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(subs.currentSubRoutine(), 7);
    });
    EXPECT_EQ(ReadSubRoutineRow(conn(), 1, 1).ifThen.command, "1A,");
    EXPECT_EQ(ReadSubRoutineNames(conn(), 1)[4], "auto");
}

TEST_F(SubRoutineEditorTest, AMacroSwitchSettlesTheSubRoutineFirstAndTheClosingTheStepFirst) {
    withEditor([this](frmAutoSequence& editor) {
        editor.steps().txtAction->setText("41,");
        editor.subRoutines().send(SendPart::ElseThen).command->setText("42,");
        boxes.answerNext(AnswerNo);
        boxes.answerNext(AnswerNo);
        chooseMacro(editor, 2);
        EXPECT_EQ(boxes.texts(),
                  QStringList({"Sub-Routine 1's data has been changed, would you like to save?",
                               "Step 1's data has been changed, would you like to save?"}));
        boxes.clear();
        editor.steps().txtAction->setText("41,");
        editor.subRoutines().send(SendPart::ElseThen).command->setText("42,");
        boxes.answerNext(AnswerYes);
        boxes.answerNext(AnswerYes);
    });
    EXPECT_EQ(boxes.texts(),
              QStringList({"Step 1's data has been changed, would you like to save?",
                           "Step 1 was updated successfully!",
                           "Sub-Routine 1's data has been changed, would you like to save?",
                           "Sub-Routine 1 was updated successfully!"}));
    EXPECT_EQ(ReadMacroStepRow(conn(), 2, 0).send.command, "41,");
    EXPECT_EQ(ReadSubRoutineRow(conn(), 2, 0).elseThen.command, "42,");
    EXPECT_EQ(ReadSubRoutineRow(conn(), 1, 0).elseThen.command, "");
}

TEST_F(SubRoutineEditorTest, KindsAndNotationLayOutTheConditionAndEmptyWhatNoLongerFits) {
    set("progMacrosSubRoutines", 3, {{2, Value(6)}, {4, Value(3)}, {3, Value("")}});
    withEditor([this](frmAutoSequence& editor) {
        SubRoutineFields& subs = editor.subRoutines();
        ConditionFields& c = subs.condition(ConditionPart::If);
        EXPECT_FALSE(c.controlCodes->isVisibleTo(&editor));
        EXPECT_EQ(c.data->width(), toPixels(2715));
        EXPECT_EQ(subs.send(SendPart::IfThen).command->width(), toPixels(3240));

        editor.Option1[1]->click();
        EXPECT_TRUE(c.controlCodes->isVisibleTo(&editor));
        EXPECT_EQ(c.data->width(), toPixels(1995));
        EXPECT_EQ(subs.send(SendPart::ElseThen).command->width(), toPixels(2505));
        c.data->setText("OK");
        c.controlCodes->setText("D,A,");
        c.kindOptions[1]->click();
        EXPECT_EQ(c.data->text(), "OK") << "between two data kinds the data stays";
        // A length has no control codes: none stay hidden behind it.
        c.kindOptions[4]->click();
        EXPECT_EQ(c.data->text(), "");
        EXPECT_EQ(c.controlCodes->text(), "");
        EXPECT_FALSE(c.controlCodes->isVisibleTo(&editor));
        EXPECT_EQ(c.data->width(), toPixels(2715));
        // No data: the line state is out of use, ticked or not.
        EXPECT_FALSE(c.lineStateCheck->isEnabled());
        EXPECT_FALSE(c.lineStateList->isEnabled());
        c.data->setText("5");
        EXPECT_TRUE(c.lineStateCheck->isEnabled());

        // A stored Signaling condition shows its event.
        boxes.answerNext(AnswerNo); // sub-routine 1 changed
        pickSubRoutine(subs, 3);
        EXPECT_TRUE(c.kindOptions[6]->isChecked());
        EXPECT_EQ(c.lineStateList->currentText(), "DSR OFF");
        EXPECT_FALSE(c.data->isEnabled());
        EXPECT_TRUE(c.lineStateList->isEnabled());
        boxes.answerNext(AnswerNo); // the notation: step 1
    });
}

TEST_F(SubRoutineEditorTest, FieldsFilterCheckAndTidyAsTheSubRoutinesDo) {
    withEditor([this](frmAutoSequence& editor) {
        SubRoutineFields& subs = editor.subRoutines();
        ConditionFields& c = subs.condition(ConditionPart::If);
        SendFields& ifThen = subs.send(SendPart::IfThen);
        // Hex, "Data = *": a list, tidied as the receive path writes bytes.
        c.data->setFocus();
        QTest::keyClicks(c.data, "0a,05,ff,");
        EXPECT_EQ(c.data->text(), "0A,05,FF,");
        ifThen.command->setFocus();
        EXPECT_EQ(c.data->text(), "A,5,FF,");

        // A THEN command without a comma is no list: it goes, and so does the repeat.
        QTest::keyClicks(ifThen.command, "1B");
        ifThen.delay->setFocus();
        EXPECT_EQ(ifThen.command->text(), "");
        EXPECT_FALSE(ifThen.repeat->isEnabled());
        EXPECT_EQ(ifThen.intervalLine->borderColor(), syscolor::ScrollBar);

        ifThen.delay->setText("65536");
        ifThen.command->setFocus();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        EXPECT_TRUE(QTest::qWaitFor([&] { return ifThen.delay->hasFocus(); }, 2000));
        ifThen.delay->setText("");
        ifThen.command->setFocus();
        EXPECT_EQ(ifThen.delay->text(), "0");

        ifThen.command->setText("1A,");
        ifThen.repeat->setText("3");
        EXPECT_TRUE(ifThen.interval->isEnabled());
        EXPECT_TRUE(ifThen.intervalUnit->isEnabled());
        EXPECT_EQ(ifThen.intervalLine->borderColor(), syscolor::MenuText);
        ifThen.repeat->setText("0");
        EXPECT_FALSE(ifThen.interval->isEnabled());
        EXPECT_EQ(ifThen.interval->text(), "0");

        c.data->setFocus();
        c.data->setText("1B,,2C,");
        ifThen.command->setFocus();
        EXPECT_EQ(boxes.boxes().last().title, "Error:");
        EXPECT_TRUE(QTest::qWaitFor([&] { return c.data->hasFocus(); }, 2000));
        c.data->setText("1B,");

        subs.txtSubRoutine->setFocus();
        subs.txtSubRoutine->clear();
        c.data->setFocus();
        EXPECT_EQ(boxes.texts().last(), "Please enter something for the selected sub-routine");
        EXPECT_TRUE(QTest::qWaitFor([&] { return subs.txtSubRoutine->hasFocus(); }, 2000));
        subs.txtSubRoutine->setText(" ");

        // ASCII: a THEN's control codes are cut after their last comma, not rewritten.
        editor.Option1[1]->click();
        ifThen.controlCodes->setFocus();
        QTest::keyClicks(ifThen.controlCodes, "0a,1b");
        ifThen.command->setFocus();
        EXPECT_EQ(ifThen.controlCodes->text(), "0A,");
        const ConditionFields& elseIf = subs.condition(ConditionPart::ElseIf);
        const SendFields& elseThen = subs.send(SendPart::ElseThen);
        expectTypingLimits({{subs.txtSubRoutine, 50, "progMacrosSubRoutines", "SubRoutineName"},
                            {c.data, 255, "progMacrosSubRoutines", "IfCode"},
                            {c.controlCodes, 255, "progMacrosSubRoutines", "strIfCtrl"},
                            {elseIf.data, 255, "progMacrosSubRoutines", "ElseIfCode"},
                            {ifThen.command, 255, "progMacrosSubRoutines", "IfThenCmd"},
                            {ifThen.controlCodes, 255, "progMacrosSubRoutines", "strIfThenCtrl"},
                            {elseThen.command, 255, "progMacrosSubRoutines", "ElseThenCmd"},
                            {elseThen.controlCodes, 255, "progMacrosSubRoutines", "ElseThenCtrl"},
                            {ifThen.delay, 5, "progMacrosSubRoutines", "IfThenCmdDelay"},
                            {ifThen.repeat, 2, "progMacrosSubRoutines", "IfThenCmdRepeat"},
                            {ifThen.interval, 5, "progMacrosSubRoutines", "IfThenCmdInterval"}});
        boxes.answerNext(AnswerNo);
        boxes.answerNext(AnswerNo);
    });
}

TEST_F(SubRoutineEditorTest, ASubRoutineThatCannotBeReadOrStoredLeavesWhatIsShown) {
    set("progMacrosSubRoutines", 3, {{4, Value(13)}}); // a line state beyond the list
    withEditor([this](frmAutoSequence& editor) {
        SubRoutineFields& subs = editor.subRoutines();
        subs.send(SendPart::ElseThen).command->setText("41,");
        editor.chkAutoSave->setChecked(true);
        boxes.answerNext(AnswerNo);
        pickSubRoutine(subs, 3);
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_TRUE(boxes.texts()[0].endsWith(
            "\nError occurs when changing Sub-Routine number, please try again!"
            "\nSub-Routine 3 of Macro 1 cannot be read."
            "\nWould you like to reset Macro 1's settings?"));
        EXPECT_EQ(subs.currentSubRoutine(), 0);
        EXPECT_EQ(subs.Combo3->currentIndex(), 0);
        EXPECT_EQ(subs.shownSubRoutine(), ReadSubRoutineRow(conn(), 1, 0));

        // A refused save stores nothing and keeps the typing; so does a choice of another.
        const SubRoutineRow before = ReadSubRoutineRow(conn(), 1, 0);
        subs.send(SendPart::ElseIfThen).command->setText("1A,,");
        pickSubRoutine(subs, 4);
        EXPECT_EQ(boxes.texts().last(), "Invalid data: Hex codes exceed 2 digits, or no command "
                                        "codes in between two (,) sign!");
        EXPECT_EQ(subs.currentSubRoutine(), 0);
        EXPECT_EQ(subs.send(SendPart::ElseIfThen).command->text(), "1A,,");
        EXPECT_EQ(ReadSubRoutineRow(conn(), 1, 0), before);
        subs.send(SendPart::ElseIfThen).command->setText("");
    });
}

} // namespace
