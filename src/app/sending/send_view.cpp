#include "app/sending/send_view.h"

#include "app/main/frm_main.h"
#include "app/main/main_controller.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>

namespace kst {

bool SendView::mayTransmit() const {
    // A monitored line only listens.
    return window_.session().MSComm1().PortOpen() && !window_.session().state().MonitoringMode;
}

void SendView::output(const QByteArray& bytes) {
    window_.session().MSComm1().Output(bytes);
}

void SendView::setRts(bool on) {
    window_.session().MSComm1().setRTSEnable(on);
}

void SendView::setDtr(bool on) {
    window_.session().MSComm1().setDTREnable(on);
}

int SendView::txFormat() const {
    return window_.session().state().TxFormat;
}

bool SendView::description() const {
    return window_.session().shared().Prefs.bolDescription;
}

bool SendView::formattedView() const {
    return window_.session().shared().Prefs.bolFormattedView;
}

bool SendView::soundOnSend() const {
    return window_.session().shared().Prefs.bolSoundOnSend;
}

void SendView::log(const QString& label, Style labelStyle, const QString& body, Style bodyStyle) {
    const UserPreferences& prefs = window_.session().shared().Prefs;
    auto style = [&prefs](Style s) {
        return s == Style::Message ? prefs.messageStyle() : prefs.txStyle();
    };
    window_.Add_Color(label, style(labelStyle), body, style(bodyStyle));
}

void SendView::linesChanged() {
    window_.controller().port().UpdateLineLEDs();
}

void SendView::transmitting(bool busy) {
    window_.controller().port().setLed(Led::TX, busy);
    PanelStatusBar* bar = window_.ui().StatusBar1;
    bar->setPanelPicture(QStringLiteral("Ball"), busy ? 3 : 2);
    bar->setPanelText(QStringLiteral("Ball"),
                      busy ? QStringLiteral("Sending data ...") : QStringLiteral("Ready"));
}

void SendView::sendsRunning(bool any) {
    window_.ui().cmdStop->setEnabled(any);
}

void SendView::wrote() {
    QComboBox* box = window_.ui().Combo1;
    // A box on a hidden pane, or disabled, cannot take the focus; that is no failure.
    if (!box->isVisible() || !box->isEnabled() || somethingElseIsPressed())
        return;
    box->setFocus();
}

bool SendView::somethingElseIsPressed() const {
    // Taking the focus from a button the user holds down cancels the press: Stop
    // pressed at a short interval would never click. The keyboard user who moved to
    // Stop keeps it too, and a mouse held anywhere (a selection, a scroll bar) is left
    // alone.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
    QWidget* focus = QApplication::focusWidget();
    if (focus == window_.ui().cmdStop)
        return true;
    const auto* button = qobject_cast<QAbstractButton*>(focus);
    return button != nullptr && button->isDown();
}

void SendView::beep() {
    Platform::beeper().beep();
}

} // namespace kst
