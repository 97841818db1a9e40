#include "app/app_fixtures.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "notation/notation.h"
#include "tools/checksum_calculator.h"
#include "tools/frm_about.h"
#include "tools/frm_ascii.h"
#include "tools/frm_logic.h"
#include "traffic/send_engine.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <map>

using namespace kst;
using namespace kst::test;

namespace {

// A main window with the program's own commands, as the user has it.
class ToolsTest : public ::testing::Test {
protected:
    ToolsTest() : main((folder.makeReady(), folder.path()), FullScreen) {
        main.setCommands(nullptr);
        main.InitMainWindow();
        boxes.clear();
    }
    template <class W> QList<W*> windows() const { return main.findChildren<W*>(); }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingShell shell;
    RecordingMain main;
};

TEST_F(ToolsTest, ThePaneCalculatesWithTheMainWindowsState) {
    const MainControls& ui = main.ui();
    ui.Option4[ncDec]->click();
    ui.Option5[opDifference]->click();
    EXPECT_EQ(main.state().CalcNotation, ncDec);
    EXPECT_EQ(main.state().CalcOperation, opDifference);
    ui.txtOperands->setText("10,20,");
    EXPECT_TRUE(ui.cmdCal->isEnabled());
    ui.cmdCal->click();
    EXPECT_EQ(ui.txtResult->text(), "-10");

    ui.Option5[opQuotient]->click();
    EXPECT_EQ(ui.txtResult->width(), toPixels(1650));
    EXPECT_TRUE(ui.txtRemainder->isVisibleTo(ui.Frame5));
    ui.txtOperands->setText("100,7,3,");
    ui.cmdCal->click();
    EXPECT_EQ(ui.txtResult->text(), "4");
    EXPECT_EQ(ui.txtRemainder->text(), "2");
    ui.Option5[opCrc]->click();
    EXPECT_EQ(ui.txtResult->width(), toPixels(2550));
    EXPECT_TRUE(ui.lblModbus->isVisibleTo(ui.Frame5));
    EXPECT_EQ(ui.Label3->text(), "Input operands (e.g. 10,11,)");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(ToolsTest, TheCalculatorWindowKeepsStateApartFromThePane) {
    main.menuItem("mnuCal")->trigger();
    ASSERT_EQ(windows<frmLogic>().size(), 1);
    frmLogic* window = windows<frmLogic>().first();
    EXPECT_TRUE(window->isVisible());
    window->calculatorControls().notations[ncBin]->click();
    window->calculatorControls().operators[opNot]->click();
    EXPECT_EQ(main.state().CalcNotation, ncHex);
    EXPECT_EQ(main.state().CalcOperation, opAnd);
    window->calculatorControls().txtOperands->setText("1");
    window->calculatorControls().cmdCal->click();
    EXPECT_EQ(window->calculatorControls().txtResult->text(), "11111110 ");
}

TEST_F(ToolsTest, ToolWindowsOpenBesideEachOtherAndCloseWithTheMainWindow) {
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_N, Qt::ControlModifier);
    main.menuItem("mnuCal")->trigger();
    main.menuItem("mnuAscii")->trigger();
    main.menuItem("mnuAbout")->trigger();
    ASSERT_EQ(windows<frmLogic>().size(), 2);
    ASSERT_EQ(windows<frmAscII>().size(), 1);
    ASSERT_EQ(windows<frmAbout>().size(), 1);
    EXPECT_EQ(windows<frmAscII>().first()->chart()->topLevelItemCount(), 256);
    QList<QWidget*> tools;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w != &main)
            tools << w;
    EXPECT_EQ(tools.size(), 4);

    CountingEnder ender;
    main.close();
    for (QWidget* tool : tools)
        EXPECT_FALSE(tool->isVisible()) << tool->objectName().toStdString();
    EXPECT_EQ(ender.count, 1);
}

// ---------------------------------------------------------------------------------------
// Every menu item and toolbar button does something

// What a user could see of the program: boxes, opened links, windows and dialogs, the
// program's end, the menus' marks, the toolbar's pictures and the window's state.
struct Visible {
    int boxes = 0;
    int links = 0;
    int windows = 0;
    int dialogs = 0;
    int ends = 0;
    int fileDialogs = 0;
    QString state;
    bool operator==(const Visible&) const = default;
};

class EveryEntryTest : public ToolsTest {
protected:
    Visible now() const {
        Visible seen{static_cast<int>(boxes.boxes().size()),
                     static_cast<int>(shell.opened.size()),
                     static_cast<int>(QApplication::topLevelWidgets().size()),
                     dialogs,
                     ender.count,
                     static_cast<int>(fileDialogs.requests.size())};
        for (const QString& name : main.menuItemNames()) {
            QAction* item = main.menuItem(name);
            seen.state +=
                QStringLiteral("%1:%2%3;").arg(name).arg(item->isChecked()).arg(item->isVisible());
        }
        for (ToolButton button :
             {ToolButton::Connect, ToolButton::AutoRespOnOff, ToolButton::MacrosContinue})
            seen.state += QString::number(main.Toolbar1()->buttonImage(button));
        const MainState& s = main.session().state();
        seen.state += QStringLiteral("|%1%2%3%4%5|%6x%7|%8")
                          .arg(s.MonitoringMode)
                          .arg(s.PortIsOpen)
                          .arg(main.session().sender().busy())
                          .arg(static_cast<int>(main.session().macroRunner().state()))
                          .arg(main.session().autoResponder().isOn())
                          .arg(main.width())
                          .arg(main.height())
                          .arg(main.isVisible());
        return seen;
    }
    // Runs one entry; a modal dialog it opens is counted and closed at once.
    bool doesSomething(const std::function<void()>& trigger) {
        const Visible before = now();
        QTimer closer;
        closer.setInterval(0);
        QObject::connect(&closer, &QTimer::timeout, [this] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                ++dialogs;
                dialog->close();
            }
        });
        closer.start();
        trigger();
        closer.stop();
        return !(now() == before);
    }

    // A macro that waits on its first step, on a port taken as open, running or not;
    // the run's entries enabled.
    void macroOf(bool running) {
        MacroRunner& runner = main.session().macroRunner();
        runner.stop();
        MacroRecords macro;
        macro.steps[0].action = 1;
        macro.steps[0].waitMs = 1000;
        runner.setMacro(1, macro);
        main.state().PortIsOpen = true;
        if (running)
            runner.run();
        for (const char* item : {"mnuMacro", "mnuRun", "mnuPause", "mnuStop", "mnuContinue"})
            main.menuItem(item)->setEnabled(true);
        for (ToolButton button : {ToolButton::MacrosPlay, ToolButton::MacrosPause,
                                  ToolButton::MacrosStop, ToolButton::MacrosContinue})
            main.Toolbar1()->setButtonEnabled(button, true);
    }

    CountingEnder ender;
    ScriptedFileDialogs fileDialogs;
    int dialogs = 0;
};

TEST_F(EveryEntryTest, EveryMenuItemAndToolbarButtonDoesSomething) {
    // Set-ups that make an entry's command act: a mode to leave, items of an open port.
    const std::map<QString, std::function<void()>> setUp = {
        {"mnuDebugging",
         [this] {
             main.state().MonitoringMode = true;
             main.menuItem("mnuDebugging")->setChecked(false);
         }},
        {"mnuPortClose", [this] { main.menuItem("mnuPortClose")->setEnabled(true); }},
        {"mnuAutoResp", [this] { main.menuItem("mnuAutoResp")->setEnabled(true); }},
        {"toolbar:AutoRespOnOff",
         [this] { main.Toolbar1()->setButtonEnabled(ToolButton::AutoRespOnOff, true); }},
        {"mnuRun", [this] { macroOf(false); }},
        {"toolbar:macrosPlay", [this] { macroOf(false); }},
        {"mnuPause", [this] { macroOf(true); }},
        {"toolbar:macrosPause", [this] { macroOf(true); }},
        {"mnuStop", [this] { macroOf(true); }},
        {"toolbar:macrosStop", [this] { macroOf(true); }},
        {"mnuContinue", [this] { macroOf(false); }},
        {"toolbar:macrosContinue", [this] { macroOf(false); }},
    };
    QStringList entries;
    for (const QString& name : main.menuItemNames()) {
        QAction* item = main.menuItem(name);
        if (!item->isSeparator() && !item->menu() && name != "mnuExit")
            entries << name;
    }
    for (int index = 1; index <= KeyedToolBar::ButtonCount; ++index) {
        if (!main.Toolbar1()->buttonKey(index).isEmpty())
            entries << "toolbar:" + main.Toolbar1()->buttonKey(index);
    }
    entries << "mnuExit"; // last: it ends the program
    ASSERT_EQ(entries.size(), 35);

    for (const QString& entry : entries) {
        if (setUp.count(entry))
            setUp.at(entry)();
        const bool acted = doesSomething([&] {
            if (entry.startsWith("toolbar:"))
                main.Toolbar1()->button(entry.mid(8))->trigger();
            else
                main.menuItem(entry)->trigger();
        });
        EXPECT_TRUE(acted) << entry.toStdString() << " does nothing";
    }
    EXPECT_EQ(ender.count, 1);
}

} // namespace
