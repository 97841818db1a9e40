#include "platform/serial/posix_serial_device.h"

#include "platform/serial/comm_codes.h"
#include "support/pty_pair.h"

#include <QDeadlineTimer>
#include <asm/termbits.h>
#include <atomic>
#include <chrono>
#include <future>
#include <gtest/gtest.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

using namespace kst::comm;
using kst::RunTimeError;
using kst::test::PtyPair;

namespace {

class QuietSink : public DeviceSink {
public:
    void received(const char*, qsizetype) override {}
    void event(int) override {}
    void lost() override {}
};

LineSettings withHandshake(Handshake handshake) {
    LineSettings settings;
    settings.handshake = handshake;
    return settings;
}

// The line's settings at the moment the descriptor was handed to the kernel's close.
struct AtClose {
    bool rtsCts = false;
    bool xonOut = false;
};

struct Held {
    Handshake handshake;
    bool farEndSaysXoff;
};

void PrintTo(const Held& h, std::ostream* os) {
    *os << "handshaking " << static_cast<int>(h.handshake) << (h.farEndSaysXoff ? ", XOFF" : "");
}

class ClosingAHeldLine : public ::testing::TestWithParam<Held> {};

// The kernel's close waits until the line has sent what the driver holds: a line held off
// by its handshake would hold the close. Output not yet sent goes, and the handshake
// lets go, before the descriptor is closed.
TEST_P(ClosingAHeldLine, DropsTheUnsentOutputAndLetsGoOfTheHandshakeBeforeTheClose) {
    const Held held = GetParam();
    PtyPair pty;
    ASSERT_TRUE(pty.valid());
    // Shared with the closing thread, which may outlive a slow test.
    auto atClose = std::make_shared<std::promise<AtClose>>();
    std::future<AtClose> closed = atClose->get_future();
    PosixSerialDevice device(
        pty.slavePath(), PosixSerialDevice::DefaultOutputCapacity, [atClose](int fd) {
            termios2 t{};
            ioctl(fd, TCGETS2, &t);
            atClose->set_value(AtClose{(t.c_cflag & CRTSCTS) != 0, (t.c_iflag & IXON) != 0});
            ::close(fd);
        });
    QuietSink sink;
    device.open(withHandshake(held.handshake), true, true, sink);
    if (held.farEndSaysXoff) {
        ASSERT_TRUE(pty.write(QByteArray(1, '\x13')));
        // The terminal stops its output once its input has taken the XOFF.
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ASSERT_EQ(device.write(QByteArray(2000, 'h')), WriteResult::Queued);
    const QByteArray beforeClose = pty.read(2000, held.farEndSaysXoff ? 300 : 5000);
    device.close();
    ASSERT_EQ(closed.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    const AtClose line = closed.get();
    EXPECT_FALSE(line.rtsCts);
    EXPECT_FALSE(line.xonOut);
    if (held.farEndSaysXoff) {
        EXPECT_TRUE(beforeClose.isEmpty()) << "the far end said XOFF";
        EXPECT_TRUE(pty.read(1, 300).isEmpty()) << "what was held back was dropped, not sent";
    } else {
        EXPECT_EQ(beforeClose, QByteArray(2000, 'h'));
    }
}

INSTANTIATE_TEST_SUITE_P(Handshakes, ClosingAHeldLine,
                         ::testing::Values(Held{Handshake::None, false},
                                           Held{Handshake::RtsCts, false},
                                           Held{Handshake::XonXoff, true},
                                           Held{Handshake::Both, true}));

// A kernel whose close waits (output that an adapter holds, up to the line's closing
// wait): the caller, the window's thread, goes on after a moment, and the device cannot
// be opened again until that close has ended, instead of waiting in the kernel's open.
TEST(ClosingSlowly, AKernelCloseThatTakesItsTimeHoldsTheCallerOnlyAMoment) {
    PtyPair pty;
    ASSERT_TRUE(pty.valid());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    auto ended = std::make_shared<std::atomic<bool>>(false);
    QuietSink sink;
    {
        PosixSerialDevice slow(pty.slavePath(), PosixSerialDevice::DefaultOutputCapacity,
                               [released, ended](int fd) {
                                   released.wait_for(std::chrono::seconds(20));
                                   ::close(fd);
                                   *ended = true;
                               });
        slow.open(withHandshake(Handshake::RtsCts), true, true, sink);
        ASSERT_EQ(slow.write("still to go"), WriteResult::Queued);
        slow.close();
        EXPECT_FALSE(*ended) << "close() returned while the kernel's close still waits";
    }

    PosixSerialDevice again(pty.slavePath());
    try {
        again.open(LineSettings{}, true, true, sink);
        ADD_FAILURE() << "opened while its last close had not ended";
        again.close();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), err::PortAlreadyOpen);
        EXPECT_EQ(e.description(),
                  "Port already open (" + pty.slavePath() + ": its last close has not ended yet)")
            << e.description().toStdString();
    }
    EXPECT_FALSE(*ended);

    release.set_value();
    const QDeadlineTimer deadline(10000);
    bool opened = false;
    while (!opened && !deadline.hasExpired()) {
        try {
            again.open(LineSettings{}, true, true, sink);
            opened = true;
        } catch (const RunTimeError& e) {
            ASSERT_EQ(e.number(), err::PortAlreadyOpen);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    EXPECT_TRUE(opened) << "the port opens once the close has ended";
    EXPECT_TRUE(*ended);
    ASSERT_EQ(again.write("next"), WriteResult::Queued);
    EXPECT_EQ(pty.read(4), QByteArray("next"));
    again.close();
}

} // namespace
