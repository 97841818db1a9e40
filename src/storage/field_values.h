#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// Values read from a table into memory are taken as text, Null giving empty text; a
// number is the value of the leading number of that text, 0 when there is none.

// The leading number of text: blanks in front skipped, an optional sign, digits, an
// optional fraction and exponent. "12 ms" gives 12, "" and "abc" give 0.
double LeadingNumber(const QString& text);

// Rounded to the nearest whole number, halves to the even one, as stored numbers have
// always been rounded. A value outside the field's range raises run-time error 6.
qint16 ToInteger(double value);
qint32 ToLong(double value);

inline qint16 IntegerField(const QString& text) {
    return ToInteger(LeadingNumber(text));
}
inline qint32 LongField(const QString& text) {
    return ToLong(LeadingNumber(text));
}

} // namespace kst
