#include "scheduler.h"

#include <QTimer>
#include <vector>

namespace kst {

TimerHandle::TimerHandle(TimerHandle&& other) noexcept
    : owner_(std::move(other.owner_)), id_(std::exchange(other.id_, 0)) {}

TimerHandle& TimerHandle::operator=(TimerHandle&& other) noexcept {
    if (this != &other) {
        cancel();
        owner_ = std::move(other.owner_);
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void TimerHandle::cancel() {
    if (id_ == 0)
        return;
    if (std::shared_ptr<Scheduler*> owner = owner_.lock())
        (*owner)->cancel(id_);
    id_ = 0;
    owner_.reset();
}

bool TimerHandle::pending() const {
    const std::shared_ptr<Scheduler*> owner = owner_.lock();
    return owner && id_ != 0 && (*owner)->isWaiting(id_);
}

Scheduler::Scheduler() : self_(std::make_shared<Scheduler*>(this)) {}

Scheduler::~Scheduler() = default;

TimerHandle Scheduler::after(int ms, Callback callback) {
    const quint64 id = nextId_++;
    calls_.emplace(id, std::move(callback));
    start(id, qMax(0, ms));
    return TimerHandle(self_, id);
}

void Scheduler::cancel(quint64 id) {
    if (calls_.erase(id) != 0)
        stop(id);
}

void Scheduler::fire(quint64 id) {
    const auto it = calls_.find(id);
    if (it == calls_.end())
        return;
    // The call may schedule, cancel or destroy anything, itself included.
    Callback call = std::move(it->second);
    calls_.erase(it);
    call();
}

EventLoopScheduler::EventLoopScheduler() = default;

EventLoopScheduler::~EventLoopScheduler() = default;

void EventLoopScheduler::start(quint64 id, int ms) {
    auto timer = std::make_unique<QTimer>();
    timer->setSingleShot(true);
    timer->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer.get(), &QTimer::timeout, timer.get(), [this, id] {
        const auto it = timers_.find(id);
        if (it == timers_.end())
            return;
        // The timer is deleted after the call, not during its own signal.
        std::unique_ptr<QTimer> done = std::move(it->second);
        timers_.erase(it);
        fire(id);
        done.release()->deleteLater();
    });
    timer->start(ms);
    timers_[id] = std::move(timer);
}

void EventLoopScheduler::stop(quint64 id) {
    const auto it = timers_.find(id);
    if (it == timers_.end())
        return;
    // A timer that is already due would still fire in this pass of the event loop
    // if it were only deleted later.
    QTimer* timer = it->second.release();
    timer->stop();
    timer->deleteLater();
    timers_.erase(it);
}

void ManualScheduler::start(quint64 id, int ms) {
    const qint64 due = now_ + ms;
    due_.emplace(due, id);
    dueOf_[id] = due;
}

void ManualScheduler::stop(quint64 id) {
    const auto it = dueOf_.find(id);
    if (it == dueOf_.end())
        return;
    due_.erase({it->second, id});
    dueOf_.erase(it);
}

void ManualScheduler::turn() {
    std::vector<quint64> due;
    for (const auto& [time, id] : due_) {
        if (time > now_)
            break;
        due.push_back(id);
    }
    for (quint64 id : due) {
        const auto it = dueOf_.find(id);
        if (it == dueOf_.end())
            continue; // cancelled by an earlier call of this turn
        due_.erase({it->second, id});
        dueOf_.erase(it);
        fire(id);
    }
}

void ManualScheduler::advance(qint64 ms) {
    const qint64 target = now_ + qMax<qint64>(0, ms);
    while (!due_.empty() && due_.begin()->first <= target) {
        const auto [due, id] = *due_.begin();
        due_.erase(due_.begin());
        dueOf_.erase(id);
        now_ = qMax(now_, due);
        fire(id);
    }
    now_ = target;
}

} // namespace kst
