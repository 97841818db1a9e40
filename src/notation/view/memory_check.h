#pragma once

#include <QtGlobal>

namespace kst {

// Whether `bytes` more can be taken without pressing the machine: the memory the system
// (or the control group the program runs in) still has to give, less a reserve that
// keeps the program and the desktop working. A log that grows for days asks this before
// each piece it takes, and stops growing, with a message, instead of being killed.
bool memoryAllows(qsizetype bytes);

} // namespace kst
