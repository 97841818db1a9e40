#include "platform/runtime_error.h"
#include "storage/field_values.h"

#include <gtest/gtest.h>

using namespace kst;

TEST(FieldValues, LeadingNumberReadsOnlyTheNumberInFront) {
    struct Case {
        const char* text;
        double value;
    } cases[] = {{"", 0},      {"abc", 0},   {"200 ms", 200}, {"  -12", -12},  {"+7x", 7},
                 {"3.5", 3.5}, {".5", 0.5},  {".", 0},        {"1e3", 1000},   {"1e", 1},
                 {"12,5", 12}, {"0012", 12}, {"-", 0},        {"65535", 65535}};
    for (const auto& c : cases)
        EXPECT_DOUBLE_EQ(LeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(FieldValues, WholeNumbersRoundHalvesToEvenAndRefuseWhatDoesNotFit) {
    EXPECT_EQ(ToInteger(2.5), 2);
    EXPECT_EQ(ToInteger(3.5), 4);
    EXPECT_EQ(ToInteger(-2.5), -2);
    EXPECT_EQ(ToInteger(32767), 32767);
    EXPECT_EQ(ToLong(65535), 65535);
    EXPECT_EQ(ToLong(-2147483648.0), std::numeric_limits<qint32>::min());
    for (double tooBig : {32767.5, 32768.0, -32769.0})
        EXPECT_THROW(
            try { ToInteger(tooBig); } catch (const RunTimeError& e) {
                EXPECT_EQ(e.number(), err::Overflow);
                throw;
            },
            RunTimeError);
    EXPECT_THROW(ToLong(2147483648.0), RunTimeError);
    EXPECT_EQ(IntegerField("12 x"), 12);
    EXPECT_EQ(LongField(""), 0);
}
