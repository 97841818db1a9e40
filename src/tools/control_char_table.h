#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;

namespace kst {

// "^" followed by the character with code + 64 (^@ for 0, ^J for 10, ^` for 32).
QString caretForm(int code);

// One row of the main window's chart for code 0..255: the item text (column "Ctrl")
// followed by the sub-items "Hex", "Dec", "Oct" and, up to code 127, "ASCII".
// Codes 128..255 have no ASCII cell.
QStringList controlCharRow(int code);

// Appends the 256 rows of the chart, in code order, to the main window's list view.
// A failure ends the filling with the "Error on loading ASCII chart:" box; the rows
// already added stay.
void FillControlCharTable(QTreeWidget* listView);

} // namespace kst
