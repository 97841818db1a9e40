#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kst {

// The signal that may go with a send, by its stored value. Any other stored value is
// no signal.
enum class OutputSignal : qint32 {
    RtsOn = 0,
    RtsOff = 1,
    DtrOn = 2,
    DtrOff = 3,
    RtsOnDtrOn = 4,
    RtsOnDtrOff = 5,
    RtsOffDtrOn = 6,
    RtsOffDtrOff = 7,
    PlaySound = 8,
};
inline constexpr int OutputSignalCount = 9;

// What a signal does to the output lines: each line is set, or left alone.
struct SignalLines {
    std::optional<bool> rts;
    std::optional<bool> dtr;
};
SignalLines linesOf(OutputSignal signal);

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
    // Sent only when sendSignal is set.
    OutputSignal signal = OutputSignal::RtsOn;
    bool sendSignal = false;

    bool operator==(const SendAction&) const = default;
};

// A stored send as it goes out in the send notation `txFormat`: in ASCII the stored text
// and control codes; in the other notations the stored hexadecimal list rewritten in
// them, without control codes. Nothing when the list holds an item that is no byte: no
// byte nobody stored goes out. With `showIssues` what is wrong is told by the
// conversion's own messages.
std::optional<SendAction> inSendNotation(const SendAction& stored, int txFormat,
                                         bool showIssues = false);

// The name of an output signal as the log and the tool tips write it ("RTS ON" ..
// "Play sound"); "None" for a value outside the list.
QString OutputSignalName(OutputSignal signal);
// The signal a send carries: its name, or "None" when it sends no signal.
QString SignalNameOf(const SendAction& action);

} // namespace kst
