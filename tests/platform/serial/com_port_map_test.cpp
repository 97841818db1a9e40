#include "platform/serial/com_port_map.h"

#include "support/pty_pair.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kst::comm;
using kst::test::linkPort;

namespace {

// A stand-in for a device node.
QString makeNode(const QString& path) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    return path;
}

class ComPortMapTest : public ::testing::Test {
protected:
    QTemporaryDir program;
    QTemporaryDir dev;
    ComPortMap map{program.path()};
};

TEST_F(ComPortMapTest, ResolvesALinkToTheDeviceItPointsAt) {
    const QString device = makeNode(dev.path() + "/ttyUSB0");
    ASSERT_TRUE(linkPort(program.path(), 3, device));
    EXPECT_EQ(map.devicePath(3), device);
    EXPECT_EQ(map.linkPath(3), program.path() + "/ports/COM3");
}

TEST_F(ComPortMapTest, NoDeviceForAMissingOrDanglingLinkAPlainFileOrANumberOutOfRange) {
    ASSERT_TRUE(linkPort(program.path(), 1, dev.path() + "/unplugged"));
    makeNode(program.path() + "/ports/COM2"); // not a link
    makeNode(dev.path() + "/ttyS0");
    ASSERT_TRUE(linkPort(program.path(), 16, dev.path() + "/ttyS0"));
    EXPECT_EQ(map.devicePath(1), QString());
    EXPECT_EQ(map.devicePath(2), QString());
    EXPECT_EQ(map.devicePath(4), QString());
    EXPECT_EQ(map.devicePath(16), dev.path() + "/ttyS0");
    QFile::link(dev.path() + "/ttyS0", program.path() + "/ports/COM17");
    QFile::link(dev.path() + "/ttyS0", program.path() + "/ports/COM0");
    EXPECT_EQ(map.devicePath(0), QString());
    EXPECT_EQ(map.devicePath(17), QString());
}

TEST_F(ComPortMapTest, NewDevicesTakeTheLowestFreeNumbersAndNamedOnesKeepTheirs) {
    const QString a = makeNode(dev.path() + "/a");
    const QString c = makeNode(dev.path() + "/c");
    const QString d = makeNode(dev.path() + "/d");
    const QString unplugged = dev.path() + "/b"; // its link stays, pointing at nothing
    ASSERT_TRUE(linkPort(program.path(), 1, a));
    ASSERT_TRUE(linkPort(program.path(), 3, unplugged));

    EXPECT_EQ(map.linkNewDevices({a, c, unplugged, d}), (QList<int>{2, 4}));
    EXPECT_EQ(map.devicePath(2), c);
    EXPECT_EQ(map.devicePath(4), d);
    EXPECT_EQ(map.devicePath(3), QString());

    makeNode(unplugged); // the adapter comes back under its old number
    EXPECT_TRUE(map.linkNewDevices({a, unplugged, c, d}).isEmpty());
    EXPECT_EQ(map.devicePath(3), unplugged);
}

TEST_F(ComPortMapTest, ALinkThroughAnotherNameOfTheSameNodeNamesIt) {
    const QString node = makeNode(dev.path() + "/ttyUSB0");
    QDir().mkpath(dev.path() + "/serial/by-id");
    const QString byId = dev.path() + "/serial/by-id/usb-Maker_Adapter-if00";
    ASSERT_TRUE(QFile::link("../../ttyUSB0", byId));
    ASSERT_TRUE(linkPort(program.path(), 5, byId));
    EXPECT_TRUE(map.linkNewDevices({node}).isEmpty());
}

TEST_F(ComPortMapTest, CreatesThePortsFolderAndStopsAtSixteen) {
    QStringList nodes;
    for (int i = 0; i < 18; ++i)
        nodes << makeNode(dev.path() + QString("/tty%1").arg(i));
    ASSERT_FALSE(QFileInfo::exists(map.portsDir()));
    const QList<int> given = map.linkNewDevices(nodes);
    ASSERT_EQ(given.size(), 16);
    EXPECT_EQ(given.front(), 1);
    EXPECT_EQ(given.back(), 16);
    EXPECT_EQ(map.devicePath(16), nodes[15]);
    EXPECT_FALSE(QFileInfo::exists(program.path() + "/ports/COM17"));
}

// A /dev and /sys of a machine with three UARTs (one of them the system console),
// a UART node without hardware and four adapters, three with by-id names (one of
// them the console too). Besides, terminals of other drivers: on-chip UARTs
// (ttyAMA*, one the console, one whose node is missing; ttyTHS1, which has a by-id
// name; ttymxc0), a Bluetooth link (rfcomm0), a node in a subfolder (tts/0), and
// nodes without hardware behind them (the virtual console tty1, ttySAC).
class Discovery : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name :
             {"ttyS0",    "ttyS1",   "ttyS2",   "ttyS3",   "ttyS10",  "ttyUSB0", "ttyUSB1",
              "ttyUSB2",  "ttyACM0", "ttySAC",  "console", "ttyAMA0", "ttyAMA1", "ttyAMA2",
              "ttyAMA10", "ttyTHS1", "ttymxc0", "rfcomm0", "tty1",    "tts/0"})
            makeNode(root.path() + "/dev/" + name);
        sysType("ttyS0", "4\n");
        sysType("ttyS1", "0\n");
        sysType("ttyS3", "4\n");
        sysType("ttyS10", "4\n");
        for (const char* name :
             {"ttyS0", "ttyS1", "ttyS2", "ttyS3", "ttyS10", "ttyUSB0", "ttyUSB1", "ttyAMA10",
              "ttyAMA2", "ttyAMA1", "ttyAMA0", "ttyAMA3", "ttyTHS1", "ttymxc0", "rfcomm0", "tts!0"})
            sysDevice(name);
        QDir().mkpath(root.path() + "/sys/class/tty/tty1"); // no device behind it
        QDir().mkpath(root.path() + "/sys/class/tty/console");
        QFile active(root.path() + "/sys/class/tty/console/active");
        active.open(QIODevice::WriteOnly);
        active.write("tty0 ttyS3 ttyUSB2 ttyAMA1\n");
        QDir().mkpath(root.path() + "/dev/serial/by-id");
        byId("usb-B_Serial-if00", "../../ttyUSB1");
        byId("usb-A_Modem-if00", "../../ttyACM0");
        byId("usb-Gone-if00", "../../ttyUSB9");
        byId("usb-Console-if00", "../../ttyUSB2");
        byId("platform-Tegra-uart", "../../ttyTHS1");
    }
    void sysType(const QString& node, const QByteArray& type) {
        QDir().mkpath(root.path() + "/sys/class/tty/" + node);
        QFile file(root.path() + "/sys/class/tty/" + node + "/type");
        file.open(QIODevice::WriteOnly);
        file.write(type);
    }
    // The "device" link the kernel gives a terminal with hardware behind it.
    void sysDevice(const QString& node) {
        const QString hardware = root.path() + "/sys/devices/" + node;
        QDir().mkpath(hardware);
        QDir().mkpath(root.path() + "/sys/class/tty/" + node);
        QFile::link(hardware, root.path() + "/sys/class/tty/" + node + "/device");
    }
    void byId(const QString& name, const QString& target) {
        QFile::link(target, root.path() + "/dev/serial/by-id/" + name);
    }
    QStringList discover() {
        return discoverSerialDevices(root.path() + "/dev", root.path() + "/sys");
    }

    QTemporaryDir root;
};

TEST_F(Discovery, ListsUartsWithHardwareThenByIdNamesThenAdaptersThenOtherHardwareTerminals) {
    const QString dev = root.path() + "/dev/";
    EXPECT_EQ(
        discover(),
        (QStringList{dev + "ttyS0", dev + "ttyS10", dev + "serial/by-id/platform-Tegra-uart",
                     dev + "serial/by-id/usb-A_Modem-if00", dev + "serial/by-id/usb-B_Serial-if00",
                     dev + "ttyUSB0", dev + "rfcomm0", dev + "tts/0", dev + "ttyAMA0",
                     dev + "ttyAMA2", dev + "ttyAMA10", dev + "ttymxc0"}));
}

TEST_F(Discovery, WithoutSysEveryUartIsLeftOutAndAdaptersStillCount) {
    const QString dev = root.path() + "/dev/";
    EXPECT_EQ(
        discoverSerialDevices(root.path() + "/dev", root.path() + "/nosys"),
        (QStringList{dev + "serial/by-id/platform-Tegra-uart",
                     dev + "serial/by-id/usb-A_Modem-if00", dev + "serial/by-id/usb-B_Serial-if00",
                     dev + "serial/by-id/usb-Console-if00", dev + "ttyUSB0"}));
}

TEST_F(Discovery, ListingTwiceGivesNumbersOnlyTheFirstTime) {
    QTemporaryDir program;
    ComPortMap map(program.path());
    EXPECT_EQ(map.linkNewDevices(discover()), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(map.devicePath(4), root.path() + "/dev/serial/by-id/usb-A_Modem-if00");
    EXPECT_EQ(map.devicePath(9), root.path() + "/dev/ttyAMA0");
    EXPECT_TRUE(map.linkNewDevices(discover()).isEmpty());
}

} // namespace
