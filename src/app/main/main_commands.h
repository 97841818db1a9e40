#pragma once

namespace kst {

// The commands of the main window's menus, toolbar and keys. The window's handlers
// only forward to these; the program's controller carries them out, and tests put a
// recorder in its place to check the dispatch.
class MainCommands {
public:
    virtual ~MainCommands() = default;

    // File
    virtual void newProfile() = 0;
    virtual void openProfile() = 0;
    virtual void saveProfileAs() = 0;
    virtual void saveLog() = 0;
    virtual void openLog() = 0;
    virtual void exitProgram() = 0;
    // Modes and Comms
    virtual void switchToDebugging() = 0;
    virtual void switchToMonitoring() = 0;
    virtual void openPort() = 0;
    virtual void closePort() = 0;
    virtual void advancedSettings() = 0;
    // View
    virtual void toggleCalculatorPane() = 0;
    virtual void toggleSendPane() = 0;
    // Controls
    virtual void toggleAutoResponse() = 0;
    virtual void runMacro() = 0;
    virtual void pauseMacro() = 0;
    virtual void stopMacro() = 0;
    virtual void togglePlayMode() = 0;
    // Tools and Help
    virtual void showAsciiChart() = 0;
    virtual void showCalculator() = 0;
    virtual void editButtons() = 0;
    virtual void editAutoResponse() = 0;
    virtual void editMacros() = 0;
    virtual void editOptions() = 0;
    virtual void importProfile() = 0;
    virtual void showAbout() = 0;
    virtual void showHelp() = 0;
};

} // namespace kst
