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

inline constexpr int AutoResponseRuleCount = 16;
using AutoResponseRules = std::array<AutoResponseRule, AutoResponseRuleCount>;

} // namespace kst
