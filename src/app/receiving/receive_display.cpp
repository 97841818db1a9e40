#include "app/receiving/receive_display.h"

#include "app/main/frm_main.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/port/port_control.h"
#include "platform/services.h"

#include <QAction>
#include <QLabel>

namespace kst {

namespace {

const QString Ball = QStringLiteral("Ball");
constexpr int ReadyPicture = 2;
constexpr int BusyPicture = 3;

} // namespace

void ReceiveDisplay::write(const QString& label, const QString& body, LogStyle bodyStyle) {
    const UserPreferences& prefs = window_.session().shared().Prefs;
    const DisplayStyle style = bodyStyle == LogStyle::Rx1   ? prefs.rx1Style()
                               : bodyStyle == LogStyle::Rx2 ? prefs.rx2Style()
                                                            : prefs.messageStyle();
    window_.Add_Color(label, prefs.messageStyle(), body, style);
}

ReceiveMode ReceiveDisplay::mode() const {
    if (!window_.session().state().MonitoringMode)
        return ReceiveMode::Debugging;
    return window_.session().state().TwoPortActive ? ReceiveMode::FullDuplex
                                                   : ReceiveMode::HalfDuplex;
}

qint64 ReceiveDisplay::elapsedMs() const {
    return Platform::clock().monotonicMs() - window_.session().state().MonitorStartTick;
}

void ReceiveDisplay::busy() {
    showBall(BusyPicture, QStringLiteral("Receiving data ..."));
}

void ReceiveDisplay::ready() {
    status(QStringLiteral("Ready"));
}

void ReceiveDisplay::status(const QString& text) {
    showBall(ReadyPicture, text);
}

void ReceiveDisplay::showBall(int picture, const QString& text) {
    PanelStatusBar* bar = window_.ui().StatusBar1;
    bar->setPanelPicture(Ball, picture);
    bar->setPanelText(Ball, text);
}

void ReceiveDisplay::setLed(Led led, bool on) {
    port_.setLed(led, on);
}

void ReceiveDisplay::updateLineLeds() {
    port_.UpdateLineLEDs();
}

void ReceiveDisplay::beepOnReceive() {
    if (window_.session().shared().Prefs.bolSoundOnReceive)
        Platform::beeper().beep();
}

void ReceiveDisplay::beepOnLineChange() {
    if (window_.session().shared().Prefs.bolSoundOnLineChange)
        Platform::beeper().beep();
}

} // namespace kst
