#include "app/receiving/receive_display.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/port/port_control.h"
#include "platform/services.h"

#include <QAction>
#include <QLabel>

namespace kst {

namespace {} // namespace

void ReceiveDisplay::write(const QString& label, const QString& body, LogStyle bodyStyle) {
    const UserPreferences& prefs = session_.shared().Prefs;
    const DisplayStyle style = bodyStyle == LogStyle::Rx1   ? prefs.rx1Style()
                               : bodyStyle == LogStyle::Rx2 ? prefs.rx2Style()
                                                            : prefs.messageStyle();
    window_.Add_Color(label, prefs.messageStyle(), body, style);
}

ReceiveMode ReceiveDisplay::mode() const {
    if (!session_.state().MonitoringMode)
        return ReceiveMode::Debugging;
    return session_.state().TwoPortActive ? ReceiveMode::FullDuplex : ReceiveMode::HalfDuplex;
}

qint64 ReceiveDisplay::elapsedMs() const {
    return Platform::clock().monotonicMs() - session_.state().MonitorStartTick;
}

void ReceiveDisplay::busy() {
    window_.ui().StatusBar1->showPortState(PortBall::Busy, QStringLiteral("Receiving data ..."));
}

void ReceiveDisplay::ready() {
    status(QStringLiteral("Ready"));
}

void ReceiveDisplay::status(const QString& text) {
    window_.ui().StatusBar1->showPortState(PortBall::Ready, text);
}

void ReceiveDisplay::setLed(Led led, bool on) {
    port_.setLed(led, on);
}

void ReceiveDisplay::updateLineLeds() {
    port_.UpdateLineLEDs();
}

void ReceiveDisplay::beepOnReceive() {
    if (session_.shared().Prefs.bolSoundOnReceive)
        Platform::beeper().beep();
}

void ReceiveDisplay::beepOnLineChange() {
    if (session_.shared().Prefs.bolSoundOnLineChange)
        Platform::beeper().beep();
}

} // namespace kst
