#pragma once

#include "notation/leading_number.h"

#include <QString>
#include <QtGlobal>

namespace kst {

// Values read from a table into memory are taken as text, Null giving empty text; a
// number is the value of the leading number of that text, 0 when there is none.

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
