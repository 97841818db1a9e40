#pragma once

#include <QtGlobal>

namespace kst {

// The input lines of the primary port at one moment.
struct LineLevels {
    bool cts = false;
    bool dsr = false;
    bool cd = false;
};

// The line-state tests that rules and sub-routines may require: 0 "CTS ON", 1 "CTS OFF",
// 2 "DSR ON", 3 "DSR OFF", 4 "CTS ON, DSR ON", 5 "CTS ON, DSR OFF", 6 "CTS OFF, DSR ON",
// 7 "CTS OFF, DSR OFF", 8 "DCD ON", 9 "DCD OFF". Any other value is never met.
bool CheckSignalCondition(qint32 condition, const LineLevels& lines);

} // namespace kst
