#pragma once

#include <QStringList>

namespace kst {

// The fixed entries of the lists the main window sets from a profile's `Settings` row:
// the four line settings and the RX timer. A profile stores the position of the chosen
// entry, never its text, so the order of these lists is part of the file format, and a
// stored position beyond one of them is refused wherever the row is read.
const QStringList& baudRateEntries();
const QStringList& dataBitEntries();
const QStringList& parityEntries();
const QStringList& stopBitEntries();
const QStringList& rxTimerEntries();

} // namespace kst
