#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace kst {

// The bare name of a handshaking code 0..3 ("None", "XonXoff", "RTS/CTS", "Both");
// nothing for another value, which leaves the shown name as it was.
std::optional<QString> handshakeNameOf(int handshakeIndex);

// The port settings as the serial port takes them: baud, the parity's first letter,
// data bits and stop bits, joined by commas ("19200,E,7,2").
QString portSettingsString(const QString& baud, const QString& parity, const QString& dataBits,
                           const QString& stopBits);

// " Handshaking: " and the bare name, as the status texts show the handshaking.
QString handshakingText(const QString& handshakeName);

// The status bar's "Setting" panel: the settings string, then the handshaking text (none
// in Monitoring mode, which has no flow control); and its "Status" panel for the port or
// ports ("3", "3,4").
QString settingPanelText(const QString& settings, const QString& handshaking = QString());
QString statusPanelText(const QString& ports);

// The entries of the port list for the COM numbers found: each of 1..16 once, ascending,
// as bare decimal text; the single placeholder " " when none is found.
QStringList portListEntries(const QList<int>& presentPorts);
inline const QString& noPortPlaceholder() {
    static const QString blank = QStringLiteral(" ");
    return blank;
}

// The port list position worth recording in a profile: none when the list holds no real
// port (only the placeholder), so the stored choice survives a start without ports.
std::optional<int> storablePortIndex(const QStringList& entries, int currentIndex);

} // namespace kst
