#pragma once

#include "app/main/engine_views.h"
#include "app/main/main_commands.h"
#include "app/port/mode_control.h"
#include "app/port/port_control.h"
#include "app/port/port_list.h"
#include "app/profiles/log_files.h"
#include "app/profiles/profile_commands.h"
#include "app/profiles/profile_control.h"
#include "app/receiving/comm_events.h"
#include "app/receiving/log_search_control.h"
#include "app/receiving/receive_options.h"
#include "app/sending/send_buttons.h"
#include "app/sending/send_pane.h"
#include "app/sending/send_view.h"
#include "tools/calculator_control.h"

namespace kst {

class frmMain;
class Session;

// Carries out the main window's commands and owns the parts of the program that work
// on its controls: the start-up and shutdown, the port list, the profile, the
// receive options. It holds the routines by their traditional names. It is the one
// place that wires the parts: each is given the session, the window as a MainView (or
// only its controls) and the other parts it uses; none reaches back through the window.
class MainController : public MainCommands {
public:
    MainController(frmMain& window, Session& session);

    PortListControl& portList() { return portList_; }
    PortControl& port() { return port_; }
    ProfileControl& profile() { return profile_; }
    ReceiveOptions& receiveOptions() { return receiveOptions_; }
    SendPane& sendPane() { return sendPane_; }
    SendButtons& buttons() { return buttons_; }
    CommEvents& commEvents() { return commEvents_; }
    LogSearchControl& logSearch() { return logSearch_; }

    // Start-up, inside the splash timer's tick: checks the support database, writes the
    // missing kst.ini and default profile, then InitMainWindow.
    void Form_Load();
    // The start-up state: compact layout, initial control state, kst.ini, the window
    // shown, the profile opened.
    void InitMainWindow();
    // Shutdown: the exit save, every other window closed, the ports closed, the
    // program ended. Runs once.
    void Form_Unload();
    // Ends the program at once, without the exit save.
    void endProgramNow();

    // MainCommands
    void newProfile() override { profileCommands_.mnuNew_Click(); }
    void openProfile() override { profileCommands_.mnuOpenSettings_Click(); }
    void saveProfileAs() override { profileCommands_.mnuSaveSettings_Click(); }
    void saveLog() override { logFiles_.mnuSave_Click(); }
    void openLog() override { logFiles_.mnuOpenLog_Click(); }
    void exitProgram() override;
    void switchToDebugging() override { mode_.mnuDebugging_Click(); }
    void switchToMonitoring() override { mode_.mnuMonitoring_Click(); }
    void openPort() override { port_.OpenPort(); }
    void closePort() override { port_.ClosePort(); }
    void advancedSettings() override { mode_.mnuSettings_Click(); }
    void toggleCalculatorPane() override;
    void toggleSendPane() override;
    void toggleAutoResponse() override;
    void runMacro() override;
    void pauseMacro() override;
    void stopMacro() override;
    void togglePlayMode() override;
    void showAsciiChart() override;
    void showCalculator() override;
    void editButtons() override;
    void editAutoResponse() override;
    void editMacros() override;
    void editOptions() override;
    void importProfile() override;
    void showAbout() override;
    void showHelp() override;

private:
    // Removes the work files that a copy or an import killed part-way left behind.
    void removeLeftovers();
    void setInitialControlState();

    frmMain& window_;
    Session& session_;
    PortListControl portList_;
    PortControl port_;
    ModeControl mode_;
    ProfileControl profile_;
    ReceiveOptions receiveOptions_;
    SendView sendView_;
    SendPane sendPane_;
    SendButtons buttons_;
    LogFiles logFiles_;
    ProfileCommands profileCommands_;
    // The main window's calculator pane.
    CalculatorControl calculator_;
    CommEvents commEvents_;
    LogSearchControl logSearch_;
    AutoResponseIndicators autoResponseIndicators_;
    MacroRunIndicators macroRunIndicators_;
    bool unloading_ = false;
};

} // namespace kst
