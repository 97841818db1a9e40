#include "line_watch.h"

#include "comm_codes.h"

namespace kst::comm {

QList<int> LineWatch::update(const LineSample& now) {
    const bool haveLines = last_.lines && now.lines;
    const bool haveCounts = last_.counts && now.counts;
    const InputLines was = haveLines ? *last_.lines : InputLines{};
    const InputLines is = haveLines ? *now.lines : InputLines{};
    const LineCounts before = haveCounts ? *last_.counts : LineCounts{};
    const LineCounts after = haveCounts ? *now.counts : LineCounts{};

    QList<int> events;
    auto check = [&](bool happened, int commEvent) {
        if (happened)
            events << commEvent;
    };
    check(was.cts != is.cts || before.cts != after.cts, comEvCTS);
    check(was.dsr != is.dsr || before.dsr != after.dsr, comEvDSR);
    check(was.cd != is.cd || before.cd != after.cd, comEvCD);
    check((!was.ri && is.ri) || before.ring != after.ring, comEvRing);
    check(before.brk != after.brk, comEventBreak);
    check(before.frame != after.frame, comEventFrame);
    check(before.overrun != after.overrun, comEventOverrun);
    check(before.bufferOverrun != after.bufferOverrun, comEventRxOver);
    check(before.parity != after.parity, comEventRxParity);

    if (now.lines)
        last_.lines = now.lines;
    if (now.counts)
        last_.counts = now.counts;
    return events;
}

} // namespace kst::comm
