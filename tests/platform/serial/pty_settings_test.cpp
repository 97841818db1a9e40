#include "platform/serial/comm_control.h"

#include "support/pty_pair.h"

#include <QTemporaryDir>
#include <asm/termbits.h>
#include <gtest/gtest.h>
#include <sys/ioctl.h>

using namespace kst::comm;
using kst::test::linkPort;
using kst::test::PtyPair;

namespace {

struct Applied {
    const char* settings;
    int handshaking;
    speed_t baud;
    bool cstopb;
    bool crtscts;
    bool xonXoff;
};

void PrintTo(const Applied& a, std::ostream* os) {
    *os << a.settings << " handshaking " << a.handshaking;
}

class PtySettings : public ::testing::TestWithParam<Applied> {};

// The master side reads the terminal settings of the slave, which is the port.
// A pseudo-terminal keeps baud, stop bits and flow control; it forces 8 data bits
// without parity, so those are checked in line_settings_test.
termios2 readBack(const PtyPair& pty) {
    termios2 t{};
    EXPECT_EQ(ioctl(pty.master(), TCGETS2, &t), 0);
    return t;
}

void expectApplied(const termios2& t, const Applied& a) {
    EXPECT_EQ(t.c_ospeed, a.baud) << a.settings;
    EXPECT_EQ(t.c_ispeed, a.baud) << a.settings;
    EXPECT_EQ((t.c_cflag & CSTOPB) != 0, a.cstopb) << a.settings;
    EXPECT_EQ((t.c_cflag & CRTSCTS) != 0, a.crtscts) << a.settings;
    EXPECT_EQ((t.c_iflag & IXON) != 0, a.xonXoff) << a.settings;
    EXPECT_EQ((t.c_iflag & IXOFF) != 0, a.xonXoff) << a.settings;
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u) << "raw";
}

TEST_P(PtySettings, ReachTheDeviceOnOpenAndOnAnOpenPort) {
    const Applied& a = GetParam();
    PtyPair pty;
    QTemporaryDir program;
    ASSERT_TRUE(pty.valid());
    ASSERT_TRUE(linkPort(program.path(), 4, pty.slavePath()));
    CommControl port(program.path());
    port.setCommPort(4);

    port.setSettings(a.settings);
    port.setHandshaking(a.handshaking);
    port.setPortOpen(true);
    expectApplied(readBack(pty), a);

    port.setSettings("9600,N,8,1");
    port.setHandshaking(0);
    expectApplied(readBack(pty), {"9600,N,8,1", 0, 9600, false, false, false});
    port.setSettings(a.settings);
    port.setHandshaking(a.handshaking);
    expectApplied(readBack(pty), a);
}

INSTANTIATE_TEST_SUITE_P(Lines, PtySettings,
                         ::testing::Values(Applied{"256000,N,8,1", 0, 256000, false, false, false},
                                           Applied{"110,E,7,1.5", 1, 110, true, false, true},
                                           Applied{"115200,O,8,2", 2, 115200, true, true, false},
                                           Applied{"128000,M,6,1", 3, 128000, false, true, true},
                                           Applied{"14400,S,5,1.5", 0, 14400, true, false, false}));

} // namespace
