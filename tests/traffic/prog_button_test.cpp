#include "notation/notation.h"
#include "traffic/prog_button.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

ProgButton button(const QString& codes, const QString& ctrl, qint32 storedSignal, qint32 chain) {
    ProgButton b;
    b.keyCaption = "Reset";
    b.action.command = codes;
    b.action.controlCodes = ctrl;
    b.action.delayMs = 100;
    b.action.repeat = 2;
    b.action.intervalMs = 50;
    b.chain = chain;
    setStoredButtonSignal(b.action, storedSignal);
    return b;
}

} // namespace

TEST(ButtonToolTip, ByteListNotationsShowRepeatOnlyWhenACommandIsSent) {
    EXPECT_EQ(ButtonToolTip(button("41,42,", "D,", 1, 3), ncHex),
              "Signal: RTS ON, Command: 41,42,\r\n Delay: 100 ms, Repeat: 2 x, Interval: 50 "
              "ms, Chain: Button 3");
    // control codes count only in ASCII notation
    EXPECT_EQ(ButtonToolTip(button("", "D,", 9, 0), ncDec),
              "Signal: Play sound, Command: None,\r\n Delay: 100 ms, Chain: None");
}

TEST(ButtonToolTip, AsciiNotationShowsControlCodesAndCountsThemAsData) {
    EXPECT_EQ(ButtonToolTip(button("", "", 0, 0), ncAscii),
              "Signal: None, Command: None, Control Code: None,\r\n Delay: 100 ms, Chain: None");
    EXPECT_EQ(ButtonToolTip(button("", "D,A,", 4, 32), ncAscii),
              "Signal: DTR OFF, Command: None, Control Code: D,A,\r\n Delay: 100 ms, Repeat: 2 "
              "x, Interval: 50 ms, Chain: Button 32");
}

TEST(ButtonSignal, TheStoredValueIsTheOutputSignalShiftedByOne) {
    for (qint32 stored : {-1, 0, 1, 4, 9, 10}) {
        SendAction a;
        setStoredButtonSignal(a, stored);
        EXPECT_EQ(a.sendSignal, stored >= 1) << stored;
        EXPECT_EQ(a.signal, OutputSignal(stored >= 1 ? stored - 1 : 0)) << stored;
    }
}
