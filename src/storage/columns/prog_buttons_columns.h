#pragma once

// The columns of the profile table `progButtons` that the program reads or writes, by
// ordinal. The order of the columns is the file format; a test holds these against it.
namespace kst::ProgButtonsColumn {
enum : int {
    ID = 0,
    keyCaption = 1,
    keyCodes = 2,
    keyDelay = 3,
    keyRepeat = 4,
    keyInterval = 5,
    chain = 6,
    signals_ = 7, // the column "signals" (a word Qt reserves)
    hexformat = 8,
    strASCIICtrl = 9,
};
} // namespace kst::ProgButtonsColumn
