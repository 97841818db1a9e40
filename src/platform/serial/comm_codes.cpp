#include "comm_codes.h"

namespace kst::comm {

RunTimeError commError(int number, const QString& detail) {
    QString text = describeError(number);
    if (!detail.isEmpty())
        text += " (" + detail + ")";
    return RunTimeError(number, text);
}

} // namespace kst::comm
