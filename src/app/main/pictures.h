#pragma once

#include <QIcon>
#include <QPixmap>

namespace kst::pictures {

// The toolbar's image list: 1 Save, 2 Help, 3 disconnected, 4 connected, 5 auto-response
// off, 6 on, 7 run, 8 pause, 9 stop, 10 single play, 11 continuous play.
constexpr int ToolbarImageCount = 11;
QIcon toolbarImage(int index);

// The status bar's image list: 1 port closed, 2 ready, 3 receiving or sending.
constexpr int StatusImageCount = 3;
QPixmap statusImage(int index);

QPixmap led(bool on);
// How the optional 2-in-1 cable joins the PC to a line between two devices.
QPixmap wiring(bool fullDuplex);
QPixmap splash();
QIcon appIcon();

} // namespace kst::pictures
