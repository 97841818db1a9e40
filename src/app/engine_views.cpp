#include "engine_views.h"

#include "frm_main.h"
#include "session.h"
#include "status_bar.h"
#include "tool_bar.h"

namespace kst {

void AutoResponseIndicators::autoResponseSwitched(bool on) {
    const MainControls& ui = window_.ui();
    ui.Toolbar1->setButtonImage(ToolButton::AutoRespOnOff, on ? 6 : 5,
                                on ? QStringLiteral("Auto-Response: ON")
                                   : QStringLiteral("Auto-Response: OFF"));
    ui.StatusBar1->setPanelText(QStringLiteral("AutoResp"),
                                on ? QStringLiteral("Auto-Response: ON ")
                                   : QStringLiteral("Auto-Response: OFF "));
    window_.describe(on ? QStringLiteral("\r\n# # # Auto-Response is now ON # # #")
                        : QStringLiteral("\r\n# # # Auto-Response is now OFF # # #"));
}

void AutoResponseIndicators::note(const QString& line) {
    window_.Add_Color(line + QStringLiteral("\r\n"),
                      window_.session().shared().Prefs.messageStyle());
}

void MacroRunControls::playModeShown(bool continuous) {
    window_.ui().Toolbar1->setButtonImage(ToolButton::MacrosContinue, continuous ? 11 : 10,
                                          continuous ? QStringLiteral("Continuous play")
                                                     : QStringLiteral("Single play"));
}

} // namespace kst
