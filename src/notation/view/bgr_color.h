#pragma once

#include <QColor>
#include <QtGlobal>

namespace kst {

// A colour as the profile and the preferences store it, 0x00BBGGRR.
inline QColor colorFromBgr(quint32 bbggrr) {
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

} // namespace kst
