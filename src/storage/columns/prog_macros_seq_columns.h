#pragma once

// The columns of the profile table `progMacrosSeq` that the program reads or writes, by
// ordinal. The order of the columns is the file format; a test holds these against it.
namespace kst::ProgMacrosSeqColumn {
enum : int {
    ID = 0,
    SeqName = 1,
    ActionOpt = 2,
    CmdStr = 3,
    RepeatNo = 4,
    SubRoutineNo = 5,
    hexFormat = 6,
    TimerAfter = 7,
    Delay = 8,
    Interval = 9,
    stepSignal = 10,
    stepChk = 11,
    autoSave = 12,
    strASCIICtrl = 13,
};
} // namespace kst::ProgMacrosSeqColumn
