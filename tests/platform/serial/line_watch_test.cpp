#include "platform/serial/comm_codes.h"
#include "platform/serial/line_watch.h"

#include <gtest/gtest.h>

using namespace kst::comm;

namespace {

LineSample linesOnly(InputLines lines) {
    return {lines, std::nullopt};
}
LineSample both(InputLines lines, LineCounts counts) {
    return {lines, counts};
}

TEST(LineWatch, LevelChangesAndARisingRingWhereTheDriverKeepsNoCounts) {
    LineWatch watch(linesOnly({}));
    ASSERT_TRUE(watch.worthSampling());
    EXPECT_TRUE(watch.update(linesOnly({})).isEmpty());
    EXPECT_EQ(watch.update(linesOnly({true, false, true, false})), (QList<int>{comEvCTS, comEvCD}));
    EXPECT_EQ(watch.update(linesOnly({true, true, true, true})), (QList<int>{comEvDSR, comEvRing}));
    EXPECT_TRUE(watch.update(linesOnly({true, true, true, false})).isEmpty())
        << "the ring indicator falling is no new ring";
    EXPECT_EQ(watch.update(linesOnly({false, true, true, false})), QList<int>{comEvCTS});
}

TEST(LineWatch, CountsCatchAPulseBetweenTwoSamples) {
    LineWatch watch(both({}, {}));
    LineCounts counts;
    counts.cts = 2; // up and down again: the level shows nothing
    counts.ring = 1;
    EXPECT_EQ(watch.update(both({}, counts)), (QList<int>{comEvCTS, comEvRing}));
    EXPECT_TRUE(watch.update(both({}, counts)).isEmpty());
}

TEST(LineWatch, EachReceiveErrorCountBecomesItsEvent) {
    struct Case {
        quint32 LineCounts::*counter;
        int commEvent;
    };
    for (const Case& c :
         {Case{&LineCounts::brk, comEventBreak}, Case{&LineCounts::frame, comEventFrame},
          Case{&LineCounts::overrun, comEventOverrun},
          Case{&LineCounts::bufferOverrun, comEventRxOver},
          Case{&LineCounts::parity, comEventRxParity}}) {
        LineWatch watch(both({}, {}));
        LineCounts counts;
        counts.*(c.counter) = 5;
        EXPECT_EQ(watch.update(both({}, counts)), QList<int>{c.commEvent}) << c.commEvent;
    }
}

TEST(LineWatch, LineEventsComeBeforeErrorsAndOneOfEachKind) {
    LineWatch watch(both({}, {}));
    LineCounts counts{3, 1, 0, 2, 4, 0, 1, 0, 0};
    EXPECT_EQ(watch.update(both({true, false, false, false}, counts)),
              (QList<int>{comEvCTS, comEvDSR, comEvCD, comEventFrame, comEventRxParity}));
}

TEST(LineWatch, AFailedSampleIsComparedWithTheLastGoodOne) {
    LineWatch watch(linesOnly({}));
    EXPECT_TRUE(watch.update(LineSample{}).isEmpty());
    EXPECT_EQ(watch.update(linesOnly({false, true, false, false})), QList<int>{comEvDSR});
}

TEST(LineWatch, ADeviceWithoutLinesOrCountsIsNotWorthSampling) {
    EXPECT_FALSE(LineWatch(LineSample{}).worthSampling());
    EXPECT_TRUE(LineWatch(LineSample{std::nullopt, LineCounts{}}).worthSampling());
}

} // namespace
