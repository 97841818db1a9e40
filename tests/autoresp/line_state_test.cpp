#include "autoresp/line_state.h"
#include "autoresp/match_condition.h"

#include <gtest/gtest.h>

using namespace kst;

// Bit k of a mask: the state holds for the lines CTS = k & 1, DSR = k & 2, CD = k & 4.
// The ring states hold only while a ring is pending; the line tests never look at it.
TEST(LineState, EachStateHoldsForExactlyItsLinesAndTheRingStatesNeedARing) {
    const struct {
        LineState state;
        unsigned withoutRing, withRing;
    } states[] = {
        {LineState::CtsOn, 0xAA, 0xAA},
        {LineState::CtsOff, 0x55, 0x55},
        {LineState::DsrOn, 0xCC, 0xCC},
        {LineState::DsrOff, 0x33, 0x33},
        {LineState::CtsOnDsrOn, 0x88, 0x88},
        {LineState::CtsOnDsrOff, 0x22, 0x22},
        {LineState::CtsOffDsrOn, 0x44, 0x44},
        {LineState::CtsOffDsrOff, 0x11, 0x11},
        {LineState::DcdOn, 0xF0, 0xF0},
        {LineState::DcdOff, 0x0F, 0x0F},
        {LineState::RingDetected, 0, 0xFF},
        {LineState::DcdOnRingDetected, 0, 0xF0},
        {LineState::DcdOffRingDetected, 0, 0x0F},
        {LineState(-1), 0, 0},
        {LineState(13), 0, 0},
    };
    for (const auto& s : states) {
        for (int k = 0; k < 8; ++k) {
            const LineLevels l{(k & 1) != 0, (k & 2) != 0, (k & 4) != 0};
            const auto state = static_cast<int>(s.state);
            EXPECT_EQ(lineStateHolds(s.state, l, false), ((s.withoutRing >> k) & 1) != 0)
                << "state " << state << ", lines " << k;
            EXPECT_EQ(lineStateHolds(s.state, l, true), ((s.withRing >> k) & 1) != 0)
                << "state " << state << ", lines " << k << ", ring pending";
            // The port's own test knows the ten line tests only.
            EXPECT_EQ(CheckSignalCondition(s.state, l),
                      state < 10 && ((s.withoutRing >> k) & 1) != 0)
                << "state " << state << ", lines " << k;
        }
    }
}

// A Signaling condition stores its event by its place in the list "CTS ON" .. "RI
// Detected": the event's code less one. Places outside the list are no event.
TEST(LineEventList, EachPlaceIsItsEvent) {
    const LineEvent events[] = {LineEvent::CtsOn,  LineEvent::CtsOff, LineEvent::DsrOn,
                                LineEvent::DsrOff, LineEvent::DcdOn,  LineEvent::DcdOff,
                                LineEvent::Ring};
    for (int place = 0; place < 7; ++place)
        EXPECT_EQ(lineEventAt(place), events[place]) << place;
    for (int place : {-1, 7, 100})
        EXPECT_EQ(lineEventAt(place), LineEvent::None) << place;
}
