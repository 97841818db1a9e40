// The menu tree of the main window and the dispatch of its items and toolbar buttons.

#include "frm_main.h"
#include "platform/services.h"
#include "tool_bar.h"

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
           &frmMain::mnuNew_Click},
          {"mnuOpenSettings", "Open Existing Device Profile...",
           QKeySequence(Qt::SHIFT | Qt::Key_F2), &frmMain::mnuOpenSettings_Click},
          {"mnuSaveSettings", "Save Device Profile As...", QKeySequence(Qt::SHIFT | Qt::Key_F3),
           &frmMain::mnuSaveSettings_Click},
          {"mnuSepFile01", "-", None, nullptr},
          {"mnuSave", "Save Log...", QKeySequence(Qt::Key_F2), &frmMain::mnuSave_Click},
          {"mnuOpenLog", "Open Log...", QKeySequence(Qt::Key_F3), &frmMain::mnuOpenLog_Click},
          {"mnuSep1", "-", None, nullptr},
          {"mnuExit", "Exit", None, &frmMain::mnuExit_Click}}},
        {"mnuMode",
         "Modes",
         {{"mnuDebugging", "Debugging / Simulating...", QKeySequence(Qt::CTRL | Qt::Key_D),
           &frmMain::mnuDebugging_Click},
          {"mnuMonitoring", "Monitoring...", QKeySequence(Qt::CTRL | Qt::Key_M),
           &frmMain::mnuMonitoring_Click}}},
        {"mnuComms",
         "Comms",
         {{"mnuPortOpen", "Open Port", QKeySequence(Qt::Key_F11), &frmMain::mnuPortOpen_Click},
          {"mnuPortClose", "Close Port", QKeySequence(Qt::Key_F12), &frmMain::mnuPortClose_Click},
          {"mnuSepComms1", "-", None, nullptr},
          {"mnuSettings", "Advanced Settings...", QKeySequence(Qt::CTRL | Qt::Key_S),
           &frmMain::mnuSettings_Click}}},
        {"mnuView",
         "View",
         {{"mnuHide", "Hide Calculator / AscII Chart", QKeySequence(Qt::CTRL | Qt::Key_H),
           &frmMain::mnuHide_Click},
          {"mnuHideSend", "Hide Send_Commands Pane", QKeySequence(Qt::CTRL | Qt::Key_P),
           &frmMain::mnuHideSend_Click}}},
        {"mnuControls",
         "Controls",
         {{"mnuAutoResp", "Toggle Auto-Response On / Off", QKeySequence(Qt::Key_F4),
           &frmMain::mnuAutoResp_Click},
          {"mnuMacro", "Macro", None, nullptr}}},
        {"mnuTools",
         "Tools",
         {{"mnuAscii", "AscII chart...", None, &frmMain::mnuAscii_Click},
          {"mnuCal", "Checksum Calculator / Notation Converter...",
           QKeySequence(Qt::CTRL | Qt::Key_N), &frmMain::mnuCal_Click},
          {"mnuSep5", "-", None, nullptr},
          {"mnuProgBut", "Programmable Buttons...", QKeySequence(Qt::CTRL | Qt::Key_F1),
           &frmMain::mnuProgBut_Click},
          {"mnuProgAutoResp", "Programmable Auto-Response...", QKeySequence(Qt::CTRL | Qt::Key_F2),
           &frmMain::mnuProgAutoResp_Click},
          {"mnuProgMacros", "Programmable Macros...", QKeySequence(Qt::CTRL | Qt::Key_F3),
           &frmMain::mnuProgMacros_Click},
          {"mnuSep4", "-", None, nullptr},
          {"mnuOptions", "Options...", QKeySequence(Qt::CTRL | Qt::Key_O),
           &frmMain::mnuOptions_Click},
          {"mnuSepTools3", "-", None, nullptr},
          {"mnuImport", "Import Device Profile...", None, &frmMain::mnuImport_Click}}},
        {"mnuHelp",
         "Help",
         {{"mnuAbout", "About...", None, &frmMain::mnuAbout_Click},
          {"mnuContents", "Contents...", QKeySequence(Qt::Key_F1), &frmMain::mnuContents_Click}}},
    };
    const std::vector<MenuItem> macroItems = {
        {"mnuRun", "Run", QKeySequence(Qt::Key_F5), &frmMain::mnuRun_Click},
        {"mnuPause", "Pause", QKeySequence(Qt::Key_F6), &frmMain::mnuPause_Click},
        {"mnuStop", "Stop", QKeySequence(Qt::Key_F7), &frmMain::mnuStop_Click},
        {"mnuContinue", "Toggle Single / Continuous", QKeySequence(Qt::Key_F8),
         &frmMain::mnuContinue_Click}};

    auto addMenu = [this](QMenu* menu, const char* name) {
        menu->setObjectName(QString::fromLatin1(name));
        menu->menuAction()->setObjectName(QString::fromLatin1(name));
        menuItems_.insert(QString::fromLatin1(name), menu->menuAction());
    };
    auto addItems = [this](QMenu* menu, const std::vector<MenuItem>& items) {
        for (const MenuItem& item : items) {
            const QString name = QString::fromLatin1(item.name);
            if (QLatin1String(item.caption) == QLatin1String("-")) {
                QAction* separator = menu->addSeparator();
                separator->setObjectName(name);
                menuItems_.insert(name, separator);
                continue;
            }
            if (!item.handler)
                continue; // a submenu, added below
            QAction* action = menu->addAction(QString::fromLatin1(item.caption));
            action->setObjectName(name);
            action->setShortcut(item.shortcut);
            menuItems_.insert(name, action);
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
            addItems(macro, macroItems);
        }
    }

    for (const char* name : {"mnuDebugging", "mnuMonitoring", "mnuHide", "mnuHideSend"})
        menuItem(QString::fromLatin1(name))->setCheckable(true);
    menuItem(QStringLiteral("mnuDebugging"))->setChecked(true);
    menuItem(QStringLiteral("mnuAscii"))->setVisible(false);
}

QStringList frmMain::menuItemNames() const {
    return menuItems_.keys();
}

void frmMain::Toolbar1_ButtonClick(const QString& key) {
    if (key == QLatin1String("Save")) {
        mnuSave_Click();
    } else if (key == QLatin1String("Help")) {
        mnuContents_Click();
    } else if (key == QLatin1String("Connect")) {
        // The picture is the state the click acts on: it opens what it shows as
        // disconnected and closes what it shows as connected.
        const int picture = toolbar_->buttonImage(key);
        if (picture == 3)
            OpenPort();
        else if (picture == 4)
            ClosePort();
    } else if (key == QLatin1String("AutoRespOnOff")) {
        mnuAutoResp_Click();
    } else if (key == QLatin1String("macrosPlay")) {
        mnuRun_Click();
    } else if (key == QLatin1String("macrosPause")) {
        mnuPause_Click();
    } else if (key == QLatin1String("macrosStop")) {
        mnuStop_Click();
    } else if (key == QLatin1String("macrosContinue")) {
        mnuContinue_Click();
    }
}

void frmMain::mnuContents_Click() {
    // The desktop's handler for the help file; when there is none (or no file), the
    // shell says so itself or nothing happens.
    Platform::shell().open(helpFilePath());
}

} // namespace kst
