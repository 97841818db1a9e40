#include "platform/serial/line_settings.h"
#include "platform/serial/serial_termios.h"

#include <asm/termbits.h>
#include <gtest/gtest.h>

using namespace kst::comm;

namespace {

struct ParseCase {
    const char* text;
    int baud;
    Parity parity;
    int dataBits;
    StopBits stopBits;
    const char* canonical;
};

void PrintTo(const ParseCase& c, std::ostream* os) {
    *os << '"' << c.text << '"';
}

class SettingsTextParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(SettingsTextParse, ReadsTheFourValuesAndWritesThemBack) {
    const ParseCase& c = GetParam();
    const auto parsed = SettingsText::parse(c.text);
    ASSERT_TRUE(parsed) << c.text;
    EXPECT_EQ(parsed->baud, c.baud);
    EXPECT_EQ(parsed->parity, c.parity);
    EXPECT_EQ(parsed->dataBits, c.dataBits);
    EXPECT_EQ(parsed->stopBits, c.stopBits);
    EXPECT_EQ(SettingsText::format(*parsed), QString(c.canonical));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsTextParse,
    ::testing::Values(
        ParseCase{"9600,N,8,1", 9600, Parity::None, 8, StopBits::One, "9600,N,8,1"},
        ParseCase{"110,e,7,1.5", 110, Parity::Even, 7, StopBits::OneAndHalf, "110,E,7,1.5"},
        ParseCase{" 256000 , O , 5 , 2 ", 256000, Parity::Odd, 5, StopBits::Two, "256000,O,5,2"},
        ParseCase{"19200,M,6,1", 19200, Parity::Mark, 6, StopBits::One, "19200,M,6,1"},
        ParseCase{"56000,s,8,2", 56000, Parity::Space, 8, StopBits::Two, "56000,S,8,2"},
        // A valid text; the platform refuses it only when the port opens.
        ParseCase{"9600,N,4,1", 9600, Parity::None, 4, StopBits::One, "9600,N,4,1"}));

TEST(SettingsText, RefusesTextsNotOfTheForm) {
    for (const char* text : {"",
                             "9600",
                             "9600,N,8",
                             "9600,N,8,1,1",
                             "9600,X,8,1",
                             "9600,NN,8,1",
                             "9600,,8,1",
                             "9600,N,9,1",
                             "9600,N,3,1",
                             "9600,N,8,3",
                             "9600,N,8,1.0",
                             "9600,N,8,0",
                             "-9600,N,8,1",
                             "+9600,N,8,1",
                             "0x2580,N,8,1",
                             "96 00,N,8,1",
                             "49,N,8,1",
                             "4000001,N,8,1",
                             "99999999999,N,8,1",
                             "9600;N;8;1"}) {
        EXPECT_FALSE(SettingsText::parse(text)) << text;
    }
}

TEST(SettingsText, KeepsTheHandshakingOfTheBase) {
    LineSettings base;
    base.handshake = Handshake::Both;
    const auto parsed = SettingsText::parse("1200,E,7,2", base);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->handshake, Handshake::Both);
}

TEST(SettingsText, OnlyFiveToEightDataBitsRunOnThisPlatform) {
    for (int bits = 4; bits <= 8; ++bits) {
        LineSettings s;
        s.dataBits = bits;
        EXPECT_EQ(unsupportedReason(s).isEmpty(), bits >= 5) << bits;
    }
}

struct TermiosCase {
    LineSettings settings;
    tcflag_t size;
    tcflag_t parityBits; // of PARENB | PARODD | CMSPAR
    bool twoStopBits;
    bool crtscts;
    bool xonXoff;
};

LineSettings line(int baud, Parity parity, int bits, StopBits stop, Handshake hs) {
    return {baud, parity, bits, stop, hs};
}

void PrintTo(const TermiosCase& c, std::ostream* os) {
    *os << SettingsText::format(c.settings).toStdString() << " handshaking "
        << static_cast<int>(c.settings.handshake);
}

class Termios : public ::testing::TestWithParam<TermiosCase> {};

TEST_P(Termios, DescribesARawLineWithTheSettings) {
    const TermiosCase& c = GetParam();
    termios2 t{};
    t.c_lflag = ICANON | ECHO | ISIG; // what a fresh terminal has
    t.c_oflag = OPOST | ONLCR;
    t.c_iflag = ICRNL | IXANY;
    fillTermios(t, c.settings);

    EXPECT_EQ(t.c_cflag & CSIZE, c.size);
    EXPECT_EQ(t.c_cflag & (PARENB | PARODD | CMSPAR), c.parityBits);
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.twoStopBits);
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, c.crtscts);
    EXPECT_EQ((t.c_iflag & (IXON | IXOFF)) == (IXON | IXOFF), c.xonXoff);
    EXPECT_EQ((t.c_iflag & IXON) != 0, c.xonXoff);
    EXPECT_EQ((t.c_iflag & INPCK) != 0, c.settings.parity != Parity::None);
    EXPECT_EQ(t.c_cflag & CBAUD, tcflag_t(BOTHER));
    EXPECT_EQ(t.c_ospeed, speed_t(c.settings.baud));
    EXPECT_EQ(t.c_ispeed, speed_t(c.settings.baud));
    EXPECT_TRUE(t.c_cflag & CLOCAL) << "a modem line must not hang the port up";
    EXPECT_TRUE(t.c_cflag & CREAD);
    EXPECT_EQ(t.c_lflag, 0u);
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXANY | ISTRIP), 0u);
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, Termios,
    ::testing::Values(
        TermiosCase{line(9600, Parity::None, 8, StopBits::One, Handshake::None), CS8, 0, false,
                    false, false},
        TermiosCase{line(110, Parity::Even, 7, StopBits::OneAndHalf, Handshake::XonXoff), CS7,
                    PARENB, true, false, true},
        TermiosCase{line(256000, Parity::Odd, 6, StopBits::Two, Handshake::RtsCts), CS6,
                    PARENB | PARODD, true, true, false},
        TermiosCase{line(56000, Parity::Mark, 5, StopBits::OneAndHalf, Handshake::Both), CS5,
                    PARENB | PARODD | CMSPAR, true, true, true},
        TermiosCase{line(128000, Parity::Space, 8, StopBits::One, Handshake::None), CS8,
                    PARENB | CMSPAR, false, false, false}));

} // namespace
