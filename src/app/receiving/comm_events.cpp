#include "app/receiving/comm_events.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/port/port_control.h"
#include "traffic/rx_text.h"

namespace kst {

CommEvents::CommEvents(Session& session, MainView& window, PortControl& port)
    : session_(session), port_(port), display_(session, window, port),
      lines_(display_, session.state().LastRxPort,
             [&session](const QByteArray& bytes) {
                 return RxDisplayText(bytes, session.state().RxFormat,
                                      session.shared().Prefs.bolFormattedView);
             }),
      dispatch_(session), receive_(session, window.ui(), display_, lines_, dispatch_),
      events_(session, display_, lines_, dispatch_) {
    QObject::connect(&session.MSComm1(), &comm::CommControl::OnComm, window.widget(),
                     [this] { MSComm1_OnComm(); });
    QObject::connect(&session.MSComm2(), &comm::CommControl::OnComm, window.widget(),
                     [this] { MSComm2_OnComm(); });
}

void CommEvents::MSComm1_OnComm() {
    onComm(session_.MSComm1(), true);
}

void CommEvents::MSComm2_OnComm() {
    onComm(session_.MSComm2(), false);
}

void CommEvents::onComm(comm::CommControl& port, bool primary) {
    const int commEvent = port.CommEvent();
    if (commEvent == comm::comEventPortLost) {
        port_.portLost(port.CommPort());
    } else if (commEvent != comm::comEvReceive) {
        if (primary)
            events_.primaryEvent(commEvent);
        else
            events_.secondEvent(commEvent);
    } else if (!primary) {
        receive_.secondReceived();
    } else {
        receive_.primaryReceived();
        // In Debugging / Simulating mode it ends as the primary port's other events do.
        if (display_.mode() == ReceiveMode::Debugging)
            events_.tail();
    }
}

void CommEvents::portOpened() {
    lines_.reset();
    receive_.portOpened();
    events_.portOpened();
}

void CommEvents::portClosing() {
    events_.portClosing();
    receive_.portClosing();
}

} // namespace kst
