// The menu tree of the main window and the dispatch of its items and toolbar buttons.

#include "app/main/frm_main.h"
#include "app/main/tool_bar.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <vector>

namespace kst {

namespace {

using Handler = void (frmMain::*)();

struct MenuItem {
    const char* name;
    const char* caption; // "-" for a separator
    QKeySequence shortcut;
    Handler handler;
    QAction* MainMenus::*item = nullptr;
};

struct TopMenu {
    const char* name;
    const char* caption;
    std::vector<MenuItem> items;
};

const QKeySequence None;

} // namespace

void frmMain::buildMenus() {
    const std::vector<TopMenu> tree = {
        {"mnuFile",
         "File",
         {{"mnuNew", "New Device Profile...", QKeySequence(Qt::SHIFT | Qt::Key_F1),
           &frmMain::mnuNew_Click, &MainMenus::mnuNew},
          {"mnuOpenSettings", "Open Existing Device Profile...",
           QKeySequence(Qt::SHIFT | Qt::Key_F2), &frmMain::mnuOpenSettings_Click,
           &MainMenus::mnuOpenSettings},
          {"mnuSaveSettings", "Save Device Profile As...", QKeySequence(Qt::SHIFT | Qt::Key_F3),
           &frmMain::mnuSaveSettings_Click, &MainMenus::mnuSaveSettings},
          {"mnuSepFile01", "-", None, nullptr},
          {"mnuSave", "Save Log...", QKeySequence(Qt::Key_F2), &frmMain::mnuSave_Click,
           &MainMenus::mnuSave},
          {"mnuOpenLog", "Open Log...", QKeySequence(Qt::Key_F3), &frmMain::mnuOpenLog_Click,
           &MainMenus::mnuOpenLog},
          {"mnuSep1", "-", None, nullptr},
          {"mnuExit", "Exit", None, &frmMain::mnuExit_Click, &MainMenus::mnuExit}}},
        {"mnuMode",
         "Modes",
         {{"mnuDebugging", "Debugging / Simulating...", QKeySequence(Qt::CTRL | Qt::Key_D),
           &frmMain::mnuDebugging_Click, &MainMenus::mnuDebugging},
          {"mnuMonitoring", "Monitoring...", QKeySequence(Qt::CTRL | Qt::Key_M),
           &frmMain::mnuMonitoring_Click, &MainMenus::mnuMonitoring}}},
        {"mnuComms",
         "Comms",
         {{"mnuPortOpen", "Open Port", QKeySequence(Qt::Key_F11), &frmMain::mnuPortOpen_Click,
           &MainMenus::mnuPortOpen},
          {"mnuPortClose", "Close Port", QKeySequence(Qt::Key_F12), &frmMain::mnuPortClose_Click,
           &MainMenus::mnuPortClose},
          {"mnuSepComms1", "-", None, nullptr},
          {"mnuSettings", "Advanced Settings...", QKeySequence(Qt::CTRL | Qt::Key_S),
           &frmMain::mnuSettings_Click, &MainMenus::mnuSettings}}},
        {"mnuView",
         "View",
         {{"mnuHide", "Hide Calculator / AscII Chart", QKeySequence(Qt::CTRL | Qt::Key_H),
           &frmMain::mnuHide_Click, &MainMenus::mnuHide},
          {"mnuHideSend", "Hide Send_Commands Pane", QKeySequence(Qt::CTRL | Qt::Key_P),
           &frmMain::mnuHideSend_Click, &MainMenus::mnuHideSend}}},
        {"mnuControls",
         "Controls",
         {{"mnuAutoResp", "Toggle Auto-Response On / Off", QKeySequence(Qt::Key_F4),
           &frmMain::mnuAutoResp_Click, &MainMenus::mnuAutoResp},
          {"mnuMacro", "Macro", None, nullptr}}},
        {"mnuTools",
         "Tools",
         {{"mnuAscii", "AscII chart...", None, &frmMain::mnuAscii_Click, &MainMenus::mnuAscii},
          {"mnuCal", "Checksum Calculator / Notation Converter...",
           QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::mnuCal_Click, &MainMenus::mnuCal},
          {"mnuSep5", "-", None, nullptr},
          {"mnuProgBut", "Programmable Buttons...", QKeySequence(Qt::CTRL | Qt::Key_F1),
           &frmMain::mnuProgBut_Click, &MainMenus::mnuProgBut},
          {"mnuProgAutoResp", "Programmable Auto-Response...", QKeySequence(Qt::CTRL | Qt::Key_F2),
           &frmMain::mnuProgAutoResp_Click, &MainMenus::mnuProgAutoResp},
          {"mnuProgMacros", "Programmable Macros...", QKeySequence(Qt::CTRL | Qt::Key_F3),
           &frmMain::mnuProgMacros_Click, &MainMenus::mnuProgMacros},
          {"mnuSep4", "-", None, nullptr},
          {"mnuOptions", "Options...", QKeySequence(Qt::CTRL | Qt::Key_O),
           &frmMain::mnuOptions_Click, &MainMenus::mnuOptions},
          {"mnuSepTools3", "-", None, nullptr},
          {"mnuImport", "Import Device Profile...", None, &frmMain::mnuImport_Click,
           &MainMenus::mnuImport}}},
        {"mnuHelp",
         "Help",
         {{"mnuAbout", "About...", None, &frmMain::mnuAbout_Click, &MainMenus::mnuAbout},
          {"mnuContents", "Contents...", QKeySequence(Qt::Key_F1), &frmMain::mnuContents_Click,
           &MainMenus::mnuContents}}},
    };
    const std::vector<MenuItem> macroItems = {
        {"mnuRun", "Run", QKeySequence(Qt::Key_F5), &frmMain::mnuRun_Click, &MainMenus::mnuRun},
        {"mnuPause", "Pause", QKeySequence(Qt::Key_F6), &frmMain::mnuPause_Click,
         &MainMenus::mnuPause},
        {"mnuStop", "Stop", QKeySequence(Qt::Key_F7), &frmMain::mnuStop_Click, &MainMenus::mnuStop},
        {"mnuContinue", "Toggle Single / Continuous", QKeySequence(Qt::Key_F8),
         &frmMain::mnuContinue_Click, &MainMenus::mnuContinue}};

    auto addMenu = [](QMenu* menu, const char* name) {
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
    };
    auto addItems = [this](QMenu* menu, const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            const QString name = QString::fromLatin1(item.name);
            if (QLatin1String(item.caption) == QLatin1String("-")) {
                menu->addSeparator()->setObjectName(name);
                continue;
            }
            if (!item.handler)
                continue; // a submenu, added below
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(name);
            action->setShortcut(item.shortcut);
            menus_.*item.item = action;
            const Handler handler = item.handler;
            connect(action, &QAction::triggered, this, [this, action, handler] {
                // A check mark is the state the handler reads and sets itself.
                if (action->isCheckable())
                    action->setChecked(!action->isChecked());
                (this->*handler)();
            });
        }
    };

    for (const TopMenu& top : tree) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(top.caption));
        addMenu(menu, top.name);
        addItems(menu, top.items);
        if (QLatin1String(top.name) == QLatin1String("mnuControls")) {
            QMenu* macro = menu->addMenu(QStringLiteral("Macro"));
            addMenu(macro, "mnuMacro");
            menus_.mnuMacro = macro->menuAction();
            addItems(macro, macroItems);
        }
    }

    for (QAction* item :
         {menus_.mnuDebugging, menus_.mnuMonitoring, menus_.mnuHide, menus_.mnuHideSend})
        item->setCheckable(true);
    menus_.mnuDebugging->setChecked(true);
    menus_.mnuAscii->setVisible(false);
}

void frmMain::Toolbar1_ButtonClick(ToolButton button) {
    if (button == ToolButton::Connect) {
        // The picture is the state the click acts on: it opens what it shows as
        // disconnected and closes what it shows as connected.
        if (const int picture = ui_.Toolbar1->buttonImage(button); picture == 3)
            mnuPortOpen_Click();
        else if (picture == 4)
            mnuPortClose_Click();
        return;
    }
    // The other buttons run their menu item's handler.
    static const std::pair<ToolButton, Handler> handlers[] = {
        {ToolButton::Save, &frmMain::mnuSave_Click},
        {ToolButton::Help, &frmMain::mnuContents_Click},
        {ToolButton::AutoRespOnOff, &frmMain::mnuAutoResp_Click},
        {ToolButton::MacrosPlay, &frmMain::mnuRun_Click},
        {ToolButton::MacrosPause, &frmMain::mnuPause_Click},
        {ToolButton::MacrosStop, &frmMain::mnuStop_Click},
        {ToolButton::MacrosContinue, &frmMain::mnuContinue_Click}};
    for (const auto& [key, handler] : handlers) {
        if (key == button)
            (this->*handler)();
    }
}

} // namespace kst
