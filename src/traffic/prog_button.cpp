#include "prog_button.h"

#include "notation/notation.h"

namespace kst {

namespace {

const char* const kButtonSignalNames[10] = {
    "None",           "RTS ON",          "RTS OFF",         "DTR ON",           "DTR OFF",
    "RTS ON, DTR ON", "RTS ON, DTR OFF", "RTS OFF, DTR ON", "RTS OFF, DTR OFF", "Play sound"};

QString number(double value) {
    return QString::number(value, 'g', 15);
}

} // namespace

QString ButtonToolTip(const ProgButton& b, int txFormat) {
    const QString none = QStringLiteral("None,");
    const QString sig = (b.keySignal >= 0 && b.keySignal <= 9)
                            ? QString::fromLatin1(kButtonSignalNames[b.keySignal])
                            : QStringLiteral("None");
    const QString chain = b.chain == 0 ? QStringLiteral("None") : "Button " + number(b.chain);
    const QString cmd = b.keyCodes.isEmpty() ? none : b.keyCodes;
    const QString delay = " Delay: " + QString::number(b.keyDelay) + " ms, ";
    const QString repeatAndInterval = "Repeat: " + number(b.keyRepeat) +
                                      " x, Interval: " + QString::number(b.keyInterval) + " ms, ";

    QString tip = "Signal: " + sig + ", Command: " + cmd;
    bool sendsData = cmd != none;
    if (txFormat == ncAscii) {
        const QString ctrl = b.strASCIICtrl.isEmpty() ? none : b.strASCIICtrl;
        tip += " Control Code: " + ctrl;
        sendsData = sendsData || ctrl != none;
    }
    tip += "\r\n" + delay;
    if (sendsData)
        tip += repeatAndInterval;
    return tip + "Chain: " + chain;
}

} // namespace kst
