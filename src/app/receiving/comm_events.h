#pragma once

#include "app/port/port_session.h"
#include "app/receiving/engine_dispatch.h"
#include "app/receiving/port_events.h"
#include "app/receiving/receive_display.h"
#include "app/receiving/receive_path.h"
#include "traffic/receive_lines.h"

namespace kst {

class MainView;
class PortControl;
class Session;

// The OnComm events of both ports, each taken to its handler: received data to the
// receive path, a lost device to the port control, every other event to PortEvents.
// It follows the port's sessions so that each one starts clean and nothing received
// is dropped when one ends.
class CommEvents : public PortSessionObserver {
public:
    CommEvents(Session& session, MainView& window, PortControl& port);

    void MSComm1_OnComm();
    void MSComm2_OnComm();

    // PortSessionObserver
    void portOpened() override;
    void portClosing() override;

    // Tests put recording engines in; nullptr restores the program's.
    void setEngines(ReceiveEngines* engines) { dispatch_.setEngines(engines); }
    const ReceivePath& receivePath() const { return receive_; }

private:
    void onComm(comm::CommControl& port, bool primary);

    Session& session_;
    PortControl& port_;
    ReceiveDisplay display_;
    ReceiveLines lines_;
    EngineDispatch dispatch_;
    ReceivePath receive_;
    PortEvents events_;
};

} // namespace kst
