#pragma once

#include "platform/twips.h"

#include <QSize>
#include <QString>

namespace kst {

enum class Prop { Left, Top, Width, Height, X1, X2, Y1, Y2 };

// Named controls whose geometry the layout routines read and write, in twips relative
// to each control's container. A control refuses a negative width or height: that one
// assignment is skipped and the routine goes on, so a window shrunk too far leaves
// those controls at their last size.
class TwipsSurface {
public:
    virtual ~TwipsSurface() = default;
    int get(const QString& control, Prop prop) const { return read(control, prop); }
    void set(const QString& control, Prop prop, int twips);

protected:
    virtual int read(const QString& control, Prop prop) const = 0;
    virtual void write(const QString& control, Prop prop, int twips) = 0;
};

// Screens lower than 700 or narrower than 950 pixels get the compact layout.
bool isCompactScreen(QSize screenPixels);

// Stretches the panes to the window's inner height H and the status bar's height S.
void resizePanes(TwipsSurface& form, int innerHeight, int statusHeight);

// Lines the LED row up under a monitoring frame whose left edge is `left`.
void placeLedRow(TwipsSurface& form, int left);

// Moves the search and option row and the log view below the send pane, or up into its
// place when the pane is hidden, and stretches the log view.
void placeLogControls(TwipsSurface& form, bool sendPaneHidden, int innerHeight, int statusHeight);

// The geometry half of the compact layout: the monitoring frame moves to the left edge
// of the (hidden) tab pane and both it and the log view take the window's height.
void compactPanes(TwipsSurface& form, int innerHeight, int statusHeight);

// The monitoring frame's left edge beside the shown tab pane, and the window width that
// just holds the monitoring frame when the pane is hidden.
int monitoringLeftBesidePane(const TwipsSurface& form);
int windowWidthForMonitoring(const TwipsSurface& form);

} // namespace kst
