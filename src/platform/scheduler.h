#pragma once

#include <QtGlobal>
#include <functional>
#include <map>
#include <memory>
#include <set>

class QTimer;

namespace kst {

class Scheduler;

// A call waiting in a scheduler. Cancelling it, or letting the handle go, drops the
// call if it has not run yet; a handle may outlive its scheduler. Move-only.
class TimerHandle {
public:
    TimerHandle() = default;
    TimerHandle(TimerHandle&& other) noexcept;
    TimerHandle& operator=(TimerHandle&& other) noexcept;
    TimerHandle(const TimerHandle&) = delete;
    TimerHandle& operator=(const TimerHandle&) = delete;
    ~TimerHandle() { cancel(); }

    void cancel();
    // True until the call has run or was cancelled.
    bool pending() const;

private:
    friend class Scheduler;
    TimerHandle(std::weak_ptr<Scheduler*> owner, quint64 id) : owner_(std::move(owner)), id_(id) {}

    std::weak_ptr<Scheduler*> owner_;
    quint64 id_ = 0;
};

// Every timer of the program's engines goes through a scheduler: the running program
// uses the event loop's timers, tests a clock they move by hand. A scheduled call runs
// on the thread of the event loop, never inside the call that scheduled it.
class Scheduler {
public:
    using Callback = std::function<void()>;

    Scheduler();
    virtual ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Runs `callback` once, `ms` milliseconds from now (0: as soon as the event loop
    // is free), unless the handle is cancelled or destroyed first.
    [[nodiscard]] TimerHandle after(int ms, Callback callback);

protected:
    virtual void start(quint64 id, int ms) = 0;
    virtual void stop(quint64 id) = 0;
    // Runs the call with this id, if it is still waiting, and forgets it.
    void fire(quint64 id);
    bool isWaiting(quint64 id) const { return calls_.count(id) != 0; }

private:
    friend class TimerHandle;
    void cancel(quint64 id);

    std::shared_ptr<Scheduler*> self_;
    std::map<quint64, Callback> calls_;
    quint64 nextId_ = 1;
};

// The event loop's timers, one precise single-shot timer per waiting call.
class EventLoopScheduler : public Scheduler {
public:
    EventLoopScheduler();
    ~EventLoopScheduler() override;

protected:
    void start(quint64 id, int ms) override;
    void stop(quint64 id) override;

private:
    std::map<quint64, std::unique_ptr<QTimer>> timers_;
};

// Time that moves only when a test says so. Calls run in the order of their due
// time, calls due at the same time in the order they were scheduled; a call that a
// running call schedules runs in the same advance when it falls due within it.
class ManualScheduler : public Scheduler {
public:
    qint64 now() const { return now_; }
    // Moves time forward by `ms` and runs every call that falls due on the way.
    void advance(qint64 ms);
    // One turn of an event loop: runs the calls due now that were waiting before the
    // turn began; what they schedule waits for the next turn.
    void turn();
    // The number of calls waiting.
    int waitingCount() const { return static_cast<int>(due_.size()); }

protected:
    void start(quint64 id, int ms) override;
    void stop(quint64 id) override;

private:
    // (due time, id): ids grow, so equal due times keep their scheduling order.
    std::set<std::pair<qint64, quint64>> due_;
    std::map<quint64, qint64> dueOf_;
    qint64 now_ = 0;
};

} // namespace kst
