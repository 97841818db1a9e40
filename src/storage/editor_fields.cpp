#include "editor_fields.h"

#include "autoresp/line_state.h"
#include "autoresp/match_condition.h"
#include "notation/leading_number.h"

#include <utility>
#include <vector>

namespace kst {

int lineStateCount(int kind) {
    return kind == static_cast<int>(ConditionKind::Signaling) ? 7 : LineStateCount;
}

bool hasCommand(const SendFields& send, int notation) {
    return !send.command.isEmpty() || (notation != 0 && !send.controlCodes.isEmpty());
}

bool intervalInUse(const SendFields& send, int notation) {
    return hasCommand(send, notation) && LeadingNumber(send.repeat) > 0;
}

QString byteListMessage() {
    return QStringLiteral("Invalid data: Hex codes exceed 2 digits, or no command codes in "
                          "between two (,) sign!");
}

std::optional<Refusal> checkConditionField(int row, int field, ConditionMember member,
                                           const QString& text, int notation) {
    if (member == ConditionMember::Data && notation != 0)
        return std::nullopt;
    return hexListRefusal(row, field, text, byteListMessage());
}

std::optional<Refusal> checkSendField(int row, int field, SendMember member, const QString& text,
                                      int notation) {
    switch (member) {
    case SendMember::Command:
        if (notation != 0)
            return std::nullopt;
        return hexListRefusal(row, field, text, byteListMessage());
    case SendMember::ControlCodes:
        return hexListRefusal(row, field, text, byteListMessage());
    case SendMember::Delay:
    case SendMember::Interval:
        return waitRefusal(row, field, text, member == SendMember::Delay);
    case SendMember::Repeat:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Refusal> checkCondition(int row, const std::function<int(ConditionMember)>& fieldOf,
                                      const ConditionFields& c, int notation) {
    using M = ConditionMember;
    // Signaling has no data: its box is not in use.
    if (c.kind != static_cast<int>(ConditionKind::Signaling))
        if (auto refusal = checkConditionField(row, fieldOf(M::Data), M::Data, c.data, notation))
            return refusal;
    if (notation != 0 && isDataKind(c.kind))
        return checkConditionField(row, fieldOf(M::ControlCodes), M::ControlCodes, c.controlCodes,
                                   notation);
    return std::nullopt;
}

std::optional<Refusal> checkSend(int row, const std::function<int(SendMember)>& fieldOf,
                                 const SendFields& s, int notation) {
    using M = SendMember;
    std::vector<std::pair<M, QString>> fields = {{M::Command, s.command}};
    if (notation != 0)
        fields.emplace_back(M::ControlCodes, s.controlCodes);
    fields.emplace_back(M::Delay, s.delay);
    if (intervalInUse(s, notation))
        fields.emplace_back(M::Interval, s.interval);
    for (const auto& [member, text] : fields)
        if (auto refusal = checkSendField(row, fieldOf(member), member, text, notation))
            return refusal;
    return std::nullopt;
}

} // namespace kst
