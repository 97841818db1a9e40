#include "value_parse.h"

#include <cmath>

namespace kst::db {

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    // Only plain decimal notation: the C parser would also take "inf", "nan" and hex.
    for (QChar c : t) {
        if (!(c.isDigit() || c == '+' || c == '-' || c == '.' || c == 'e' || c == 'E'))
            return std::nullopt;
    }
    bool ok = false;
    const double d = t.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<bool> parseBoolean(const QString& text) {
    const QString t = text.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (auto n = parseNumber(t))
        return *n != 0.0;
    return std::nullopt;
}

std::optional<qint64> roundToInteger(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = std::nearbyint(value);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (r >= 9223372036854775808.0 || r < -9223372036854775808.0)
        return std::nullopt;
    return static_cast<qint64>(r);
}

} // namespace kst::db
