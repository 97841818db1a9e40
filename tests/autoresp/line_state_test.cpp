#include "autoresp/line_state.h"

#include <gtest/gtest.h>

using namespace kst;

TEST(CheckSignalCondition, EachOfTheTenTestsHoldsForExactlyItsLineStates) {
    // Bit k of a mask: the condition holds for the lines CTS = k & 1, DSR = k & 2, CD = k & 4.
    const unsigned metFor[10] = {0xAA, 0x55, 0xCC, 0x33, 0x88, 0x22, 0x44, 0x11, 0xF0, 0x0F};
    for (int condition = 0; condition < 10; ++condition) {
        for (int k = 0; k < 8; ++k) {
            const LineLevels l{(k & 1) != 0, (k & 2) != 0, (k & 4) != 0};
            EXPECT_EQ(CheckSignalCondition(condition, l), ((metFor[condition] >> k) & 1) != 0)
                << "condition " << condition << ", lines " << k;
        }
    }
}

TEST(CheckSignalCondition, ValuesOutsideTheTenAreNeverMet) {
    const LineLevels allOn{true, true, true};
    const LineLevels allOff{};
    for (int condition : {-1, 10, 11, 12, 1000}) {
        EXPECT_FALSE(CheckSignalCondition(condition, allOn)) << condition;
        EXPECT_FALSE(CheckSignalCondition(condition, allOff)) << condition;
    }
}
