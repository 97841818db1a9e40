#pragma once

#include <QColor>
#include <QtGlobal>

namespace kst {

// A colour as the profile and the preferences store it, 0x00BBGGRR.
inline QColor colorFromBgr(quint32 bbggrr) {
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

inline quint32 bgrFromColor(const QColor& color) {
    return static_cast<quint32>(color.red()) | static_cast<quint32>(color.green()) << 8 |
           static_cast<quint32>(color.blue()) << 16;
}

} // namespace kst
