#include "line_events.h"

#include "platform/serial/comm_codes.h"

namespace kst {

namespace {

QString changeText(const char* name, bool on) {
    return QString::fromLatin1(name) +
           (on ? QStringLiteral(" Turned ON ...") : QStringLiteral(" Turned OFF ..."));
}

const char* primaryName(InputLine line) {
    switch (line) {
    case InputLine::Cts:
        return "CTS";
    case InputLine::Dsr:
        return "DSR";
    default:
        return "DCD";
    }
}

LineEvent eventOf(InputLine line, bool on) {
    switch (line) {
    case InputLine::Cts:
        return on ? LineEvent::CtsOn : LineEvent::CtsOff;
    case InputLine::Dsr:
        return on ? LineEvent::DsrOn : LineEvent::DsrOff;
    default:
        return on ? LineEvent::DcdOn : LineEvent::DcdOff;
    }
}

} // namespace

LineChange primaryLineChange(ReceiveMode mode, InputLine line, bool on, bool previous,
                             bool detect) {
    LineChange change;
    if (on == previous || !detect)
        return change;
    // A CTS change is heard in every mode, the others only where they are written.
    change.beep = line == InputLine::Cts || mode == ReceiveMode::Debugging;
    change.event = eventOf(line, on);
    change.text = changeText(primaryName(line), on);
    switch (mode) {
    case ReceiveMode::Debugging:
        change.show = LineChange::Show::Signal;
        break;
    case ReceiveMode::FullDuplex:
        change.show = LineChange::Show::MonitorLine;
        break;
    case ReceiveMode::HalfDuplex:
        change.show = LineChange::Show::Quietly;
        break;
    }
    return change;
}

LineChange secondLineChange(InputLine line, bool on, bool previous, bool detect) {
    LineChange change;
    if (on == previous || !detect || line == InputLine::Dcd)
        return change;
    change.show = LineChange::Show::MonitorLine;
    change.beep = line == InputLine::Cts;
    change.text = changeText(line == InputLine::Cts ? "RTS" : "DTR", on);
    return change;
}

QString ringText() {
    return QStringLiteral("RI Detected ...");
}

PortEvent primaryPortEvent(int commEvent) {
    using K = PortEvent::Kind;
    switch (commEvent) {
    case comm::comEvSend:
        return {K::None, {}};
    case comm::comEvEOF:
        return {K::EventText, QStringLiteral("End of File Detected")};
    case comm::comEventCTSTO:
        return {K::ErrorText, QStringLiteral("CTS Timeout")};
    case comm::comEventDSRTO:
        return {K::ErrorText, QStringLiteral("DSR Timeout")};
    case comm::comEventFrame:
        return {K::ErrorText, QStringLiteral("Framing Error")};
    case comm::comEventOverrun:
        return {K::ErrorText, QStringLiteral("Overrun Error")};
    case comm::comEventCDTO:
        return {K::ErrorText, QStringLiteral("Carrier Detect Timeout")};
    case comm::comEventRxOver:
        return {K::InputOverflow, QStringLiteral("Attention: Input Buffer Overflow!")};
    case comm::comEventRxParity:
        return {K::ErrorText, QStringLiteral("Parity Error")};
    case comm::comEventTxFull:
        return {K::OutputOverflow, QStringLiteral("Attention: Output Buffer Overflow!")};
    case comm::comEventDCB:
        return {K::ErrorText, QStringLiteral("Error retrieving DCB")};
    default:
        return {K::ErrorText, QStringLiteral("Unknown error or event")};
    }
}

PortEvent secondPortEvent(int commEvent, int secondPort) {
    using K = PortEvent::Kind;
    const QString port = QStringLiteral("COM ") + QString::number(secondPort);
    switch (commEvent) {
    case comm::comEventRxOver:
        return {K::InputOverflow,
                QStringLiteral("Attention: ") + port + QStringLiteral(" Input Buffer Overflow!")};
    case comm::comEventFrame:
        return {K::ErrorText, port + QStringLiteral(" Framing Error")};
    case comm::comEventOverrun:
        return {K::ErrorText, port + QStringLiteral(" Overrun Error")};
    case comm::comEventRxParity:
        return {K::ErrorText, port + QStringLiteral(" Parity Error")};
    default:
        return {K::ErrorText, port + QStringLiteral(" Unknown error or event")};
    }
}

} // namespace kst
