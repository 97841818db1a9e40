#include "app/app_fixtures.h"
#include "app/main/tool_bar.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

using namespace kst;
using namespace kst::test;

namespace {

class DispatchTest : public ::testing::Test {
protected:
    DispatchTest() : main((folder.makeReady(), folder.path()), FullScreen) {
        main.InitMainWindow();
        boxes.clear(); // the empty port list's notice
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingShell shell;
    RecordingMain main;
};

TEST_F(DispatchTest, EveryMenuItemReachesItsHandler) {
    const QList<std::pair<const char*, const char*>> items = {
        {"mnuNew", "newProfile"},
        {"mnuOpenSettings", "openProfile"},
        {"mnuSaveSettings", "saveProfileAs"},
        {"mnuSave", "saveLog"},
        {"mnuOpenLog", "openLog"},
        {"mnuDebugging", "switchToDebugging"},
        {"mnuMonitoring", "switchToMonitoring"},
        {"mnuPortOpen", "openPort"},
        {"mnuSettings", "advancedSettings"},
        {"mnuAscii", "showAsciiChart"},
        {"mnuCal", "showCalculator"},
        {"mnuProgBut", "editButtons"},
        {"mnuProgAutoResp", "editAutoResponse"},
        {"mnuProgMacros", "editMacros"},
        {"mnuOptions", "editOptions"},
        {"mnuImport", "importProfile"},
        {"mnuAbout", "showAbout"},
    };
    for (const auto& [item, handler] : items) {
        main.calls.clear();
        main.menuItem(item)->trigger();
        EXPECT_EQ(main.calls, QStringList{handler}) << item;
    }
    // Items of an open port: enabled, they run; disabled (the start-up state), they do not.
    const QList<std::pair<const char*, const char*>> portItems = {
        {"mnuPortClose", "closePort"}, {"mnuAutoResp", "toggleAutoResponse"},
        {"mnuRun", "runMacro"},        {"mnuPause", "pauseMacro"},
        {"mnuStop", "stopMacro"},      {"mnuContinue", "togglePlayMode"}};
    for (const auto& [item, handler] : portItems) {
        main.calls.clear();
        main.menuItem(item)->trigger();
        EXPECT_TRUE(main.calls.isEmpty()) << item;
        main.menuItem("mnuMacro")->setEnabled(true);
        main.menuItem(item)->setEnabled(true);
        main.menuItem(item)->trigger();
        EXPECT_EQ(main.calls, QStringList{handler}) << item;
    }
}

TEST_F(DispatchTest, CheckMarksAreLeftToTheHandlers) {
    // The mode items' handlers set the marks themselves; until they do, a click keeps them.
    main.menuItem("mnuMonitoring")->trigger();
    EXPECT_TRUE(main.menuItem("mnuDebugging")->isChecked());
    EXPECT_FALSE(main.menuItem("mnuMonitoring")->isChecked());
    main.menuItem("mnuHide")->trigger();
    EXPECT_TRUE(main.menuItem("mnuHide")->isChecked());
}

TEST_F(DispatchTest, MenuTreeHasItsItemsInOrder) {
    QStringList tops;
    for (QAction* top : main.menuBar()->actions())
        tops << top->objectName();
    EXPECT_EQ(tops, QStringList({"mnuFile", "mnuMode", "mnuComms", "mnuView", "mnuControls",
                                 "mnuTools", "mnuHelp"}));
    QStringList file;
    for (QAction* item : main.menuItem("mnuFile")->menu()->actions())
        file << item->objectName();
    EXPECT_EQ(file, QStringList({"mnuNew", "mnuOpenSettings", "mnuSaveSettings", "mnuSepFile01",
                                 "mnuSave", "mnuOpenLog", "mnuSep1", "mnuExit"}));
    QStringList controls;
    for (QAction* item : main.menuItem("mnuControls")->menu()->actions())
        controls << item->objectName();
    EXPECT_EQ(controls, QStringList({"mnuAutoResp", "mnuMacro"}));
    EXPECT_EQ(main.menuItem("mnuMacro")->menu()->actions().size(), 4);
    // Shortcuts are unique, so no key press is ambiguous.
    QStringList shortcuts;
    for (const QString& name : main.menuItemNames()) {
        const QKeySequence key = main.menuItem(name)->shortcut();
        if (!key.isEmpty()) {
            EXPECT_FALSE(shortcuts.contains(key.toString())) << key.toString().toStdString();
            shortcuts << key.toString();
        }
    }
    EXPECT_EQ(shortcuts.size(), 23);
}

TEST_F(DispatchTest, ToolbarDispatchesByKeyAndConnectByItsPicture) {
    KeyedToolBar* bar = main.Toolbar1();
    for (ToolButton button :
         {ToolButton::AutoRespOnOff, ToolButton::MacrosPlay, ToolButton::MacrosPause,
          ToolButton::MacrosStop, ToolButton::MacrosContinue})
        bar->setButtonEnabled(button, true);
    const QList<std::pair<const char*, const char*>> buttons = {
        {"Save", "saveLog"},         {"AutoRespOnOff", "toggleAutoResponse"},
        {"macrosPlay", "runMacro"},  {"macrosPause", "pauseMacro"},
        {"macrosStop", "stopMacro"}, {"macrosContinue", "togglePlayMode"},
        {"Connect", "openPort"}};
    for (const auto& [key, handler] : buttons) {
        main.calls.clear();
        bar->button(key)->trigger();
        EXPECT_EQ(main.calls, QStringList{handler}) << key;
    }
    main.calls.clear();
    bar->setButtonImage(ToolButton::Connect, 4, "Connected");
    bar->button("Connect")->trigger();
    bar->setButtonImage(ToolButton::Connect, 7, "Connected");
    bar->button("Connect")->trigger();
    EXPECT_EQ(bar->button("NoSuchKey"), nullptr);
    EXPECT_EQ(main.calls, QStringList{"closePort"});

    EXPECT_EQ(bar->buttonKey(3), QString());
    EXPECT_EQ(bar->button(3), nullptr);
    EXPECT_EQ(bar->button(10), nullptr);
    EXPECT_EQ(bar->buttonKey(24), "AutoRespOnOff");
    EXPECT_EQ(bar->button(ToolButton::AutoRespOnOff), bar->button("AutoRespOnOff"));
    EXPECT_EQ(bar->buttonImage(ToolButton::MacrosPlay), 7);
}

TEST_F(DispatchTest, HelpOpensTheHelpFileSilently) {
    shell.succeed = false;
    main.menuItem("mnuContents")->trigger();
    main.Toolbar1()->button("Help")->trigger();
    EXPECT_EQ(shell.opened, QStringList(2, folder.path() + "/KestrelonHelp.chm"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(DispatchTest, ShortcutKeysReachTheirItems) {
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_F11);
    QTest::keyClick(&main, Qt::Key_F1);
    QTest::keyClick(&main, Qt::Key_P, Qt::ControlModifier);
    EXPECT_EQ(main.calls, QStringList({"openPort", "showHelp", "toggleSendPane"}));
    EXPECT_EQ(shell.opened.size(), 1);
    EXPECT_TRUE(main.menuItem("mnuHideSend")->isChecked());
}

TEST_F(DispatchTest, EnterInThePortListOpensThePort) {
    main.FillPortList({1, 2});
    QTest::keyClick(main.portChoice(), Qt::Key_Return);
    EXPECT_EQ(main.calls, QStringList{"openPort"});
}

} // namespace

namespace {

TEST(CompactDispatch, HiddenItemsTakeNoShortcut) {
    ProgramFolder folder;
    folder.makeReady();
    RecordingMessageBoxes boxes;
    RecordingMain main(folder.path(), QSize(800, 600));
    main.InitMainWindow();
    QApplication::setActiveWindow(&main);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_H, Qt::ControlModifier);
    EXPECT_FALSE(main.menuItem("mnuHide")->isChecked());
    EXPECT_FALSE(main.control("Frame5")->isVisible());
    main.menuItem("mnuAscii")->trigger();
    EXPECT_EQ(main.calls, QStringList{"showAsciiChart"});
}

} // namespace
