#include "app/editors/condition_fields.h"
#include "app/editors/frm_auto_sequence.h"
#include "app/editors/macro_step_fields.h"
#include "app/editors/send_fields.h"
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

// Step 3 cannot be read; step 2 is shown when step 3 is chosen.
TEST_F(MacroEditorTest, AStepThatCannotBeReadLeavesTheShownOneAsItWasInTheList) {
    set("progMacrosSeq", 3, {{10, Value(9)}}); // a signal beyond the list
    const struct {
        const char* how;
        std::function<void(MacroStepFields&)> choose;
    } cases[] = {
        {"by the program", [](MacroStepFields& s) { clickStep(s, 3); }},
        // A click makes the row current, then selects it.
        {"by a click",
         [](MacroStepFields& s) {
             QTest::mouseClick(s.List1->viewport(), Qt::LeftButton, {},
                               s.List1->visualItemRect(s.List1->item(2)).center());
         }},
        {"by the arrow key",
         [](MacroStepFields& s) {
             s.List1->setFocus();
             QTest::keyClick(s.List1, Qt::Key_Down);
         }},
    };
    for (const auto& c : cases) {
        boxes.clear();
        withEditor([&](frmAutoSequence& editor) {
            MacroStepFields& steps = editor.steps();
            editor.chkAutoSave->setChecked(true);
            clickStep(steps, 2);
            steps.txtAction->setText("41,");
            boxes.answerNext(AnswerNo);
            c.choose(steps);
            ASSERT_EQ(boxes.texts().size(), 1) << c.how;
            EXPECT_TRUE(boxes.texts()[0].endsWith(
                "\nError occurs when changing Step number, please try again!"
                "\nStep 3 of Macro 1 cannot be read."
                "\nWould you like to reset Macro 1's settings?"))
                << c.how;
            EXPECT_EQ(boxes.boxes()[0].buttons, MsgButtons::YesNoDefaultNo) << c.how;
            EXPECT_EQ(steps.currentStep(), 1) << c.how;
            EXPECT_EQ(steps.List1->currentRow(), 1) << c.how;
            EXPECT_EQ(steps.List1->selectedItems(), QList{steps.List1->item(1)}) << c.how;
            EXPECT_EQ(steps.Label2->text(), "Steps ( 2/8 )") << c.how;
            EXPECT_EQ(steps.Label21->text(), "2 >") << c.how;
            // What was shown is what the next save stores: step 2, as it was saved.
            EXPECT_EQ(steps.shownStep(), ReadMacroStepRow(conn(), 1, 1)) << c.how;
            editor.chkAutoSave->setChecked(false);
        });
    }
}

// A value of another kind in one row of macro 2 (another tool wrote it): the box names the
// row, and offers to reset the macro, No being the default.
TEST_F(MacroEditorTest, ARowThatCannotBeReadIsNamedAndOnlyItsMacroIsReset) {
    const QString macros = "\nError occurs when changing Macros number, please try again!";
    const struct {
        const char* table;
        int id;
        const char* column;
        const char* value;
        std::function<void(frmAutoSequence&)> reach;
        QString lines; // how the box ends
        int shownAfterNo;
    } cases[] = {
        {"progMacrosSeq", 9, "TimerAfter", "'abc'", [](frmAutoSequence& e) { chooseMacro(e, 2); },
         macros + "\nStep 1 of Macro 2 cannot be read.", 1},
        {"progMacrosSeq", 10, "TimerAfter", "'abc'",
         [](frmAutoSequence& e) {
             chooseMacro(e, 2);
             clickStep(e.steps(), 2);
         },
         "\nError occurs when changing Step number, please try again!"
         "\nStep 2 of Macro 2 cannot be read.",
         2},
        {"progMacrosSubRoutines", 13, "IfThenCmdDelay", "'soon'",
         [](frmAutoSequence& e) {
             chooseMacro(e, 2);
             pickSubRoutine(e.subRoutines(), 5);
         },
         "\nError occurs when changing Sub-Routine number, please try again!"
         "\nSub-Routine 5 of Macro 2 cannot be read.",
         2},
        {"progMacrosSubRoutines", 16, "SubRoutineName", "x'00'",
         [](frmAutoSequence& e) { chooseMacro(e, 2); },
         macros + "\nSub-Routine 8 of Macro 2 cannot be read.", 1},
        // A name longer than its column, and a signal outside its list.
        {"progMacrosSeq", 9, "SeqName", "hex(zeroblob(30))",
         [](frmAutoSequence& e) { chooseMacro(e, 2); },
         macros + "\nStep 1 of Macro 2 cannot be read.", 1},
        {"progMacrosSeq", 12, "stepSignal", "99",
         [](frmAutoSequence& e) {
             chooseMacro(e, 2);
             clickStep(e.steps(), 4);
         },
         "\nError occurs when changing Step number, please try again!"
         "\nStep 4 of Macro 2 cannot be read.",
         2},
    };
    set("progMacrosSeq", 17, {{1, Value("mine")}});
    for (const auto& c : cases) {
        for (const MsgAnswer answer : {AnswerNo, AnswerYes}) {
            const QString what = QString("%1 %2 %3").arg(c.column).arg(c.id).arg(answer);
            ASSERT_EQ(sqliteExec(profile(), QString("UPDATE %1 SET %2 = %3 WHERE ID = %4")
                                                .arg(c.table, c.column, c.value)
                                                .arg(c.id)),
                      0);
            boxes.clear();
            withEditor([&](frmAutoSequence& editor) {
                boxes.answerNext(answer);
                c.reach(editor);
                ASSERT_FALSE(boxes.boxes().isEmpty()) << qPrintable(what);
                const RecordedBox& box = boxes.boxes().first();
                EXPECT_TRUE(box.text.contains(c.column)) << qPrintable(what);
                EXPECT_TRUE(
                    box.text.endsWith(c.lines + "\nWould you like to reset Macro 2's settings?"))
                    << qPrintable(box.text);
                EXPECT_EQ(box.buttons, MsgButtons::YesNoDefaultNo) << qPrintable(what);
                const int shown = answer == AnswerNo ? c.shownAfterNo : 2;
                EXPECT_EQ(editor.cboMacros->currentIndex() + 1, shown) << qPrintable(what);
                EXPECT_EQ(editor.Frame4->title(), QString("Macro%1: Steps").arg(shown));
                if (answer == AnswerNo) {
                    EXPECT_EQ(boxes.boxes().size(), 1) << qPrintable(what);
                } else {
                    EXPECT_EQ(boxes.texts().last(), "Current Macro was reset successfully!");
                    EXPECT_EQ(editor.steps().List1->item(1)->text(), "Step2B");
                    EXPECT_EQ(editor.subRoutines().Combo3->itemText(7), "Sub2H");
                    EXPECT_FALSE(editor.steps().changed());
                }
            });
            EXPECT_EQ(ReadMacroStepNames(conn(), 3)[0], "mine") << "macro 3 untouched";
        }
        EXPECT_NO_THROW(ReadMacroStepTable(conn(), 2));
        EXPECT_NO_THROW(ReadSubRoutineTable(conn(), 2));
    }

    // Macro 1 is shown at the opening: No leaves the window closed, Yes opens it reset.
    ASSERT_EQ(sqliteExec(profile(), "UPDATE progMacrosSubRoutines SET ElseCheck = 'x' WHERE "
                                    "ID = 1"),
              0);
    boxes.clear();
    boxes.answerNext(AnswerNo);
    main.menuItem("mnuProgMacros")->trigger();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_TRUE(boxes.texts()[0].endsWith("\nSub-Routine 1 of Macro 1 cannot be read."
                                          "\nWould you like to reset Macro 1's settings?"));
    boxes.answerNext(AnswerYes);
    withEditor([this](frmAutoSequence& editor) {
        EXPECT_EQ(editor.Frame4->title(), "Macro1: Steps");
        EXPECT_EQ(boxes.texts().last(), "Current Macro was reset successfully!");
        EXPECT_TRUE(editor.subRoutines().chkElse->isChecked());
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

using EditorField = std::function<QLineEdit*(frmAutoSequence&)>;
const EditorField stepCommand = [](frmAutoSequence& e) { return e.steps().txtAction; };
const EditorField stepCodes = [](frmAutoSequence& e) { return e.steps().txtActionCtrl; };
const EditorField stepTimer = [](frmAutoSequence& e) { return e.steps().txtTimerAfter; };
const EditorField stepName = [](frmAutoSequence& e) { return e.steps().txtEditSeq; };
const EditorField ifData = [](frmAutoSequence& e) {
    return e.subRoutines().condition(ConditionPart::If).data;
};
const EditorField ifCodes = [](frmAutoSequence& e) {
    return e.subRoutines().condition(ConditionPart::If).controlCodes;
};
const EditorField ifThen = [](frmAutoSequence& e) {
    return e.subRoutines().send(SendPart::IfThen).command;
};
const EditorField elseCodes = [](frmAutoSequence& e) {
    return e.subRoutines().send(SendPart::ElseThen).controlCodes;
};
const EditorField elseDelay = [](frmAutoSequence& e) {
    return e.subRoutines().send(SendPart::ElseThen).delay;
};
const EditorField subName = [](frmAutoSequence& e) { return e.subRoutines().txtSubRoutine; };

// A stored text is not what the user typed: entering and leaving its field rewrites
// nothing and asks nothing, and a save keeps it whole.
TEST_F(MacroEditorTest, AStoredTextPassedThroughIsNeitherTidiedNorAChange) {
    const struct {
        int notation;
        const char* table;
        int column;
        const char* stored;
        EditorField field;
    } cases[] = {
        {0, "progMacrosSeq", 3, "1A,1B", stepCommand}, // the tail goes out in ASCII
        {0, "progMacrosSeq", 3, "1A", stepCommand},
        {1, "progMacrosSeq", 13, "d,a", stepCodes},
        {0, "progMacrosSubRoutines", 3, "0a,05,", ifData}, // the bytes, not the text compared
        {1, "progMacrosSubRoutines", 32, "d,a", ifCodes},
        {0, "progMacrosSubRoutines", 5, "1A,1B", ifThen},
        {1, "progMacrosSubRoutines", 42, "0a,1b", elseCodes},
    };
    for (const auto& c : cases) {
        set("progMacrosSeq", 1, {{6, Value(c.notation)}});
        set(c.table, 1, {{c.column, Value(c.stored)}});
        boxes.clear();
        withEditor([&](frmAutoSequence& editor) {
            c.field(editor)->setFocus();
            editor.steps().txtEditSeq->setFocus();
            editor.subRoutines().txtSubRoutine->setFocus();
            EXPECT_EQ(c.field(editor)->text(), c.stored);
            chooseMacro(editor, 2);
            EXPECT_TRUE(boxes.boxes().isEmpty()) << c.stored;
            chooseMacro(editor, 1);
            editor.steps().cmdStepSave->click();
            editor.subRoutines().cmdSubRoutineSave->click();
        });
        EXPECT_EQ(stored(c.table, 1, c.column), c.stored);
    }
}

// A value out of range is refused as the focus leaves its field, also for the Save button
// beside it and for Escape, and Save tells it no second time.
TEST_F(MacroEditorTest, AFieldIsCheckedAtEveryMoveOfTheFocusAndOnce) {
    set("progMacrosSeq", 1, {{2, Value(1)}}); // a sub-routine step: its timer in use
    const QString timer = "Maximum value for timer is 65,535 ms, please try again!";
    enum class Way { Tab, Click, Escape };
    const struct {
        EditorField field;
        const char* text;
        QString message;
        Way way;
    } cases[] = {
        {stepTimer, "70000", timer, Way::Tab},
        {stepTimer, "70000", timer, Way::Click},
        {stepName, "", "Please enter something for the selected step", Way::Click},
        {stepTimer, "65536", timer, Way::Escape},
        {elseDelay, "70000", "Maximum delay time is 65,535 ms, please try again!", Way::Click},
        {subName, "", "Please enter something for the selected sub-routine", Way::Tab},
        {subName, "", "Please enter something for the selected sub-routine", Way::Click},
    };
    const MacroStepRow step = ReadMacroStepRow(conn(), 1, 0);
    const SubRoutineRow sub = ReadSubRoutineRow(conn(), 1, 0);
    for (const auto& c : cases) {
        boxes.clear();
        withEditor([&](frmAutoSequence& editor) {
            QLineEdit* field = c.field(editor);
            const bool ofStep = editor.steps().Frame3->isAncestorOf(field);
            QPushButton* save =
                ofStep ? editor.steps().cmdStepSave : editor.subRoutines().cmdSubRoutineSave;
            field->setFocus();
            field->setText(c.text);
            if (c.way == Way::Click)
                QTest::mouseClick(save, Qt::LeftButton);
            else if (c.way == Way::Tab)
                save->setFocus(Qt::TabFocusReason);
            else
                QTest::keyClick(field, Qt::Key_Escape);
            EXPECT_EQ(boxes.texts(), QStringList{c.message}) << c.text << int(c.way);
            EXPECT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
            // Leaving again is checked again.
            save->setFocus(Qt::TabFocusReason);
            EXPECT_EQ(boxes.texts().size(), 2);
            field->setText("1");
            boxes.answerNext(AnswerNo);
        });
    }
    EXPECT_EQ(ReadMacroStepRow(conn(), 1, 0), step) << "nothing was saved";
    EXPECT_EQ(ReadSubRoutineRow(conn(), 1, 0), sub);
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
// the macro's load is refused at once, naming where it is, and nothing is written unless
// the reset of that macro offered is taken.
TEST_F(MacroEditorTest, ATextLongerThanItsColumnIsRefusedNamingItsPlace) {
    // Ten million characters in a Text(50) column.
    ASSERT_EQ(sqliteExec(profile(),
                         "UPDATE progMacrosSeq SET SeqName = hex(zeroblob(5000000)) WHERE ID = 10"),
              SQLITE_OK);
    const QByteArray before = folder.read("Devices/Device1.kst");
    withEditor([this](frmAutoSequence& editor) {
        boxes.answerNext(AnswerNo);
        chooseMacro(editor, 2);
    });
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_TRUE(boxes.texts()[0].contains("The file '" + profile() +
                                          "' is damaged: row 10 of the table 'progMacrosSeq' "
                                          "holds a text of 10000000 characters in its column "
                                          "'SeqName', which holds at most 50."))
        << boxes.texts()[0].left(500).toStdString();
    EXPECT_TRUE(boxes.texts()[0].endsWith("\nStep 2 of Macro 2 cannot be read."
                                          "\nWould you like to reset Macro 2's settings?"));
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
