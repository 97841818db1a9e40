#include "app/app_fixtures.h"
#include "app/editors/condition_fields.h"
#include "app/editors/frm_auto_resp.h"
#include "app/editors/send_fields.h"
#include "app/port/port_control.h"
#include "autoresp/auto_responder.h"
#include "platform/scheduler.h"
#include "platform/serial/simulated_line.h"
#include "storage/columns/prog_auto_resp_columns.h"
#include "storage/rule_table.h"
#include "support/raw_sqlite.h"
#include "traffic/received_event.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kst;
using namespace kst::test;
using comm::SimulatedLine;
using db::Value;

namespace {

// The rule editor of a main window on a simulated COM1, opened from the menu.
class AutoRespEditorTest : public ::testing::Test {
protected:
    AutoRespEditorTest() : main((folder.makeReady(), folder.path()), FullScreen, &clock) {
        main.session().useDevices(SimulatedLine::factory({{1, &com1}}));
        main.InitMainWindow();
        main.setCommands(nullptr);
        boxes.clear();
        QApplication::setActiveWindow(&main);
    }
    QString profileConn() const { return main.session().shared().SettingsConnStr; }
    AutoResponder& responder() { return main.session().autoResponder(); }

    // Runs `act` on the editor as a user would, once the menu has opened it.
    void edit(std::function<void(frmAutoResp&)> act) {
        QTimer::singleShot(0, [act = std::move(act)] {
            auto* editor = qobject_cast<frmAutoResp*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            QApplication::setActiveWindow(editor);
            act(*editor);
        });
        main.mnuProgAutoResp_Click();
    }
    static void type(QLineEdit* field, const QString& keys) {
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, keys);
    }
    // What the open port sends when the engine is offered a block.
    QByteArray answerTo(const QString& block) {
        com1.clearActions();
        responder().offer(ReceivedEvent::block(block, false, main.session().primaryLines()));
        clock.advance(0);
        return com1.written();
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    CountingBeeper beeper;
    ManualScheduler clock;
    SimulatedLine com1;
    RecordingMain main;
};

TEST_F(AutoRespEditorTest, ARuleTypedAndSavedIsStoredAndAnswersAtOnce) {
    main.controller().port().OpenPort();
    responder().switchTo(true);
    EXPECT_TRUE(answerTo("4F,4B,").isEmpty());
    edit([](frmAutoResp& editor) {
        ConditionFields& condition = *editor.rules[5].condition;
        SendFields& response = *editor.rules[5].response;
        editor.SSTab1->setCurrentIndex(1);
        condition.kindOptions[2]->click(); // Contain*
        type(condition.data, "4f,4b,");
        type(response.command, "41,54");
        type(response.delay, "");
        response.repeat->setFocus();
        EXPECT_EQ(condition.data->text(), "4F,4B,");
        EXPECT_EQ(response.command->text(), "41,") << "what follows the last comma goes";
        EXPECT_EQ(response.delay->text(), "0");
        type(response.command, "41,54,");
        response.signalCheck->setChecked(true);
        response.signalList->setCurrentIndex(8);
        editor.cmdSave->click();
    });
    EXPECT_EQ(boxes.texts(), QStringList({"Data has been saved successfully!"}));
    const RuleRow stored = ReadRuleTable(profileConn()).rows[5];
    EXPECT_EQ(stored.condition, (ConditionRow{2, "4F,4B,", "", false, 0}));
    EXPECT_EQ(stored.response, (SendRow{"41,54,", "", "0", "0", "0", true, 8}));
    EXPECT_EQ(responder().rules()[5].response.signal, OutputSignal::PlaySound);
    EXPECT_EQ(answerTo("4F,4B,D,A,"), QByteArray("AT"));
}

TEST_F(AutoRespEditorTest, KindsAndNotationsLayOutTheRuleAndEmptyWhatNoLongerFits) {
    edit([this](frmAutoResp& editor) {
        editor.Option1[1]->click(); // ASCII
        ConditionFields& c = *editor.rules[0].condition;
        SendFields& r = *editor.rules[0].response;
        EXPECT_FALSE(c.lineStateCheck->isEnabled()) << "no data, no line state";
        type(c.data, "OK");
        type(c.controlCodes, "d,a,x");
        EXPECT_EQ(c.controlCodes->text(), "D,A,");
        EXPECT_TRUE(c.lineStateCheck->isEnabled());
        EXPECT_FALSE(c.lineStateList->isEnabled()) << "the list follows the tick";
        c.lineStateCheck->setChecked(true);
        c.lineStateList->setCurrentIndex(10);
        EXPECT_TRUE(c.lineStateList->isEnabled());
        const int narrow = c.data->width();

        c.kindOptions[1]->click(); // Data<>*: the data stays, the list starts again
        EXPECT_EQ(c.data->text(), "OK");
        EXPECT_EQ(c.lineStateList->currentIndex(), 0);
        c.kindOptions[3]->click(); // Len =
        EXPECT_EQ(c.data->text(), "");
        EXPECT_EQ(c.controlCodes->text(), "");
        EXPECT_TRUE(c.controlCodes->isHidden());
        EXPECT_GT(c.data->width(), narrow);
        EXPECT_EQ(c.lineStateList->count(), 13);
        type(c.data, "1a2,");
        EXPECT_EQ(c.data->text(), "12") << "a length is digits";
        c.kindOptions[6]->click(); // Signaling
        EXPECT_EQ(c.data->text(), "12");
        EXPECT_FALSE(c.data->isEnabled());
        EXPECT_FALSE(c.lineStateCheck->isEnabled());
        EXPECT_TRUE(c.lineStateList->isEnabled());
        EXPECT_EQ(c.lineStateList->count(), 7);
        EXPECT_EQ(c.lineStateList->itemText(6), "RI Detected");
        EXPECT_EQ(c.line->borderColor(), 0x80000000u);
        c.kindOptions[0]->click();
        EXPECT_EQ(c.data->text(), "");
        EXPECT_FALSE(c.controlCodes->isHidden());
        EXPECT_EQ(c.data->width(), narrow);

        // The notation keeps the texts and empties every control code.
        type(c.data, "ok");
        type(c.controlCodes, "D,");
        type(r.command, "ATI1");
        type(r.controlCodes, "D,A,");
        editor.rules[12].response->controlCodes->setText("A,");
        editor.Option1[0]->click();
        EXPECT_EQ(editor.Label4->text(),
                  "2) * Append (,) after each byte of command code (e.g. 1A,1B,)");
        EXPECT_EQ(c.data->text(), "ok");
        EXPECT_EQ(r.command->text(), "ATI1");
        for (QLineEdit* codes :
             {c.controlCodes, r.controlCodes, editor.rules[12].response->controlCodes}) {
            EXPECT_EQ(codes->text(), "");
            EXPECT_TRUE(codes->isHidden());
        }
        EXPECT_EQ(boxes.boxes().size(), 0);
        boxes.answerNext(AnswerNo); // "would you like to save?"
        editor.close();
    });
    EXPECT_EQ(boxes.texts(), QStringList({"Some data have been changed, would you like to save?"}));
    EXPECT_EQ(ReadRuleTable(profileConn()), DefaultRuleTable());
}

TEST_F(AutoRespEditorTest, FieldsRefuseWhatCannotBeStoredAndMarkTheRulesChanged) {
    edit([this](frmAutoResp& editor) {
        SendFields& r = *editor.rules[2].response;
        // Entering and leaving without a change marks nothing.
        EXPECT_FALSE(r.repeat->isEnabled()) << "nothing to repeat";
        r.delay->setFocus();
        r.command->setFocus();
        EXPECT_FALSE(editor.changed());

        type(r.delay, "6x5536");
        EXPECT_EQ(r.delay->text(), "65536");
        r.command->setFocus();
        EXPECT_EQ(boxes.texts(),
                  QStringList({"Maximum delay time is 65,535 ms, please try again!"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return r.delay->hasFocus(); }, 2000));
        EXPECT_FALSE(editor.changed()) << "a refused delay marks nothing";
        type(r.delay, "65535");
        r.command->setFocus();
        EXPECT_TRUE(editor.changed());

        // A refused list marks the rules changed all the same.
        type(r.command, "1A,,");
        r.delay->setFocus();
        EXPECT_EQ(boxes.boxes().size(), 2);
        EXPECT_EQ(boxes.boxes().value(1).title, "Error:");
        EXPECT_EQ(boxes.boxes().value(1).icon, MsgIcon::Exclamation);
        EXPECT_TRUE(QTest::qWaitFor([&] { return r.command->hasFocus(); }, 2000));
        type(r.command, "1A,");
        type(r.repeat, "0");
        EXPECT_FALSE(r.interval->isEnabled());
        EXPECT_EQ(r.interval->text(), "0");
        type(r.repeat, "3");
        EXPECT_TRUE(r.interval->isEnabled());
        type(r.command, "");
        EXPECT_FALSE(r.repeat->isEnabled());
        EXPECT_FALSE(r.interval->isEnabled());

        // Closing with a bad command of Hex notation keeps the window open.
        editor.rules[0].condition->data->setFocus();
        r.command->setText("1FF,");
        boxes.clear();
        editor.close();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(boxes.texts(),
                  QStringList({"Invalid data: Hex codes exceed 2 digits, or no command codes in "
                               "between two (,) sign!"}));
        EXPECT_TRUE(QTest::qWaitFor([&] { return r.command->hasFocus(); }, 2000));
        r.command->setText("");
        boxes.answerNext(AnswerNo);
        editor.close();
    });
    EXPECT_EQ(ReadRuleTable(profileConn()), DefaultRuleTable());
}

// A stored length that holds a comma is refused by the save before anything is written:
// the table, the engine and the window stay as they were.
TEST_F(AutoRespEditorTest, ASaveThatIsRefusedStoresNothingAndKeepsTheEditorOpen) {
    namespace C = ProgAutoRespColumn;
    setRow(profileConn(), "progAutoResp", 10,
           {{C::CondOpt, Value(qint64(3))}, {C::Condition, Value("12,")}});
    const RuleTable before = ReadRuleTable(profileConn());
    const AutoResponseRules rulesBefore = responder().rules();
    edit([this](frmAutoResp& editor) {
        editor.rules[0].response->command->setText("41,");
        editor.cmdSave->click();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(editor.SSTab1->currentIndex(), 2);
        QLineEdit* length = editor.rules[9].condition->data;
        EXPECT_TRUE(QTest::qWaitFor([&] { return length->hasFocus(); }, 2000));
        EXPECT_EQ(length->text(), "12,");
        length->setText("12"); // every way out checks the field with the focus first
        boxes.answerNext(AnswerNo);
        editor.cmdExit->click();
    });
    ASSERT_FALSE(boxes.boxes().isEmpty());
    EXPECT_EQ(boxes.texts()[0], "Invalid data: Length data contains non-digit characters!");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(ReadRuleTable(profileConn()), before);
    EXPECT_EQ(responder().rules()[0].response.command, rulesBefore[0].response.command);
}

TEST_F(AutoRespEditorTest, ResetAsksWithNoAsTheDefaultAndStoresEmptyRules) {
    namespace C = ProgAutoRespColumn;
    setRow(profileConn(), "progAutoResp", 2,
           {{C::Condition, Value("4F,")}, {C::respCodes, Value("41,")}});
    setRow(profileConn(), "progAutoResp", 1, {{C::hexFormat, Value(qint64(1))}});
    main.Open_DB(folder.file("Devices/Device1.kst"), "Device1.kst");
    ASSERT_EQ(responder().rules()[1].condition.data, "4F,");
    edit([this](frmAutoResp& editor) {
        EXPECT_TRUE(editor.Option1[1]->isChecked());
        boxes.answerNext(AnswerNo);
        editor.cmdReset->click();
        EXPECT_EQ(editor.rules[1].condition->data->text(), "4F,");
        boxes.answerNext(AnswerYes);
        editor.cmdReset->click();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_TRUE(editor.Option1[0]->isChecked());
        EXPECT_EQ(editor.rules[1].condition->data->text(), "");
        editor.close();
    });
    ASSERT_EQ(boxes.boxes().size(), 3) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(boxes.boxes()[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(boxes.texts()[0], "Are you sure you want to reset all Auto-Response settings?");
    EXPECT_EQ(boxes.texts()[2], "Data has been reset successfully!");
    EXPECT_EQ(ReadRuleTable(profileConn()), DefaultRuleTable());
    EXPECT_EQ(responder().rules()[1].condition.data, "");
}

TEST_F(AutoRespEditorTest, AnEditorThatCouldNotReadTheRulesCannotWriteThem) {
    main.shared().SettingsConnStr = profileConnStr(folder.file("Devices/Gone.kst"));
    edit([](frmAutoResp& editor) {
        EXPECT_FALSE(editor.cmdSave->isEnabled());
        EXPECT_TRUE(editor.cmdReset->isEnabled()) << "a reset stores none of the rules";
        editor.close();
    });
    ASSERT_FALSE(boxes.boxes().isEmpty());
    EXPECT_EQ(boxes.boxes()[0].title, "Form Load Error:");
}

// A rule whose signal is outside its list never sent one: shown as "RTS ON", a save would
// make it send one. Its load fails naming the rule, and nothing can be stored over it; a
// reset, which stores none of the rules shown, leads back to rules that can be edited.
TEST_F(AutoRespEditorTest, AValueOutsideItsListIsALoadErrorThatNamesTheRule) {
    namespace C = ProgAutoRespColumn;
    setRow(profileConn(), "progAutoResp", 3,
           {{C::respCodes, Value("41,")}, {C::respChk, Value(true)}, {C::respCbo, Value(42)}});
    const QByteArray before = folder.read("Devices/Device1.kst");
    // Nothing was read: an edit is never stored, and no question (answered Yes) is asked.
    edit([](frmAutoResp& editor) {
        EXPECT_FALSE(editor.cmdSave->isEnabled());
        type(editor.rules[0].condition->data, "41,");
        QTest::keyClick(editor.rules[0].condition->data, Qt::Key_Escape);
    });
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "Form Load Error:");
    EXPECT_EQ(boxes.texts()[0], "Error Number: 380\nDescription: Invalid property value: rule 3 "
                                "holds 42 in its column 'respCbo', outside its list of 9 entries.");
    EXPECT_EQ(folder.read("Devices/Device1.kst"), before);

    edit([this](frmAutoResp& editor) {
        boxes.answerNext(AnswerYes);
        editor.cmdReset->click();
        EXPECT_TRUE(editor.cmdSave->isEnabled());
        // The edit still in the focused field counts for every way out: Yes stores it.
        type(editor.rules[0].response->command, "5A,");
        QTest::keyClick(editor.rules[0].response->command, Qt::Key_Escape);
    });
    EXPECT_EQ(ReadRuleTable(profileConn()).rows[0].response.command, "5A,");
    EXPECT_EQ(ReadRuleTable(profileConn()).rows[2], DefaultRuleTable().rows[2]);
    // Also after the focus went elsewhere: another tab, a minimised window restored from
    // another, a close while another window is active.
    const std::pair<const char*, std::function<void(frmAutoResp&)>> asides[] = {
        {"5B,", [](frmAutoResp& editor) { editor.SSTab1->setCurrentIndex(1); }},
        {"5C,",
         [this](frmAutoResp& editor) {
             editor.showMinimized();
             QApplication::setActiveWindow(&main);
             editor.showNormal();
             QApplication::setActiveWindow(&editor);
         }},
        {"5D,", [this](frmAutoResp&) { QApplication::setActiveWindow(&main); }},
    };
    for (const auto& [typed, aside] : asides) {
        edit([&typed, &aside](frmAutoResp& editor) {
            type(editor.rules[0].response->command, typed);
            aside(editor);
            QTest::keyClick(&editor, Qt::Key_Escape);
        });
        EXPECT_EQ(ReadRuleTable(profileConn()).rows[0].response.command, typed);
    }

    // -1 is no entry chosen, as a list takes it: it loads, and a save keeps it. Leaving the
    // list marks the rules changed only when another entry was chosen.
    boxes.clear();
    sqliteExec(folder.file("Devices/Device1.kst"),
               "UPDATE progAutoResp SET respChk = 1, respCbo = -1, CondChk = 1, CondCbo = -1 WHERE "
               "ID = 3; UPDATE progAutoResp SET CondOpt = 6, CondCbo = -1 WHERE ID = 4");
    edit([this](frmAutoResp& editor) {
        QComboBox* signal = editor.rules[2].response->signalList;
        EXPECT_EQ(signal->currentIndex(), -1);
        EXPECT_EQ(editor.rules[2].condition->lineStateList->currentIndex(), -1) << "not CTS ON";
        for (const int chosen : {-1, 2}) {
            EXPECT_FALSE(editor.changed());
            signal->setFocus();
            signal->setCurrentIndex(chosen);
            editor.rules[2].response->command->setFocus();
        }
        boxes.answerNext(AnswerNo);
        editor.close();
    });
    EXPECT_EQ(boxes.texts(), QStringList({"Some data have been changed, would you like to save?"}));
    edit([](frmAutoResp& editor) { editor.cmdSave->click(); });
    EXPECT_EQ(boxes.texts().last(), "Data has been saved successfully!");
    EXPECT_EQ(ReadRuleTable(profileConn()).rows[2].condition.lineState, -1);
    // The engine takes the rules as read from the profile.
    EXPECT_TRUE(main.log().plainText().contains("Auto-Response 4 has no line event chosen"));
}

// A field's length limits typing only: what the profile holds is shown whole, and the
// checks of a save refuse what is out of range instead of storing it cut.
TEST_F(AutoRespEditorTest, StoredValuesAreShownWholeAndTypingStopsWhereTheColumnsDo) {
    namespace C = ProgAutoRespColumn;
    setRow(profileConn(), "progAutoResp", 4,
           {{C::respCodes, Value("41,")},
            {C::respDelay, Value(qint64(99999))},
            {C::respRepeat, Value(qint64(12345))}});
    edit([this](frmAutoResp& editor) {
        editor.Option1[1]->click(); // ASCII shows every field
        const ConditionFields& c = *editor.rules[3].condition;
        const SendFields& r = *editor.rules[3].response;
        EXPECT_EQ(r.delay->text(), "99999");
        EXPECT_EQ(r.repeat->text(), "12345");
        expectTypingLimits({{c.data, 255, "progAutoResp", "Condition"},
                            {c.controlCodes, 255, "progAutoResp", "strConditionCtrl"},
                            {r.command, 255, "progAutoResp", "respCodes"},
                            {r.controlCodes, 255, "progAutoResp", "strRespCtrl"},
                            {r.delay, 5, "progAutoResp", "respDelay"},
                            {r.repeat, 2, "progAutoResp", "respRepeat"},
                            {r.interval, 5, "progAutoResp", "respInterval"}});
        editor.Option1[0]->click();
        editor.cmdSave->click();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        EXPECT_TRUE(QTest::qWaitFor([&] { return r.delay->hasFocus(); }, 2000));
        r.delay->setText("250");
        editor.cmdSave->click();
    });
    EXPECT_EQ(boxes.texts().last(), "Data has been saved successfully!");
    const SendRow stored = ReadRuleTable(profileConn()).rows[3].response;
    EXPECT_EQ(stored.delay, "250");
    EXPECT_EQ(stored.repeat, "12345") << "a repeat has no range of its own";
}

} // namespace
