#include "platform/serial/comm_codes.h"
#include "platform/serial/comm_inbox.h"

#include <QList>
#include <gtest/gtest.h>

using namespace kst::comm;

namespace {

QList<int> takeAll(CommInbox& inbox) {
    QList<int> events;
    while (auto taken = inbox.takeEvent())
        events << taken->commEvent;
    return events;
}

TEST(CommInbox, OneReceiveEventServesEveryChunkUntilItIsTaken) {
    CommInbox inbox(1024);
    EXPECT_TRUE(inbox.addBytes("ab", 2)) << "the first report wakes the reader";
    EXPECT_FALSE(inbox.addBytes("\0c", 2)) << "a wake-up is pending already";
    EXPECT_EQ(takeAll(inbox), QList<int>{comEvReceive});
    EXPECT_EQ(inbox.takeBytes(), QByteArray("ab\0c", 4));
    EXPECT_EQ(inbox.bufferedBytes(), 0);

    EXPECT_TRUE(inbox.addBytes("d", 1)) << "after delivery, new bytes wake again";
    EXPECT_EQ(takeAll(inbox), QList<int>{comEvReceive});
    EXPECT_FALSE(inbox.addBytes("e", 1)) << "the bytes before it are not taken yet";
    EXPECT_TRUE(takeAll(inbox).isEmpty());
    EXPECT_EQ(inbox.takeBytes(), "de");
    EXPECT_TRUE(inbox.addBytes("f", 1)) << "taken: the next bytes wake again";
}

TEST(CommInbox, KeepsTheOrderOfDistinctEventsAndQueuesNoDuplicate) {
    CommInbox inbox(1024);
    EXPECT_TRUE(inbox.addEvent(comEventFrame));
    EXPECT_FALSE(inbox.addEvent(comEvCTS));
    EXPECT_FALSE(inbox.addEvent(comEventFrame));
    EXPECT_FALSE(inbox.addBytes("x", 1));
    EXPECT_FALSE(inbox.addEvent(comEvCTS));

    auto first = inbox.takeEvent();
    ASSERT_TRUE(first);
    EXPECT_EQ(first->commEvent, comEventFrame);
    EXPECT_TRUE(first->more);
    EXPECT_FALSE(inbox.addEvent(comEventFrame)) << "the reader wakes itself while more wait";
    EXPECT_EQ(takeAll(inbox), (QList<int>{comEvCTS, comEvReceive, comEventFrame}));
    EXPECT_TRUE(inbox.addEvent(comEvRing)) << "an emptied queue is woken by the next report";
}

TEST(CommInbox, OverflowDropsWhatDoesNotFitAndSaysSoOnceUntilTheBytesAreTaken) {
    CommInbox inbox(10);
    inbox.addBytes("12345678", 8);
    inbox.addBytes("abcde", 5);
    inbox.addBytes("fghi", 4);
    EXPECT_EQ(takeAll(inbox), (QList<int>{comEvReceive, comEventRxOver}));
    EXPECT_EQ(inbox.droppedBytes(), 3 + 4);
    EXPECT_EQ(inbox.takeBytes(), QByteArray("12345678ab"));

    inbox.addBytes("0123456789ABCDEF", 16);
    EXPECT_EQ(takeAll(inbox), (QList<int>{comEvReceive, comEventRxOver}))
        << "taking the bytes re-arms the overflow event";
    EXPECT_EQ(inbox.takeBytes(), QByteArray("0123456789"));
    EXPECT_EQ(inbox.droppedBytes(), 13);
}

TEST(CommInbox, ClearDropsBytesAndEvents) {
    CommInbox inbox(4);
    inbox.addBytes("123456", 6);
    inbox.addEvent(comEvCD);
    inbox.clear();
    EXPECT_FALSE(inbox.takeEvent());
    EXPECT_TRUE(inbox.takeBytes().isEmpty());
    inbox.addBytes("1234", 4);
    inbox.addBytes("5", 1);
    EXPECT_EQ(takeAll(inbox), (QList<int>{comEvReceive, comEventRxOver}))
        << "the overflow report is re-armed by clear()";
}

} // namespace
