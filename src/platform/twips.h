#pragma once

#include <cmath>

namespace kst {

// The windows are drawn in twips, 15 to a pixel.
constexpr int TwipsPerPixel = 15;
constexpr int toTwips(int pixels) {
    return pixels * TwipsPerPixel;
}
inline int toPixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / TwipsPerPixel));
}

} // namespace kst
