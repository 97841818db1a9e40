#include "platform/serial/serial_termios.h"

#include "support/pty_pair.h"

#include <QTemporaryDir>
#include <asm/termbits.h>
#include <cerrno>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <unistd.h>

using namespace kst::comm;
using kst::test::PtyPair;

namespace {

// Mark parity, 7 data bits, two stop bits, both handshakes: every flag that is
// compared is set.
const LineSettings Everything{256000, Parity::Mark, 7, StopBits::Two, Handshake::Both};
const LineSettings Plain{9600, Parity::None, 8, StopBits::One, Handshake::None};

// What a driver did to a request, and whether that must count as not kept, where
// character framing counts and where it does not (a pseudo-terminal).
struct Drift {
    const char* what;
    LineSettings asked;
    std::function<void(termios2&)> change;
    bool refusedWithFraming;
    bool refusedWithoutFraming;
};

void PrintTo(const Drift& d, std::ostream* os) {
    *os << d.what;
}

class TermiosReadBack : public ::testing::TestWithParam<Drift> {};

TEST_P(TermiosReadBack, ComparesWhatTheDriverKeptWithWhatWasAsked) {
    const Drift& d = GetParam();
    termios2 requested{};
    fillTermios(requested, d.asked);
    termios2 actual = requested;
    d.change(actual);
    EXPECT_EQ(!termiosMismatch(requested, actual, true).isEmpty(), d.refusedWithFraming);
    EXPECT_EQ(!termiosMismatch(requested, actual, false).isEmpty(), d.refusedWithoutFraming);
}

INSTANTIATE_TEST_SUITE_P(
    Drivers, TermiosReadBack,
    ::testing::Values(
        Drift{"kept as asked", Everything, [](termios2&) {}, false, false},
        Drift{"rounded 1% down", Everything, [](termios2& t) { t.c_ospeed = t.c_ispeed = 253440; },
              false, false},
        Drift{"rounded 2% up", Everything, [](termios2& t) { t.c_ospeed = t.c_ispeed = 261120; },
              false, false},
        Drift{"kept its old rate", Everything,
              [](termios2& t) { t.c_ospeed = t.c_ispeed = 115200; }, true, true},
        Drift{"sends 3% off", Everything, [](termios2& t) { t.c_ospeed = 248320; }, true, true},
        Drift{"receives 3% off", Everything, [](termios2& t) { t.c_ispeed = 263680; }, true, true},
        Drift{"no rate at all", Plain, [](termios2& t) { t.c_ospeed = 0; }, true, true},
        Drift{"8 data bits", Everything,
              [](termios2& t) { t.c_cflag = (t.c_cflag & ~CSIZE) | CS8; }, true, false},
        Drift{"no parity", Everything, [](termios2& t) { t.c_cflag &= ~PARENB; }, true, false},
        Drift{"space for mark", Everything, [](termios2& t) { t.c_cflag &= ~PARODD; }, true, false},
        Drift{"odd for mark", Everything, [](termios2& t) { t.c_cflag &= ~CMSPAR; }, true, false},
        Drift{"parity added", Plain, [](termios2& t) { t.c_cflag |= PARENB; }, true, false},
        Drift{"odd and mark flags while parity is off", Plain,
              [](termios2& t) { t.c_cflag |= PARODD | CMSPAR; }, false, false},
        Drift{"one stop bit", Everything, [](termios2& t) { t.c_cflag &= ~CSTOPB; }, true, true},
        Drift{"no RTS/CTS", Everything, [](termios2& t) { t.c_cflag &= ~CRTSCTS; }, true, true},
        Drift{"RTS/CTS added", Plain, [](termios2& t) { t.c_cflag |= CRTSCTS; }, true, true},
        Drift{"no XON/XOFF out", Everything, [](termios2& t) { t.c_iflag &= ~IXON; }, true, true},
        Drift{"no XON/XOFF in", Everything, [](termios2& t) { t.c_iflag &= ~IXOFF; }, true, true}));

TEST(TermiosReadBackText, SaysWhatTheDeviceRunsAt) {
    termios2 requested{};
    fillTermios(requested, Everything);
    termios2 actual = requested;
    actual.c_ospeed = 115200;
    const QString text = termiosMismatch(requested, actual, true);
    EXPECT_TRUE(text.contains("115200")) << text.toStdString();
    EXPECT_TRUE(text.contains("256000")) << text.toStdString();
}

// The slave of a pseudo-terminal, opened as a port opens it.
class PtySlaveTermios : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.valid());
        fd = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        ASSERT_GE(fd, 0);
    }
    void TearDown() override {
        if (fd >= 0)
            ::close(fd);
    }
    termios2 current() const {
        termios2 t{};
        EXPECT_EQ(ioctl(fd, TCGETS2, &t), 0);
        return t;
    }

    PtyPair pty;
    int fd = -1;
};

TEST_F(PtySlaveTermios, CarriesWholeBytesSoItsFramingIsNotHeldAgainstIt) {
    EXPECT_FALSE(framesCharacters(fd));
    EXPECT_TRUE(applyTermios(fd, Everything, framesCharacters(fd)).ok());
    EXPECT_EQ(current().c_ospeed, 256000u);
}

TEST_F(PtySlaveTermios, SettingsTheDriverDidNotKeepAreRefusedAndTheOldOnesComeBack) {
    ASSERT_TRUE(applyTermios(fd, Plain, false).ok());
    // A pseudo-terminal drops parity and forces 8 data bits: asked to keep them, it
    // is a driver that ignored part of the request.
    const TermiosOutcome outcome = applyTermios(fd, Everything, true);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_FALSE(outcome.mismatch.isEmpty());
    const termios2 after = current();
    EXPECT_EQ(after.c_ospeed, 9600u) << "not left half-way at the new rate";
    EXPECT_EQ(after.c_cflag & (CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(after.c_iflag & (IXON | IXOFF), 0u);
}

TEST(TermiosFraming, AnyOtherDeviceFramesItsCharacters) {
    const int fd = ::open("/dev/null", O_RDWR);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(framesCharacters(fd));
    EXPECT_EQ(applyTermios(fd, Plain, true).error, ENOTTY);
    ::close(fd);
}

} // namespace
