#include "editor_fields.h"

#include "autoresp/line_state.h"
#include "autoresp/match_condition.h"
#include "notation/leading_number.h"

#include <utility>
#include <vector>

namespace kst {

int lineStateListSize(int kind) {
    return kind == static_cast<int>(ConditionKind::Signaling) ? 7 : LineStateCount;
}

bool hasCommand(const SendRow& send, int notation) {
    return !send.command.isEmpty() || (notation != 0 && !send.controlCodes.isEmpty());
}

bool intervalInUse(const SendRow& send, int notation) {
    return hasCommand(send, notation) && LeadingNumber(send.repeat) > 0;
}

QString hexCodesMessage() {
    return QStringLiteral("Invalid data: Hex codes exceed 2 digits, or no command codes in "
                          "between two (,) sign!");
}

QString lengthMessage() {
    return QStringLiteral("Invalid data: Length data contains non-digit characters!");
}

std::optional<Refusal> checkConditionField(int row, int at, ConditionField field,
                                           const QString& text, int notation, int kind,
                                           bool refuseListAsLength) {
    if (field == ConditionField::ControlCodes || notation == 0)
        if (auto refusal = hexListRefusal(row, at, text, hexCodesMessage()))
            return refusal;
    if (field == ConditionField::Data && refuseListAsLength && !comparesData(kind) &&
        text.contains(u','))
        return Refusal{row, at, lengthMessage()};
    return std::nullopt;
}

std::optional<Refusal> checkSendField(int row, int at, SendField field, const QString& text,
                                      int notation) {
    switch (field) {
    case SendField::Command:
        if (notation != 0)
            return std::nullopt;
        return hexListRefusal(row, at, text, hexCodesMessage());
    case SendField::ControlCodes:
        return hexListRefusal(row, at, text, hexCodesMessage());
    case SendField::Delay:
    case SendField::Interval:
        return waitRefusal(row, at, text, field == SendField::Delay);
    case SendField::Repeat:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<Refusal> checkCondition(int row, const std::function<int(ConditionField)>& fieldOf,
                                      const ConditionRow& c, int notation) {
    using M = ConditionField;
    // Signaling has no data: its box is not in use.
    if (c.kind != static_cast<int>(ConditionKind::Signaling))
        if (auto refusal = checkConditionField(row, fieldOf(M::Data), M::Data, c.data, notation,
                                               c.kind, false))
            return refusal;
    if (notation != 0 && comparesData(c.kind))
        return checkConditionField(row, fieldOf(M::ControlCodes), M::ControlCodes, c.controlCodes,
                                   notation, c.kind, false);
    return std::nullopt;
}

std::optional<Refusal> checkSend(int row, const std::function<int(SendField)>& fieldOf,
                                 const SendRow& s, int notation) {
    using M = SendField;
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
