#include "match_condition.h"

#include "notation/leading_number.h"
#include "traffic/received_event.h"

#include <iterator>

namespace kst {

LineEvent lineEventAt(qint32 listIndex) {
    return listIndex >= 0 && listIndex <= 6 ? LineEvent(listIndex + 1) : LineEvent::None;
}

namespace {

bool eventHolds(LineEvent wanted, const ReceivedEvent& received) {
    if (wanted == LineEvent::None || received.event() != wanted)
        return false;
    if (wanted == LineEvent::Ring)
        return received.ringPending();
    // The line is read now: one that has changed back since its event fails. The events
    // CTS ON .. DCD OFF leave their line in the line states of the same order.
    static constexpr LineState after[] = {LineState::CtsOn,  LineState::CtsOff, LineState::DsrOn,
                                          LineState::DsrOff, LineState::DcdOn,  LineState::DcdOff};
    const auto code = static_cast<size_t>(wanted);
    return code <= std::size(after) && CheckSignalCondition(after[code - 1], received.levelsNow());
}

bool dataHolds(ConditionKind kind, const QString& condition, const QString& block) {
    // Lengths count the text as received: a hexadecimal list counts its separators.
    switch (kind) {
    case ConditionKind::DataEqual:
        return block == condition;
    case ConditionKind::DataNotEqual:
        return block != condition;
    case ConditionKind::Contains:
        return block.contains(condition);
    case ConditionKind::LenEqual:
        return static_cast<double>(block.size()) == LeadingNumber(condition);
    case ConditionKind::LenGreater:
        return static_cast<double>(block.size()) > LeadingNumber(condition);
    case ConditionKind::LenLess:
        return static_cast<double>(block.size()) < LeadingNumber(condition);
    default:
        return false;
    }
}

} // namespace

bool conditionHolds(const MatchCondition& c, const ReceivedEvent& received) {
    if (!c.usable)
        return false;
    if (c.kind == ConditionKind::Signaling)
        return received.isLineEvent() && eventHolds(c.event, received);
    if (received.isLineEvent() || received.text().isEmpty() || c.data.isEmpty())
        return false;
    if (c.requireLineState &&
        !lineStateHolds(c.lineState, received.levelsNow(), received.ringPending()))
        return false;
    return dataHolds(c.kind, c.data, received.text());
}

} // namespace kst
