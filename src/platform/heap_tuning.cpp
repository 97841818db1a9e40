#include "heap_tuning.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace kst {

void keepLargeBuffersMapped() {
#if defined(__GLIBC__)
    // Setting the threshold fixes it: it no longer follows the buffers freed.
    constexpr int LargeBufferBytes = 128 * 1024;
    mallopt(M_MMAP_THRESHOLD, LargeBufferBytes);
#endif
}

} // namespace kst
