#pragma once

#include "storage/condition_send_rows.h"

#include <functional>
#include <optional>

namespace kst {

// What a save checks of a condition and of a send, field by field in their order, in the
// editor's notation (0 Hex, 1 ASCII). Only the fields in use are checked: a field that is
// not shown, or whose value nothing sends, could not be put right. `fieldOf` names a
// field in the refusal.

// Whether a send has something to send (its repeat is then in use): a command, or in
// ASCII control codes.
bool hasCommand(const SendRow& send, int notation);
// Whether its interval is in use: a command sent more than once.
bool intervalInUse(const SendRow& send, int notation);

// `refuseListAsLength`: a length kind's data holding a comma is refused too.
std::optional<Refusal> checkCondition(int row, const std::function<int(ConditionField)>& fieldOf,
                                      const ConditionRow& condition, int notation,
                                      bool refuseListAsLength);
std::optional<Refusal> checkSend(int row, const std::function<int(SendField)>& fieldOf,
                                 const SendRow& send, int notation);

} // namespace kst
