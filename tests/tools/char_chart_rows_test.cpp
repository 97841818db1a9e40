#include "tools/char_chart_rows.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

TEST(AsciiChartRows, ControlCodesByCaretAndMnemonic) {
    EXPECT_EQ(asciiChartRow(0), QStringList({"^@", "0", "0", " ", "NUL"}));
    EXPECT_EQ(asciiChartRow(10), QStringList({"^J", "10", "A", " ", "LF"}));
    EXPECT_EQ(asciiChartRow(31), QStringList({"^_", "31", "1F", " ", "US"}));
}

TEST(AsciiChartRows, OtherCodesByTheirCharacterWithoutACodeCell) {
    EXPECT_EQ(asciiChartRow(32), QStringList({" ", "32", "20", " "}));
    EXPECT_EQ(asciiChartRow(65), QStringList({" ", "65", "41", "A"}));
    EXPECT_EQ(asciiChartRow(127), QStringList({" ", "127", "7F", QString(QChar(127))}));
    // Above 127 the line's code page: the euro sign and y with diaeresis.
    EXPECT_EQ(asciiChartRow(128)[3], QString(QChar(0x20AC)));
    EXPECT_EQ(asciiChartRow(255)[3], QString(QChar(0xFF)));
    for (int code = 32; code < 256; ++code) {
        const QStringList row = asciiChartRow(code);
        ASSERT_EQ(row.size(), 4) << code;
        EXPECT_EQ(row[1].toInt(), code);
        EXPECT_EQ(row[2], QString::number(code, 16).toUpper());
        EXPECT_EQ(row[3].size(), 1) << code;
    }
}

} // namespace
