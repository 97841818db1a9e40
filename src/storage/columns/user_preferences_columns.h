#pragma once

// The columns of the support database's table `userPreferences`, by ordinal. The order
// of the columns is the file format; a test holds these against it.
namespace kst::UserPreferencesColumn {
enum : int {
    prefID = 0,
    bolHideCalcAscii = 1,
    bolAutoResponse = 2,
    bolDescription = 3,
    bolRxTimer = 4,
    bolAutoConnect = 5,
    bolSaveComSettings = 6,
    bolSaveRxTimer = 7,
    bolClearLogOnOpen = 8,
    bolSoundOnReceive = 9,
    bolSoundOnSend = 10,
    bolSoundOnLineChange = 11,
    bolMonitoringMode = 12,
    bolFormattedView = 14,
    backgroundColor = 15,
    msgColor = 16,
    txColor = 17,
    rx1Color = 18,
    rx2Color = 19,
    bolMsgBold = 20,
    bolMsgItalic = 21,
    bolMsgUnderline = 22,
    bolTxBold = 23,
    bolTxItalic = 24,
    bolTxUnderline = 25,
    bolRx1Bold = 26,
    bolRx1Italic = 27,
    bolRx1Underline = 28,
    bolRx2Bold = 29,
    bolRx2Italic = 30,
    bolRx2Underline = 31,
    fontSizeIndex = 32,
};
} // namespace kst::UserPreferencesColumn
