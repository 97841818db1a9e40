#pragma once

#include <QString>

namespace kst {

class frmMain;

// The main window's side of the device profile: which profile opens at start-up, the
// load that makes it the current one, the macro held in memory, the programmable
// buttons' captions, and the exit save.
class ProfileControl {
public:
    explicit ProfileControl(frmMain& window) : window_(window) {}

    // Makes a new profile from the templates and loads it.
    void CreateDB(const QString& fileName, const QString& fileTitle);
    // The profile kst.ini names, the one the user picks, or the default.
    void OpenSettingsFile();
    // Makes the profile the current one and loads everything it holds.
    void Open_DB(const QString& File_Name, const QString& File_Title);
    // Loads macro MacrosNo (1-8); the first loads after start-up apply the start-up
    // preferences.
    void Get_Macros_Details(int MacrosNo);
    void cboMacros_Click();
    // Writes the port settings and line options back as the preferences ask.
    void ExitSave();

    // The "User Notes" tab: Clear empties the notes box, Save stores it in the profile.
    void cmdClearNotes_Click();
    void cmdSaveNotes_Click();

private:
    void applySettings(const QString& connStr);
    void endAfterFailedLoad(const QString& fileName);

    frmMain& window_;
    // The receive-timer position the profile stores; applied after the preferences.
    int storedRxTimerIndex_ = 0;
};

} // namespace kst
