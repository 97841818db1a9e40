#pragma once

#include "app/main/main_controls.h"
#include "platform/scheduler.h"
#include "traffic/line_events.h"

#include <QString>

namespace kst {

class EngineDispatch;
class ReceiveDisplay;
class ReceiveLines;
class Session;

// Every event of the ports that is neither data nor a lost device: the input lines CTS,
// DSR and CD, the ring, end of file, the send event and the communication errors.
// Watched line changes are written and (Debugging / Simulating) offered to the engines;
// errors leave a text for the status bar, buffer overflows a line in the log.
class PortEvents {
public:
    // The RI LED stays on this long after a ring, and the ring is dispatched then.
    static constexpr int RingFlashMs = 100;

    PortEvents(Session& session, ReceiveDisplay& display, ReceiveLines& lines,
               EngineDispatch& engines);

    void primaryEvent(int commEvent);
    void secondEvent(int commEvent);
    // The end of a handled event of the primary port: the stored end-of-file text, else
    // the stored error text, goes back to the status bar.
    void tail();

    // A new session keeps nothing of the last one's events.
    void portOpened();
    // A ring still flashing is dropped with the session.
    void portClosing();

private:
    void primaryLine(InputLine line, bool on, bool& previous, bool detect);
    void secondLine(InputLine line, bool on, bool& previous, bool detect);
    // A change that counts is heard and becomes the line's known state; false for one
    // that does not count.
    bool take(const LineChange& change, bool on, bool& previous);
    void monitorLine(Led led, bool on, qint64 elapsedMs, const QString& text);
    void ring();
    void ringEnds();
    void primaryOther(int commEvent);

    Session& session_;
    ReceiveDisplay& display_;
    ReceiveLines& lines_;
    EngineDispatch& engines_;
    QString lastEventText_;
    QString lastErrorText_;
    TimerHandle ringTimer_;
};

} // namespace kst
