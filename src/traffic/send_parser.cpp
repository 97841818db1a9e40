#include "send_parser.h"

#include "notation/line_codec.h"
#include "notation/notation.h"
#include "platform/runtime_error.h"

#include <optional>

namespace kst {

namespace {

// An item's value in its notation; nothing when it does not fit in a byte.
std::optional<int> byteValue(const QString& item, int notation) {
    if (notation == ncBin) {
        try {
            const qint32 value = BinStrToLong(item);
            return value >= 0 && value <= 255 ? std::optional<int>(value) : std::nullopt;
        } catch (const RunTimeError&) {
            return std::nullopt;
        }
    }
    const int base = notation == ncDec ? 10 : notation == ncHex ? 16 : 8;
    bool ok = false;
    const qulonglong value = item.toULongLong(&ok, base);
    return ok && value <= 255 ? std::optional<int>(static_cast<int>(value)) : std::nullopt;
}

QString formatName(int txFormat) {
    switch (txFormat) {
    case ncDec:
        return QStringLiteral("Data format: Decimal");
    case ncHex:
        return QStringLiteral("Data format: HexaDecimal");
    case ncOct:
        return QStringLiteral("Data format: Octal");
    case ncBin:
        return QStringLiteral("Data format: Binary");
    default:
        return QStringLiteral("Data format: ASCII");
    }
}

} // namespace

ParsedSend ParseSend(const SendAction& action, int txFormat, bool formattedView) {
    ParsedSend parsed;
    auto refuse = [&parsed](ParsedSend::Refusal why) {
        parsed.refusal = why;
        parsed.bytes.clear();
        parsed.echo.clear();
        return parsed;
    };
    // Times beyond their fields would be cut short by the timer: refused before
    // anything goes out, as is a count no stored repeat can hold.
    if (action.delayMs > MaxSendWaitMs || action.intervalMs > MaxSendWaitMs)
        return refuse(ParsedSend::Refusal::Invalid);
    if (action.repeat > MaxSendRepeat)
        return refuse(ParsedSend::Refusal::Repeat);

    // ASCII text is cut at its commas too: an empty piece (a leading comma, two commas
    // in a row) is refused as in every notation, though the text goes out whole.
    const bool ascii = txFormat == ncAscii;
    for (const QString& item : ByteListItems(action.command)) {
        if (!IsValidDigits(item, txFormat))
            return refuse(ParsedSend::Refusal::CommandItem);
        if (ascii)
            continue;
        const std::optional<int> value = byteValue(item, txFormat);
        if (!value)
            return refuse(ParsedSend::Refusal::Invalid);
        parsed.bytes.append(static_cast<char>(*value));
    }

    QByteArray controlBytes;
    if (action.controlCodes.size() >= 2) {
        for (const QString& item : ByteListItems(action.controlCodes)) {
            if (!IsValidDigits(item, ncHex))
                return refuse(ParsedSend::Refusal::ControlCode);
            const std::optional<int> value = byteValue(item, ncHex);
            if (!value)
                return refuse(ParsedSend::Refusal::Invalid);
            controlBytes.append(static_cast<char>(*value));
        }
    }

    if (ascii) {
        parsed.bytes = LineCodec::toBytes(action.command) + controlBytes;
        parsed.echo = action.command + (formattedView ? ToAsciiWithNames(controlBytes)
                                                      : LineCodec::toText(controlBytes));
    } else {
        parsed.echo = formattedView ? PadByteList(action.command, txFormat).toUpper()
                                    : action.command.toUpper();
    }
    return parsed;
}

QString RefusalMessage(const ParsedSend& parsed, const SendAction& action, int txFormat) {
    switch (parsed.refusal) {
    case ParsedSend::Refusal::CommandItem:
        return QStringLiteral("Following command codes or format are invalid, please check and "
                              "then try again!\nCommand Codes: ") +
               action.command + u'\n' + formatName(txFormat) + u'\n';
    case ParsedSend::Refusal::ControlCode:
        return QStringLiteral("Following command codes or format are invalid, please check and "
                              "then try again!\n") +
               action.controlCodes;
    case ParsedSend::Refusal::Invalid:
        return QStringLiteral("Invalid data, please check the following command codes, and then "
                              "try again!\n") +
               action.command + u'\n' + action.controlCodes;
    case ParsedSend::Refusal::Repeat:
        static_assert(MaxSendRepeat == 32767, "the message names the limit");
        return QStringLiteral("Invalid data: the repeat count %1 is more than 32,767, please "
                              "check and then try again!")
            .arg(action.repeat);
    case ParsedSend::Refusal::None:
        break;
    }
    return QString();
}

} // namespace kst
