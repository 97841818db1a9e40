#pragma once

namespace kst {

class MainView;
class PortControl;
class PortListControl;
class Session;
struct MainMenus;

// The mode's check marks in the Modes menu; the session's state is what they show.
void showMode(const MainMenus& menus, bool monitoring);

// The two communication modes, switched through their dialogs, and the advanced line
// settings.
class ModeControl {
public:
    ModeControl(Session& session, MainView& window, PortControl& port, PortListControl& portList)
        : session_(session), window_(window), port_(port), portList_(portList) {}

    void mnuDebugging_Click();
    void mnuMonitoring_Click();
    void mnuSettings_Click();

private:
    Session& session_;
    MainView& window_;
    PortControl& port_;
    PortListControl& portList_;
};

} // namespace kst
