#pragma once

#include <optional>

namespace kst {

struct KeyboardLocks {
    bool capsLock = false;
    bool numLock = false;
};

// The Caps Lock and Num Lock states where the window system reports them; nothing
// where it does not (headless runs, platforms without a query).
std::optional<KeyboardLocks> keyboardLocks();

} // namespace kst
