#include "line_state.h"

namespace kst {

bool CheckSignalCondition(qint32 condition, const LineLevels& l) {
    switch (condition) {
    case 0:
        return l.cts;
    case 1:
        return !l.cts;
    case 2:
        return l.dsr;
    case 3:
        return !l.dsr;
    case 4:
        return l.cts && l.dsr;
    case 5:
        return l.cts && !l.dsr;
    case 6:
        return !l.cts && l.dsr;
    case 7:
        return !l.cts && !l.dsr;
    case 8:
        return l.cd;
    case 9:
        return !l.cd;
    default:
        return false;
    }
}

} // namespace kst
