#include "notation/notation.h"
#include "traffic/rx_text.h"

#include <gtest/gtest.h>

using namespace kst;

namespace {

// "A", CR, LF, a blank, DEL, 0xFF and NUL: printable, control, blank and high bytes.
const QByteArray Block("A\r\n \x7F\xFF\0", 7);

} // namespace

TEST(RxDisplayText, ThePlainViewWritesTheByteListOfTheNotation) {
    EXPECT_EQ(RxDisplayText(Block, ncDec, false), "65,13,10,32,127,255,0,");
    EXPECT_EQ(RxDisplayText(Block, ncHex, false), "41,D,A,20,7F,FF,0,");
    EXPECT_EQ(RxDisplayText(Block, ncOct, false), "101,15,12,40,177,377,0,");
    EXPECT_EQ(RxDisplayText(Block, ncBin, false), "1000001,1101,1010,100000,1111111,11111111,0,");
    EXPECT_EQ(RxDisplayText(Block, ncAscii, false),
              QString::fromLatin1("A\r\n \x7F") + QChar(0xFF) + QChar(0));
}

TEST(RxDisplayText, TheFormattedViewPadsEachItemAndNamesControlCodes) {
    EXPECT_EQ(RxDisplayText(Block, ncDec, true), "065 013 010 032 127 255 000 ");
    EXPECT_EQ(RxDisplayText(Block, ncHex, true), "41 0D 0A 20 7F FF 00 ");
    EXPECT_EQ(RxDisplayText(Block, ncOct, true), "101 015 012 040 177 377 000 ");
    EXPECT_EQ(RxDisplayText(Block, ncBin, true),
              "01000001 00001101 00001010 00100000 01111111 11111111 00000000 ");
    EXPECT_EQ(RxDisplayText(Block, ncAscii, true), "A<CR><LF><Space><Delete><(FF)><NUL>");
}

TEST(RxMatchText, AsciiKeepsTheRawTextEveryOtherNotationAHexList) {
    EXPECT_EQ(RxMatchText("OK\r\n", ncAscii), "OK\r\n");
    for (int notation : {ncDec, ncHex, ncOct, ncBin})
        EXPECT_EQ(RxMatchText("OK\r\n", notation), "4F,4B,D,A,") << notation;
}

TEST(RxDisplayText, EveryByteReadsAsTheNotationRoutinesWriteIt) {
    QByteArray all;
    for (int byte = 0; byte < 256; ++byte)
        all.append(char(byte));
    const QString lists[] = {StrToDecList(all), StrToHexList(all), StrToOctList(all),
                             StrToBinList(all)};
    for (int notation : {ncDec, ncHex, ncOct, ncBin}) {
        EXPECT_EQ(RxDisplayText(all, notation, false), lists[notation]) << notation;
        EXPECT_EQ(RxDisplayText(all, notation, true), PadByteList(lists[notation], notation))
            << notation;
    }
    EXPECT_EQ(RxDisplayText(all, ncAscii, true), ToAsciiWithNames(all));
    EXPECT_EQ(RxMatchText(all, ncHex), lists[ncHex]);
}
