#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace kst::db {

// A number written as text, blanks around it allowed: "12", " -3 ", "2.5", "1e3".
// Anything else (empty text included) is no number.
std::optional<double> parseNumber(const QString& text);
// "True" / "False" in any case, or a number (non-zero is True).
std::optional<bool> parseBoolean(const QString& text);
// Rounds half to even, as whole-number conversions always have; nothing when the
// result does not fit 64 bits or the value is not finite.
std::optional<qint64> roundToInteger(double value);

} // namespace kst::db
