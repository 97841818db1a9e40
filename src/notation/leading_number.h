#pragma once

#include <QString>

namespace kst {

// The leading number of text: blanks, tabs and line feeds in front skipped, an optional
// sign, digits, an optional fraction and exponent. "12 ms" gives 12, "" and "abc" give 0.
double LeadingNumber(const QString& text);

} // namespace kst
