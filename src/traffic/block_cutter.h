#pragma once

#include "platform/scheduler.h"

#include <QByteArray>
#include <functional>

namespace kst {

// Cuts what a port receives into blocks, in one of two ways:
// - gap detection: a tick reads what has arrived, one piece a tick, and the block ends
//   at the first tick that brings nothing or once it holds `pieceLimit` pieces and the
//   piece of the tick that ends it;
// - fixed delay: one read, a set time after the first receive event, takes everything
//   that has arrived by then.
// A receive event arms the chosen timer unless a block is being gathered already. Only
// blocks that hold bytes are handed on.
class BlockCutter {
public:
    // The gap detector's tick: the granularity of the timers that the way of cutting
    // was made for. A shorter one would cut a slow line after every byte.
    static constexpr int GapTickMs = 16;

    // What the cutter reads.
    class Input {
    public:
        virtual ~Input() = default;
        // Every byte received and not yet taken.
        virtual QByteArray take() = 0;
        virtual bool isOpen() const = 0;
    };

    enum class Cut { Gap, FixedDelay };
    // A block is complete; `block` is never empty.
    using BlockReady = std::function<void(const QByteArray& block, Cut cut)>;
    // A timer ended without a block: its bytes were taken already.
    using NothingReady = std::function<void(Cut cut)>;

    // `pieceLimit` is read at every tick, so a change applies to the block being gathered.
    BlockCutter(Scheduler& scheduler, Input& input, const int& pieceLimit, BlockReady ready,
                NothingReady nothing);

    // The gap tick for a line of `baud` with `bitsPerCharacter` (start, data, parity and
    // stop bits): GapTickMs, or the time of two characters where that is longer.
    static int gapTickFor(int baud, int bitsPerCharacter);
    void setGapTickMs(int ms) { gapTickMs_ = ms; }
    int gapTickMs() const { return gapTickMs_; }

    // A receive event: arms gap detection, or with `fixedDelayMs` > 0 the fixed delay.
    void receiveEvent(int fixedDelayMs);
    bool gathering() const { return timer_.pending(); }

    // The port is closing: the timers stop and what was gathered, with what is still
    // unread, is returned (maybe empty). The cutter is empty afterwards.
    QByteArray takeUnfinished();
    // Drops everything: a new port session starts empty.
    void reset();

private:
    void gapTick();
    void fixedDelayEnds();

    Scheduler& scheduler_;
    Input& input_;
    const int& pieceLimit_;
    BlockReady ready_;
    NothingReady nothing_;
    int gapTickMs_ = GapTickMs;
    TimerHandle timer_;
    QByteArray gathered_;
    int pieces_ = 0;
};

} // namespace kst
