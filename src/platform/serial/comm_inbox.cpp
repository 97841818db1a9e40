#include "comm_inbox.h"

#include "comm_codes.h"

#include <algorithm>

namespace kst::comm {

bool CommInbox::queueLocked(int commEvent) {
    if (std::find(events_.begin(), events_.end(), commEvent) != events_.end())
        return false;
    events_.push_back(commEvent);
    if (wakePending_)
        return false;
    wakePending_ = true;
    return true;
}

bool CommInbox::addBytes(const char* data, qsizetype size) {
    std::lock_guard lock(mutex_);
    const qsizetype fits = std::min(size, capacity_ - bytes_.size());
    bool wake = false;
    if (fits > 0) {
        // Bytes that join others not yet taken need no event of their own: whoever takes
        // those takes these too.
        const bool untaken = !bytes_.isEmpty();
        bytes_.append(data, fits);
        if (!untaken)
            wake = queueLocked(comEvReceive);
    }
    if (fits < size) {
        dropped_ += size - fits;
        if (!overflowReported_) {
            overflowReported_ = true;
            wake = queueLocked(comEventRxOver) || wake;
        }
    }
    return wake;
}

bool CommInbox::addEvent(int commEvent) {
    std::lock_guard lock(mutex_);
    return queueLocked(commEvent);
}

std::optional<CommInbox::Taken> CommInbox::takeEvent() {
    std::lock_guard lock(mutex_);
    if (events_.empty()) {
        wakePending_ = false;
        return std::nullopt;
    }
    const int commEvent = events_.front();
    events_.pop_front();
    const bool more = !events_.empty();
    if (!more)
        wakePending_ = false;
    return Taken{commEvent, more};
}

QByteArray CommInbox::takeBytes() {
    std::lock_guard lock(mutex_);
    overflowReported_ = false;
    return std::exchange(bytes_, QByteArray());
}

void CommInbox::clear() {
    std::lock_guard lock(mutex_);
    bytes_.clear();
    events_.clear();
    overflowReported_ = false;
}

qsizetype CommInbox::bufferedBytes() const {
    std::lock_guard lock(mutex_);
    return bytes_.size();
}

qsizetype CommInbox::droppedBytes() const {
    std::lock_guard lock(mutex_);
    return dropped_;
}

} // namespace kst::comm
