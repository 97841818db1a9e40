#include "prog_button.h"

#include "notation/notation.h"

namespace kst {

void setStoredButtonSignal(SendAction& action, qint32 stored) {
    action.sendSignal = stored >= 1;
    action.signal = OutputSignal(action.sendSignal ? stored - 1 : 0);
}

QString ButtonToolTip(const ProgButton& b, int txFormat) {
    const SendAction& a = b.action;
    const QString none = QStringLiteral("None,");
    const QString chain =
        b.chain == 0 ? QStringLiteral("None") : "Button " + QString::number(b.chain);
    const QString cmd = a.command.isEmpty() ? none : a.command;
    const QString delay = " Delay: " + QString::number(a.delayMs) + " ms, ";
    const QString repeatAndInterval = "Repeat: " + QString::number(a.repeat) +
                                      " x, Interval: " + QString::number(a.intervalMs) + " ms, ";

    QString tip = "Signal: " + SignalNameOf(a) + ", Command: " + cmd;
    bool sendsData = cmd != none;
    if (txFormat == ncAscii) {
        const QString ctrl = a.controlCodes.isEmpty() ? none : a.controlCodes;
        tip += " Control Code: " + ctrl;
        sendsData = sendsData || ctrl != none;
    }
    tip += "\r\n" + delay;
    if (sendsData)
        tip += repeatAndInterval;
    return tip + "Chain: " + chain;
}

} // namespace kst
