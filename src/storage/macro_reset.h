#pragma once

#include <QString>

namespace kst {

// Stores the reset steps and sub-routines of macros `first` to `last` (1-8) and the
// editor's notation Hex, in one transaction over both tables: a failure (a table with
// rows missing) raises and changes nothing. The editor's Auto Save stays.
void ResetMacros(const QString& settingsConnStr, int first, int last);

} // namespace kst
