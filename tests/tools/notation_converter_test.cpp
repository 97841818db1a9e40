#include "notation/notation.h"
#include "tools/notation_converter.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

struct Case {
    const char* text;
    int from;
    int to;
    const char* result;
};

TEST(Converter, ConvertsUpToTwoBytesBetweenAllNotations) {
    const Case cases[] = {
        {"65535", ncDec, ncHex, "FFFF"},
        {"65535", ncDec, ncOct, "177777"},
        {"65535", ncDec, ncBin, "1111111111111111"},
        {"0", ncDec, ncBin, "0"},
        {"FFFF", ncHex, ncDec, "65535"},
        {"8000", ncHex, ncDec, "32768"},
        {"FFF", ncHex, ncDec, "4095"},
        {"123", ncHex, ncBin, "100100011"},
        {"123", ncHex, ncDec, "291"},
        {"ff", ncHex, ncOct, "377"},
        {"177777", ncOct, ncDec, "65535"},
        {"100000", ncOct, ncHex, "8000"},
        {"1111111111111111", ncBin, ncHex, "FFFF"},
        {"0001", ncBin, ncDec, "1"},
        // The same notation copies the text as typed, leading zeros and all.
        {"007", ncDec, ncDec, "007"},
        {"007", ncDec, ncHex, "7"},
    };
    for (const Case& c : cases) {
        const Conversion conversion = ConvertNotation(c.text, c.from, c.to);
        EXPECT_FALSE(conversion.refusal) << c.text;
        EXPECT_EQ(conversion.result, c.result) << c.text << " " << c.from << "->" << c.to;
    }
}

TEST(Converter, RefusesWrongDigitsAndValuesBeyondTwoBytes) {
    const Case invalid[] = {{"", ncDec, ncHex, ""},
                            {"12A", ncDec, ncHex, ""},
                            {"8", ncOct, ncDec, ""},
                            {"102", ncBin, ncDec, ""},
                            {"G", ncHex, ncDec, ""}};
    for (const Case& c : invalid) {
        const Conversion conversion = ConvertNotation(c.text, c.from, c.to);
        ASSERT_TRUE(conversion.refusal) << c.text;
        EXPECT_EQ(conversion.refusal->text, "Error: Invalid data!");
        EXPECT_EQ(conversion.refusal->icon, MsgIcon::Critical);
        EXPECT_TRUE(conversion.result.isEmpty());
    }
    // The range checks of Enter and of leaving the field run on Convert too.
    for (const auto& [text, from] : std::vector<std::pair<const char*, int>>{
             {"65536", ncDec}, {"99999", ncDec}, {"200000", ncOct}, {"777777", ncOct}}) {
        const Conversion conversion = ConvertNotation(text, from, from);
        ASSERT_TRUE(conversion.refusal) << text;
        EXPECT_EQ(conversion.refusal->text, "Error: data over 2 bytes!");
        EXPECT_EQ(conversion.refusal->icon, MsgIcon::None);
        EXPECT_EQ(converterRangeRefusal(text, from), conversion.refusal);
    }
}

TEST(Converter, InputLimitsFollowTheFromNotation) {
    EXPECT_EQ(converterMaxLength(ncDec), 5);
    EXPECT_EQ(converterMaxLength(ncHex), 4);
    EXPECT_EQ(converterMaxLength(ncOct), 6);
    EXPECT_EQ(converterMaxLength(ncBin), 16);
    EXPECT_FALSE(converterRangeRefusal("65535", ncDec));
    EXPECT_FALSE(converterRangeRefusal("177777", ncOct));
    // Hexadecimal and binary cannot exceed two bytes within their lengths.
    EXPECT_FALSE(converterRangeRefusal("FFFF", ncHex));
    const auto key = [](char typed, int from) {
        const std::optional<QChar> c = converterKey(QChar(typed), from);
        return c ? c->toLatin1() : '\0';
    };
    EXPECT_EQ(key(',', ncDec), '\0');
    EXPECT_EQ(key('a', ncHex), 'A');
    EXPECT_EQ(key('8', ncOct), '\0');
    EXPECT_EQ(key('2', ncBin), '\0');
    EXPECT_EQ(key('A', ncDec), '\0');
    EXPECT_EQ(key('\r', ncDec), '\r');
}

} // namespace
