#pragma once

#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"

namespace kst {

class MainView;
class ProfileControl;
class Session;

// The auto-response switch as the main window shows it: the toolbar button's picture
// and tool tip, the status panel, and the echo in the log.
class AutoResponseIndicators : public AutoResponseView {
public:
    AutoResponseIndicators(Session& session, MainView& window)
        : session_(session), window_(window) {}
    void autoResponseSwitched(bool on) override;
    void note(const QString& line) override;

private:
    Session& session_;
    MainView& window_;
};

// A macro run as the main window shows it: its toolbar buttons and menu entries, the
// macro box, and its lines in the log.
class MacroRunIndicators : public MacroRunView {
public:
    MacroRunIndicators(Session& session, MainView& window, ProfileControl& profile)
        : session_(session), window_(window), profile_(profile) {}
    void describe(const QString& text) override;
    void note(const QString& line) override;
    void showRunControls(const MacroRunControls& controls) override;
    void enableMacroBox() override;
    void playModeShown(bool continuous) override;
    int shownMacro() const override;
    bool selectMacro(int number) override;
    bool portOpen() const override;

private:
    Session& session_;
    MainView& window_;
    ProfileControl& profile_;
};

} // namespace kst
