#include "field_values.h"

#include "platform/db/value_parse.h"
#include "platform/runtime_error.h"

#include <limits>

namespace kst {

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
