#include "platform/scheduler.h"
#include "traffic/block_cutter.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kst;
using Cut = BlockCutter::Cut;

namespace {

// A port whose far end the test plays: bytes wait until the cutter takes them.
class FakeInput : public BlockCutter::Input {
public:
    QByteArray take() override { return std::exchange(waiting, QByteArray()); }
    bool isOpen() const override { return open; }
    QByteArray waiting;
    bool open = true;
};

class BlockCutterTest : public ::testing::Test {
protected:
    // Bytes arrive and raise their receive event, as the port does.
    void arrive(const QByteArray& bytes, int fixedDelayMs = 0) {
        input.waiting += bytes;
        cutter.receiveEvent(fixedDelayMs);
    }
    void tick() { clock.advance(cutter.gapTickMs()); }

    ManualScheduler clock;
    FakeInput input;
    int pieceLimit = 10;
    QList<QByteArray> blocks;
    QList<Cut> cuts;
    QList<Cut> endedEmpty;
    BlockCutter cutter{clock, input, pieceLimit,
                       [this](const QByteArray& block, Cut cut) {
                           blocks << block;
                           cuts << cut;
                       },
                       [this](Cut cut) { endedEmpty << cut; }};
};

} // namespace

TEST_F(BlockCutterTest, ABurstShorterThanTheGapIsOneBlock) {
    arrive("AB");
    clock.advance(5);
    arrive("CD"); // the same burst: the detector is armed already
    tick();
    EXPECT_TRUE(blocks.isEmpty()) << "the tick that brought bytes does not end the block";
    tick();
    EXPECT_EQ(blocks, QList<QByteArray>({"ABCD"}));
    EXPECT_EQ(cuts, QList<Cut>({Cut::Gap}));
    EXPECT_FALSE(cutter.gathering());
}

TEST_F(BlockCutterTest, AStreamIsCutAfterTheLimitAndTheClosingPiece) {
    arrive("");
    for (int piece = 0; piece < 25; ++piece) {
        input.waiting += char('a' + piece);
        tick();
        if (!cutter.gathering())
            cutter.receiveEvent(0); // the event of the bytes that came meanwhile
    }
    ASSERT_EQ(blocks.size(), 2);
    EXPECT_EQ(blocks[0], "abcdefghijk") << "10 counted pieces and the piece of the closing tick";
    EXPECT_EQ(blocks[1], "lmnopqrstuv");
}

TEST_F(BlockCutterTest, ALimitLoweredWhileGatheringCutsTheBlockBeingGathered) {
    arrive("a");
    tick();
    input.waiting = "b";
    tick();
    pieceLimit = 1; // an input overflow
    input.waiting = "c";
    tick();
    EXPECT_EQ(blocks, QList<QByteArray>({"abc"}));
    arrive("d");
    tick();
    input.waiting = "e";
    tick();
    EXPECT_EQ(blocks.last(), "de") << "from now on two pieces a block";
}

TEST_F(BlockCutterTest, TheFixedDelayTakesEverythingThatArrivedInItsTime) {
    arrive("A", 50);
    clock.advance(20);
    arrive("B", 50); // does not move the end
    clock.advance(29);
    EXPECT_TRUE(blocks.isEmpty());
    clock.advance(1);
    EXPECT_EQ(blocks, QList<QByteArray>({"AB"}));
    EXPECT_EQ(cuts, QList<Cut>({Cut::FixedDelay}));
    arrive("C", 50);
    clock.advance(50);
    EXPECT_EQ(blocks.last(), "C");
}

TEST_F(BlockCutterTest, ATimerThatFindsNothingHandsOnNoBlock) {
    cutter.receiveEvent(0); // an event whose bytes an earlier tick took
    tick();
    cutter.receiveEvent(200);
    clock.advance(200);
    EXPECT_TRUE(blocks.isEmpty());
    EXPECT_EQ(endedEmpty, QList<Cut>({Cut::Gap, Cut::FixedDelay}));
}

TEST_F(BlockCutterTest, TheFixedDelayEndingOnAClosedPortOnlyStops) {
    arrive("A", 50);
    input.open = false;
    clock.advance(50);
    EXPECT_TRUE(blocks.isEmpty());
    EXPECT_TRUE(endedEmpty.isEmpty());
    EXPECT_FALSE(cutter.gathering());
}

TEST_F(BlockCutterTest, AClosingPortGetsWhatWasGatheredAndUnreadAndTheNextSessionStartsEmpty) {
    arrive("ab");
    tick();
    input.waiting = "cd";
    EXPECT_EQ(cutter.takeUnfinished(), "abcd");
    EXPECT_FALSE(cutter.gathering());
    clock.advance(1000);
    EXPECT_TRUE(blocks.isEmpty());

    arrive("x");
    tick();
    cutter.reset();
    arrive("y");
    tick();
    tick();
    EXPECT_EQ(blocks, QList<QByteArray>({"y"}));
}

TEST(GapTick, IsTheTimerGranularityOrTwoCharactersOfASlowLine) {
    EXPECT_EQ(BlockCutter::gapTickFor(256000, 10), BlockCutter::GapTickMs);
    EXPECT_EQ(BlockCutter::gapTickFor(9600, 10), BlockCutter::GapTickMs);
    EXPECT_EQ(BlockCutter::gapTickFor(1200, 10), 17);
    EXPECT_EQ(BlockCutter::gapTickFor(300, 10), 67);
    EXPECT_EQ(BlockCutter::gapTickFor(110, 11), 200);
}
