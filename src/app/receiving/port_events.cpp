#include "app/receiving/port_events.h"

#include "app/main/session.h"
#include "app/receiving/engine_dispatch.h"
#include "app/receiving/receive_display.h"
#include "traffic/receive_lines.h"

namespace kst {

namespace {

Led primaryLed(InputLine line) {
    switch (line) {
    case InputLine::Cts:
        return Led::CTS;
    case InputLine::Dsr:
        return Led::DSR;
    default:
        return Led::CD;
    }
}

} // namespace

PortEvents::PortEvents(Session& session, ReceiveDisplay& display, ReceiveLines& lines,
                       EngineDispatch& engines)
    : session_(session), display_(display), lines_(lines), engines_(engines) {}

void PortEvents::primaryEvent(int commEvent) {
    MainState& state = session_.state();
    const comm::CommControl& port = session_.MSComm1();
    // Each line is read once: a change between two reads must not split one event into
    // a test of one state and a line, a code or a previous state of another.
    switch (commEvent) {
    case comm::comEvCTS:
        primaryLine(InputLine::Cts, port.CTSHolding(), state.PrevCTS, state.DetectCTS);
        break;
    case comm::comEvDSR:
        primaryLine(InputLine::Dsr, port.DSRHolding(), state.PrevDSR, state.DetectDSR);
        break;
    case comm::comEvCD:
        primaryLine(InputLine::Dcd, port.CDHolding(), state.PrevCD, state.DetectDCD);
        break;
    case comm::comEvRing:
        ring();
        break;
    default:
        primaryOther(commEvent);
        break;
    }
}

void PortEvents::primaryLine(InputLine line, bool on, bool& previous, bool detect) {
    const qint64 elapsed = display_.elapsedMs();
    const LineChange change = primaryLineChange(display_.mode(), line, on, previous, detect);
    if (!take(change, on, previous))
        return;
    switch (change.show) {
    case LineChange::Show::Signal:
        display_.updateLineLeds();
        lines_.signalReceived(change.text);
        engines_.lineEvent(change.event);
        break;
    case LineChange::Show::MonitorLine:
        monitorLine(primaryLed(line), on, elapsed, change.text);
        break;
    default:
        return;
    }
    tail();
}

bool PortEvents::take(const LineChange& change, bool on, bool& previous) {
    if (change.show == LineChange::Show::Ignored)
        return false;
    if (change.beep)
        display_.beepOnLineChange();
    previous = on;
    return true;
}

void PortEvents::monitorLine(Led led, bool on, qint64 elapsedMs, const QString& text) {
    display_.setLed(led, on);
    lines_.lineEvent(elapsedMs, text);
}

void PortEvents::ring() {
    MainState& state = session_.state();
    if (!state.DetectRI)
        return;
    state.RingPending = true;
    switch (display_.mode()) {
    case ReceiveMode::Debugging:
        display_.setLed(Led::RI, true);
        display_.beepOnLineChange();
        // A ring during the flash of the last one is the same ring.
        if (!ringTimer_.pending())
            ringTimer_ = session_.scheduler().after(RingFlashMs, [this] { ringEnds(); });
        break;
    case ReceiveMode::FullDuplex:
        lines_.lineEvent(display_.elapsedMs(), ringText());
        break;
    case ReceiveMode::HalfDuplex:
        return;
    }
    tail();
}

void PortEvents::ringEnds() {
    display_.setLed(Led::RI, false);
    lines_.signalReceived(ringText());
    engines_.lineEvent(LineEvent::Ring);
    session_.state().RingPending = false;
}

void PortEvents::primaryOther(int commEvent) {
    const PortEvent event = primaryPortEvent(commEvent);
    switch (event.kind) {
    case PortEvent::Kind::EventText:
        lastEventText_ = event.text;
        break;
    case PortEvent::Kind::ErrorText:
        lastErrorText_ = event.text;
        break;
    case PortEvent::Kind::InputOverflow:
        session_.state().NoDataTickLimit = 1;
        lines_.notice(event.text);
        break;
    case PortEvent::Kind::OutputOverflow:
        lines_.notice(event.text);
        break;
    case PortEvent::Kind::None:
        break;
    }
    tail();
}

void PortEvents::tail() {
    if (!lastEventText_.isEmpty())
        display_.status(lastEventText_);
    else if (!lastErrorText_.isEmpty())
        display_.status(lastErrorText_);
}

void PortEvents::secondEvent(int commEvent) {
    MainState& state = session_.state();
    const comm::CommControl& port = session_.MSComm2();
    switch (commEvent) {
    case comm::comEvCTS:
        secondLine(InputLine::Cts, port.CTSHolding(), state.PrevCTS2, state.DetectCTS);
        return;
    case comm::comEvDSR:
        secondLine(InputLine::Dsr, port.DSRHolding(), state.PrevDSR2, state.DetectDSR);
        return;
    default:
        break;
    }
    const PortEvent event = secondPortEvent(commEvent, state.SecondPort);
    if (event.kind == PortEvent::Kind::InputOverflow) {
        state.NoDataTickLimit = 1;
        lines_.notice(event.text);
    } else {
        display_.status(event.text);
    }
}

void PortEvents::secondLine(InputLine line, bool on, bool& previous, bool detect) {
    if (!session_.state().TwoPortActive)
        return;
    const qint64 elapsed = display_.elapsedMs();
    if (const LineChange change = secondLineChange(line, on, previous, detect);
        take(change, on, previous))
        monitorLine(line == InputLine::Cts ? Led::RTS : Led::DTR, on, elapsed, change.text);
}

void PortEvents::portOpened() {
    lastEventText_.clear();
    lastErrorText_.clear();
    session_.state().RingPending = false;
}

void PortEvents::portClosing() {
    ringTimer_.cancel();
    session_.state().RingPending = false;
}

} // namespace kst
