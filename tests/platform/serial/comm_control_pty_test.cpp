#include "platform/serial/comm_control.h"

#include "serial_test_support.h"
#include "support/pty_pair.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>

using namespace kst::comm;
using kst::test::errorNumberOf;
using kst::test::linkPort;
using kst::test::PtyPair;
using kst::test::settle;

namespace {

// The file descriptors this process holds.
qsizetype openFds() {
    return QDir("/proc/self/fd")
        .entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
        .size();
}

// Whether another open of the device could take its lock now.
bool lockIsFree(const QString& path) {
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0)
        return false;
    const bool free = flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

QByteArray everyByteValue() {
    QByteArray bytes;
    for (int i = 0; i < 256; ++i)
        bytes.append(char(i));
    return bytes;
}

// A port COM2 of a temporary program folder, linked to a fresh pseudo-terminal.
class PtyPort : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty.valid());
        ASSERT_TRUE(linkPort(program.path(), 2, pty.slavePath()));
        port.setCommPort(2);
        QObject::connect(&port, &CommControl::OnComm,
                         [this] { codes.push_back(port.CommEvent()); });
    }

    PtyPair pty;
    QTemporaryDir program;
    CommControl port{program.path()};
    std::vector<int> codes;
};

TEST_F(PtyPort, CarriesEveryByteValueBothWays) {
    port.setPortOpen(true);
    const QByteArray bytes = everyByteValue();

    ASSERT_TRUE(pty.write(bytes));
    // The receive event is awaited before reading: taking the bytes first would leave the
    // event, when it comes, with nothing to announce.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::find(codes.begin(), codes.end(), comEvReceive) != codes.end(); }, 5000));
    QByteArray received;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            received += port.Input();
            return received.size() >= bytes.size();
        },
        5000));
    EXPECT_EQ(received, bytes);

    port.Output(bytes);
    EXPECT_EQ(pty.read(bytes.size()), bytes);
}

TEST_F(PtyPort, ASecondOpenHereOrFromAnotherProgramIs8005) {
    port.setPortOpen(true);
    CommControl second(program.path());
    second.setCommPort(2);
    EXPECT_EQ(errorNumberOf([&] { second.setPortOpen(true); }), err::PortAlreadyOpen);
    EXPECT_FALSE(second.PortOpen());

    port.setPortOpen(false);
    const int other = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX | LOCK_NB), 0);
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::PortAlreadyOpen);
    ::close(other);
    port.setPortOpen(true);
    EXPECT_TRUE(port.PortOpen());
}

TEST_F(PtyPort, TheFarEndClosingIsReportedOnceAndClosesThePort) {
    port.setPortOpen(true);
    ASSERT_TRUE(pty.write("last words"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !codes.empty(); }, 5000));
    pty.closeMaster();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.PortOpen(); }, 5000));
    settle();
    EXPECT_EQ(std::count(codes.begin(), codes.end(), comEventPortLost), 1);
    EXPECT_EQ(codes.back(), comEventPortLost);
    EXPECT_EQ(port.Input(), QByteArray("last words"));
    // No reopening is tried here: the kernel hands the vanished terminal's number to the
    // next pseudo-terminal made, and tests running beside this one make them.
}

TEST_F(PtyPort, OutputOnceTheDeviceHasGoneRaises8018EvenBeforeTheLossIsDelivered) {
    port.setPortOpen(true);
    pty.closeMaster();
    // No event processing here: the reader thread learns of the loss, the control
    // has not heard it yet. Output queued now could never be sent.
    int error = 0;
    const QDeadlineTimer deadline(5000);
    while (error == 0 && !deadline.hasExpired()) {
        error = errorNumberOf([&] { port.Output("into the void"); });
        if (error == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(error, err::PortNotOpen);
    EXPECT_TRUE(port.PortOpen()) << "the loss itself is still on its way";
    ASSERT_TRUE(QTest::qWaitFor([&] { return !port.PortOpen(); }, 5000));
    settle();
    EXPECT_EQ(codes, std::vector<int>{comEventPortLost});
}

TEST_F(PtyPort, AFailedOpenHoldsNothing) {
    const qsizetype fdsBefore = openFds();
    port.setSettings("9600,N,4,1");
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::CommStateInvalid);
    EXPECT_EQ(openFds(), fdsBefore);
    EXPECT_TRUE(lockIsFree(pty.slavePath()));
    CommControl second(program.path());
    second.setCommPort(2);
    second.setPortOpen(true);
    EXPECT_TRUE(second.PortOpen());
}

TEST_F(PtyPort, PortsWithoutAUsableDeviceGiveTheirOwnErrors) {
    const qsizetype fdsBefore = openFds();
    port.setCommPort(7); // no link
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::InvalidPortNumber);
    ASSERT_TRUE(linkPort(program.path(), 8, program.path() + "/unplugged"));
    port.setCommPort(8);
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::InvalidPortNumber);
    QFile plain(program.path() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(linkPort(program.path(), 9, plain.fileName()));
    port.setCommPort(9);
    EXPECT_EQ(errorNumberOf([&] { port.setPortOpen(true); }), err::HardwareNotAvailable);
    EXPECT_FALSE(port.PortOpen());
    EXPECT_EQ(openFds(), fdsBefore);
    EXPECT_TRUE(lockIsFree(plain.fileName())) << "the lock taken before the refusal is given back";
}

TEST(PtyPortBuffer, AFullInputBufferDropsTheRestWithTheOverflowEvent) {
    PtyPair pty;
    QTemporaryDir program;
    ASSERT_TRUE(linkPort(program.path(), 1, pty.slavePath()));
    CommControl port(CommControl::portsFolderDevices(program.path()), nullptr, 1000);
    std::vector<int> codes;
    QObject::connect(&port, &CommControl::OnComm, [&] { codes.push_back(port.CommEvent()); });
    port.setPortOpen(true);
    ASSERT_TRUE(pty.write(QByteArray(3000, 'x')));
    ASSERT_TRUE(QTest::qWaitFor([&] { return port.droppedInputBytes() == 2000; }, 5000));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return std::find(codes.begin(), codes.end(), comEventRxOver) != codes.end(); },
        5000));
    EXPECT_EQ(port.Input(), QByteArray(1000, 'x'));
}

} // namespace

TEST_F(PtyPort, PresenceIsFoundWithoutOpeningAndCountsAPortHeldElsewhere) {
    QFile plain(program.path() + "/plain");
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    ASSERT_TRUE(linkPort(program.path(), 9, plain.fileName()));
    ASSERT_TRUE(linkPort(program.path(), 8, program.path() + "/unplugged"));
    const qsizetype fdsBefore = openFds();
    EXPECT_TRUE(port.portPresent(2));
    EXPECT_EQ(openFds(), fdsBefore) << "nothing was opened to find the port";
    EXPECT_FALSE(port.portPresent(7)); // no link
    EXPECT_FALSE(port.portPresent(8)); // a link to nothing
    EXPECT_FALSE(port.portPresent(9)); // not a terminal
    EXPECT_FALSE(port.portPresent(17));

    CommControl other(program.path());
    other.setCommPort(2);
    other.setPortOpen(true);
    EXPECT_TRUE(port.portPresent(2)) << "held by another port";
}
