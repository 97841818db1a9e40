#pragma once

#include "support/fakes.h"

#include <QCoreApplication>
#include <functional>

namespace kst::test {

// Lets every delivery already queued run, to show that no further event comes.
inline void settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

} // namespace kst::test
