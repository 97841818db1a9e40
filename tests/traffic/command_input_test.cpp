#include "notation/notation.h"
#include "traffic/command_input.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

// The printable characters among the first 256 (and a few beyond) that a field keeps, as
// they go in.
QString keptBy(int notation) {
    QString kept;
    for (char16_t c = 32; c < 0x700; ++c) {
        if (const auto key = commandFieldKey(QChar(c), notation))
            kept += *key;
    }
    return kept;
}

} // namespace

TEST(CommandFieldKey, EachNotationKeepsItsDigitsAndTheComma) {
    EXPECT_EQ(keptBy(ncDec), ",0123456789");
    EXPECT_EQ(keptBy(ncOct), ",01234567");
    EXPECT_EQ(keptBy(ncBin), ",01");
    // Small letters go in as capitals, so each hexadecimal letter comes twice.
    EXPECT_EQ(keptBy(ncHex), ",0123456789ABCDEFABCDEF");
    // Digits of other scripts are no digits of the line's notations.
    EXPECT_FALSE(commandFieldKey(QChar(0x0663), ncDec)); // Arabic-Indic three
}

TEST(CommandFieldKey, AsciiKeepsEveryKeyAndControlKeysAlwaysPass) {
    EXPECT_EQ(keptBy(ncAscii).size(), 0x700 - 32);
    EXPECT_EQ(commandFieldKey(u'a', ncAscii), QChar(u'a')) << "no capitals outside hexadecimal";
    for (int notation : {ncDec, ncHex, ncOct, ncBin, ncAscii}) {
        EXPECT_EQ(commandFieldKey(QChar(8), notation), QChar(8)) << notation;   // Backspace
        EXPECT_EQ(commandFieldKey(QChar(13), notation), QChar(13)) << notation; // Enter
    }
    EXPECT_EQ(numberFieldKey(u'7'), QChar(u'7'));
    EXPECT_EQ(numberFieldKey(QChar(8)), QChar(8));
    EXPECT_FALSE(numberFieldKey(u','));
    EXPECT_FALSE(numberFieldKey(u'a'));
}

TEST(ReformatByteList, ItemsAreRebuiltWithoutLeadingZerosAndTheTailIsDropped) {
    EXPECT_EQ(reformatByteList("1a,00f,", ncHex), "1A,F,");
    EXPECT_EQ(reformatByteList("1A,1B", ncHex), "1A,");
    EXPECT_EQ(reformatByteList("1A", ncHex), "");
    EXPECT_EQ(reformatByteList("007,300,", ncDec), "7,300,") << "no range check outside hex";
    EXPECT_EQ(reformatByteList("0011,000,", ncBin), "11,0,");
    EXPECT_EQ(reformatByteList("0377,", ncOct), "377,");
    EXPECT_EQ(reformatByteList("0000012345678901234567890,", ncDec), "12345678901234567890,");
    // Pasted blanks around a number are no part of it (the byte-list check lets them
    // pass): " 7" must not become a 0 that goes out on the line.
    EXPECT_EQ(reformatByteList(" 7,\t07 ,", ncDec), "7,7,");
    EXPECT_EQ(reformatByteList(" 1a ,", ncHex), "1A,");
    // A hexadecimal list beyond one byte, or with an empty item, is left to its message.
    EXPECT_FALSE(reformatByteList("1A,100,", ncHex));
    EXPECT_FALSE(reformatByteList("1A,,", ncHex));
}

TEST(CommandHistory, KeepsTheSixteenNewestOnceEachNewestFirst) {
    CommandHistory history;
    EXPECT_FALSE(history.remember("")) << "an empty box matches the room not used yet";
    for (int i = 1; i <= 17; ++i)
        EXPECT_TRUE(history.remember(QString::number(i) + ','));
    const QStringList list = history.newestFirst();
    ASSERT_EQ(list.size(), CommandHistory::Size);
    EXPECT_EQ(list.first(), "17,");
    EXPECT_EQ(list.last(), "2,") << "the oldest went";
    EXPECT_FALSE(history.remember("5,"));
    EXPECT_EQ(history.newestFirst(), list) << "a command sent again keeps its place";
    EXPECT_TRUE(history.remember("")) << "a full history has no empty room left";
}
