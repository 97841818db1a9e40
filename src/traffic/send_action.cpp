#include "send_action.h"

namespace kst {

QString OutputSignalName(qint32 signal) {
    static const char* const names[] = {"RTS ON",          "RTS OFF",          "DTR ON",
                                        "DTR OFF",         "RTS ON, DTR ON",   "RTS ON, DTR OFF",
                                        "RTS OFF, DTR ON", "RTS OFF, DTR OFF", "Play sound"};
    if (signal < 0 || signal > 8)
        return QStringLiteral("None");
    return QString::fromLatin1(names[signal]);
}

QString SignalNameOf(const SendAction& action) {
    return action.sendSignal ? OutputSignalName(action.signal) : QStringLiteral("None");
}

} // namespace kst
