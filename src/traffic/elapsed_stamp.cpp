#include "elapsed_stamp.h"

namespace kst {

QString ElapsedStamp(qint64 elapsedMs) {
    const qint64 ms = qMax<qint64>(elapsedMs, 0);
    const qint64 seconds = ms / 1000;
    const qint64 minutes = seconds / 60;
    return QStringLiteral("%1:%2:%3.%4")
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace kst
