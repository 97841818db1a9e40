#pragma once

namespace kst {

class frmMain;
class PortControl;

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
