#pragma once

#include "traffic/received_event.h"

#include <QtGlobal>

namespace kst {

// The line states a data condition may also require, by their stored values.
enum class LineState : qint32 {
    CtsOn = 0,
    CtsOff = 1,
    DsrOn = 2,
    DsrOff = 3,
    CtsOnDsrOn = 4,
    CtsOnDsrOff = 5,
    CtsOffDsrOn = 6,
    CtsOffDsrOff = 7,
    DcdOn = 8,
    DcdOff = 9,
    RingDetected = 10,
    DcdOnRingDetected = 11,
    DcdOffRingDetected = 12,
};
inline constexpr int LineStateCount = 13;

// The tests of the present CTS, DSR and CD levels (CtsOn .. DcdOff). Any other state,
// the ring states included, is never met here.
bool CheckSignalCondition(LineState condition, const LineLevels& lines);

// A data condition's line state as the rules and sub-routines test it: the line tests,
// and the ring states met while a ring is pending (with DCD on or off where they say so).
bool lineStateHolds(LineState state, const LineLevels& lines, bool ringPending);

} // namespace kst
