#pragma once

namespace kst {

class frmMain;
class PortControl;
struct MainMenus;

// The mode's check marks in the Modes menu; the session's state is what they show.
void showMode(const MainMenus& menus, bool monitoring);

// The two communication modes, switched through their dialogs, and the advanced line
// settings.
class ModeControl {
public:
    ModeControl(frmMain& window, PortControl& port) : window_(window), port_(port) {}

    void mnuDebugging_Click();
    void mnuMonitoring_Click();
    void mnuSettings_Click();

private:
    frmMain& window_;
    PortControl& port_;
};

} // namespace kst
