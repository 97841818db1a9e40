#pragma once

#include "notation/display_style.h"

#include <QtGlobal>

namespace kst {

// The one row of the preferences table, held in memory. The comments give the
// field's position in the row, by which it is read and written.
struct UserPreferences {
    bool bolHideCalcAscii = false;      // 1
    bool bolAutoResponse = false;       // 2
    bool bolDescription = false;        // 3
    bool bolRxTimer = false;            // 4
    bool bolAutoConnect = false;        // 5
    bool bolSaveComSettings = false;    // 6
    bool bolSaveRxTimer = false;        // 7
    bool bolClearLogOnOpen = false;     // 8
    bool bolSoundOnReceive = false;     // 9
    bool bolSoundOnSend = false;        // 10
    bool bolSoundOnLineChange = false;  // 11
    bool bolMonitoringMode = false;     // 12
    bool bolFormattedView = false;      // 14
    quint32 backgroundColor = 0xFFFFFF; // 15, 0x00BBGGRR like every colour here
    quint32 msgColor = 0;               // 16
    quint32 txColor = 0;                // 17
    quint32 rx1Color = 0;               // 18
    quint32 rx2Color = 0;               // 19
    bool bolMsgBold = false, bolMsgItalic = false, bolMsgUnderline = false; // 20-22
    bool bolTxBold = false, bolTxItalic = false, bolTxUnderline = false;    // 23-25
    bool bolRx1Bold = false, bolRx1Italic = false, bolRx1Underline = false; // 26-28
    bool bolRx2Bold = false, bolRx2Italic = false, bolRx2Underline = false; // 29-31
    qint16 fontSizeIndex = 0;                                               // 32

    DisplayStyle messageStyle() const {
        return {msgColor, bolMsgBold, bolMsgItalic, bolMsgUnderline};
    }
    DisplayStyle txStyle() const { return {txColor, bolTxBold, bolTxItalic, bolTxUnderline}; }
    DisplayStyle rx1Style() const { return {rx1Color, bolRx1Bold, bolRx1Italic, bolRx1Underline}; }
    DisplayStyle rx2Style() const { return {rx2Color, bolRx2Bold, bolRx2Italic, bolRx2Underline}; }
};

} // namespace kst
