#include "app/port/port_control.h"

#include "macros/macro_runner.h"

#include "app/main/controls.h"
#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "app/port/port_list.h"
#include "app/port/port_session.h"
#include "app/port/port_settings.h"
#include "app/sending/send_pane.h"
#include "notation/view/styled_log.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "traffic/send_engine.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

namespace {

const QString CRLF = QStringLiteral("\r\n");

void setEnabled(std::initializer_list<QWidget*> widgets, bool enabled) {
    for (QWidget* widget : widgets)
        widget->setEnabled(enabled);
}

} // namespace

PortControl::PortControl(Session& session, MainView& window, PortListControl& portList,
                         SendPane& sendPane)
    : session_(session), window_(window), portList_(portList), sendPane_(sendPane) {}

bool PortControl::debugging() const {
    return !session_.state().MonitoringMode;
}

QString PortControl::handshakingText() const {
    return debugging() ? kst::handshakingText(session_.state().HandshakeName) : QString();
}

QString PortControl::modeText() const {
    const MainControls& ui = window_.ui();
    const MainState& state = session_.state();
    const QString rx = QStringLiteral("RX data format: ") + ui.Option2[state.RxFormat]->text();
    if (debugging()) {
        return QStringLiteral("Communication mode: Debugging / Simulating") + CRLF +
               QStringLiteral("TX data format: ") + ui.Option1[state.TxFormat]->text() +
               QStringLiteral("; ") + rx;
    }
    if (state.TwoPortActive)
        return QStringLiteral("Communication mode: Monitoring (Full-duplex)") + CRLF + rx;
    return QStringLiteral("Communication mode: Monitoring (Half-duplex)") + CRLF + rx;
}

// ---------------------------------------------------------------------------------------
// Opening

void PortControl::OpenPort() {
    MainState& state = session_.state();
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();
    comm::CommControl& port1 = session_.MSComm1();
    comm::CommControl& port2 = session_.MSComm2();
    const bool twoPorts = !debugging() && state.TwoPortActive;
    bool secondOpenedHere = false;
    try {
        if (state.PortIsOpen && sessionObserver_)
            sessionObserver_->portClosing();
        session_.closePorts();
        state.NoDataTickLimit = 10;
        session_.macroRunner().portOpened();
        state.LastRxPort = 0;

        port1.setSettings(portList_.settingsString());
        if (ui.portChoice->count() > 0) {
            bool isNumber = false;
            const int number = ui.portChoice->currentText().trimmed().toInt(&isNumber);
            if (!isNumber)
                throw RunTimeError(err::TypeMismatch);
            if (number > 0)
                port1.setCommPort(number);
        }

        if (debugging()) {
            port1.setHandshaking(state.HandshakeIndex);
            ui.ledImage(Led::BRK)->setEnabled(true);
            ImageControl* rts = ui.ledImage(Led::RTS);
            switch (state.HandshakeIndex) {
            case 0:
            case 1:
                rts->setEnabled(true);
                rts->setCursor(Qt::PointingHandCursor);
                port1.setRTSEnable(false);
                break;
            case 2:
            case 3:
                // The driver keeps RTS for the flow control.
                rts->setEnabled(false);
                rts->unsetCursor();
                port1.setRTSEnable(true);
                break;
            default:
                break;
            }
            ui.Check2->setEnabled(true);
            ui.Check1->setEnabled(true);
        } else {
            port1.setHandshaking(0);
            ui.Check2->setChecked(false);
            ui.Check2->setEnabled(false);
            ui.Check1->setChecked(false);
            ui.Check1->setEnabled(false);
            ui.CbTimer->setEnabled(false);
        }

        if (twoPorts) {
            port2.setSettings(port1.Settings());
            port2.setCommPort(state.SecondPort);
            port2.setPortOpen(true);
            secondOpenedHere = true;
        }

        port1.setPortOpen(true);
        state.PortIsOpen = true;

        SetControlsForPortState(false);
        if (debugging())
            UpdateLineLEDs();
        if (twoPorts) {
            // Each side's output lines reach the other port's inputs.
            setLed(Led::CD, port1.CDHolding());
            setLed(Led::RTS, port2.CTSHolding());
            setLed(Led::CTS, port1.CTSHolding());
            setLed(Led::DSR, port1.DSRHolding());
            setLed(Led::DTR, port2.DSRHolding());
        }

        menus.mnuPortOpen->setEnabled(false);
        menus.mnuPortClose->setEnabled(true);
        for (QAction* item : {menus.mnuSettings, menus.mnuOptions, menus.mnuProgBut,
                              menus.mnuProgAutoResp, menus.mnuProgMacros, menus.mnuImport})
            item->setEnabled(false);

        PanelStatusBar* bar = ui.StatusBar1;
        bar->setPanelText(QStringLiteral("Setting"),
                          settingPanelText(port1.Settings(), handshakingText()));
        const QString ports =
            twoPorts ? QString::number(port1.CommPort()) + u',' + QString::number(port2.CommPort())
                     : QString::number(port1.CommPort());
        bar->setPanelText(QStringLiteral("Status"), statusPanelText(ports));
        bar->showPortState(PortBall::Ready, QStringLiteral("Ready"));

        if (session_.shared().Prefs.bolClearLogOnOpen)
            window_.log().clear();
        const QDateTime now = Platform::clock().now();
        const QLocale locale;
        window_.Add_Color(locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                              now.time().toString(QStringLiteral("HH:mm:ss")) + CRLF,
                          session_.shared().Prefs.messageStyle());
        statusBlock();
        window_.Add_Color(
            QStringLiteral("* * * * * * * * * * COM Port Opened * * * * * * * * * * ") + CRLF +
                CRLF,
            session_.shared().Prefs.messageStyle());

        ui.Toolbar1->setButtonImage(ToolButton::Connect, 4, QStringLiteral("Connected"));

        // The input lines as they are now: a line event is a change from these.
        if (debugging() || twoPorts) {
            state.PrevCTS = port1.CTSHolding();
            state.PrevDSR = port1.DSRHolding();
            state.PrevCD = port1.CDHolding();
        }
        if (debugging()) {
            if (ui.Combo1->isVisible() && ui.Combo1->isEnabled())
                ui.Combo1->setFocus();
            ui.Send->setEnabled(!ui.Combo1->currentText().isEmpty() || !ui.Text3->text().isEmpty());
        } else if (twoPorts) {
            state.PrevCTS2 = port2.CTSHolding();
            state.PrevDSR2 = port2.DSRHolding();
            lineStateBlock();
        }
        state.MonitorStartTick = Platform::clock().monotonicMs();
        if (sessionObserver_)
            sessionObserver_->portOpened();
    } catch (const RunTimeError& e) {
        failOpen(e, secondOpenedHere);
    }
}

void PortControl::statusBlock() {
    const MainControls& ui = window_.ui();
    const MainState& state = session_.state();
    QString port = ui.portChoice->currentText();
    if (!debugging() && state.TwoPortActive)
        port += u',' + QString::number(state.SecondPort);
    const QString text =
        QStringLiteral("COM port: ") + port + QStringLiteral("; ") + QStringLiteral("Baud rate: ") +
        ui.BaudChoice->currentText() + QStringLiteral("bps; ") + QStringLiteral("Parity: ") +
        ui.ParityChoice->currentText() + QStringLiteral("; ") + QStringLiteral("Data bit: ") +
        ui.DataBitChoice->currentText() + QStringLiteral("; ") + QStringLiteral("Stop bit: ") +
        ui.StopBitChoice->currentText() + QStringLiteral("; ") + handshakingText() + CRLF +
        modeText() + CRLF + CRLF;
    window_.Add_Color(text, session_.shared().Prefs.messageStyle());
}

void PortControl::lineStateBlock() {
    const MainState& state = session_.state();
    if (!state.DetectCTS && !state.DetectDSR && !state.DetectDCD && !state.DetectRI)
        return;
    QStringList lines;
    // The second port's inputs are the other device's outputs.
    if (state.PrevCTS2)
        lines << QStringLiteral("RTS is ON");
    if (state.PrevDSR2)
        lines << QStringLiteral("DTR is ON");
    if (state.PrevCTS)
        lines << QStringLiteral("CTS is ON");
    if (state.PrevDSR)
        lines << QStringLiteral("DSR is ON");
    if (state.PrevCD)
        lines << QStringLiteral("DCD is ON");
    if (lines.isEmpty())
        return;
    const UserPreferences& prefs = session_.shared().Prefs;
    window_.Add_Color(QStringLiteral("Current Line States (Note: Line States are viewed from the "
                                     "RS232 port that is connected to COM") +
                          QString::number(session_.MSComm1().CommPort()) + QStringLiteral("):") +
                          CRLF + lines.join(CRLF),
                      prefs.rx1Style());
}

void PortControl::failOpen(const RunTimeError& error, bool secondOpenedHere) {
    comm::CommControl& port1 = session_.MSComm1();
    comm::CommControl& port2 = session_.MSComm2();
    const bool twoPorts = !debugging() && session_.state().TwoPortActive;
    // Nothing this call opened stays open behind a window that says "closed".
    if (!session_.state().PortIsOpen) {
        try {
            if (secondOpenedHere && port2.PortOpen())
                port2.setPortOpen(false);
        } catch (const RunTimeError&) {
        }
    }
    const QString ports = twoPorts
                              ? QStringLiteral("COM ports: ") + QString::number(port1.CommPort()) +
                                    QStringLiteral(", ") + QString::number(port2.CommPort())
                              : QStringLiteral("COM port: ") + QString::number(port1.CommPort());
    msgBox(failureText(error.number(), error.description()) + QStringLiteral("\n") + ports,
           MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Port Open Error:"));
}

// ---------------------------------------------------------------------------------------
// Closing

void PortControl::ClosePort() {
    MainState& state = session_.state();
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();

    // What the ports received and nobody wrote yet goes before the closing line.
    if (sessionObserver_)
        sessionObserver_->portClosing();
    state.LastRxPort = 0;

    // A break in progress ends with the port.
    breakTimer_.cancel();
    try {
        session_.MSComm1().setBreak(false);
    } catch (const RunTimeError&) {
    }
    comm::CommControl& port2 = session_.MSComm2();
    comm::CommControl& port1 = session_.MSComm1();
    for (comm::CommControl* port : {&port2, &port1}) {
        try {
            if (port->PortOpen())
                port->setPortOpen(false);
        } catch (const RunTimeError&) {
        }
    }
    // From here on the port counts as closed: whatever ends with it below (a run, a
    // chain) must not show the controls of an open port.
    state.PortIsOpen = false;

    // A run stops at its next check, a paused one at once; its send, like every other,
    // ends as interrupted. They end before the window takes its closed-port state, which
    // is the last word on the controls.
    session_.macroRunner().portClosed();
    session_.sender().stopAll();

    menus.mnuPortClose->setEnabled(false);
    for (QAction* item : {menus.mnuPortOpen, menus.mnuSettings, menus.mnuOptions, menus.mnuProgBut,
                          menus.mnuProgAutoResp, menus.mnuProgMacros, menus.mnuImport})
        item->setEnabled(true);
    ui.Check2->setEnabled(true);
    ui.Check1->setEnabled(true);

    SetControlsForPortState(true);

    for (int k = 0; k < LedCount; ++k) {
        ui.ledLabels[static_cast<size_t>(k)]->setEnabled(false);
        ui.ledImages[static_cast<size_t>(k)]->setPicture(ui.imgLedSample[0]->picture());
    }

    window_.Add_Color(
        CRLF + QStringLiteral("* * * * * * * * * * COM Port Closed * * * * * * * * * * ") + CRLF,
        session_.shared().Prefs.messageStyle());

    ui.StatusBar1->setPanelText(QStringLiteral("Status"), QStringLiteral("COM Port Status:"));
    ui.StatusBar1->showPortState(PortBall::Closed, QStringLiteral("Port closed"));
    ui.Toolbar1->setButtonImage(ToolButton::Connect, 3, QStringLiteral("Disconnected"));
}

void PortControl::portLost(int commPort) {
    if (!session_.state().PortIsOpen)
        return;
    ClosePort();
    msgBox(QStringLiteral("The device of COM%1 has gone (unplugged or switched off), so the port "
                          "was closed.\nConnect again once the device is back.")
               .arg(commPort),
           MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("COM Error:"));
}

// ---------------------------------------------------------------------------------------
// The controls of each port state

void PortControl::SetControlsForPortState(bool Enable) {
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();
    const MainState& state = session_.state();
    KeyedToolBar* bar = ui.Toolbar1;
    const bool open = !Enable;

    for (QLabel* caption : ui.txtport)
        caption->setEnabled(Enable);
    setEnabled({ui.portChoice, ui.BaudChoice, ui.DataBitChoice, ui.StopBitChoice, ui.ParityChoice},
               Enable);
    for (QAction* item : {menus.mnuNew, menus.mnuSaveSettings, menus.mnuOpenSettings})
        item->setEnabled(Enable);

    // The macro runner, the auto-response switch and the senders belong to Debugging /
    // Simulating mode: outside it they stay off, so nothing transmits on a monitored line.
    const bool debuggingOpen = debugging() && open;
    setEnabled({ui.txtMacros, ui.cboMacros}, debuggingOpen);
    for (ToolButton button :
         {ToolButton::AutoRespOnOff, ToolButton::MacrosPlay, ToolButton::MacrosContinue})
        bar->setButtonEnabled(button, debuggingOpen);
    for (QAction* item : {menus.mnuAutoResp, menus.mnuMacro, menus.mnuRun, menus.mnuContinue})
        item->setEnabled(debuggingOpen);
    for (ToolButton button : {ToolButton::MacrosPause, ToolButton::MacrosStop})
        bar->setButtonEnabled(button, false);
    for (QAction* item : {menus.mnuPause, menus.mnuStop})
        item->setEnabled(false);

    setEnabled({ui.Label4, ui.Combo1, ui.Text3}, debuggingOpen);
    // The send fields follow the command box, as they do while it is typed in; Send
    // itself follows the port below.
    sendPane_.enableFields(debuggingOpen && !ui.Combo1->currentText().isEmpty());
    setEnabled(
        {ui.Send, ui.Frame3, ui.Frame4, ui.Option3[0], ui.Option3[1], ui.Option6[0], ui.Option6[1]},
        debuggingOpen);
    for (size_t k = 0; k < ui.cmdFreqused.size(); ++k) {
        ui.cmdFreqused[k]->setEnabled(debuggingOpen);
        ui.cmdProBut[k]->setEnabled(debuggingOpen);
    }

    // The LED row: clickable in Debugging mode; in full-duplex monitoring it shows the
    // lines of both ports; in half-duplex monitoring it stays dark.
    const bool ledsLive = open && (debugging() || state.TwoPortActive);
    for (QLabel* label : ui.ledLabels)
        label->setEnabled(ledsLive);
    for (ImageControl* led : ui.ledImages)
        led->setEnabled(debuggingOpen);
    if (debuggingOpen && state.HandshakeIndex >= 2)
        ui.ledImage(Led::RTS)->setEnabled(false);
}

// ---------------------------------------------------------------------------------------
// LEDs and line toggles

void PortControl::setLed(Led led, bool on) {
    const MainControls& ui = window_.ui();
    ui.ledImage(led)->setPicture(ui.imgLedSample[on ? 1 : 0]->picture());
}

void PortControl::UpdateLineLEDs() {
    const comm::CommControl& port = session_.MSComm1();
    setLed(Led::CD, port.CDHolding());
    setLed(Led::RTS, port.RTSEnable());
    setLed(Led::CTS, port.CTSHolding());
    setLed(Led::DSR, port.DSRHolding());
    setLed(Led::DTR, port.DTREnable());
    setLed(Led::BRK, port.Break());
}

bool PortControl::CheckSignalCondition(LineState Condition) const {
    return kst::CheckSignalCondition(Condition, session_.primaryLines().levelsNow());
}

void PortControl::logSignalSent(const QString& text) {
    const UserPreferences& prefs = session_.shared().Prefs;
    window_.Add_Color(QStringLiteral("Signal sent: "), prefs.messageStyle(), text + CRLF,
                      prefs.txStyle());
}

void PortControl::imgBRK_Click() {
    if (!session_.MSComm1().PortOpen() || !debugging())
        return;
    const MainControls& ui = window_.ui();
    try {
        session_.MSComm1().setBreak(true);
    } catch (const RunTimeError& e) {
        logSignalSent(QStringLiteral("Communication Break refused by the port: ") +
                      e.description() + QStringLiteral(" ..."));
        return;
    }
    setLed(Led::BRK, true);
    ui.StatusBar1->setPanelText(QStringLiteral("Ball"),
                                QStringLiteral("Communication Break for 500ms"));
    logSignalSent(QStringLiteral("Communication Break for 500ms ..."));
    breakTimer_ = session_.scheduler().after(BreakMs, [this] { TimerBreak_Timer(); });
}

void PortControl::TimerBreak_Timer() {
    setLed(Led::BRK, false);
    window_.ui().StatusBar1->setPanelText(QStringLiteral("Ball"), QStringLiteral("Ready"));
    try {
        session_.MSComm1().setBreak(false);
    } catch (const RunTimeError&) {
    }
    breakTimer_.cancel();
}

void PortControl::imgDTR_Click() {
    toggleOutputLine(false);
}

void PortControl::imgRTS_Click() {
    // Under hardware flow control RTS belongs to the driver.
    const int handshake = session_.state().HandshakeIndex;
    if (handshake == 2 || handshake == 3)
        return;
    toggleOutputLine(true);
}

void PortControl::toggleOutputLine(bool rts) {
    comm::CommControl& port = session_.MSComm1();
    // Like BRK: only a port that is open and talks, never a monitored line.
    if (!port.PortOpen() || !debugging())
        return;
    const QString name = rts ? QStringLiteral("RTS") : QStringLiteral("DTR");
    if (rts)
        port.setRTSEnable(!port.RTSEnable());
    else
        port.setDTREnable(!port.DTREnable());
    UpdateLineLEDs();
    if (session_.shared().Prefs.bolSoundOnLineChange)
        Platform::beeper().beep();
    const bool on = rts ? port.RTSEnable() : port.DTREnable();
    const QString text = name + (on ? QStringLiteral(" Turned ON") : QStringLiteral(" Turned OFF"));
    window_.ui().StatusBar1->setPanelText(QStringLiteral("Ball"), text);
    logSignalSent(text + QStringLiteral(" ..."));
}

} // namespace kst
