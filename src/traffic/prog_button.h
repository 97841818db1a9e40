#pragma once

#include "traffic/send_action.h"

#include <QString>
#include <array>

namespace kst {

// One programmable button as the profile stores it and the send path uses it.
struct ProgButton {
    QString keyCaption;
    // The command is the stored hexadecimal byte list, or ASCII text.
    SendAction action;
    // The button that follows this one (1-32), 0 for none.
    qint32 chain = 0;
};

inline constexpr int ProgButtonCount = 32;
using ProgButtons = std::array<ProgButton, ProgButtonCount>;

// The profile keeps a button's signal shifted by one: 0 none, n the output signal n - 1.
void setStoredButtonSignal(SendAction& action, qint32 stored);

// The tool tip that shows what a button sends, in the send notation txFormat.
QString ButtonToolTip(const ProgButton& button, int txFormat);

} // namespace kst
