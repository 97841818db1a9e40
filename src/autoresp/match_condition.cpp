#include "match_condition.h"

#include "notation/leading_number.h"
#include "traffic/received_event.h"

namespace kst {

LineEvent lineEventAt(qint32 listIndex) {
    return listIndex >= 0 && listIndex <= 6 ? LineEvent(listIndex + 1) : LineEvent::None;
}

qint32 listIndexOf(LineEvent event) {
    return static_cast<qint32>(event) - 1;
}

namespace {

bool eventHolds(LineEvent wanted, const ReceivedEvent& received) {
    if (wanted == LineEvent::None || received.event() != wanted)
        return false;
    if (wanted == LineEvent::Ring)
        return received.ringPending();
    // The line is read now: one that has changed back since its event fails.
    const LineLevels lines = received.levelsNow();
    switch (wanted) {
    case LineEvent::CtsOn:
        return lines.cts;
    case LineEvent::CtsOff:
        return !lines.cts;
    case LineEvent::DsrOn:
        return lines.dsr;
    case LineEvent::DsrOff:
        return !lines.dsr;
    case LineEvent::DcdOn:
        return lines.cd;
    case LineEvent::DcdOff:
        return !lines.cd;
    default:
        return false;
    }
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
