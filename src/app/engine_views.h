#pragma once

#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"

namespace kst {

class frmMain;

// The auto-response switch as the main window shows it: the toolbar button's picture
// and tool tip, the status panel, and the echo in the log.
class AutoResponseIndicators : public AutoResponseView {
public:
    explicit AutoResponseIndicators(frmMain& window) : window_(window) {}
    void autoResponseSwitched(bool on) override;
    void note(const QString& line) override;

private:
    frmMain& window_;
};

// A macro run as the main window shows it: its toolbar buttons and menu entries.
class MacroRunControls : public MacroRunView {
public:
    explicit MacroRunControls(frmMain& window) : window_(window) {}
    void playModeShown(bool continuous) override;

private:
    frmMain& window_;
};

} // namespace kst
