#include "notation/line_codec.h"
#include "notation/notation.h"
#include "platform/runtime_error.h"
#include "support/fakes.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (int v : values)
        result.append(static_cast<char>(v));
    return result;
}

QByteArray allBytes() {
    QByteArray result;
    for (int b = 0; b < 256; ++b)
        result.append(static_cast<char>(b));
    return result;
}

} // namespace

TEST(LineCodec, EveryByteRoundTripsThroughOneCharacter) {
    const QByteArray all = allBytes();
    const QString text = LineCodec::toText(all);
    ASSERT_EQ(text.size(), 256);
    EXPECT_EQ(LineCodec::toBytes(text), all);
    EXPECT_EQ(text[0x80], QChar(0x20AC)); // the euro sign of the single-byte code page
    EXPECT_EQ(text[0x41], QChar(u'A'));
    EXPECT_EQ(LineCodec::toBytes(QString(QChar(0x4E2D))), QByteArray("?"));
}

TEST(ByteStringLists, EachNotationWritesEveryByteWithItsComma) {
    const QByteArray data = bytes({0x00, 0x0A, 0xFF});
    EXPECT_EQ(StrToHexList(data), "0,A,FF,");
    EXPECT_EQ(StrToDecList(data), "0,10,255,");
    EXPECT_EQ(StrToOctList(data), "0,12,377,");
    EXPECT_EQ(StrToBinList(data), "0,1010,11111111,");
    EXPECT_EQ(StrToDecList(QByteArray("A\r\n")), "65,13,10,");
    EXPECT_EQ(StrToHexList(QByteArray()), "");
}

TEST(ByteStringLists, HexListOfEveryByteConvertsBackToTheSameBytes) {
    const QByteArray all = allBytes();
    const auto back = ConvertHexList(StrToHexList(all), ncAscii);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(LineCodec::toBytes(*back), all);
    EXPECT_EQ(ConvertHexList(StrToHexList(all), ncDec), StrToDecList(all));
    EXPECT_EQ(ConvertHexList(StrToHexList(all), ncOct), StrToOctList(all));
    EXPECT_EQ(ConvertHexList(StrToHexList(all), ncBin), StrToBinList(all));
}

TEST(ToAsciiWithNames, NamesControlsBlankDeleteAndHighBytes) {
    EXPECT_EQ(ToAsciiWithNames(bytes({'A', ' ', 13, 0x7F, 0x80})), "A<Space><CR><Delete><(80)>");
    EXPECT_EQ(ToAsciiWithNames(bytes({0, 31, 0xFF, '~', '!'})), "<NUL><US><(FF)>~!");
    EXPECT_EQ(ToAsciiWithNames(QByteArray()), "");
}

TEST(BinaryText, LongToBinStrAndBinStrToLongAtTheEdges) {
    struct Case {
        qint32 value;
        const char* bits;
    } cases[] = {{0, "0"},
                 {5, "101"},
                 {255, "11111111"},
                 {256, "100000000"},
                 {2147483647, "1111111111111111111111111111111"},
                 {-1, "11111111111111111111111111111111"},
                 {qint32(0x80000000u), "10000000000000000000000000000000"}};
    for (const auto& c : cases) {
        EXPECT_EQ(LongToBinStr(c.value), c.bits) << c.value;
        EXPECT_EQ(BinStrToLong(c.bits), c.value) << c.bits;
    }
    EXPECT_EQ(BinStrToLong(""), 0);
    // zeros beyond 32 places are harmless, a one there is not
    EXPECT_EQ(BinStrToLong("0000000000000000000000000000000000000101"), 5);
    EXPECT_EQ(test::errorNumberOf([] { BinStrToLong("1" + QString(32, u'0')); }),
              err::SubscriptOutOfRange);
    EXPECT_EQ(test::errorNumberOf([] { BinStrToLong("102"); }), err::InvalidCall);
    EXPECT_EQ(test::errorNumberOf([] { PowerOfTwo(32); }), err::SubscriptOutOfRange);
    EXPECT_EQ(test::errorNumberOf([] { PowerOfTwo(-1); }), err::SubscriptOutOfRange);
    EXPECT_EQ(PowerOfTwo(30), 1 << 30);
}

TEST(HexToByte, AcceptsOneByteAndReportsMoreWithoutShowingIt) {
    test::RecordingMessageBoxes boxes;
    ConversionIssues issues;
    EXPECT_EQ(HexToByte("FF", &issues), 255);
    EXPECT_EQ(HexToByte("ff", &issues), 255);
    EXPECT_EQ(HexToByte("0000FF", &issues), 255);
    EXPECT_EQ(HexToByte(" 1A", &issues), 0x1A);
    EXPECT_EQ(HexToByte("1Azz", &issues), 0x1A);
    EXPECT_EQ(HexToByte("", &issues), 0);
    EXPECT_FALSE(issues.any());

    EXPECT_EQ(HexToByte("100", &issues), 0);
    EXPECT_EQ(HexToByte("123456789ABCDEF", &issues), 0);
    EXPECT_EQ(issues.outOfRangeItems, 2);
    EXPECT_TRUE(boxes.boxes().isEmpty());

    showConversionIssues(issues);
    ASSERT_EQ(boxes.boxes().size(), 2);
    EXPECT_EQ(boxes.boxes()[0].text, "Invalid data: operand must be within 1 byte!");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.boxes()[0].title, appTitle());
}

TEST(HexToOctNum, WritesOctalDigitsAsADecimalNumber) {
    EXPECT_EQ(HexToOctNum("41"), 101);
    EXPECT_EQ(HexToOctNum("FF"), 377);
    EXPECT_EQ(HexToOctNum("8"), 10);
    EXPECT_EQ(test::errorNumberOf([] { HexToOctNum("100"); }), err::InvalidCall);
}

TEST(ByteListItems, OnlyCommaTerminatedItemsCountEmptyOnesIncluded) {
    EXPECT_EQ(ByteListItems("41,,A"), QStringList({"41", ""}));
    EXPECT_EQ(ByteListItems(" 1,2 ,"), QStringList({" 1", "2 "})) << "blanks are kept";
    EXPECT_TRUE(ByteListItems("1A").isEmpty());
    EXPECT_TRUE(ByteListItems("").isEmpty());
}

TEST(ConvertHexList, ConvertsCommaTerminatedItemsOnly) {
    test::RecordingMessageBoxes boxes;
    EXPECT_EQ(ConvertHexList("41,42", ncAscii), "A");
    EXPECT_EQ(ConvertHexList("41,0a,", ncHex), "41,0a,");
    EXPECT_EQ(ConvertHexList(",", ncDec), "0,");
    EXPECT_EQ(ConvertHexList("41,D,A,", ncOct), "101,15,12,");
    EXPECT_EQ(ConvertHexList("0,D,", ncAscii), QString(QChar(0)) + QChar(13));
    EXPECT_EQ(ConvertHexList("41,", 9), "");
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST(ConvertHexList, AnItemAboveOneByteStandsAsZeroOrEndsTheOctalConversion) {
    test::RecordingMessageBoxes boxes;
    ConversionIssues issues;
    EXPECT_EQ(ConvertHexList("1FF,", ncDec, &issues), "0,");
    EXPECT_EQ(issues.outOfRangeItems, 1);
    EXPECT_FALSE(issues.failure);

    ConversionIssues octal;
    EXPECT_FALSE(ConvertHexList("41,1FF,", ncOct, &octal).has_value());
    ASSERT_TRUE(octal.failure);
    EXPECT_EQ(octal.outOfRangeItems, 0);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    showConversionIssues(octal);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].title, "HexStr_2_Others Error:");
    EXPECT_EQ(boxes.boxes()[0].text,
              "Error Number: 5\nDescription: Invalid procedure call or argument");
    EXPECT_EQ(boxes.boxes()[0].icon, MsgIcon::Exclamation);
}

TEST(IsValidDigits, EachNotationAdmitsOnlyItsDigits) {
    struct Case {
        const char* text;
        int notation;
        bool valid;
    } cases[] = {{"", ncDec, false},    {"", ncAscii, false},    {"0123456789", ncDec, true},
                 {"12a", ncDec, false}, {"09afAF", ncHex, true}, {"1g", ncHex, false},
                 {"07", ncOct, true},   {"8", ncOct, false},     {"0110", ncBin, true},
                 {"2", ncBin, false},   {"x", ncAscii, true},    {"1,", ncDec, false},
                 {"x", 7, true}};
    for (const auto& c : cases)
        EXPECT_EQ(IsValidDigits(c.text, c.notation), c.valid) << c.text << " in " << c.notation;
}

TEST(ValidateByteList, ItemsMustBeDigitsOfTheNotationWithinOneByte) {
    struct Case {
        const char* text;
        int notation;
        bool valid;
    } cases[] = {
        {"", ncDec, true},
        {"300", ncDec, true}, // no comma-terminated item
        {"255,0,", ncDec, true},
        {"255,256,", ncDec, false},
        {"12,,", ncHex, false},
        {"FF,ff,0,", ncHex, true},
        {"100,", ncHex, false},
        {"FFFF,", ncHex, false},
        {"377,", ncOct, true},
        {"400,", ncOct, false},
        {"8,", ncOct, false},
        {"11111111,", ncBin, true},
        {"111111111,", ncBin, false},
        {"12,", ncBin, false},
        {",,", ncAscii, true},
        {" 1A ,\t2B,", ncHex, true}, // blanks around an item are allowed
        {"41,G,", ncHex, false},     // no digit at all: would have sent a 0 nobody typed
        {"-1,", ncDec, false},
        {"4 1,", ncHex, false},
        {"41,xyz", ncHex, true}, // text after the last comma is never looked at
        {"99999999999999999999,", ncDec, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValidateByteList(c.text, c.notation), c.valid)
            << '"' << c.text << "\" in " << c.notation;
}

TEST(ValidateByteList, WhatPassesConvertsToTheValueTyped) {
    test::RecordingMessageBoxes boxes;
    // Blanks around an item pass and read as nothing; any other white space is refused,
    // since the readers would take it for the end of the number and send a 0.
    struct Case {
        QString item;
        bool valid;
    } cases[] = {{" 41 ", true},
                 {"\t41", true},
                 {"41\t ", true},
                 {"\n41", false},
                 {"41\r", false},
                 {QString(QChar(0xA0)) + "41", false},
                 {QString("\v") + "41", false}};
    for (const auto& c : cases) {
        const QString list = c.item + ",";
        ASSERT_EQ(ValidateByteList(list, ncHex), c.valid) << list.toStdString();
        if (c.valid) {
            EXPECT_EQ(ConvertHexList(list, ncDec), "65,") << list.toStdString();
        }
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST(ReverseBitOrder, ReversesTheFirstEightBits) {
    EXPECT_EQ(ReverseBitOrder("1"), 10000000);
    EXPECT_EQ(ReverseBitOrder("11000000"), 11);
    EXPECT_EQ(ReverseBitOrder("00000000"), 0);
    EXPECT_EQ(ReverseBitOrder("10110000"), 1101);
    EXPECT_EQ(ReverseBitOrder("111111110"), 11111111); // only the first eight count
    EXPECT_EQ(test::errorNumberOf([] { ReverseBitOrder("1x"); }), err::TypeMismatch);
}

TEST(PadByteList, ZeroFillsEachItemAndSeparatesWithBlanks) {
    EXPECT_EQ(PadByteList("41,A,D,", ncHex), "41 0A 0D ");
    EXPECT_EQ(PadByteList("65,7,", ncDec), "065 007 ");
    EXPECT_EQ(PadByteList(",", ncHex), "00 ");
    EXPECT_EQ(PadByteList("1,10,", ncBin), "00000001 00000010 ");
    EXPECT_EQ(PadByteList("1234,", ncHex), "1234 ");
    EXPECT_EQ(PadByteList("7,", ncOct), "007 ");
    EXPECT_EQ(PadByteList("7,8", ncAscii), "7 ");
}

TEST(LongTexts, RoutinesHandleTextsBeyondSixteenBitLengths) {
    QByteArray block(100000, '\xAB');
    const QString hex = StrToHexList(block);
    EXPECT_EQ(hex.size(), 300000);
    EXPECT_TRUE(ValidateByteList(hex, ncHex));
    const auto back = ConvertHexList(hex, ncAscii);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(LineCodec::toBytes(*back), block);
    EXPECT_EQ(PadByteList(hex, ncHex).size(), 300000);
}
