#pragma once

#include "autoresp/match_condition.h"
#include "traffic/send_action.h"

#include <array>

namespace kst {

// One auto-response rule as the engine uses it: when the condition holds, the
// response is sent.
struct AutoResponseRule {
    MatchCondition condition;
    SendAction response;
};

using AutoResponseRules = std::array<AutoResponseRule, 16>;

} // namespace kst
