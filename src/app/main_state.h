#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// The main window's state that its handlers share, and the port and mode values that the
// other windows read through it. It holds no widget, so logic that works on it can be
// tested without a window. Notations are NotationCode values (0 Dec, 1 Hex, 2 Oct, 3 Bin,
// 4 ASCII); the macro state is a MacroRunState (0 idle, 1 running, 2 pause requested,
// 3 stop requested).
struct MainState {
    // Notation of sent and received data, and the calculator pane's operand notation
    // and operator (a CalcOperator, 0 And).
    int TxFormat = 1;
    int RxFormat = 1;
    int CalcNotation = 1;
    int CalcOperation = 0;

    // Macro runner.
    int MacroState = 0;
    bool MacroWaiting = false;
    bool ContinuousPlay = false;
    // The first macro loads after start-up apply the start-up preferences once.
    bool StartupPending = false;

    // The page of programmable buttons last shown: 0 buttons 1-16, otherwise 17-32.
    int ButtonPage = 0;

    // The fixed receive delay ("RX timer:"), in ms.
    int RxTimerMs = 200;

    // Port and communication mode, shared with the dialogs.
    int HandshakeIndex = 0;
    QString HandshakeName;
    bool TwoPortActive = false;
    bool FullDuplexSelected = false;
    int SecondPort = 0;
    bool DetectCTS = false;
    bool DetectDSR = false;
    bool DetectDCD = false;
    bool DetectRI = false;
};

} // namespace kst
