#include "guarded_fifo.h"

#include "platform/file_names.h"

#include <chrono>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kst::test {

GuardedFifo::GuardedFifo(const QString& path, int patienceMs) : path_(path) {
    made_ = ::mkfifo(fileNameBytes(path).constData(), 0600) == 0;
    if (made_)
        guard_ = std::thread([this, patienceMs] { guard(patienceMs); });
}

GuardedFifo::~GuardedFifo() {
    stop_ = true;
    if (guard_.joinable())
        guard_.join();
}

void GuardedFifo::guard(int patienceMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(patienceMs);
    while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (std::chrono::steady_clock::now() < deadline)
            continue;
        // A writer that does not wait: it opens only while a reader is there, which frees
        // a reader waiting in open(); closing it again ends a read with end of file.
        const int fd = ::open(fileNameBytes(path_).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) {
            readerWaited_ = true;
            ::close(fd);
        }
    }
}

} // namespace kst::test
