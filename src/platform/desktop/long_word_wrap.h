#pragma once

#include <QStringView>

class QPlainTextEdit;

namespace kst {

// Words at least this long make a text box break its lines anywhere.
constexpr qsizetype LongWordLength = 8192;

// Whether `text` holds a run of `LongWordLength` characters without a blank a line may
// break at.
bool holdsLongWord(QStringView text);

// Makes `box` break its lines anywhere while its text holds a long word (a capture pasted as
// one line of a megabyte), and at word boundaries otherwise. Breaking at word boundaries
// looks for the end of the word again from each of its lines: over a megabyte that holds
// the window for minutes, and each key for a minute more.
void breakLongWordsAnywhere(QPlainTextEdit& box);

} // namespace kst
