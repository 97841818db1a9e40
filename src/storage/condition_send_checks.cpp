#include "condition_send_checks.h"

#include "notation/leading_number.h"

#include <utility>
#include <vector>

namespace kst {

bool hasCommand(const SendRow& send, int notation) {
    return !send.command.isEmpty() || (notation != 0 && !send.controlCodes.isEmpty());
}

bool intervalInUse(const SendRow& send, int notation) {
    return hasCommand(send, notation) && LeadingNumber(send.repeat) > 0;
}

std::optional<Refusal> checkCondition(int row, const std::function<int(ConditionField)>& fieldOf,
                                      const ConditionRow& c, int notation,
                                      bool refuseListAsLength) {
    for (const auto& [field, text] : {std::pair{ConditionField::Data, c.data},
                                      std::pair{ConditionField::ControlCodes, c.controlCodes}}) {
        if (!conditionFieldInUse(field, notation, c.kind))
            continue;
        if (auto refusal = checkConditionField(row, fieldOf(field), field, text, notation, c.kind,
                                               refuseListAsLength))
            return refusal;
    }
    return std::nullopt;
}

std::optional<Refusal> checkSend(int row, const std::function<int(SendField)>& fieldOf,
                                 const SendRow& s, int notation) {
    using F = SendField;
    std::vector<std::pair<F, QString>> fields = {{F::Command, s.command}};
    if (sendFieldInUse(F::ControlCodes, notation))
        fields.emplace_back(F::ControlCodes, s.controlCodes);
    fields.emplace_back(F::Delay, s.delay);
    if (intervalInUse(s, notation))
        fields.emplace_back(F::Interval, s.interval);
    for (const auto& [field, text] : fields)
        if (auto refusal = checkSendField(row, fieldOf(field), field, text, notation))
            return refusal;
    return std::nullopt;
}

} // namespace kst
