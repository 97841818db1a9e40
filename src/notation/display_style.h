#pragma once

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

} // namespace kst
