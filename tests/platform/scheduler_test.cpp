#include "platform/scheduler.h"
#include "platform/services.h"

#include <QElapsedTimer>
#include <QTest>
#include <QThread>
#include <gtest/gtest.h>
#include <memory>

using namespace kst;

TEST(ManualScheduler, RunsCallsInTheOrderTheyFallDueAsTimeIsAdvanced) {
    ManualScheduler clock;
    QStringList ran;
    TimerHandle late = clock.after(30, [&] { ran << "late"; });
    TimerHandle early = clock.after(10, [&] { ran << "early"; });
    TimerHandle sameAsEarly = clock.after(10, [&] { ran << "second at 10"; });
    clock.advance(9);
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_TRUE(early.pending());
    clock.advance(1);
    EXPECT_EQ(ran, QStringList({"early", "second at 10"}));
    EXPECT_FALSE(early.pending());
    EXPECT_TRUE(late.pending());
    clock.advance(100);
    EXPECT_EQ(ran.last(), "late");
    EXPECT_EQ(clock.now(), 110);
}

TEST(ManualScheduler, ACallScheduledByACallRunsInTheSameAdvanceWhenItFallsDue) {
    ManualScheduler clock;
    QList<qint64> at;
    TimerHandle next;
    // A timer that re-arms itself every 5 ms, as the engines' ticks do.
    std::function<void()> tick = [&] {
        at << clock.now();
        if (at.size() < 4)
            next = clock.after(5, tick);
    };
    next = clock.after(5, tick);
    clock.advance(12);
    EXPECT_EQ(at, QList<qint64>({5, 10}));
    clock.advance(100);
    EXPECT_EQ(at, QList<qint64>({5, 10, 15, 20}));
    EXPECT_EQ(clock.waitingCount(), 0);
}

TEST(ManualScheduler, ACancelledOrDroppedHandleNeverRuns) {
    ManualScheduler clock;
    int runs = 0;
    TimerHandle kept = clock.after(1, [&] { ++runs; });
    kept.cancel();
    EXPECT_FALSE(kept.pending());
    {
        TimerHandle dropped = clock.after(1, [&] { ++runs; });
    }
    // Moving a handle keeps the call; assigning over one drops the old call.
    TimerHandle moved = clock.after(1, [&] { runs += 10; });
    TimerHandle target = std::move(moved);
    TimerHandle replaced = clock.after(1, [&] { runs += 100; });
    replaced = clock.after(2, [&] { runs += 1000; });
    clock.advance(5);
    EXPECT_EQ(runs, 1010);
}

TEST(ManualScheduler, ACallMayCancelAnotherThatIsDueAtTheSameTime) {
    ManualScheduler clock;
    int runs = 0;
    TimerHandle second;
    TimerHandle first = clock.after(3, [&] { second.cancel(); });
    second = clock.after(3, [&] { ++runs; });
    clock.advance(3);
    EXPECT_EQ(runs, 0);
}

TEST(Scheduler, AHandleMayOutliveItsScheduler) {
    TimerHandle handle;
    {
        ManualScheduler clock;
        handle = clock.after(1, [] {});
        EXPECT_TRUE(handle.pending());
    }
    EXPECT_FALSE(handle.pending());
    handle.cancel();
}

TEST(EventLoopScheduler, RunsFromTheEventLoopAfterItsTime) {
    EventLoopScheduler loop;
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 ranAfter = -1;
    bool cancelledRan = false;
    TimerHandle call = loop.after(30, [&] { ranAfter = elapsed.elapsed(); });
    TimerHandle cancelled = loop.after(10, [&] { cancelledRan = true; });
    // Never inside the call that scheduled it, even with 0 ms.
    bool immediate = false;
    TimerHandle now = loop.after(0, [&] { immediate = true; });
    EXPECT_FALSE(immediate);
    cancelled.cancel();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ranAfter >= 0; }, 2000));
    EXPECT_GE(ranAfter, 29);
    EXPECT_TRUE(immediate);
    EXPECT_FALSE(cancelledRan);
    EXPECT_FALSE(call.pending());
}

TEST(EventLoopScheduler, ACallMayCancelAnotherThatIsDueAtTheSameTime) {
    EventLoopScheduler loop;
    int runs = 0;
    bool done = false;
    TimerHandle second;
    // Both timers expire in one pass of the event loop; the cancelled one must not run.
    TimerHandle first = loop.after(5, [&] {
        QThread::msleep(20);
        second.cancel();
    });
    second = loop.after(5, [&] { ++runs; });
    TimerHandle last = loop.after(60, [&] { done = true; });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done; }, 2000));
    EXPECT_EQ(runs, 0);
}

TEST(Platform, TheSchedulerSeamTakesATestSchedulerAndGivesTheDefaultBack) {
    Scheduler& standard = Platform::scheduler();
    ManualScheduler manual;
    Scheduler* previous = Platform::setScheduler(&manual);
    EXPECT_EQ(&Platform::scheduler(), &manual);
    Platform::setScheduler(previous);
    EXPECT_EQ(&Platform::scheduler(), &standard);
}

TEST(ManualScheduler, ATurnRunsOnlyWhatWaitedBeforeIt) {
    ManualScheduler clock;
    int turns = 0;
    TimerHandle next;
    std::function<void()> step = [&] {
        ++turns;
        next = clock.after(0, step);
    };
    next = clock.after(0, step);
    clock.turn();
    EXPECT_EQ(turns, 1);
    clock.turn();
    EXPECT_EQ(turns, 2) << "what a call schedules for now waits for the next turn";
    EXPECT_EQ(clock.now(), 0);
    next.cancel();
}
