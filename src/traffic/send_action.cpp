#include "send_action.h"

#include "notation/notation.h"

namespace kst {

QString OutputSignalName(OutputSignal signal) {
    static const char* const names[] = {"RTS ON",          "RTS OFF",          "DTR ON",
                                        "DTR OFF",         "RTS ON, DTR ON",   "RTS ON, DTR OFF",
                                        "RTS OFF, DTR ON", "RTS OFF, DTR OFF", "Play sound"};
    const auto index = static_cast<qint32>(signal);
    if (index < 0 || index >= OutputSignalCount)
        return QStringLiteral("None");
    return QString::fromLatin1(names[index]);
}

SignalLines linesOf(OutputSignal signal) {
    switch (signal) {
    case OutputSignal::RtsOn:
        return {true, std::nullopt};
    case OutputSignal::RtsOff:
        return {false, std::nullopt};
    case OutputSignal::DtrOn:
        return {std::nullopt, true};
    case OutputSignal::DtrOff:
        return {std::nullopt, false};
    case OutputSignal::RtsOnDtrOn:
        return {true, true};
    case OutputSignal::RtsOnDtrOff:
        return {true, false};
    case OutputSignal::RtsOffDtrOn:
        return {false, true};
    case OutputSignal::RtsOffDtrOff:
        return {false, false};
    default:
        return {};
    }
}

std::optional<SendAction> inSendNotation(const SendAction& stored, int txFormat, bool showIssues) {
    if (txFormat == ncAscii)
        return stored;
    ConversionIssues issues;
    const std::optional<QString> command = ConvertHexList(stored.command, txFormat, &issues);
    if (!command || issues.any()) {
        if (showIssues)
            showConversionIssues(issues);
        return std::nullopt;
    }
    SendAction action = stored;
    action.command = *command;
    action.controlCodes.clear();
    return action;
}

QString SignalNameOf(const SendAction& action) {
    return action.sendSignal ? OutputSignalName(action.signal) : QStringLiteral("None");
}

} // namespace kst
