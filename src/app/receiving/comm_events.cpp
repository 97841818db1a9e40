#include "app/receiving/comm_events.h"

#include "app/main/frm_main.h"
#include "app/main/session.h"
#include "app/port/port_control.h"
#include "traffic/rx_text.h"

namespace kst {

CommEvents::CommEvents(frmMain& window, PortControl& port)
    : window_(window), port_(port), display_(window, port),
      lines_(display_, window.session().state().LastRxPort,
             [&session = window.session()](const QByteArray& bytes) {
                 return RxDisplayText(bytes, session.state().RxFormat,
                                      session.shared().Prefs.bolFormattedView);
             }),
      dispatch_(window.session()), receive_(window, display_, lines_, dispatch_),
      events_(window, display_, lines_, dispatch_) {
    Session& session = window.session();
    QObject::connect(&session.MSComm1(), &comm::CommControl::OnComm, &window,
                     [this] { MSComm1_OnComm(); });
    QObject::connect(&session.MSComm2(), &comm::CommControl::OnComm, &window,
                     [this] { MSComm2_OnComm(); });
}

void CommEvents::MSComm1_OnComm() {
    onComm(window_.session().MSComm1(), true);
}

void CommEvents::MSComm2_OnComm() {
    onComm(window_.session().MSComm2(), false);
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
