#include "com_port_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>

namespace kst::comm {

namespace {

// A terminal name split into its stem and trailing number, so that names sort as
// people count: ttyAMA2 before ttyAMA10. A name without a number has -1.
std::pair<QString, int> numberedName(const QString& name) {
    qsizetype stem = name.size();
    while (stem > 0 && name[stem - 1].isDigit())
        --stem;
    bool ok = false;
    const int number = name.mid(stem).toInt(&ok);
    return {name.left(stem), ok ? number : -1};
}

// Nodes named <prefix><number> in dir, in numeric order.
QStringList numberedNodes(const QString& dir, const QString& prefix) {
    QList<std::pair<int, QString>> found;
    const QStringList names =
        QDir(dir).entryList({prefix + "*"}, QDir::System | QDir::Files | QDir::NoDotAndDotDot);
    for (const QString& name : names) {
        bool ok = false;
        const int number = name.mid(prefix.size()).toInt(&ok);
        if (ok && number >= 0)
            found.append({number, dir + "/" + name});
    }
    std::sort(found.begin(), found.end());
    QStringList result;
    for (const auto& entry : found)
        result << entry.second;
    return result;
}

// The terminals with hardware behind them, by their names under /dev, in name
// order: the kernel gives such a terminal a "device" link in /sys/class/tty. That
// covers UARTs of every make (ttyAMA, ttyTHS, ttymxc ...), Bluetooth serial links
// (rfcomm) and adapters, and leaves out virtual consoles and pseudo-terminals.
QStringList hardwareTerminals(const QString& sysRoot) {
    const QDir classDir(sysRoot + "/class/tty");
    QStringList names;
    for (const QString& entry : classDir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(classDir.filePath(entry + "/device")))
            names << QString(entry).replace('!', '/'); // how sysfs writes a node in a subfolder
    }
    std::sort(names.begin(), names.end(),
              [](const QString& a, const QString& b) { return numberedName(a) < numberedName(b); });
    return names;
}

bool uartPresent(const QString& sysRoot, const QString& node) {
    QFile type(sysRoot + "/class/tty/" + QFileInfo(node).fileName() + "/type");
    if (!type.open(QIODevice::ReadOnly))
        return false;
    bool ok = false;
    const int value = type.readAll().trimmed().toInt(&ok);
    return ok && value != 0; // 0: no UART known at this port
}

// The terminals the kernel writes its console to: opening one and changing its
// settings would garble the system console, so they are no COM ports.
QSet<QString> systemConsoles(const QString& sysRoot) {
    QFile active(sysRoot + "/class/tty/console/active");
    if (!active.open(QIODevice::ReadOnly))
        return {};
    const QStringList names = QString::fromLatin1(active.readAll()).split(' ', Qt::SkipEmptyParts);
    QSet<QString> result;
    for (const QString& name : names)
        result << name.trimmed();
    return result;
}

} // namespace

ComPortMap::ComPortMap(const QString& programDir) : portsDir_(programDir + "/ports") {}

QString ComPortMap::linkPath(int port) const {
    return portsDir_ + QString("/COM%1").arg(port);
}

QString ComPortMap::devicePath(int port) const {
    if (port < FirstPort || port > LastPort)
        return {};
    const QFileInfo link(linkPath(port));
    if (!link.isSymLink())
        return {};
    const QString target = link.symLinkTarget();
    return QFileInfo::exists(target) ? target : QString();
}

QList<int> ComPortMap::linkNewDevices(const QStringList& candidates) {
    QSet<QString> named;
    QList<int> free;
    for (int port = FirstPort; port <= LastPort; ++port) {
        const QFileInfo link(linkPath(port));
        if (!link.isSymLink() && !link.exists()) {
            free << port;
            continue;
        }
        named << link.symLinkTarget();
        const QString canonical = link.canonicalFilePath();
        if (!canonical.isEmpty())
            named << canonical;
    }
    QList<int> given;
    for (const QString& device : candidates) {
        if (free.isEmpty())
            break;
        const QString canonical = QFileInfo(device).canonicalFilePath();
        if (named.contains(device) || (!canonical.isEmpty() && named.contains(canonical)))
            continue;
        QDir().mkpath(portsDir_);
        const int port = free.front();
        if (!QFile::link(device, linkPath(port)))
            continue;
        free.pop_front();
        given << port;
        named << device;
        if (!canonical.isEmpty())
            named << canonical;
    }
    return given;
}

QList<int> ComPortMap::linkNewDevices() {
    return linkNewDevices(discoverSerialDevices());
}

QStringList discoverSerialDevices(const QString& devRoot, const QString& sysRoot) {
    const QSet<QString> consoles = systemConsoles(sysRoot);
    auto isConsole = [&](const QString& path) {
        return consoles.contains(QFileInfo(path).fileName());
    };
    QStringList result;
    const QStringList uarts = numberedNodes(devRoot, "ttyS");
    for (const QString& node : uarts) {
        if (uartPresent(sysRoot, node) && !isConsole(node))
            result << node;
    }
    QSet<QString> covered;
    const QDir byId(devRoot + "/serial/by-id");
    const QFileInfoList entries =
        byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString canonical = entry.canonicalFilePath();
        if (canonical.isEmpty() || covered.contains(canonical))
            continue; // a name whose device has gone, or a second name of one device
        covered << canonical;
        if (!isConsole(canonical))
            result << entry.absoluteFilePath();
    }
    // Adapters without a by-id name, then every other terminal with hardware behind
    // it. The ttyS nodes had their own test above and stay out if they failed it.
    QSet<QString> seen(uarts.begin(), uarts.end());
    QStringList rest = numberedNodes(devRoot, "ttyUSB") + numberedNodes(devRoot, "ttyACM");
    for (const QString& name : hardwareTerminals(sysRoot))
        rest << devRoot + "/" + name;
    for (const QString& node : rest) {
        if (seen.contains(node) || !QFileInfo::exists(node))
            continue;
        seen << node;
        if (!covered.contains(QFileInfo(node).canonicalFilePath()) && !isConsole(node))
            result << node;
    }
    return result;
}

} // namespace kst::comm
