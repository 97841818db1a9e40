#pragma once

#include "autoresp/line_state.h"
#include "traffic/line_events.h"

#include <QString>
#include <QtGlobal>

namespace kst {

class ReceivedEvent;

// What a condition compares, by its stored values: the data kinds compare a received
// block, Signaling waits for one line event.
enum class ConditionKind : qint32 {
    DataEqual = 0,
    DataNotEqual = 1,
    Contains = 2,
    LenEqual = 3,
    LenGreater = 4,
    LenLess = 5,
    Signaling = 6,
};
inline constexpr int ConditionKindCount = 7;

// The line events a Signaling condition may wait for are stored by their place in the
// list "CTS ON" .. "RI Detected": the event's code less one.
LineEvent lineEventAt(qint32 listIndex);

// What a received block or line event must be to answer it: the condition of an
// auto-response rule and of the IF and ELSE IF of a macro sub-routine.
struct MatchCondition {
    ConditionKind kind = ConditionKind::DataEqual;
    // The condition text (a hexadecimal byte list, ASCII text or a decimal length),
    // followed by its control codes as characters.
    QString data;
    // The data kinds: the condition also requires the line state `lineState`.
    bool requireLineState = false;
    LineState lineState = LineState::CtsOn;
    // Signaling: the line event; None when the stored place is in no list, or is the
    // editor's -1, none chosen (`noEventChosen`).
    LineEvent event = LineEvent::CtsOn;
    // False when the stored control codes are no byte list: such a condition never
    // matches, rather than matching a 0 byte nobody stored.
    bool usable = true;
    bool noEventChosen = false;

    bool operator==(const MatchCondition&) const = default;
};

// Whether the condition holds for what was received. A data condition holds only for a
// block and only with a text of its own; its line state, when it requires one, is read
// at this moment. A Signaling condition holds for its own event while the line still
// shows it (the ring: while it is pending). A kind, state or event outside the lists
// never holds.
bool conditionHolds(const MatchCondition& condition, const ReceivedEvent& received);

} // namespace kst
