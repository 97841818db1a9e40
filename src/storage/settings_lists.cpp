#include "settings_lists.h"

namespace kst {

const QStringList& baudRateEntries() {
    static const QStringList entries = {"110",   "300",    "600",    "1200",  "2400",  "4800",
                                        "9600",  "14400",  "19200",  "28800", "38400", "56000",
                                        "57600", "115200", "128000", "256000"};
    return entries;
}

const QStringList& dataBitEntries() {
    static const QStringList entries = {"4", "5", "6", "7", "8"};
    return entries;
}

const QStringList& parityEntries() {
    static const QStringList entries = {"None", "Even", "Odd", "Mark", "Space"};
    return entries;
}

const QStringList& stopBitEntries() {
    static const QStringList entries = {"1", "1.5", "2"};
    return entries;
}

const QStringList& rxTimerEntries() {
    static const QStringList entries = {"10 ms",   "20 ms",   "50 ms",   "100 ms",
                                        "150 ms",  "200 ms",  "250 ms",  "500 ms",
                                        "1000 ms", "2000 ms", "5000 ms", "10000 ms"};
    return entries;
}

} // namespace kst
