#pragma once

#include "line_settings.h"

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

// Applies the settings to the open tty fd; 0 or the errno of the failure
// (ENOTTY when fd is no terminal).
int applyTermios(int fd, const LineSettings& settings);

} // namespace kst::comm
