#pragma once

#include "serial_device.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <mutex>

namespace kst::comm {

// A serial line inside the process, for tests: a CommControl opens it through a
// factory and a test plays the far end. It records what the port did (opened,
// wrote, switched RTS, DTR and break) in order, and lets the test deliver bytes,
// move CTS, DSR and CD, ring, raise any event and pull the plug. The program never
// chooses it by itself.
//
// The far end may be played from any thread; the reports reach the control the
// way a real device's do.
class SimulatedLine {
public:
    struct Action {
        enum Kind { Open, Close, Configure, Write, Rts, Dtr, Break };
        Kind kind;
        QByteArray data; // Write: the bytes
        bool on = false; // Rts, Dtr, Break: the new state

        bool operator==(const Action&) const = default;
    };

    SimulatedLine() = default;
    SimulatedLine(const SimulatedLine&) = delete;
    SimulatedLine& operator=(const SimulatedLine&) = delete;

    // A device factory serving the lines by COM number; any other number raises
    // "Invalid port number". The lines must outlive the controls that use them.
    static DeviceFactory factory(const QMap<int, SimulatedLine*>& lines);
    // One device on this line (a factory's product).
    std::unique_ptr<SerialDevice> makeDevice();

    // What the port did.
    QList<Action> actions() const;
    // Forgets what the port did, the bytes written included.
    void clearActions();
    QByteArray written() const;
    bool isOpen() const;
    LineSettings settings() const;
    bool rts() const;
    bool dtr() const;
    bool breakOn() const;

    // The far end.
    void deliver(const QByteArray& bytes);
    void setCts(bool on);
    void setDsr(bool on);
    void setCd(bool on);
    void ring();
    // Any CommEvent code, the errors included.
    void raise(int commEvent);
    // The device disappears: an open port hears it once and its output is refused;
    // opening fails until plugIn().
    void unplug();
    void plugIn();
    // While set, Output is refused as by a full output buffer.
    void setOutputFull(bool full);
    // Opens fail with this run-time error number (0: they succeed).
    void setOpenError(int number);
    // While set, the line refuses to send a break, as some drivers do.
    void setBreakRefused(bool refused);

private:
    class Device;

    void changeLine(bool InputLines::*line, bool on, int commEvent);
    void record(Action action);

    mutable std::recursive_mutex mutex_;
    QList<Action> actions_;
    QByteArray written_;
    DeviceSink* sink_ = nullptr; // while open and plugged in
    bool open_ = false;
    bool plugged_ = true;
    bool outputFull_ = false;
    int openError_ = 0;
    bool breakRefused_ = false;
    LineSettings settings_;
    InputLines lines_;
    bool rts_ = false;
    bool dtr_ = false;
    bool break_ = false;
};

} // namespace kst::comm
