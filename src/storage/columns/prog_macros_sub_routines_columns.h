#pragma once

// The columns of the profile table `progMacrosSubRoutines` that the program reads or
// writes, by ordinal. The order of the columns is the file format; a test holds these
// against it.
namespace kst::ProgMacrosSubRoutinesColumn {
enum : int {
    ID = 0,
    SubRoutineName = 1,
    IfOpt = 2,
    IfCode = 3,
    IfSignal = 4,
    IfThenCmd = 5,
    IfThenCmdRepeat = 6,
    IfThenCmdDelay = 7,
    IfThenCmdInterval = 8,
    IfThenSignal = 9,
    ElseIfOpt = 10,
    ElseIfCode = 11,
    ElseIfSignal = 12,
    ElseIfThenCmd = 13,
    ElseIfThenCmdRepeat = 14,
    ElseIfThenCmdDelay = 15,
    ElseIfThenCmdInterval = 16,
    ElseIfThenSignal = 17,
    ElseThenCmd = 18,
    ElseThenRepeat = 19,
    ElseThenCmdDelay = 20,
    ElseThenCmdInterval = 21,
    ElseThenSignal = 22,
    ElseCheck = 26,
    IfCheck = 27,
    IfThenCheck = 28,
    ElseIfCheck = 29,
    ElseIfThenChk = 30,
    ElseThenCheck = 31,
    strIfCtrl = 32,
    strIfThenCtrl = 33,
    strElseIfCtrl = 34,
    ElseIfThenCtrl = 41,
    ElseThenCtrl = 42,
};
} // namespace kst::ProgMacrosSubRoutinesColumn
