#pragma once

#include "platform/runtime_error.h"

#include <QCoreApplication>
#include <functional>

namespace kst::test {

// The run-time error number the action raised, or 0 when it raised none.
inline int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RunTimeError& e) {
        return e.number();
    }
    return 0;
}

// Lets every delivery already queued run, to show that no further event comes.
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace kst::test
