#pragma once

#include <QString>
#include <QStringList>

// The rows of the two ASCII charts, one per code 0..255: the item text (the first
// column) followed by the sub-items. A row without its last cell is shorter.
namespace kst {

// "^" followed by the character with code + 64 (^@ for 0, ^J for 10, ^` for 32).
QString caretForm(int code);

// The main window's chart, columns "Ctrl", "Hex", "Dec", "Oct", "ASCII". Codes
// 128..255 have no ASCII cell.
QStringList controlCharRow(int code);

// The chart window's, columns "Ctrl", "Dec", "Hex", "Char", "Code": the control codes
// by caret form and mnemonic, every other code by its character (in the code page the
// serial line's text uses), with no Code cell.
QStringList asciiChartRow(int code);

} // namespace kst
