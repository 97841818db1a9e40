#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// The main window's state that its handlers share, and the port and mode values that the
// other windows read through it. It holds no widget, so logic that works on it can be
// tested without a window. Notations are NotationCode values (0 Dec, 1 Hex, 2 Oct, 3 Bin,
// 4 ASCII).
struct MainState {
    // Notation of sent and received data, and the calculator pane's operand notation
    // and operator (a CalcOperator, 0 And).
    int TxFormat = 1;
    int RxFormat = 1;
    int CalcNotation = 1;
    int CalcOperation = 0;

    // The first macro loads after start-up apply the start-up preferences once.
    bool StartupPending = false;

    // The bank of control-code buttons shown: 0 00h-0Fh, 1 10h-1Fh.
    int ControlCodeBank = 0;
    // The page of programmable buttons last shown: 0 buttons 1-16, otherwise 17-32.
    int ButtonPage = 0;

    // The fixed receive delay ("RX timer:"), in ms.
    int RxTimerMs = 200;

    // The communication mode: Monitoring (one port, or two in full duplex) or
    // Debugging / Simulating.
    bool MonitoringMode = false;
    bool TwoPortActive = false;
    // The monitoring method last chosen, and the second port's COM number.
    bool FullDuplexSelected = false;
    int SecondPort = 0;

    // Port settings shared with the dialogs: handshaking (0 None, 1 XonXoff, 2 RTS/CTS,
    // 3 Both) and the input lines whose changes raise line events.
    int HandshakeIndex = 0;
    QString HandshakeName;
    bool DetectCTS = false;
    bool DetectDSR = false;
    bool DetectDCD = false;
    bool DetectRI = false;

    // The open port.
    bool PortIsOpen = false;
    // The most pieces one block of the gap detector takes.
    int NoDataTickLimit = 10;
    // The COM number whose data was written last in full-duplex monitoring; 0 for none.
    int LastRxPort = 0;
    // The input lines as last seen, of the primary port and (full duplex) the second.
    bool PrevCTS = false;
    bool PrevDSR = false;
    bool PrevCD = false;
    bool PrevCTS2 = false;
    bool PrevDSR2 = false;
    // When the port opened, in ms of the monotonic clock: the origin of the time stamps.
    qint64 MonitorStartTick = 0;
    // A ring was seen and is not yet dispatched (its dispatch follows the RI flash).
    bool RingPending = false;
};

} // namespace kst
