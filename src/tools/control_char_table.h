#pragma once

#include "char_chart_rows.h"

class QTreeWidget;

namespace kst {

// Appends the 256 rows of the chart, in code order, to the main window's list view.
// A failure ends the filling with the "Error on loading ASCII chart:" box; the rows
// already added stay.
void FillControlCharTable(QTreeWidget* listView);

} // namespace kst
