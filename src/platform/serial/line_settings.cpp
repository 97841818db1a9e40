#include "line_settings.h"

#include <QStringList>

namespace kst::comm {

namespace {

constexpr char parityLetters[] = {'N', 'E', 'O', 'M', 'S'};

std::optional<Parity> parseParity(const QString& item) {
    if (item.size() != 1)
        return std::nullopt;
    const char letter = item.at(0).toUpper().toLatin1();
    for (int i = 0; i < 5; ++i) {
        if (parityLetters[i] == letter)
            return static_cast<Parity>(i);
    }
    return std::nullopt;
}

std::optional<StopBits> parseStopBits(const QString& item) {
    if (item == "1")
        return StopBits::One;
    if (item == "1.5")
        return StopBits::OneAndHalf;
    if (item == "2")
        return StopBits::Two;
    return std::nullopt;
}

// Plain decimal digits only: no sign, no blanks inside, no hexadecimal.
std::optional<int> parseNumber(const QString& item, int low, int high) {
    if (item.isEmpty() || item.size() > 9)
        return std::nullopt;
    for (QChar c : item) {
        if (c < '0' || c > '9')
            return std::nullopt;
    }
    const int value = item.toInt();
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<LineSettings> SettingsText::parse(const QString& text, const LineSettings& base) {
    const QStringList items = text.split(',');
    if (items.size() != 4)
        return std::nullopt;
    const auto baud = parseNumber(items[0].trimmed(), MinBaud, MaxBaud);
    const auto parity = parseParity(items[1].trimmed());
    const auto dataBits = parseNumber(items[2].trimmed(), 4, 8);
    const auto stopBits = parseStopBits(items[3].trimmed());
    if (!baud || !parity || !dataBits || !stopBits)
        return std::nullopt;
    LineSettings result = base;
    result.baud = *baud;
    result.parity = *parity;
    result.dataBits = *dataBits;
    result.stopBits = *stopBits;
    return result;
}

QString SettingsText::format(const LineSettings& s) {
    static const char* const stopTexts[] = {"1", "1.5", "2"};
    return QString("%1,%2,%3,%4")
        .arg(s.baud)
        .arg(QChar(parityLetters[static_cast<int>(s.parity)]))
        .arg(s.dataBits)
        .arg(stopTexts[static_cast<int>(s.stopBits)]);
}

QString unsupportedReason(const LineSettings& s) {
    if (s.dataBits < 5 || s.dataBits > 8)
        return QString("%1 data bits are not available on this platform").arg(s.dataBits);
    return {};
}

} // namespace kst::comm
