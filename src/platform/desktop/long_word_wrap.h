#pragma once

class QPlainTextEdit;

namespace kst {

// Makes `box` break its lines anywhere while breaking them at word boundaries would be slow
// (a capture pasted as one line, words of thousands of characters), and at word boundaries
// otherwise.
void breakLongWordsAnywhere(QPlainTextEdit& box);

} // namespace kst
