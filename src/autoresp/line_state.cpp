#include "line_state.h"

namespace kst {

bool CheckSignalCondition(LineState condition, const LineLevels& l) {
    switch (condition) {
    case LineState::CtsOn:
        return l.cts;
    case LineState::CtsOff:
        return !l.cts;
    case LineState::DsrOn:
        return l.dsr;
    case LineState::DsrOff:
        return !l.dsr;
    case LineState::CtsOnDsrOn:
        return l.cts && l.dsr;
    case LineState::CtsOnDsrOff:
        return l.cts && !l.dsr;
    case LineState::CtsOffDsrOn:
        return !l.cts && l.dsr;
    case LineState::CtsOffDsrOff:
        return !l.cts && !l.dsr;
    case LineState::DcdOn:
        return l.cd;
    case LineState::DcdOff:
        return !l.cd;
    default:
        return false;
    }
}

bool lineStateHolds(LineState state, const LineLevels& lines, bool ringPending) {
    switch (state) {
    case LineState::RingDetected:
        return ringPending;
    case LineState::DcdOnRingDetected:
        return ringPending && lines.cd;
    case LineState::DcdOffRingDetected:
        return ringPending && !lines.cd;
    default:
        return CheckSignalCondition(state, lines);
    }
}

} // namespace kst
