#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kst::comm {

// The COM numbers of this machine. A Linux device has no COM number, so the
// program folder holds a folder ports/ with a symbolic link COMn (n = 1..16) for
// each number in use, pointing at the device that COMn stands for. Users may
// re-point a link by hand; tests point them at pseudo-terminals.
class ComPortMap {
public:
    static constexpr int FirstPort = 1;
    static constexpr int LastPort = 16;

    explicit ComPortMap(const QString& programDir);

    QString portsDir() const { return portsDir_; }
    // <program folder>/ports/COMn, whether it exists or not.
    QString linkPath(int port) const;
    // The device COMn stands for; empty when n is out of range, there is no link or
    // the link points at nothing (an adapter that is unplugged).
    QString devicePath(int port) const;
    // Gives every candidate device that no link names yet the lowest free number
    // and a new link, in the order of the list; returns the numbers given. A link
    // names a device when it points at that path or at the same device node. A
    // number whose link points at nothing stays taken, so an adapter that comes
    // back gets its old number. Devices beyond the 16th number get none.
    QList<int> linkNewDevices(const QStringList& candidates);
    // The same for the devices present on this machine (discoverSerialDevices()):
    // what the program does each time it lists the ports.
    QList<int> linkNewDevices();

private:
    QString portsDir_;
};

// The serial devices present on the machine, in the order they should take
// numbers: the UARTs /dev/ttyS* that have hardware behind them (the kernel creates
// those nodes whether or not; its "type" attribute in /sys/class/tty tells, so no
// port is opened to find out), then the adapters under /dev/serial/by-id by name
// (a name that follows the adapter from socket to socket), then any /dev/ttyUSB*
// and /dev/ttyACM* that no by-id name stands for, then the other terminals the
// kernel knows hardware behind (a "device" link in /sys/class/tty: ttyAMA*,
// ttyTHS*, ttymxc*, rfcomm* ...) in name order. A terminal that carries the
// system console (/sys/class/tty/console/active) is left out: probing it would
// change the console's line settings. The roots are parameters for the tests.
QStringList discoverSerialDevices(const QString& devRoot = QStringLiteral("/dev"),
                                  const QString& sysRoot = QStringLiteral("/sys"));

} // namespace kst::comm
