#pragma once

#include "serial_device.h"

#include <QList>
#include <optional>

namespace kst::comm {

// The driver's running counts of line changes and receive errors.
struct LineCounts {
    quint32 cts = 0, dsr = 0, ring = 0, cd = 0;
    quint32 frame = 0, overrun = 0, parity = 0, brk = 0, bufferOverrun = 0;

    bool operator==(const LineCounts&) const = default;
};

// One look at a device: its input lines and its counts, each where the driver
// gives them.
struct LineSample {
    std::optional<InputLines> lines;
    std::optional<LineCounts> counts;
};

// Turns successive samples of a device into CommEvent codes. Counts catch every
// change, also one that came and went between two samples; where a driver keeps no
// counts, a change of a line's level (and a rising ring indicator) is the event.
class LineWatch {
public:
    explicit LineWatch(const LineSample& first) : last_(first) {}

    // Whether sampling can show anything: false for a device without modem lines
    // or counts (a pseudo-terminal), which then need not be sampled at all.
    bool worthSampling() const { return last_.lines || last_.counts; }

    // The events since the previous sample, line events (CTS, DSR, CD, ring) first,
    // then the receive errors; one event per kind.
    QList<int> update(const LineSample& now);

private:
    LineSample last_;
};

} // namespace kst::comm
