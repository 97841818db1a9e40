#pragma once

#include <QString>
#include <atomic>
#include <thread>

namespace kst::test {

// A named pipe for a test of code that must refuse it without waiting. Code that opened
// it to read anyway would wait for a writer for ever; after `patienceMs` a writer comes
// along that frees such a reader (and says so), so that the test fails instead of hanging.
class GuardedFifo {
public:
    explicit GuardedFifo(const QString& path, int patienceMs = 3000);
    ~GuardedFifo();
    GuardedFifo(const GuardedFifo&) = delete;
    GuardedFifo& operator=(const GuardedFifo&) = delete;

    bool made() const { return made_; }
    // Whether a reader waited on the pipe until the guard freed it.
    bool readerWaited() const { return readerWaited_; }

private:
    void guard(int patienceMs);

    QString path_;
    bool made_ = false;
    std::atomic<bool> stop_{false};
    std::atomic<bool> readerWaited_{false};
    std::thread guard_;
};

} // namespace kst::test
