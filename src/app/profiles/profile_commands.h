#pragma once

#include <QString>

namespace kst {

class CommonDialog;
class ProfileControl;
class Session;

// The File menu's profile commands: a new profile from the templates, another profile
// opened, and the open one saved under a new name.
class ProfileCommands {
public:
    ProfileCommands(Session& session, ProfileControl& profile)
        : session_(session), profile_(profile) {}

    void mnuNew_Click();
    void mnuOpenSettings_Click();
    void mnuSaveSettings_Click();

private:
    // The shared file dialog, set up for a profile command.
    CommonDialog& prepareDialog(const QString& filter);

    Session& session_;
    ProfileControl& profile_;
};

} // namespace kst
