#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// One send as every sender hands it to the send routine: the programmable button, the
// auto-response rule, the macro step and each branch of a sub-routine store one.
struct SendAction {
    // A comma-terminated byte list in the send notation, or plain text in ASCII.
    QString command;
    // Control codes sent after ASCII text: a comma-terminated hexadecimal byte list.
    QString controlCodes;
    qint32 delayMs = 0;
    // The data is written repeat + 1 times.
    qint32 repeat = 0;
    // The wait after each write, the last one included.
    qint32 intervalMs = 0;
    // An output signal: 0 "RTS ON" .. 7 "RTS OFF, DTR OFF", 8 "Play sound"; any other
    // value is none. It is sent only when sendSignal is set.
    qint32 signal = 0;
    bool sendSignal = false;

    bool operator==(const SendAction&) const = default;
};

// The name of an output signal as the log and the tool tips write it ("RTS ON" ..
// "Play sound"); "None" for a value outside the list.
QString OutputSignalName(qint32 signal);
// The signal a send carries: its name, or "None" when it sends no signal.
QString SignalNameOf(const SendAction& action);

} // namespace kst
