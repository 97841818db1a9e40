#pragma once

#include <QString>
#include <QtGlobal>

namespace kst {

// The time since the port opened as the monitoring lines stamp it: hours (two digits
// or more), minutes, seconds and milliseconds, "01:40:05.007".
QString ElapsedStamp(qint64 elapsedMs);

} // namespace kst
