#pragma once

#include <QString>
#include <optional>

namespace kst::comm {

enum class Parity { None, Even, Odd, Mark, Space };
enum class StopBits { One, OneAndHalf, Two };
// The Handshaking values: 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 both together.
enum class Handshake { None = 0, XonXoff = 1, RtsCts = 2, Both = 3 };

// Everything that shapes the line: the Settings text plus the handshaking.
struct LineSettings {
    int baud = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;
    Handshake handshake = Handshake::None;

    bool operator==(const LineSettings&) const = default;
};

// The Settings text: baud, parity letter (N, E, O, M, S), data bits (4..8) and stop
// bits ("1", "1.5", "2") joined by commas, as in "9600,N,8,1".
class SettingsText {
public:
    static constexpr int MinBaud = 50;
    static constexpr int MaxBaud = 4000000;

    // The text's four values over base (whose handshaking is kept); nullopt when the
    // text is not of that form. Letters may be lower case, items may carry blanks.
    static std::optional<LineSettings> parse(const QString& text, const LineSettings& base = {});
    // The canonical text: "9600,N,8,1", "110,E,7,1.5".
    static QString format(const LineSettings& settings);
};

// Why a well-formed setting cannot run on this platform, or empty when it can.
// A UART here has no 4-bit characters; the setting is still a valid text, so the
// failure comes when the port opens.
QString unsupportedReason(const LineSettings& settings);

} // namespace kst::comm
