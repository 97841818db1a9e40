#pragma once

#include <QString>

namespace kst {

// The line events of the primary port as the auto-response rules and the macro
// sub-routines know them, by their stored codes; None is no event.
enum class LineEvent : int {
    None = 0,
    CtsOn = 1,
    CtsOff = 2,
    DsrOn = 3,
    DsrOff = 4,
    DcdOn = 5,
    DcdOff = 6,
    Ring = 7
};

// How the program uses the line: it talks on it (Debugging / Simulating), or listens on
// one port or on two (Monitoring, half or full duplex).
enum class ReceiveMode { Debugging, HalfDuplex, FullDuplex };

// The input lines whose changes are events.
enum class InputLine { Cts, Dsr, Dcd };

// What a change of an input line comes to.
struct LineChange {
    enum class Show {
        Ignored,     // no change, or a line nobody watches: the event ends at once
        Quietly,     // taken (the previous state follows it) but nothing is written
        Signal,      // a "Signal received: " line and the dispatch to the engines
        MonitorLine, // a " [ LINE ]: " line of full-duplex monitoring
    };
    Show show = Show::Ignored;
    bool beep = false; // when the sound on line changes is on
    LineEvent event = LineEvent::None;
    QString text;
};

// A change of the primary port's line to `on`, the state read once for the event.
// `previous` is the state last taken, `detect` the line's switch.
LineChange primaryLineChange(ReceiveMode mode, InputLine line, bool on, bool previous, bool detect);
// The second port of full-duplex monitoring: its CTS and DSR are the other device's RTS
// and DTR, and are written so.
LineChange secondLineChange(InputLine line, bool on, bool previous, bool detect);

QString ringText();

// What an event of a port that is neither data nor a line change comes to.
struct PortEvent {
    enum class Kind {
        None,           // nothing but the end of the event (a send event)
        EventText,      // the text of an event (end of file) for the status bar
        ErrorText,      // the text of an error for the status bar
        InputOverflow,  // received bytes were lost: a notice, and blocks are cut short
        OutputOverflow, // a notice
    };
    Kind kind = Kind::None;
    QString text;
};

// An event of the primary port.
PortEvent primaryPortEvent(int commEvent);
// An event of the second port (COM `secondPort`) other than data and CTS and DSR changes.
PortEvent secondPortEvent(int commEvent, int secondPort);

} // namespace kst
