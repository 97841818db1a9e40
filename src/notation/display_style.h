#pragma once

#include <QColor>
#include <QtGlobal>

namespace kst {

// How one kind of log text looks. Colours are kept as the profile and preferences
// store them: 0x00BBGGRR.
struct DisplayStyle {
    quint32 TextColor = 0;
    bool IsBold = false;
    bool IsItalic = false;
    bool IsUnderline = false;
};

inline QColor colorFromBgr(quint32 bbggrr) {
    return QColor(int(bbggrr & 0xFF), int((bbggrr >> 8) & 0xFF), int((bbggrr >> 16) & 0xFF));
}

} // namespace kst
