#include "app/main/engine_views.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "app/profiles/profile_control.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QSignalBlocker>

namespace kst {

namespace {

void logMessage(Session& session, MainView& window, const QString& text) {
    window.Add_Color(text, session.shared().Prefs.messageStyle());
}

} // namespace

void AutoResponseIndicators::autoResponseSwitched(bool on) {
    const MainControls& ui = window_.ui();
    ui.Toolbar1->setButtonImage(ToolButton::AutoRespOnOff, on ? 6 : 5,
                                on ? QStringLiteral("Auto-Response: ON")
                                   : QStringLiteral("Auto-Response: OFF"));
    ui.StatusBar1->setPanelText(QStringLiteral("AutoResp"),
                                on ? QStringLiteral("Auto-Response: ON ")
                                   : QStringLiteral("Auto-Response: OFF "));
    window_.describe(on ? QStringLiteral("# # # Auto-Response is now ON # # #\r\n")
                        : QStringLiteral("# # # Auto-Response is now OFF # # #\r\n"));
}

void AutoResponseIndicators::note(const QString& line) {
    logMessage(session_, window_, line + QStringLiteral("\r\n"));
}

void MacroRunIndicators::describe(const QString& text) {
    if (session_.shared().Prefs.bolDescription)
        logMessage(session_, window_, text);
}

void MacroRunIndicators::note(const QString& line) {
    logMessage(session_, window_, line + QStringLiteral("\r\n"));
}

void MacroRunIndicators::showRunControls(const MacroRunControls& c) {
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();
    ui.Toolbar1->setButtonEnabled(ToolButton::MacrosPlay, c.run);
    menus.mnuRun->setEnabled(c.run);
    ui.Toolbar1->setButtonEnabled(ToolButton::MacrosPause, c.pause);
    menus.mnuPause->setEnabled(c.pause);
    ui.Toolbar1->setButtonEnabled(ToolButton::MacrosStop, c.stop);
    menus.mnuStop->setEnabled(c.stop);
    ui.txtMacros->setEnabled(c.macroBox);
    ui.cboMacros->setEnabled(c.macroBox);
}

void MacroRunIndicators::enableMacroBox() {
    window_.ui().txtMacros->setEnabled(true);
    window_.ui().cboMacros->setEnabled(true);
}

void MacroRunIndicators::playModeShown(bool continuous) {
    window_.ui().Toolbar1->setButtonImage(ToolButton::MacrosContinue, continuous ? 11 : 10,
                                          continuous ? QStringLiteral("Continuous play")
                                                     : QStringLiteral("Single play"));
}

int MacroRunIndicators::shownMacro() const {
    return window_.ui().cboMacros->currentIndex() + 1;
}

bool MacroRunIndicators::selectMacro(int number) {
    QComboBox* box = window_.ui().cboMacros;
    {
        const QSignalBlocker blocker(box);
        box->setCurrentIndex(number - 1);
    }
    return profile_.cboMacros_Click();
}

bool MacroRunIndicators::portOpen() const {
    return session_.state().PortIsOpen;
}

} // namespace kst
