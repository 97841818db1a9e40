#include "app/sending/send_view.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/port/port_control.h"
#include "app/sending/command_box_focus.h"
#include "platform/services.h"

#include <QPushButton>

namespace kst {

bool SendView::mayTransmit() const {
    // A monitored line only listens.
    return session_.MSComm1().PortOpen() && !session_.state().MonitoringMode;
}

void SendView::output(const QByteArray& bytes) {
    session_.MSComm1().Output(bytes);
}

void SendView::setRts(bool on) {
    session_.MSComm1().setRTSEnable(on);
}

void SendView::setDtr(bool on) {
    session_.MSComm1().setDTREnable(on);
}

int SendView::txFormat() const {
    return session_.state().TxFormat;
}

bool SendView::description() const {
    return session_.shared().Prefs.bolDescription;
}

bool SendView::formattedView() const {
    return session_.shared().Prefs.bolFormattedView;
}

bool SendView::soundOnSend() const {
    return session_.shared().Prefs.bolSoundOnSend;
}

void SendView::log(const QString& label, Style labelStyle, const QString& body, Style bodyStyle) {
    const UserPreferences& prefs = session_.shared().Prefs;
    auto style = [&prefs](Style s) {
        return s == Style::Message ? prefs.messageStyle() : prefs.txStyle();
    };
    window_.Add_Color(label, style(labelStyle), body, style(bodyStyle));
}

void SendView::linesChanged() {
    port_.UpdateLineLEDs();
}

void SendView::transmitting(bool busy) {
    port_.setLed(Led::TX, busy);
    window_.ui().StatusBar1->showPortState(busy ? PortBall::Busy : PortBall::Ready,
                                           busy ? QStringLiteral("Sending data ...")
                                                : QStringLiteral("Ready"));
}

void SendView::sendsRunning(bool any) {
    window_.ui().cmdStop->setEnabled(any);
}

void SendView::wrote() {
    returnFocusToCommandBox(window_.ui(), FocusReturn::AfterWrite);
}

void SendView::beep() {
    Platform::beeper().beep();
}

} // namespace kst
