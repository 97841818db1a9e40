#pragma once

#include <QByteArray>
#include <deque>
#include <mutex>
#include <optional>

namespace kst::comm {

// What a device has reported and the user-interface thread has not yet taken: the
// received bytes and the events still to deliver. The device side may run on any
// thread; it learns when the reader needs a wake-up, so one wake-up serves any
// number of reports.
//
// The input buffer is bounded: bytes that do not fit are dropped and counted, and
// the receive-overflow event is queued once until the reader next takes the bytes.
// An event code that is already waiting is not queued again: the reader looks at
// the present line states and buffer anyway, so a burst of one kind of event (a
// flapping line, a steady stream of bytes) needs one delivery, not one per report.
// Likewise bytes that arrive while earlier ones wait to be taken raise no receive
// event: a line that keeps sending wakes the reader once per take, not once per chunk.
class CommInbox {
public:
    explicit CommInbox(qsizetype capacity) : capacity_(capacity) {}

    // Device side. Each returns true when the reader must be woken.
    bool addBytes(const char* data, qsizetype size);
    bool addEvent(int commEvent);

    struct Taken {
        int commEvent;
        bool more; // further events wait: the reader wakes itself again
    };
    // Reader side: the oldest waiting event, or nullopt when none waits (the next
    // report then wakes the reader).
    std::optional<Taken> takeEvent();
    // Every buffered byte, oldest first; the buffer is empty afterwards.
    QByteArray takeBytes();
    // Drops buffered bytes and waiting events (a port being closed or reopened).
    void clear();

    qsizetype bufferedBytes() const;
    // Bytes dropped because the buffer was full, since construction.
    qsizetype droppedBytes() const;

private:
    bool queueLocked(int commEvent);

    const qsizetype capacity_;
    mutable std::mutex mutex_;
    QByteArray bytes_;
    std::deque<int> events_;
    bool wakePending_ = false;
    bool overflowReported_ = false;
    qsizetype dropped_ = 0;
};

} // namespace kst::comm
