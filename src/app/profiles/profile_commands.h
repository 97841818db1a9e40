#pragma once

#include <QString>

namespace kst {

class CommonDialog;
class frmMain;

// The File menu's profile commands: a new profile from the templates, another profile
// opened, and the open one saved under a new name.
class ProfileCommands {
public:
    explicit ProfileCommands(frmMain& window) : window_(window) {}

    void mnuNew_Click();
    void mnuOpenSettings_Click();
    void mnuSaveSettings_Click();

private:
    // The shared file dialog, set up for a profile command.
    CommonDialog& prepareDialog(const QString& filter);

    frmMain& window_;
};

} // namespace kst
