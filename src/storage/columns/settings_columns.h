#pragma once

// The columns of the profile table `Settings` that the program reads or writes, by
// ordinal. The order of the columns is the file format; a test holds these against it.
namespace kst::SettingsColumn {
enum : int {
    ID = 0,
    port = 1,
    baud = 2,
    databit = 3,
    parity = 4,
    stopbit = 5,
    handshaking = 6,
    rxTimerIndex = 7,
    secondCOMport = 11,
    bolFullDuplex = 14,
    bolDetectCTS = 15,
    bolDetectDSR = 16,
    userNotes = 17,
    bolDetectDCD = 19,
    bolDetectRI = 20,
};
} // namespace kst::SettingsColumn
