#pragma once

#include "app/main/main_controls.h"
#include "autoresp/line_state.h"
#include "platform/runtime_error.h"
#include "platform/scheduler.h"

#include <QString>

namespace kst {

class MainView;
class PortListControl;
class PortSessionObserver;
class SendPane;
class Session;

// Opening and closing the one or two ports, the controls that follow the port state,
// and the line-state LEDs with the DTR, RTS and BRK toggles.
class PortControl {
public:
    // The break that BRK sends lasts this long.
    static constexpr int BreakMs = 500;

    PortControl(Session& session, MainView& window, PortListControl& portList, SendPane& sendPane);

    // Told when a session has opened and before it closes.
    void setSessionObserver(PortSessionObserver* observer) { sessionObserver_ = observer; }

    // Opens the primary port (and in full-duplex monitoring the second one) with the
    // chosen settings and writes the dated status block. A port open already is
    // closed first, so it may be called at any time.
    void OpenPort();
    // Closes both ports and returns the window to its port-closed state.
    void ClosePort();
    // Enable True: the controls of the closed port; False: those of the open port.
    void SetControlsForPortState(bool Enable);

    // The LEDs of the output and input lines of the primary port.
    void UpdateLineLEDs();
    void setLed(Led led, bool on);
    // The line-state test of the rules and sub-routines, on the primary port's lines now.
    bool CheckSignalCondition(LineState Condition) const;

    // The LED buttons.
    void imgBRK_Click();
    void TimerBreak_Timer();
    void imgDTR_Click();
    void imgRTS_Click();

    // A port's device went away while it was open: both ports close and the user
    // hears once which port was lost.
    void portLost(int commPort);

private:
    bool debugging() const;
    QString modeText() const;
    QString handshakingText() const;
    void statusBlock();
    void lineStateBlock();
    void failOpen(const RunTimeError& error, bool secondOpenedHere);
    void toggleOutputLine(bool rts);
    void logSignalSent(const QString& text);

    Session& session_;
    MainView& window_;
    PortListControl& portList_;
    SendPane& sendPane_;
    TimerHandle breakTimer_;
    PortSessionObserver* sessionObserver_ = nullptr;
};

} // namespace kst
