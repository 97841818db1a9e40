#pragma once

namespace kst {

// Makes every LogView known to assistive tools (screen readers, test drivers) as a
// read-only text of many lines, whose text, caret and selection they can read.
void installLogViewAccessibility();

} // namespace kst
