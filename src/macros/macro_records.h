#pragma once

#include <QString>
#include <array>

namespace kst {

// One step of the loaded macro: send a command, or run one of the macro's sub-routines.
struct MacroStep {
    qint16 ID = 0;
    QString SeqName;
    qint16 ActionOpt = 0; // 0 send commands, 1 sub-routine
    QString CmdStr;
    QString strASCIICtrl;
    qint16 RepeatNo = 0;
    qint32 Delay = 0;    // ms
    qint32 Interval = 0; // ms
    qint16 SubRoutineNo = 0;
    qint32 TimerAfter = 0; // ms the sub-routine waits
    qint16 stepSignal = 0;
    bool stepChk = false;
};

// One sub-routine of the loaded macro: IF / ELSE IF / ELSE, each with its command.
struct MacroSubRoutine {
    qint16 ID = 0;
    QString SubRoutineName;
    qint16 IfOpt = 0;
    QString IfCode; // with the IF's control codes as characters
    qint16 IfSignal = 0;
    QString IfThenCmd;
    QString strIfThenCtrl;
    qint16 IfThenCmdRepeat = 0;
    qint32 IfThenCmdDelay = 0;
    qint32 IfThenCmdInterval = 0;
    qint16 IfThenSignal = 0;
    qint16 ElseIfOpt = 0;
    QString ElseIfCode;
    qint16 ElseIfSignal = 0;
    QString ElseIfThenCmd;
    QString ElseIfThenCtrl;
    qint16 ElseIfThenCmdRepeat = 0;
    qint32 ElseIfThenCmdDelay = 0;
    qint32 ElseIfThenCmdInterval = 0;
    qint16 ElseIfThenSignal = 0;
    QString ElseThenCmd;
    QString ElseThenCtrl;
    qint16 ElseThenRepeat = 0;
    qint32 ElseThenCmdDelay = 0;
    qint32 ElseThenCmdInterval = 0;
    qint16 ElseThenSignal = 0;
    bool ElseCheck = false;
    bool IfCheck = false;
    bool IfThenCheck = false;
    bool ElseIfCheck = false;
    bool ElseIfThenChk = false;
    bool ElseThenCheck = false;
};

using MacroSteps = std::array<MacroStep, 8>;
using MacroSubRoutines = std::array<MacroSubRoutine, 8>;

} // namespace kst
