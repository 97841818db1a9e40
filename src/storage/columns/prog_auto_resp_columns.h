#pragma once

// The columns of the profile table `progAutoResp` that the program reads or writes, by
// ordinal. The order of the columns is the file format; a test holds these against it.
namespace kst::ProgAutoRespColumn {
enum : int {
    ID = 0,
    Condition = 1,
    respCodes = 2,
    respDelay = 3,
    respRepeat = 4,
    respInterval = 5,
    CondOpt = 6,
    CondChk = 7,
    CondCbo = 8,
    respChk = 9,
    respCbo = 10,
    hexFormat = 11,
    strConditionCtrl = 12,
    strRespCtrl = 13,
};
} // namespace kst::ProgAutoRespColumn
