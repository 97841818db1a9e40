#pragma once

#include "app/main/controls.h"
#include "app/main/main_controls.h"
#include "traffic/line_events.h"
#include "traffic/receive_log.h"

#include <QString>

namespace kst {

class MainView;
class PortControl;
class Session;

// What the receive side shows besides its log lines: the "Ball" panel of the status
// bar, the LEDs, the sounds. It also writes the log lines, in the styles of the
// preferences.
class ReceiveDisplay : public ReceiveLog {
public:
    ReceiveDisplay(Session& session, MainView& window, PortControl& port)
        : session_(session), window_(window), port_(port) {}

    // ReceiveLog
    void write(const QString& label, const QString& body, LogStyle bodyStyle) override;

    // The mode the window is in.
    ReceiveMode mode() const;
    // The time the stamps count: milliseconds since the port opened.
    qint64 elapsedMs() const;

    // The "Ball" panel: busy receiving, ready, or a text beside the ready picture.
    void busy();
    void ready();
    void status(const QString& text);

    void setLed(Led led, bool on);
    // Every line LED of the primary port as the lines stand.
    void updateLineLeds();

    // A beep when the user asked for one on received data, or on line changes.
    void beepOnReceive();
    void beepOnLineChange();

private:
    Session& session_;
    MainView& window_;
    PortControl& port_;
};

} // namespace kst
