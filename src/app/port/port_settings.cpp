#include "app/port/port_settings.h"

#include <algorithm>

namespace kst {

const QStringList& baudRateEntries() {
    static const QStringList entries = {"110",   "300",    "600",    "1200",  "2400",  "4800",
                                        "9600",  "14400",  "19200",  "28800", "38400", "56000",
                                        "57600", "115200", "128000", "256000"};
    return entries;
}

const QStringList& dataBitEntries() {
    static const QStringList entries = {"4", "5", "6", "7", "8"};
    return entries;
}

const QStringList& parityEntries() {
    static const QStringList entries = {"None", "Even", "Odd", "Mark", "Space"};
    return entries;
}

const QStringList& stopBitEntries() {
    static const QStringList entries = {"1", "1.5", "2"};
    return entries;
}

std::optional<QString> handshakeNameOf(int handshakeIndex) {
    static const QStringList names = {"None", "XonXoff", "RTS/CTS", "Both"};
    if (handshakeIndex < 0 || handshakeIndex >= names.size())
        return std::nullopt;
    return names[handshakeIndex];
}

QString portSettingsString(const QString& baud, const QString& parity, const QString& dataBits,
                           const QString& stopBits) {
    return baud + QLatin1Char(',') + parity.left(1) + QLatin1Char(',') + dataBits +
           QLatin1Char(',') + stopBits;
}

QString handshakingText(const QString& handshakeName) {
    return QStringLiteral(" Handshaking: ") + handshakeName;
}

QString settingPanelText(const QString& settings, const QString& handshaking) {
    return QStringLiteral("COM Port Settings: ") + settings + handshaking;
}

QString statusPanelText(const QString& ports) {
    return QStringLiteral("COM Port (") + ports + QStringLiteral(") Status:");
}

QStringList portListEntries(const QList<int>& presentPorts) {
    QList<int> ports;
    for (int port : presentPorts) {
        if (port >= 1 && port <= 16 && !ports.contains(port))
            ports << port;
    }
    std::sort(ports.begin(), ports.end());
    if (ports.isEmpty())
        return {noPortPlaceholder()};
    QStringList entries;
    for (int port : ports)
        entries << QString::number(port);
    return entries;
}

std::optional<int> storablePortIndex(const QStringList& entries, int currentIndex) {
    if (currentIndex < 0 || currentIndex >= entries.size() ||
        entries[currentIndex] == noPortPlaceholder())
        return std::nullopt;
    return currentIndex;
}

} // namespace kst
