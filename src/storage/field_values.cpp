#include "field_values.h"

#include "platform/db/value_parse.h"
#include "platform/runtime_error.h"

#include <limits>

namespace kst {

double LeadingNumber(const QString& text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    const qsizetype digitsStart = i;
    while (i < n && text[i].isDigit() && text[i].unicode() < 128)
        ++i;
    if (i < n && text[i] == u'.') {
        ++i;
        while (i < n && text[i].isDigit() && text[i].unicode() < 128)
            ++i;
    }
    if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == u'.'))
        return 0;
    qsizetype end = i;
    if (i < n && (text[i] == u'E' || text[i] == u'e')) {
        qsizetype j = i + 1;
        if (j < n && (text[j] == u'+' || text[j] == u'-'))
            ++j;
        const qsizetype expDigits = j;
        while (j < n && text[j].isDigit() && text[j].unicode() < 128)
            ++j;
        if (j > expDigits)
            end = j;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    return ok ? value : 0;
}

namespace {

template <class T> T roundedInto(double value) {
    const std::optional<qint64> r = db::roundToInteger(value);
    if (!r || *r < std::numeric_limits<T>::min() || *r > std::numeric_limits<T>::max())
        throw RunTimeError(err::Overflow);
    return static_cast<T>(*r);
}

} // namespace

qint16 ToInteger(double value) {
    return roundedInto<qint16>(value);
}
qint32 ToLong(double value) {
    return roundedInto<qint32>(value);
}

} // namespace kst
