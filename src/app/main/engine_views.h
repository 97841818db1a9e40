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

// A macro run as the main window shows it: its toolbar buttons and menu entries, the
// macro box, and its lines in the log.
class MacroRunIndicators : public MacroRunView {
public:
    explicit MacroRunIndicators(frmMain& window) : window_(window) {}
    void describe(const QString& text) override;
    void note(const QString& line) override;
    void showRunControls(const MacroRunControls& controls) override;
    void enableMacroBox() override;
    void playModeShown(bool continuous) override;
    int shownMacro() const override;
    bool selectMacro(int number) override;
    bool portOpen() const override;

private:
    frmMain& window_;
};

} // namespace kst
