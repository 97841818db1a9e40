#pragma once

#include "app/main/main_state.h"
#include "app/main/shared_state.h"
#include "app/profiles/common_dialog.h"
#include "platform/serial/comm_control.h"
#include "storage/ini_file.h"
#include "traffic/received_event.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace kst {

class AutoResponder;
class AutoResponseView;
class MacroRunner;
class MacroRunView;
class Scheduler;
class SendEngine;
class SendEnvironment;

// The primary port's input lines as they are now.
class PrimaryPortLines : public LineLevelsReader {
public:
    explicit PrimaryPortLines(const comm::CommControl& port) : port_(port) {}
    LineLevels levelsNow() const override;

private:
    const comm::CommControl& port_;
};

// Everything the program holds apart from its widgets: the program folder and its
// files, the current profile's state, the two serial ports and the scheduler their
// engines time themselves with. The main window shows it; nothing here touches a widget.
class Session {
public:
    // `scheduler`: where every timer of the session's engines runs.
    Session(QString programFolder, Scheduler& scheduler);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& programFolder() const { return programFolder_; }
    const QString& SupportConnStr() const { return supportConnStr_; }
    QString supportDatabasePath() const;
    QString helpFilePath() const;
    // Which of the files the program keeps stands at `path`, under this name or another
    // (a link, another path to it): "the device profile that is open", "the support
    // database" or "the program's kst.ini"; empty for any other file. No file command
    // writes over one of them what does not belong there.
    QString ownFileAt(const QString& path) const;
    IniFile& ini() { return ini_; }
    const IniFile& ini() const { return ini_; }
    Scheduler& scheduler() { return scheduler_; }
    // The file dialog every file command shares.
    CommonDialog& cmdlg1() { return cmdlg1_; }

    MainState& state() { return state_; }
    const MainState& state() const { return state_; }
    SharedState& shared() { return shared_; }
    const SharedState& shared() const { return shared_; }

    // The primary and the second serial port.
    comm::CommControl& MSComm1() { return *mscomm1_; }
    comm::CommControl& MSComm2() { return *mscomm2_; }
    const comm::CommControl& MSComm1() const { return *mscomm1_; }
    // Replaces both ports' devices (tests hand in simulated lines). Only while closed.
    void useDevices(const comm::DeviceFactory& factory);
    // Closes whichever port is open; a failure to close leaves that port as it is.
    void closePorts();

    // The engines: the one sender, the auto-response rules and the macro runner, each
    // shown through its view. Started once the window that shows them exists.
    struct EngineViews {
        SendEnvironment& sending;
        AutoResponseView& autoResponse;
        MacroRunView& macroRun;
    };
    void startEngines(const EngineViews& views);
    SendEngine& sender() { return *sender_; }
    const SendEngine& sender() const { return *sender_; }
    AutoResponder& autoResponder() { return *autoResponder_; }
    const AutoResponder& autoResponder() const { return *autoResponder_; }
    MacroRunner& macroRunner() { return *macroRunner_; }
    const MacroRunner& macroRunner() const { return *macroRunner_; }
    // What the engines read of the primary port's lines when they test them.
    const LineLevelsReader& primaryLines() const { return primaryLines_; }

    // The serial devices present on this machine, which the port list links to COM
    // numbers; unset, the machine's own devices (tests keep theirs out).
    std::function<QStringList()> discoverDevices;

private:
    QString programFolder_;
    QString supportConnStr_;
    IniFile ini_;
    Scheduler& scheduler_;
    MainState state_;
    SharedState shared_;
    CommonDialog cmdlg1_;
    std::unique_ptr<comm::CommControl> mscomm1_;
    std::unique_ptr<comm::CommControl> mscomm2_;
    PrimaryPortLines primaryLines_;
    std::unique_ptr<SendEngine> sender_;
    std::unique_ptr<AutoResponder> autoResponder_;
    std::unique_ptr<MacroRunner> macroRunner_;
};

} // namespace kst
