#pragma once

namespace kst {

// Keeps the program's large buffers (the log's text, the window's backing store) in
// mappings of their own. The C library otherwise moves its threshold for those up as
// soon as one is freed, and from then on serves them from the heap, where a log that
// keeps growing and a window that is resized leave each other holes that are never
// given back: a long session would hold more memory than its log needs.
void keepLargeBuffersMapped();

} // namespace kst
