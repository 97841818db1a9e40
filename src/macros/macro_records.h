#pragma once

#include "autoresp/match_condition.h"
#include "traffic/send_action.h"

#include <QString>
#include <array>

namespace kst {

// One step of the loaded macro: send a command, or run one of the macro's sub-routines.
struct MacroStep {
    qint32 id = 0;
    QString name;
    // 0 send the step's command, 1 run sub-routine subRoutineNo (0-7).
    qint32 action = 0;
    SendAction send;
    qint32 subRoutineNo = 0;
    // How long the sub-routine waits for data or a line event, in ms.
    qint32 waitMs = 0;
};

// One sub-routine of the loaded macro: IF / ELSE IF / ELSE, each branch with its send.
struct MacroSubRoutine {
    qint32 id = 0;
    QString name;
    MatchCondition ifCondition;
    SendAction ifThen;
    MatchCondition elseIfCondition;
    SendAction elseIfThen;
    SendAction elseThen;
    // The ELSE also runs when the wait runs out with nothing received.
    bool elseOnTimeout = false;
};

using MacroSteps = std::array<MacroStep, 8>;
using MacroSubRoutines = std::array<MacroSubRoutine, 8>;

// One macro of a profile: its 8 steps and 8 sub-routines.
struct MacroRecords {
    MacroSteps steps;
    MacroSubRoutines subRoutines;
};

} // namespace kst
