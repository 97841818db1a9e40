#pragma once

#include "traffic/send_action.h"

#include <QByteArray>
#include <QString>

namespace kst {

// A send's command and control codes read in the send notation, before anything goes
// out: the bytes for the line and the text its echo shows, or the refusal.
struct ParsedSend {
    enum class Refusal {
        None,
        CommandItem, // an empty item, or one not made of the notation's digits
        ControlCode, // a control-code item that is not hexadecimal
        Invalid,     // a value above one byte, or a time beyond its field
        Repeat,      // a repeat count beyond what a send takes
    };
    Refusal refusal = Refusal::None;
    // The bytes of one write and the echo's text.
    QByteArray bytes;
    QString echo;

    bool ok() const { return refusal == Refusal::None; }
};

// The most a delay or interval may be (ms), the limit of the fields they are typed
// in, and the most repeats a send takes: a stored count is a 16-bit number, and every
// count up to it is played as stored (the send returns to the event loop between
// writes, so Stop reaches it).
constexpr qint32 MaxSendWaitMs = 65535;
constexpr qint32 MaxSendRepeat = 32767;

// Reads the action's command in the notation txFormat (0 Dec, 1 Hex, 2 Oct, 3 Bin,
// 4 ASCII). In Dec, Oct, Bin and Hex each comma-terminated item is one byte (text after
// the last comma is not sent) and the echo shows the command in capitals, zero-filled
// when `formattedView`; in ASCII the text goes out as typed (though an empty item in it
// is refused), followed by its control codes, which the echo shows as they are or,
// formatted, by their names.
ParsedSend ParseSend(const SendAction& action, int txFormat, bool formattedView);

// The message of a refusal, as its box shows it.
QString RefusalMessage(const ParsedSend& parsed, const SendAction& action, int txFormat);

} // namespace kst
