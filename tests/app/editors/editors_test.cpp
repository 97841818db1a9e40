#include "app/app_fixtures.h"
#include "app/editors/condition_fields.h"
#include "app/editors/frm_auto_resp.h"
#include "app/editors/frm_auto_sequence.h"
#include "app/editors/frm_options.h"
#include "app/editors/frm_prog_but.h"
#include "app/editors/macro_step_fields.h"
#include "app/editors/send_fields.h"
#include "app/sending/send_buttons.h"
#include "notation/notation.h"
#include "storage/button_table.h"
#include "storage/columns/prog_buttons_columns.h"
#include "storage/preferences_store.h"
#include "support/drop_text.h"
#include "tools/checksum_calculator.h"
#include "tools/frm_logic.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

using namespace kst;
using namespace kst::test;
using db::Value;

namespace {

// Runs `act` on the dialog the window shows next, as a user would.
template <class Dialog> void withNextDialog(std::function<void(Dialog&)> act) {
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        // The keyboard's focus moves only within the active window.
        QApplication::setActiveWindow(dialog);
        act(*dialog);
    });
}

class EditorsTest : public ::testing::Test {
protected:
    EditorsTest() : main((folder.makeReady(), folder.path())) {
        main.InitMainWindow();
        main.setCommands(nullptr);
        boxes.clear();
        QApplication::setActiveWindow(&main);
    }
    QString profileConn() const { return main.session().shared().SettingsConnStr; }
    // Leaves a field as the keyboard does, so its checks run.
    static void leave(QWidget* from, QWidget* to) {
        from->setFocus();
        to->setFocus();
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingMain main;
};

TEST_F(EditorsTest, AButtonEditedAndSavedReachesTheTableTheMemoryAndTheMainWindow) {
    withNextDialog<frmProgBut>([](frmProgBut& editor) {
        frmProgBut::Row& row = editor.rows[16];
        row.txtCaption->setText("Ok");
        row.txtCmd->setText("4F,4B,");
        row.txtDelay->setText("250");
        row.txtRepeat->setText("2");
        row.txtInterval->setText("100");
        row.Combo1->setCurrentIndex(18);
        row.Combo2->setCurrentIndex(9);
        editor.cmdSave->click();
    });
    main.mnuProgBut_Click();

    EXPECT_EQ(boxes.texts(), QStringList({"Data has been saved successfully!"}));
    const ButtonRow stored = ReadButtonTable(profileConn()).rows[16];
    EXPECT_EQ(stored, (ButtonRow{"Ok", "4F,4B,", "", "250", "2", "100", 18, 9}));
    const ProgButton& loaded = main.shared().LoadedButtons[16];
    EXPECT_EQ(loaded.keyCaption, "Ok");
    EXPECT_EQ(loaded.chain, 18);
    EXPECT_EQ(loaded.action.signal, OutputSignal::PlaySound);
    EXPECT_EQ(loaded.action.intervalMs, 100);
    // The main window shows the first page, relabelled.
    EXPECT_TRUE(main.ui().Option6[0]->isChecked());
    main.controller().buttons().Option6_Click(1);
    EXPECT_EQ(main.ui().cmdProBut[0]->text(), "Ok");
}

TEST_F(EditorsTest, AMissingCaptionOrABadListStoresNothingAndKeepsTheEditorOpen) {
    const ButtonTable before = ReadButtonTable(profileConn());
    withNextDialog<frmProgBut>([this](frmProgBut& editor) {
        editor.rows[3].txtCmd->setText("1B,");
        editor.rows[16].txtCaption->setText("");
        editor.cmdSave->click();
        EXPECT_EQ(editor.SSTab1->currentIndex(), 1) << "the second tab comes forward";
        EXPECT_TRUE(editor.isVisible());
        editor.rows[16].txtCaption->setText("x");
        editor.rows[19].txtCmd->setText("1A,,");
        editor.cmdSave->click();
        EXPECT_TRUE(editor.isVisible());
        boxes.answerNext(AnswerNo); // "would you like to save?"
        editor.rows[19].txtCmd->setText("1A,");
        editor.close();
    });
    main.mnuProgBut_Click();
    EXPECT_EQ(boxes.texts(),
              QStringList({"Please enter at least 1 characters for Button17's caption",
                           "Invalid data: Hex code exceeds 2 digits, or no command code in "
                           "between two (,) sign!",
                           "Some data has been changed, would you like to save?"}));
    EXPECT_EQ(ReadButtonTable(profileConn()), before);
}

TEST_F(EditorsTest, FieldsFilterTidyAndCheckWhatIsTyped) {
    withNextDialog<frmProgBut>([this](frmProgBut& editor) {
        frmProgBut::Row& row = editor.rows[0];
        row.txtCmd->setFocus();
        row.txtCmd->clear();
        QTest::keyClicks(row.txtCmd, "1a,1bz");
        EXPECT_EQ(row.txtCmd->text(), "1A,1B");
        row.txtDelay->setFocus();
        EXPECT_EQ(row.txtCmd->text(), "1A,") << "what follows the last comma goes";
        // Only the field with the focus is yellow.
        EXPECT_EQ(row.txtDelay->palette().color(QPalette::Base), QColor(Qt::yellow));
        EXPECT_EQ(row.txtCmd->palette().color(QPalette::Base), QColor(Qt::white));

        row.txtDelay->clear();
        QTest::keyClicks(row.txtDelay, "6x5536");
        EXPECT_EQ(row.txtDelay->text(), "65536");
        row.txtRepeat->setFocus();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        EXPECT_TRUE(QTest::qWaitFor([&] { return row.txtDelay->hasFocus(); }, 2000));
        row.txtDelay->setText("");
        row.txtRepeat->setFocus();
        EXPECT_EQ(row.txtDelay->text(), "0");

        row.txtRepeat->setText("0");
        EXPECT_FALSE(row.txtInterval->isEnabled());
        EXPECT_EQ(row.txtInterval->text(), "0");
        row.txtRepeat->setText("3");
        EXPECT_TRUE(row.txtInterval->isEnabled());

        // A notation switch empties the control codes, in both directions, and keeps the
        // command texts: codes hidden in Hex would be stored and sent in ASCII.
        editor.Option1[1]->click();
        row.txtCtrlCode->setText("D,A,");
        editor.Option1[0]->click();
        EXPECT_EQ(row.txtCtrlCode->text(), "");
        row.txtCtrlCode->setText("D,");
        editor.Option1[1]->click();
        EXPECT_EQ(row.txtCtrlCode->text(), "");
        EXPECT_EQ(row.txtCmd->text(), "1A,");
        boxes.answerNext(AnswerNo);
        editor.close();
    });
    main.mnuProgBut_Click();
}

// A field's length limits typing only: what the profile holds is shown whole, and the
// checks of a save refuse what is out of range instead of storing it cut.
TEST_F(EditorsTest, StoredValuesAreShownWholeAndTypingStopsWhereTheColumnsDo) {
    namespace C = ProgButtonsColumn;
    setRow(profileConn(), "progButtons", 2,
           {{C::keyCaption, Value("ABCDE")},
            {C::keyDelay, Value(qint64(123456))},
            {C::keyRepeat, Value(qint64(12345))}});
    withNextDialog<frmProgBut>([this](frmProgBut& editor) {
        frmProgBut::Row& row = editor.rows[1];
        EXPECT_EQ(row.txtCaption->text(), "ABCDE");
        EXPECT_EQ(row.txtDelay->text(), "123456");
        EXPECT_EQ(row.txtRepeat->text(), "12345");
        expectTypingLimits({{row.txtCaption, 3, "progButtons", "keyCaption"},
                            {row.txtCmd, 255, "progButtons", "keyCodes"},
                            {row.txtCtrlCode, 255, "progButtons", "strASCIICtrl"},
                            {row.txtDelay, 5, "progButtons", "keyDelay"},
                            {row.txtRepeat, 2, "progButtons", "keyRepeat"},
                            {row.txtInterval, 5, "progButtons", "keyInterval"}});
        editor.cmdSave->click();
        EXPECT_EQ(boxes.texts().last(), "Please enter maximum 3 characters for Button2's caption");
        row.txtCaption->setText("ABC");
        editor.cmdSave->click();
        EXPECT_EQ(boxes.texts().last(), "Maximum delay time is 65,535 ms, please try again!");
        EXPECT_EQ(ReadButtonTable(profileConn()).rows[1].caption, "ABCDE") << "nothing stored";
        row.txtDelay->setText("65535");
        editor.cmdSave->click();
    });
    main.mnuProgBut_Click();
    EXPECT_EQ(boxes.texts().last(), "Data has been saved successfully!");
    const ButtonRow stored = ReadButtonTable(profileConn()).rows[1];
    EXPECT_EQ(stored.caption, "ABC");
    EXPECT_EQ(stored.delay, "65535");
    EXPECT_EQ(stored.repeat, "12345") << "a repeat has no range of its own";
}

// A signal or chain outside its list cannot be shown as it is: shown as another entry, a
// save would store that entry. The load names the button and stores nothing.
TEST_F(EditorsTest, AStoredSignalOrChainOutsideItsListIsALoadErrorNamingTheButton) {
    namespace C = ProgButtonsColumn;
    const struct {
        int column;
        qint64 value;
        const char* refusal; // none: the list shows its first entry
    } cases[] = {
        {C::signals_, 10,
         "button 5 holds 10 in its column 'signals', outside its list of 10 entries."},
        {C::signals_, 9, nullptr},
        {C::signals_, -1, nullptr}, // no entry chosen, as a list takes it
        {C::signals_, -2,
         "button 5 holds -2 in its column 'signals', outside its list of 10 entries."},
        {C::chain, 33, "button 5 holds 33 in its column 'chain', outside its list of 33 entries."},
        {C::chain, 32, nullptr},
        {C::chain, -1, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        boxes.clear();
        WriteButtonTable(profileConn(), DefaultButtonTable());
        setRow(profileConn(), "progButtons", 5, {{c.column, Value(c.value)}});
        const QByteArray before = folder.read("Devices/Device1.kst");
        withNextDialog<frmProgBut>([&c, this](frmProgBut& editor) {
            EXPECT_EQ(editor.cmdSave->isEnabled(), c.refusal == nullptr);
            QComboBox* list = c.column == C::chain ? editor.rows[4].Combo1 : editor.rows[4].Combo2;
            list->setFocus();
            list->setCurrentIndex(list->currentIndex() == 1 ? 2 : 1);
            // Escape in the list asks, but not after a refused load (unanswered: Yes).
            if (!c.refusal)
                boxes.answerNext(AnswerNo);
            QTest::keyClick(list, Qt::Key_Escape);
        });
        main.mnuProgBut_Click();
        if (c.refusal) {
            ASSERT_EQ(boxes.boxes().size(), 1);
            EXPECT_EQ(boxes.boxes()[0].title, "Form Load Error:");
            EXPECT_EQ(boxes.texts()[0], QString("Error Number: 380\nDescription: Invalid property "
                                                "value: ") +
                                            c.refusal);
        } else {
            EXPECT_EQ(boxes.texts(),
                      QStringList({"Some data has been changed, would you like to save?"}));
        }
        EXPECT_EQ(folder.read("Devices/Device1.kst"), before);
    }
    // An empty position is the list's first entry, as a load of the profile reads it.
    setRow(profileConn(), "progButtons", 5, {{C::signals_, Value()}, {C::chain, Value()}});
    const ButtonRow row = ReadButtonTable(profileConn()).rows[4];
    EXPECT_EQ(row.signal, 0);
    EXPECT_EQ(row.chain, 0);
}

TEST_F(EditorsTest, ResetStoresTheDefaultButtonsAndKeepsTheEditorOpen) {
    withNextDialog<frmProgBut>([this](frmProgBut& editor) {
        editor.Option1[1]->click();
        boxes.answerNext(AnswerYes);
        editor.cmdReset->click();
        EXPECT_TRUE(editor.isVisible());
        EXPECT_TRUE(editor.Option1[0]->isChecked());
        EXPECT_EQ(editor.rows[31].txtCmd->text(), "3F,");
        editor.close();
    });
    main.mnuProgBut_Click();
    EXPECT_EQ(boxes.texts().last(), "All buttons have been reset successfully!");
    EXPECT_EQ(ReadButtonTable(profileConn()), DefaultButtonTable());
    EXPECT_EQ(main.shared().LoadedButtons[0].action.command, "20,");
    EXPECT_EQ(main.shared().LoadedButtons[31].chain, 0) << "nothing else: no chain, no signal";
    EXPECT_FALSE(main.shared().LoadedButtons[31].action.sendSignal);
    EXPECT_EQ(main.ui().cmdProBut[0]->text(), "1");
}

TEST_F(EditorsTest, EnterInAFieldOfAnEditorPressesNoButton) {
    const ButtonTable before = ReadButtonTable(profileConn());
    const UserPreferences prefsBefore = LoadPreferences(main.session().SupportConnStr());
    withNextDialog<frmProgBut>([](frmProgBut& editor) {
        for (QLineEdit* field :
             {editor.rows[0].txtCaption, editor.rows[20].txtCmd, editor.rows[31].txtDelay}) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_Return);
            QTest::keyClick(field, Qt::Key_Enter);
        }
        EXPECT_TRUE(editor.isVisible());
        editor.close();
    });
    main.mnuProgBut_Click();
    withNextDialog<frmOptions>([](frmOptions& options) {
        options.Combo1->setFocus();
        QTest::keyClick(options.Combo1, Qt::Key_Return);
        EXPECT_TRUE(options.isVisible());
        options.Command2->click();
    });
    main.mnuOptions_Click();
    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('|').toStdString();
    EXPECT_EQ(ReadButtonTable(profileConn()), before);
    EXPECT_EQ(LoadPreferences(main.session().SupportConnStr()).fontSizeIndex,
              prefsBefore.fontSizeIndex);

    // The reset question answers No to Enter.
    withNextDialog<frmProgBut>([this](frmProgBut& editor) {
        boxes.answerNext(AnswerNo);
        editor.cmdReset->click();
        editor.close();
    });
    main.mnuProgBut_Click();
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].buttons, MsgButtons::YesNoDefaultNo);
    EXPECT_EQ(ReadButtonTable(profileConn()), before);
}

// A drop, the wheel over a list or over the tab bar of an editor that is not the active
// window: each changes what it shows without the focus its marks follow, and is asked about
// (Yes stores it).
TEST_F(EditorsTest, EditsWithoutTheFocusAreAskedAboutAtTheWayOut) {
    QWidget elsewhere;
    elsewhere.show();
    const struct {
        const char* what;
        std::function<void(frmProgBut&)> edit;
        std::function<void(ButtonTable&)> stored;
    } cases[] = {
        {"a drop onto a field without the focus",
         [](frmProgBut& editor) {
             dropText(editor.rows[2].txtDelay, "25");
             EXPECT_EQ(editor.focusWidget(), editor.rows[2].txtDelay);
         },
         [](ButtonTable& t) { t.rows[2].delay = "250"; }},
        {"a list turned while another window is active",
         [&elsewhere](frmProgBut& editor) {
             QApplication::setActiveWindow(&elsewhere);
             editor.rows[0].Combo1->setCurrentIndex(1);
             QApplication::setActiveWindow(&editor);
         },
         [](ButtonTable& t) { t.rows[0].chain = 1; }},
        {"a tab switched while another window is active",
         [this, &elsewhere](frmProgBut& editor) {
             QLineEdit* delay = editor.rows[0].txtDelay;
             delay->setFocus();
             delay->setText("99999");
             QApplication::setActiveWindow(&elsewhere);
             // Refused, and again at the next switch. Only the refusal's own queued call
             // runs between them: the window stays inactive.
             for (const int refusals : {1, 2}) {
                 editor.SSTab1->setCurrentIndex(1);
                 EXPECT_EQ(
                     boxes.texts().count("Maximum delay time is 65,535 ms, please try again!"),
                     refusals);
                 QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
                 EXPECT_EQ(editor.SSTab1->currentIndex(), 0);
             }
             QApplication::setActiveWindow(&editor);
             delay->setText("250");
         },
         [](ButtonTable& t) { t.rows[0].delay = "250"; }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ButtonTable expected = ReadButtonTable(profileConn());
        c.stored(expected);
        boxes.clear();
        withNextDialog<frmProgBut>([&c](frmProgBut& editor) {
            c.edit(editor);
            QTest::keyClick(&editor, Qt::Key_Escape);
        });
        main.mnuProgBut_Click();
        EXPECT_TRUE(boxes.texts().contains("Some data has been changed, would you like to save?"));
        EXPECT_EQ(ReadButtonTable(profileConn()), expected);
    }
}

TEST_F(EditorsTest, AnEditorThatCouldNotReadTheTableCannotWriteIt) {
    main.shared().SettingsConnStr = profileConnStr(folder.file("Devices/Gone.kst"));
    withNextDialog<frmProgBut>([](frmProgBut& editor) {
        EXPECT_FALSE(editor.cmdSave->isEnabled());
        EXPECT_TRUE(editor.cmdReset->isEnabled()) << "a reset stores none of the rows";
        editor.close();
    });
    main.mnuProgBut_Click();
    ASSERT_FALSE(boxes.boxes().isEmpty());
    EXPECT_EQ(boxes.boxes()[0].title, "Form Load Error:");
}

TEST(ButtonTable, AWriteThatFailsPartWayLeavesEveryRowAsItWas) {
    ProgramFolder folder;
    folder.makeReady();
    const QString conn = profileConnStr(folder.file("Devices/Device1.kst"));
    const ButtonTable before = ReadButtonTable(conn);
    ButtonTable changed = DefaultButtonTable();
    changed.rows[0].caption = "new";
    changed.rows[20].caption = QString(60, u'x'); // beyond the column's 50 characters
    EXPECT_THROW(WriteButtonTable(conn, changed), RunTimeError);
    EXPECT_EQ(ReadButtonTable(conn), before);
}

TEST_F(EditorsTest, OptionsAreStoredAndAppliedWhereTheyTakeEffect) {
    ScriptedColorDialogs colors;
    colors.answers = {0x0000FF, std::nullopt, 0x00FF00};
    const bool descriptionBefore = main.shared().Prefs.bolDescription;
    withNextDialog<frmOptions>([](frmOptions& options) {
        options.cmdBg->click();                            // red
        options.styleRows()[1].color->click();             // Cancel: the TX colour stays
        options.styleRows()[2].color->click();             // RX1 green
        options.styleRows()[1].flags[0]->setChecked(true); // TX bold
        options.Combo1->setCurrentIndex(3);
        options.Check3[1]->setChecked(true);                            // beep on sending
        options.Check1[2]->setChecked(!options.Check1[2]->isChecked()); // Description at start-up
        options.Command1->click();
    });
    const quint32 txBefore = main.shared().Prefs.txColor;
    main.mnuOptions_Click();

    const UserPreferences stored = LoadPreferences(main.session().SupportConnStr());
    const UserPreferences& prefs = main.shared().Prefs;
    EXPECT_EQ(stored.backgroundColor, 0x0000FFu);
    EXPECT_EQ(stored.txColor, txBefore);
    EXPECT_EQ(stored.rx1Color, 0x00FF00u);
    EXPECT_TRUE(stored.bolTxBold);
    EXPECT_EQ(stored.fontSizeIndex, 3);
    EXPECT_TRUE(stored.bolSoundOnSend);
    EXPECT_EQ(stored.bolDescription, !descriptionBefore);
    // At once in memory, except the start-up choices, which wait for the next load.
    EXPECT_EQ(prefs.rx1Color, 0x00FF00u);
    EXPECT_TRUE(prefs.bolSoundOnSend);
    EXPECT_EQ(prefs.bolDescription, descriptionBefore);
    EXPECT_EQ(main.responseBox()->palette().color(QPalette::Base), QColor(255, 0, 0));

    // New text takes the new style and size.
    main.log().clear();
    main.Add_Color("tx", prefs.txStyle());
    const std::vector<StyledRun> written = main.log().runs();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_TRUE(written[0].style.bold);
    EXPECT_EQ(written[0].style.pointSize, 14);
}

TEST_F(EditorsTest, CancelAndAFailedSaveChangeNeitherTheRowNorTheWindow) {
    ScriptedColorDialogs colors;
    colors.answers = {0x123456};
    const UserPreferences before = LoadPreferences(main.session().SupportConnStr());
    const QColor background = main.responseBox()->palette().color(QPalette::Base);
    withNextDialog<frmOptions>([](frmOptions& options) {
        options.cmdBg->click();
        options.Command2->click();
    });
    main.mnuOptions_Click();
    EXPECT_EQ(main.responseBox()->palette().color(QPalette::Base), background);
    EXPECT_EQ(LoadPreferences(main.session().SupportConnStr()).backgroundColor,
              before.backgroundColor);

    // The support database goes away under the open dialog: OK says so and keeps it open.
    withNextDialog<frmOptions>([this](frmOptions& options) {
        options.Check3[0]->setChecked(!options.Check3[0]->isChecked());
        QFile::rename(folder.file("mscomctl.2fl"), folder.file("moved.2fl"));
        options.Command1->click();
        EXPECT_TRUE(options.isVisible());
        QFile::rename(folder.file("moved.2fl"), folder.file("mscomctl.2fl"));
        options.Command2->click();
    });
    const bool soundBefore = main.shared().Prefs.bolSoundOnReceive;
    main.mnuOptions_Click();
    ASSERT_FALSE(boxes.boxes().isEmpty());
    EXPECT_EQ(boxes.boxes().last().title, "Setting_Save Error:");
    EXPECT_EQ(main.shared().Prefs.bolSoundOnReceive, soundBefore);
}

// Delete, and Delete after Ctrl+A, edit every field whose keys are filtered, in each of
// its notations; a printable key the field refuses stays out.
TEST_F(EditorsTest, TheDeleteKeyEditsEveryFilteredField) {
    frmProgBut buttons(&main, main.session().shared(), {});
    frmAutoResp rules(&main, profileConn(), {});
    frmAutoSequence macros(&main, profileConn(), {});
    const MainControls& ui = main.ui();
    // The main window's command box in notation `format` (0 Dec .. 3 Bin).
    const auto commandBox = [&](int format) {
        return [&, format] {
            ui.Option1[static_cast<size_t>(format)]->click();
            return ui.Combo1->lineEdit();
        };
    };
    const auto named = [](QWidget& window, const char* name) {
        return [&window, name] { return window.findChild<QLineEdit*>(name); };
    };
    frmLogic logic;
    // Mid-field, the caret tells where a paste goes, whatever follows it, and a selection
    // (made left to right: the caret at its end) is what it replaces. What no key types
    // stays out. Undo takes the paste back whole, cut or filtered.
    const std::tuple<const char*, int, int, const char*, const char*> midField[] = {
        {"1000", 1, 0, "05", "10000"},
        {"1234", 1, 0, "2x9", "12234"},
        {"10000", 1, 1, "050", "10000"},
        {"1", 1, 0, "2\t3", "123"},
        {"1", 1, 0, "2\n3", "123"}};
    const struct {
        const char* name;
        std::function<QLineEdit*()> field;
        QWidget* window;
        // What a paste of "1a2b3c4d5e6" leaves: filtered, then cut to the typing limit.
        const char* pasted = nullptr;
        bool midField = false;
    } cases[] = {
        {"command box, Dec", commandBox(0), &main},
        {"command box, Hex", commandBox(1), &main},
        {"command box, Oct", commandBox(2), &main},
        {"command box, Bin", commandBox(3), &main},
        {"control codes",
         [&] {
             ui.Option1[4]->click();
             return ui.Text3;
         },
         &main},
        {"delay", [&] { return ui.txtCmdDelay; }, &main, "12345", true},
        {"repeat", [&] { return ui.txtCmdRepeat; }, &main, "123"},
        {"interval", [&] { return ui.txtCmdInterval; }, &main, "12345"},
        {"calculator operand, Not in Dec",
         [&] {
             ui.Option5[opNot]->click();
             ui.Option4[ncDec]->click();
             return ui.txtOperands;
         },
         &main, "123"},
        {"converter input", [&] { return logic.converterControls().Text2; }, &logic, "12345", true},
        {"button command", [&] { return buttons.rows[0].txtCmd; }, &buttons},
        {"button delay", [&] { return buttons.rows[0].txtDelay; }, &buttons, "12345"},
        {"button repeat", [&] { return buttons.rows[0].txtRepeat; }, &buttons, "12"},
        {"button interval", [&] { return buttons.rows[0].txtInterval; }, &buttons},
        {"rule data", [&] { return rules.rules[0].condition->data; }, &rules},
        {"rule command", [&] { return rules.rules[0].response->command; }, &rules},
        {"rule delay", [&] { return rules.rules[0].response->delay; }, &rules},
        {"rule repeat", [&] { return rules.rules[0].response->repeat; }, &rules},
        {"rule interval", [&] { return rules.rules[0].response->interval; }, &rules},
        {"step command", [&] { return macros.steps().txtAction; }, &macros},
        {"step delay", [&] { return macros.steps().txtSeqCmdDelay; }, &macros},
        {"step repeat", [&] { return macros.steps().txtSeqCmdRepeat; }, &macros},
        {"step interval", [&] { return macros.steps().txtSeqCmdInterval; }, &macros},
        {"step timer", [&] { return macros.steps().txtTimerAfter; }, &macros, "12345"},
        {"IF data", named(macros, "txtSubRX1"), &macros},
        {"THEN command", named(macros, "txtSubTX1"), &macros},
        {"THEN delay", named(macros, "txtSubDelay1"), &macros},
    };
    const QString del(QChar(0x7F));
    for (const auto& c : cases) {
        c.window->show();
        QLineEdit* field = c.field();
        ASSERT_NE(field, nullptr) << c.name;
        // As an open port, a command typed or a repeat count enables it.
        for (QWidget* w = field; !w->isWindow(); w = w->parentWidget())
            w->setEnabled(true);
        ASSERT_TRUE(field->isEnabled()) << c.name;
        // The keys go where the keyboard sends them: to the combo box of its line.
        QWidget* keys =
            qobject_cast<QComboBox*>(field->parentWidget()) ? field->parentWidget() : field;
        field->setText("10");
        field->home(false);
        QTest::sendKeyEvent(QTest::Click, keys, Qt::Key_Delete, del, Qt::NoModifier);
        EXPECT_EQ(field->text(), "0") << c.name;
        QTest::sendKeyEvent(QTest::Click, keys, Qt::Key_A, QString(QChar(0x01)),
                            Qt::ControlModifier);
        QTest::sendKeyEvent(QTest::Click, keys, Qt::Key_Delete, del, Qt::NoModifier);
        EXPECT_EQ(field->text(), "") << c.name;
        QTest::keyClicks(keys, "z");
        EXPECT_EQ(field->text(), "") << c.name << ": z is no key of the field";
        if (c.pasted) {
            field->insert("1a2b3c4d5e6"); // as a paste does
            EXPECT_EQ(field->text(), c.pasted) << c.name;
        }
        if (c.midField) {
            QApplication::setActiveWindow(c.window);
            field->setFocus();
            QCoreApplication::processEvents(); // the entry's selection
        }
        for (const auto& [before, from, length, pasted, kept] : midField) {
            if (!c.midField)
                break;
            field->setText(before);
            field->setSelection(from, length);
            QGuiApplication::clipboard()->setText(pasted);
            // From the field's own menu: back from it, the field is not entered anew.
            QContextMenuEvent menuAsked(QContextMenuEvent::Mouse, QPoint(1, 1));
            QApplication::sendEvent(field, &menuAsked);
            ASSERT_NE(QApplication::activePopupWidget(), nullptr) << c.name;
            QApplication::activePopupWidget()->close(); // as its Paste closes it
            field->paste();
            QCoreApplication::processEvents();
            EXPECT_EQ(field->text().toStdString(), kept) << c.name << ": " << pasted;
            EXPECT_FALSE(field->hasSelectedText()) << c.name << ": the next key goes on";
            field->undo();
            EXPECT_EQ(field->text().toStdString(), before) << c.name << ": " << pasted;
        }
    }
}

} // namespace
