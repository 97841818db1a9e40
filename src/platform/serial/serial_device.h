#pragma once

#include "line_settings.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

namespace kst::comm {

// The input lines of the port.
struct InputLines {
    bool cts = false;
    bool dsr = false;
    bool cd = false;
    bool ri = false;

    bool operator==(const InputLines&) const = default;
};

// Where an open device reports. Called from whatever thread the device runs on;
// the receiver is responsible for bringing the reports to its own thread.
class DeviceSink {
public:
    virtual ~DeviceSink() = default;
    virtual void received(const char* data, qsizetype size) = 0;
    // A CommEvent code other than receive.
    virtual void event(int commEvent) = 0;
    // The device has gone; it reports nothing more.
    virtual void lost() = 0;
};

// What became of bytes handed to SerialDevice::write().
enum class WriteResult {
    Queued, // all of them wait to be sent
    Full,   // none: the output buffer cannot take them all
    Lost,   // none: the device has gone (its loss is reported, or about to be)
};

// One serial line as the port control drives it. Everything but the sink's calls
// happens on the control's thread.
class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // Opens with the settings and the output lines and reports to sink until close().
    // Throws RunTimeError (comm_codes.h); after a throw nothing is held open.
    virtual void open(const LineSettings& settings, bool rts, bool dtr, DeviceSink& sink) = 0;
    // After it returns, the sink hears nothing more. Unsent output is discarded. It does
    // not wait long for the system's close of the device: that may go on after it returns.
    virtual void close() = 0;
    // New settings on the open line; throws RunTimeError and keeps the old ones when
    // the line cannot take them.
    virtual void configure(const LineSettings& settings) = 0;
    // Queues bytes for sending, all or none.
    virtual WriteResult write(const QByteArray& data) = 0;
    virtual void setRts(bool on) = 0;
    virtual void setDtr(bool on) = 0;
    // The driver's set and clear break. False when the driver refuses it; `why` then
    // says what it answered.
    virtual bool setBreak(bool on, QString* why) = 0;
    // The input lines now; all off where the device has no modem lines.
    virtual InputLines inputLines() = 0;
    // Whether the device is there, found without opening it (an open sets the output
    // lines, which resets many boards).
    virtual bool present() const = 0;
};

// Makes the device for a COM number, or throws RunTimeError (err::InvalidPortNumber
// when no device stands for it).
using DeviceFactory = std::function<std::unique_ptr<SerialDevice>(int commPort)>;

} // namespace kst::comm
