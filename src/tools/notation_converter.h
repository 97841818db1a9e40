#pragma once

#include "notice.h"

#include <QChar>
#include <QString>
#include <optional>

// The notation converter's logic: one value of up to two bytes (0 to 65535) written in
// decimal, hexadecimal, octal or binary (NotationCode 0 to 3), turned into another.
namespace kst {

// The longest input of the notation: 5 decimal, 4 hexadecimal, 6 octal, 16 binary digits.
int converterMaxLength(int from);
// The character a key puts into the input, or nothing when the input drops it.
std::optional<QChar> converterKey(QChar typed, int from);
// The range check of decimal and octal input, whose longest texts can exceed two bytes:
// "Error: data over 2 bytes!" for a value above 65535.
std::optional<Notice> converterRangeRefusal(const QString& text, int from);

struct Conversion {
    QString result;
    std::optional<Notice> refusal;
};
// The text converted: refused when it is not all digits of `from` or beyond two bytes;
// into the same notation it is copied as typed, otherwise written without leading zeros.
Conversion ConvertNotation(const QString& text, int from, int to);

} // namespace kst
