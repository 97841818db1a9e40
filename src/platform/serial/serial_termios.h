#pragma once

#include "line_settings.h"

#include <QString>

// The kernel's termios2 carries any baud rate (BOTHER). Its header clashes with
// <termios.h>, so only serial_termios.cpp includes it; users of the struct itself
// (the tests) include <asm/termbits.h> and not <termios.h>.
struct termios2;

namespace kst::comm {

// Makes t describe a raw line with the settings: no echo, no line editing, no
// output processing, no signal characters; breaks ignored in the data (the driver
// counts them); characters with a parity or framing error arrive as 0 so the byte
// count stays true. Modem-control lines never hang the port up (CLOCAL); the output
// lines drop when it closes (HUPCL).
//
// Stop bits "1.5" set two stop bits: a UART sends 1.5 stop bits for 5 data bits
// under that setting and 2 otherwise, and a receiver that expects 1.5 accepts 2.
// The data bits must be 5 to 8 (see unsupportedReason()).
void fillTermios(termios2& t, const LineSettings& settings);

// How far a driver may round a baud rate and still be taken at its word: a UART
// divides its clock, so a rate it cannot make exactly comes out a little off, and
// both ends of a line tolerate a few percent between them.
constexpr int BaudTolerancePercent = 2;

// What the driver made of a request, read back after applying it: empty when the
// line runs as asked, otherwise what differs. Compared: both speeds (within
// BaudTolerancePercent), and with framing the data bits and the parity, then the
// stop bits and the handshaking (RTS/CTS, XON/XOFF both ways). A driver that cannot
// do something often takes the request without complaint and keeps what it had,
// so only the read-back tells.
QString termiosMismatch(const termios2& requested, const termios2& actual, bool framing);

// Whether the terminal's driver frames characters on a wire, so that data bits and
// parity mean something: false for a pseudo-terminal, which carries whole bytes and
// reports 8 data bits without parity whatever it is given.
bool framesCharacters(int fd);

struct TermiosOutcome {
    int error = 0;    // errno of a failed ioctl (ENOTTY when fd is no terminal)
    QString mismatch; // the driver did not keep the settings (termiosMismatch())

    bool ok() const { return error == 0 && mismatch.isEmpty(); }
};

// Applies the settings to the open tty fd and reads them back. When the driver did
// not keep them the settings it had before are put back, so a line never runs on
// something between the old and the new.
TermiosOutcome applyTermios(int fd, const LineSettings& settings, bool framing);

// Lets go of the handshake on the open tty fd (no RTS/CTS, no XON/XOFF on output), so
// that what the line holds back leaves and nothing waits for it any more. False when
// the driver refused.
bool releaseHandshake(int fd);

} // namespace kst::comm
