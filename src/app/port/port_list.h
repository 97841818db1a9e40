#pragma once

#include <QList>
#include <optional>

namespace kst {

class Session;
struct MainControls;

// The port list of the toolbar and the status bar's port panels: the COM ports found
// through the serial layer, and the settings chosen for them.
class PortListControl {
public:
    PortListControl(Session& session, const MainControls& ui) : session_(session), ui_(ui) {}

    // Closes the primary port, links the devices found to COM numbers and probes
    // COM1-16, then fills the list with the ports that exist.
    void ListComPorts();
    // Fills the port list from the COM numbers found; with none, the placeholder " "
    // and the "COM port checking" box. Selects nothing.
    void FillPortList(const QList<int>& presentPorts);
    // The status bar's "Setting" and "Status" panels for the chosen port and settings.
    void ComSettings();
    // The settings string of what the four line-setting lists show ("9600,N,8,1").
    QString settingsString() const;
    // The port list position to store at exit: none while the list holds no real port.
    std::optional<int> portIndexToStore() const;

private:
    Session& session_;
    const MainControls& ui_;
};

} // namespace kst
