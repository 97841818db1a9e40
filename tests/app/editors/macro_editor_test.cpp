#include "app/editors/frm_auto_sequence.h"
#include "app/editors/macro_step_fields.h"
#include "macro_editor_fixture.h"
#include "storage/macro_step_table.h"
#include "storage/sub_routine_table.h"
#include "support/raw_sqlite.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

TEST_F(MacroEditorTest, OpensOnMacroOneInTheStoredNotationAndChoosesAnother) {
    set("progMacrosSeq", 1, {{6, Value(2)}, {12, Value(true)}});
    set("progMacrosSeq", 17, {{1, Value("first of 3")}});
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        EXPECT_TRUE(editor.Option1[1]->isChecked()) << "any stored notation but 0 is ASCII";
        EXPECT_TRUE(editor.chkAutoSave->isChecked());
        EXPECT_EQ(editor.Frame4->title(), "Macro1: Steps");
        EXPECT_EQ(steps.List1->currentRow(), 0);
        EXPECT_EQ(steps.Label2->text(), "Steps ( 1/8 )");
        EXPECT_EQ(steps.txtEditSeq->text(), steps.List1->item(0)->text());
        EXPECT_TRUE(steps.txtActionCtrl->isVisibleTo(&editor));
        EXPECT_EQ(steps.txtAction->width(), toPixels(2835));

        chooseMacro(editor, 3);
        EXPECT_EQ(editor.Frame4->title(), "Macro3: Steps");
        EXPECT_EQ(editor.Frame5->title(), "Macro3: Sub-Routines");
        EXPECT_EQ(steps.List1->item(0)->text(), "first of 3");
        EXPECT_EQ(steps.txtEditSeq->text(), "first of 3");
        EXPECT_EQ(steps.cboSub->count(), 8);
        EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    });
}

// Edits step 1 of macro 2, then chooses macro 5: the changes are settled for macro 2.
TEST_F(MacroEditorTest, AMacroSwitchSettlesTheShownStepFirst) {
    const struct {
        const char* what;
        bool autoSave;
        std::optional<MsgAnswer> answer;
        bool stored;
        QStringList boxes;
    } cases[] = {
        {"asked, Yes",
         false,
         AnswerYes,
         true,
         {"Step 1's data has been changed, would you like to save?",
          "Step 1 was updated successfully!"}},
        {"asked, No",
         false,
         AnswerNo,
         false,
         {"Step 1's data has been changed, would you like to save?"}},
        {"Auto Save", true, std::nullopt, true, {}},
    };
    for (const auto& c : cases) {
        set("progMacrosSeq", 9, {{1, Value("Step2A")}, {3, Value("")}});
        boxes.clear();
        withEditor([&](frmAutoSequence& editor) {
            editor.chkAutoSave->setChecked(c.autoSave);
            chooseMacro(editor, 2);
            editor.steps().txtAction->setText("41,");
            if (c.answer)
                boxes.answerNext(*c.answer);
            chooseMacro(editor, 5);
            EXPECT_EQ(editor.Frame4->title(), "Macro5: Steps") << c.what;
            EXPECT_EQ(editor.steps().txtAction->text(), "") << c.what;
            EXPECT_EQ(boxes.texts(), c.boxes) << c.what;
            EXPECT_FALSE(editor.steps().changed()) << c.what;
            editor.chkAutoSave->setChecked(false);
        });
        EXPECT_EQ(ReadMacroStepRow(conn(), 2, 0).send.command, c.stored ? "41," : "") << c.what;
        EXPECT_EQ(ReadMacroStepRow(conn(), 5, 0).send.command, "") << c.what;
    }
}

TEST_F(MacroEditorTest, AnotherStepIsShownOnceTheShownOneIsSettled) {
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        clickStep(steps, 2);
        steps.txtAction->setText("1A,");
        // The step shown is not read again over the edits.
        clickStep(steps, 2);
        EXPECT_EQ(steps.txtAction->text(), "1A,");
        EXPECT_TRUE(boxes.boxes().isEmpty());

        // Yes: step 2 is stored and shown again; step 5 is not loaded.
        boxes.answerNext(AnswerYes);
        clickStep(steps, 5);
        EXPECT_EQ(boxes.texts(), QStringList({"Step 2's data has been changed, would you like to "
                                              "save?",
                                              "Step 2 was updated successfully!"}));
        EXPECT_EQ(steps.currentStep(), 1);
        EXPECT_EQ(steps.List1->currentRow(), 1);
        EXPECT_EQ(ReadMacroStepRow(conn(), 1, 1).send.command, "1A,");

        // No: the edits go, step 5 loads.
        steps.txtAction->setText("2B,");
        boxes.answerNext(AnswerNo);
        clickStep(steps, 5);
        EXPECT_EQ(steps.currentStep(), 4);
        EXPECT_EQ(steps.Label2->text(), "Steps ( 5/8 )");
        EXPECT_FALSE(steps.changed());
        EXPECT_EQ(ReadMacroStepRow(conn(), 1, 1).send.command, "1A,");

        // Auto Save: stored without a word, the clicked step loads.
        boxes.clear();
        editor.chkAutoSave->setChecked(true);
        steps.txtEditSeq->setText("renamed");
        clickStep(steps, 7);
        EXPECT_TRUE(boxes.boxes().isEmpty());
        EXPECT_EQ(steps.currentStep(), 6);
        EXPECT_EQ(steps.List1->item(4)->text(), "renamed");
        EXPECT_EQ(ReadMacroStepRow(conn(), 1, 4).name, "renamed");
    });
}

TEST_F(MacroEditorTest, AStepThatCannotBeReadLeavesTheShownOneAsItWas) {
    set("progMacrosSeq", 3, {{10, Value(9)}}); // a signal beyond the list
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        editor.chkAutoSave->setChecked(true);
        steps.txtAction->setText("41,");
        clickStep(steps, 3);
        ASSERT_EQ(boxes.texts().size(), 1);
        EXPECT_TRUE(boxes.texts()[0].endsWith(
            "\nError occurs when changing Step number, please try again!"));
        EXPECT_EQ(steps.currentStep(), 0);
        EXPECT_EQ(steps.List1->currentRow(), 0);
        EXPECT_EQ(steps.Label2->text(), "Steps ( 1/8 )");
        // What was shown is what the next save stores: step 1, as it was saved.
        EXPECT_EQ(steps.shownStep(), ReadMacroStepRow(conn(), 1, 0));
    });
}

TEST_F(MacroEditorTest, ASaveThatFailsStoresNothingAndKeepsWhatWasTyped) {
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        const MacroStepRow before = ReadMacroStepRow(conn(), 1, 0);
        steps.txtAction->setText("1A,,");
        steps.txtEditSeq->setText("typed");
        steps.cmdStepSave->click();
        EXPECT_EQ(boxes.texts().last(), "Invalid data: Hex codes exceed 2 digits, or no command "
                                        "codes in between two (,) sign!");
        EXPECT_EQ(boxes.boxes().last().title, "Error:");

        steps.txtAction->setText("1A,");
        ASSERT_EQ(sqliteExec(profile(), "ALTER TABLE progMacrosSeq RENAME TO elsewhere"), 0);
        steps.cmdStepSave->click();
        ASSERT_EQ(sqliteExec(profile(), "ALTER TABLE elsewhere RENAME TO progMacrosSeq"), 0);
        EXPECT_TRUE(boxes.texts().last().endsWith(
            "\nError occurs when saving steps data, please try again!"));
        EXPECT_EQ(ReadMacroStepRow(conn(), 1, 0), before);
        EXPECT_EQ(steps.txtEditSeq->text(), "typed");
        EXPECT_TRUE(steps.changed());
        EXPECT_NE(boxes.texts().last(), "Step 1 was updated successfully!");

        // A choice of macro that cannot save keeps the macro and the typing.
        editor.chkAutoSave->setChecked(true);
        steps.txtAction->setText("1A,,");
        chooseMacro(editor, 4);
        EXPECT_EQ(editor.cboMacros->currentIndex(), 0);
        EXPECT_EQ(editor.Frame4->title(), "Macro1: Steps");
        EXPECT_EQ(steps.txtAction->text(), "1A,,");
        steps.txtAction->setText("1A,");
    });
    EXPECT_EQ(ReadMacroStepRow(conn(), 1, 0).name, "typed") << "Auto Save at closing";
}

TEST_F(MacroEditorTest, StepFieldsFilterCheckAndTidyWhatIsTyped) {
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        steps.txtAction->setFocus();
        steps.txtAction->clear();
        QTest::keyClicks(steps.txtAction, "1a,1bz");
        EXPECT_EQ(steps.txtAction->text(), "1A,1B");
        steps.txtSeqCmdDelay->setFocus();
        EXPECT_EQ(steps.txtAction->text(), "1A,") << "what follows the last comma goes";
        EXPECT_EQ(steps.txtSeqCmdDelay->palette().color(QPalette::Base), QColor(Qt::yellow));
        EXPECT_EQ(steps.txtAction->palette().color(QPalette::Base), QColor(Qt::white));

        steps.txtSeqCmdDelay->setText("65536");
        steps.txtSeqCmdRepeat->setFocus();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        EXPECT_TRUE(QTest::qWaitFor([&] { return steps.txtSeqCmdDelay->hasFocus(); }, 2000));
        steps.txtSeqCmdDelay->setText("");
        steps.txtSeqCmdRepeat->setFocus();
        EXPECT_EQ(steps.txtSeqCmdDelay->text(), "0");

        // Pasted text passes the key filter too.
        QApplication::clipboard()->setText("1x2");
        steps.txtSeqCmdDelay->setFocus();
        steps.txtSeqCmdDelay->clear();
        steps.txtSeqCmdDelay->paste();
        EXPECT_EQ(steps.txtSeqCmdDelay->text(), "12");

        steps.txtSeqCmdRepeat->setText("0");
        EXPECT_FALSE(steps.txtSeqCmdInterval->isEnabled());
        EXPECT_EQ(steps.txtSeqCmdInterval->text(), "0");
        steps.txtSeqCmdRepeat->setText("3");
        EXPECT_TRUE(steps.txtSeqCmdInterval->isEnabled());
        steps.txtAction->setText("");
        EXPECT_FALSE(steps.txtSeqCmdRepeat->isEnabled()) << "nothing to repeat";

        steps.txtTimerAfter->setFocus();
        steps.txtTimerAfter->setText("12");
        steps.txtTimerAfter->end(false);
        QTest::keyClicks(steps.txtTimerAfter, "a");
        EXPECT_EQ(steps.txtTimerAfter->text(), "12") << "a letter does nothing";

        steps.txtEditSeq->setFocus();
        steps.txtEditSeq->clear();
        steps.txtAction->setFocus();
        EXPECT_EQ(boxes.texts().last(), "Please enter something for the selected step");
        EXPECT_TRUE(QTest::qWaitFor([&] { return steps.txtEditSeq->hasFocus(); }, 2000));
        steps.txtEditSeq->setText("back");

        // ASCII: the command is free text; its control codes are a list, limited to the
        // column's 255 characters.
        editor.Option1[1]->click();
        steps.txtAction->setFocus();
        steps.txtAction->clear();
        QTest::keyClicks(steps.txtAction, "at,x");
        steps.txtActionCtrl->setFocus();
        EXPECT_EQ(steps.txtAction->text(), "at,x");
        QTest::keyClicks(steps.txtActionCtrl, "d,aq");
        EXPECT_EQ(steps.txtActionCtrl->text(), "D,A");
        steps.txtSeqCmdDelay->setFocus();
        EXPECT_EQ(steps.txtActionCtrl->text(), "D,");
        expectTypingLimits({{steps.txtEditSeq, 50, "progMacrosSeq", "SeqName"},
                            {steps.txtAction, 255, "progMacrosSeq", "CmdStr"},
                            {steps.txtActionCtrl, 255, "progMacrosSeq", "strASCIICtrl"},
                            {steps.txtSeqCmdDelay, 5, "progMacrosSeq", "Delay"},
                            {steps.txtSeqCmdRepeat, 2, "progMacrosSeq", "RepeatNo"},
                            {steps.txtSeqCmdInterval, 5, "progMacrosSeq", "Interval"},
                            {steps.txtTimerAfter, 5, "progMacrosSeq", "TimerAfter"}});
        boxes.answerNext(AnswerNo);
    });
}

// A field's length limits typing only: what the profile holds is shown whole, and the
// checks of a save refuse what is out of range instead of storing it cut.
TEST_F(MacroEditorTest, StoredStepValuesAreShownWholeAndOnlyWhatIsInRangeIsStored) {
    set("progMacrosSeq", 2,
        {{3, Value("41,")}, {4, Value(12345)}, {8, Value(123456)}, {7, Value(70000)}});
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        clickStep(steps, 2);
        EXPECT_EQ(steps.txtSeqCmdRepeat->text(), "12345");
        EXPECT_EQ(steps.txtSeqCmdDelay->text(), "123456");
        EXPECT_EQ(steps.txtTimerAfter->text(), "70000");
        steps.cmdStepSave->click();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        steps.txtSeqCmdDelay->setText("0");
        steps.cmdStepSave->click();
        EXPECT_EQ(boxes.texts().last(), "Maximum value for timer is 65,535 ms, please try again!");
        EXPECT_EQ(ReadMacroStepRow(conn(), 1, 1).send.delay, "123456") << "nothing stored";
        steps.txtTimerAfter->setText("65535");
        steps.cmdStepSave->click();
        EXPECT_EQ(boxes.texts().last(), "Step 2 was updated successfully!");
    });
    const MacroStepRow stored = ReadMacroStepRow(conn(), 1, 1);
    EXPECT_EQ(stored.send.repeat, "12345") << "a repeat has no range of its own";
    EXPECT_EQ(stored.timerAfter, "65535");
}

// A name far longer than its column, as another tool may leave one, is a damaged value:
// the macro's load is refused at once, naming where it is, and nothing is written.
TEST_F(MacroEditorTest, ATextLongerThanItsColumnIsRefusedNamingItsPlace) {
    // Ten million characters in a Text(50) column.
    ASSERT_EQ(sqliteExec(profile(),
                         "UPDATE progMacrosSeq SET SeqName = hex(zeroblob(5000000)) WHERE ID = 10"),
              SQLITE_OK);
    const QByteArray before = folder.read("Devices/Device1.kst");
    withEditor([](frmAutoSequence& editor) { chooseMacro(editor, 2); });
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts()[0].contains("The file '" + profile() +
                                          "' is damaged: row 10 of the table 'progMacrosSeq' "
                                          "holds a text of 10000000 characters in its column "
                                          "'SeqName', which holds at most 50."))
        << boxes.texts()[0].left(500).toStdString();
    EXPECT_EQ(folder.read("Devices/Device1.kst"), before);
}

TEST_F(MacroEditorTest, TheKindDecidesWhichFieldsAreInUseAndWhatIsStored) {
    set("progMacrosSeq", 4,
        {{2, Value(0)}, {3, Value("41,")}, {4, Value(2)}, {11, Value(true)}, {10, Value(3)}});
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        clickStep(steps, 4);
        EXPECT_TRUE(steps.txtSeqCmdInterval->isEnabled());
        EXPECT_TRUE(steps.cboStepSignal->isEnabled());
        EXPECT_FALSE(steps.cboSub->isEnabled());
        EXPECT_FALSE(steps.changed()) << "loading changes nothing";

        steps.cboSub->setCurrentIndex(3);
        steps.OptSteps[1]->click();
        EXPECT_EQ(steps.cboSub->currentIndex(), 0) << "the first sub-routine is chosen";
        for (QWidget* field : std::initializer_list<QWidget*>{steps.txtAction, steps.txtSeqCmdDelay,
                                                              steps.txtSeqCmdRepeat,
                                                              steps.cboStepSignal, steps.chkStep})
            EXPECT_FALSE(field->isEnabled()) << field->objectName().toStdString();
        EXPECT_TRUE(steps.txtTimerAfter->isEnabled());
        EXPECT_EQ(steps.line(3)->borderColor(), syscolor::ScrollBar);
        EXPECT_EQ(steps.line(1)->borderColor(), syscolor::MenuText);
        steps.cboSub->setCurrentIndex(6);
        steps.txtAction->setText("changed,");
        steps.cmdStepSave->click();
        const MacroStepRow stored = ReadMacroStepRow(conn(), 1, 3);
        EXPECT_EQ(stored.action, StepAction::SubRoutine);
        EXPECT_EQ(stored.subRoutine, 6);
        EXPECT_EQ(stored.send.command, "41,") << "the send columns keep what they held";
        // Shown again from the table as a sub-routine step with its sub-routine.
        EXPECT_EQ(steps.cboSub->currentIndex(), 6);
        EXPECT_TRUE(steps.cboSub->isEnabled());
    });
}

TEST_F(MacroEditorTest, TheNotationSwitchEmptiesTheControlCodesAndIsStoredWithAStep) {
    withEditor([this](frmAutoSequence& editor) {
        MacroStepFields& steps = editor.steps();
        editor.Option1[1]->click();
        EXPECT_EQ(editor.Label20->text(), "2) * Input ASCII (e.g. ATI1) and control code (Hex "
                                          "format: e.g. D,A,) to be sent");
        steps.txtAction->setText("AT");
        steps.txtActionCtrl->setText("D,A,");
        editor.Option1[0]->click();
        EXPECT_EQ(steps.txtActionCtrl->text(), "");
        EXPECT_FALSE(steps.txtActionCtrl->isVisibleTo(&editor));
        EXPECT_EQ(steps.txtAction->text(), "AT");
        EXPECT_EQ(steps.txtAction->width(), toPixels(3540));
        editor.Option1[1]->click();
        EXPECT_EQ(steps.txtActionCtrl->text(), "") << "switching back restores nothing";
        // The notation alone is a change of the step: the closing offers its save.
        boxes.answerNext(AnswerYes);
    });
    EXPECT_EQ(boxes.texts().first(), "Step 1's data has been changed, would you like to save?");
    EXPECT_EQ(ReadMacroEditorOptions(conn()).notation, 1);
}

TEST_F(MacroEditorTest, ResetsAskWithNoAsDefaultAndShowOnlyWhatWasStored) {
    set("progMacrosSeq", 25, {{1, Value("mine")}, {13, Value("D,")}});
    set("progMacrosSeq", 1, {{6, Value(1)}});
    withEditor([this](frmAutoSequence& editor) {
        chooseMacro(editor, 4);
        boxes.answerNext(AnswerNo);
        editor.cmdClearCurrent->click();
        EXPECT_EQ(boxes.boxes().last().buttons, MsgButtons::YesNoDefaultNo);
        EXPECT_EQ(ReadMacroStepNames(conn(), 4)[0], "mine");

        editor.steps().txtAction->setText("unsaved");
        boxes.answerNext(AnswerYes);
        editor.cmdClearCurrent->click();
        EXPECT_EQ(boxes.texts().last(), "Current Macro was reset successfully!");
        EXPECT_EQ(editor.steps().List1->item(0)->text(), "Step4A");
        EXPECT_EQ(editor.steps().List1->item(7)->text(), "Step4H");
        EXPECT_EQ(editor.steps().txtTimerAfter->text(), "1000");
        EXPECT_TRUE(editor.Option1[0]->isChecked());
        EXPECT_FALSE(editor.steps().changed());
        EXPECT_EQ(ReadMacroEditorOptions(conn()).notation, 0);

        chooseMacro(editor, 6);
        boxes.answerNext(AnswerYes);
        editor.cmdClearAll->click();
        EXPECT_EQ(boxes.texts().last(), "All Macros were reset successfully!");
        EXPECT_EQ(editor.cboMacros->currentIndex(), 0);
        EXPECT_EQ(editor.Frame4->title(), "Macro1: Steps");
    });
    EXPECT_EQ(ReadSubRoutineNames(conn(), 8)[7], "Sub8H");
}

TEST_F(MacroEditorTest, ClosingStoresAutoSaveAndReloadsTheMacroOfTheMainWindow) {
    set("progMacrosSeq", 1, {{12, Value(true)}});
    main.ui().cboMacros->setCurrentIndex(1);
    main.cboMacros_Click();
    withEditor([this](frmAutoSequence& editor) {
        editor.chkAutoSave->setChecked(false);
        chooseMacro(editor, 2);
        editor.steps().txtAction->setText("42,");
        editor.steps().cmdStepSave->click();
        chooseMacro(editor, 3);
    });
    EXPECT_EQ(boxes.texts(), QStringList({"Step 1 was updated successfully!"}));
    EXPECT_FALSE(ReadMacroEditorOptions(conn()).autoSave);
    // The main window shows macro 2 and runs what was stored for it.
    EXPECT_EQ(main.session().macroRunner().macro().steps[0].send.command, "42,");
}

} // namespace
