#include "app/port/port_settings.h"

#include <algorithm>

namespace kst {

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
