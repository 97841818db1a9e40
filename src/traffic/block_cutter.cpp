#include "block_cutter.h"

#include <cmath>

namespace kst {

BlockCutter::BlockCutter(Scheduler& scheduler, Input& input, const int& pieceLimit,
                         BlockReady ready, NothingReady nothing)
    : scheduler_(scheduler), input_(input), pieceLimit_(pieceLimit), ready_(std::move(ready)),
      nothing_(std::move(nothing)) {}

int BlockCutter::gapTickFor(int baud, int bitsPerCharacter) {
    if (baud <= 0)
        return GapTickMs;
    const double twoCharactersMs = 2.0 * bitsPerCharacter * 1000.0 / baud;
    return qMax(GapTickMs, static_cast<int>(std::ceil(twoCharactersMs)));
}

void BlockCutter::receiveEvent(int fixedDelayMs) {
    if (timer_.pending())
        return;
    if (fixedDelayMs > 0)
        timer_ = scheduler_.after(fixedDelayMs, [this] { fixedDelayEnds(); });
    else
        timer_ = scheduler_.after(gapTickMs_, [this] { gapTick(); });
}

void BlockCutter::gapTick() {
    const QByteArray piece = input_.take();
    if (!piece.isEmpty() && pieces_ < pieceLimit_) {
        gathered_ += piece;
        ++pieces_;
        timer_ = scheduler_.after(gapTickMs_, [this] { gapTick(); });
        return;
    }
    gathered_ += piece;
    pieces_ = 0;
    const QByteArray block = std::exchange(gathered_, QByteArray());
    if (block.isEmpty())
        nothing_(Cut::Gap);
    else
        ready_(block, Cut::Gap);
}

void BlockCutter::fixedDelayEnds() {
    // A port that closed meanwhile has nothing more to give.
    if (!input_.isOpen())
        return;
    const QByteArray block = input_.take();
    if (block.isEmpty())
        nothing_(Cut::FixedDelay);
    else
        ready_(block, Cut::FixedDelay);
}

QByteArray BlockCutter::takeUnfinished() {
    timer_.cancel();
    pieces_ = 0;
    return std::exchange(gathered_, QByteArray()) + input_.take();
}

void BlockCutter::reset() {
    timer_.cancel();
    pieces_ = 0;
    gathered_.clear();
}

} // namespace kst
