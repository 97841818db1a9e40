#include "notation_converter.h"

#include "notation/notation.h"
#include "traffic/command_input.h"

namespace kst {

namespace {

constexpr quint32 TwoBytes = 65535;

// The value of the leading digits of the notation (0 without any); beyond two bytes
// nothing.
std::optional<quint32> twoByteValue(const QString& text, int notation) {
    const std::optional<quint64> value = leadingValue(text, notation);
    if (!value || *value > TwoBytes)
        return std::nullopt;
    return static_cast<quint32>(*value);
}

Notice overTwoBytes() {
    return {QStringLiteral("Error: data over 2 bytes!")};
}

} // namespace

int converterMaxLength(int from) {
    switch (from) {
    case ncHex:
        return 4;
    case ncOct:
        return 6;
    case ncBin:
        return 16;
    default:
        return 5;
    }
}

std::optional<QChar> converterKey(QChar typed, int from) {
    if (typed == u',')
        return std::nullopt;
    return commandFieldKey(typed, from);
}

std::optional<Notice> converterRangeRefusal(const QString& text, int from) {
    if ((from == ncDec || from == ncOct) && !twoByteValue(text, from))
        return overTwoBytes();
    return std::nullopt;
}

Conversion ConvertNotation(const QString& text, int from, int to) {
    if (!IsValidDigits(text, from) || from < ncDec || from > ncBin)
        return {QString(), Notice{QStringLiteral("Error: Invalid data!"), MsgIcon::Critical}};
    const std::optional<quint32> value = twoByteValue(text, from);
    if (!value)
        return {QString(), overTwoBytes()};
    if (from == to)
        return {text, std::nullopt};
    return {QString::number(*value, NotationRadix(to)).toUpper(), std::nullopt};
}

} // namespace kst
