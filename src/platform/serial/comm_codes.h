#pragma once

#include "platform/runtime_error.h"

#include <QString>

// The numbers a serial port speaks in: the CommEvent codes of its OnComm event and
// the run-time errors its properties raise. They are the numbers users of serial
// tools have long known, so the program's messages stay recognisable.
namespace kst::comm {

// CommEvent: events.
constexpr int comEvSend = 1;
constexpr int comEvReceive = 2;
constexpr int comEvCTS = 3;
constexpr int comEvDSR = 4;
constexpr int comEvCD = 5;
constexpr int comEvRing = 6;
constexpr int comEvEOF = 7;

// CommEvent: errors.
constexpr int comEventBreak = 1001;    // a break was received
constexpr int comEventCTSTO = 1002;    // CTS timeout while sending
constexpr int comEventDSRTO = 1003;    // DSR timeout while sending
constexpr int comEventFrame = 1004;    // framing error
constexpr int comEventOverrun = 1006;  // the UART lost characters (hardware overrun)
constexpr int comEventCDTO = 1007;     // carrier-detect timeout while sending
constexpr int comEventRxOver = 1008;   // the input buffer was full: received bytes were lost
constexpr int comEventRxParity = 1009; // parity error
constexpr int comEventTxFull = 1010;   // the output buffer was full: an Output was refused
constexpr int comEventDCB = 1011;      // the line's settings could not be read back
// The device went away while the port was open (adapter unplugged, far end of a
// pseudo-terminal closed). Raised once; the port is already closed when it arrives.
constexpr int comEventPortLost = 1012;

// The run-time errors of the port's properties are numbered in the program's one
// table (kst::err): 380, 8002, 8005, 8010, 8015 and 8018.
namespace err = kst::err;

// The error of the number with its standard description; a non-empty detail (the
// system's reason, the device) follows in parentheses.
RunTimeError commError(int number, const QString& detail = {});

} // namespace kst::comm
