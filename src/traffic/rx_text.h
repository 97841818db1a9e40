#pragma once

#include <QByteArray>
#include <QString>

namespace kst {

// A received block as the log shows it, in the RX notation (a NotationCode). Plain
// view: the byte list of the notation, or in ASCII the raw text. Formatted view: the
// items zero-filled and each followed by a blank, or in ASCII the control codes by name.
QString RxDisplayText(const QByteArray& block, int rxFormat, bool formattedView);

// A received block as the auto-response rules and the macro sub-routines compare it:
// the raw text in ASCII, a hexadecimal byte list in every other notation, whatever the
// log shows.
QString RxMatchText(const QByteArray& block, int rxFormat);

} // namespace kst
