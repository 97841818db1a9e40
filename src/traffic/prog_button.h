#pragma once

#include <QString>
#include <array>

namespace kst {

// One programmable button as the profile stores it and the send path uses it.
struct ProgButton {
    QString keyCaption;
    QString keyCodes;     // the command: a byte list, or ASCII text
    QString strASCIICtrl; // control codes sent after ASCII text, a hexadecimal byte list
    qint32 keyDelay = 0;  // ms
    double keyRepeat = 0;
    qint32 keyInterval = 0; // ms
    double chain = 0;       // the button that follows this one, 0 for none
    // 0 none, 1..9 the send signals shifted by one. (The column is "signals", a word Qt
    // reserves, hence the key prefix of the other fields.)
    qint16 keySignal = 0;
};

using ProgButtons = std::array<ProgButton, 32>;

// The tool tip that shows what a button sends, in the send notation txFormat.
QString ButtonToolTip(const ProgButton& button, int txFormat);

} // namespace kst
