#pragma once

#include "line_watch.h"
#include "serial_device.h"

#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

namespace kst::comm {

// A serial device node (/dev/ttyUSB0, a pseudo-terminal ...) through termios and
// ioctl. One thread per open port moves the bytes both ways and watches the lines,
// so a busy user-interface thread loses no byte; it sleeps in poll() on the device
// and a wake-up eventfd.
//
// Line changes and receive errors come from the driver's counts (TIOCGICOUNT) and
// the line levels (TIOCMGET), sampled every few milliseconds while the port is
// open: the counts catch every change, also a pulse between two samples. TIOCMIWAIT
// would report sooner but blocks a thread in an ioctl that only a signal can end,
// which a library must not install. A device with neither (a pseudo-terminal) is
// not sampled, and its thread sleeps until there is something to move.
//
// The port is taken exclusively: flock() keeps out every program that locks too
// (this one, twice), TIOCEXCL every other open but root's. Either refusal is
// "Port already open".
//
// Closing never holds the caller for long. The kernel's close of a serial line waits
// until the driver and the adapter have sent what they hold, up to the line's closing
// wait (30 s on most drivers), and a line held off by its handshake sends nothing: so
// the unsent output is discarded and the handshake let go first, and the descriptor is
// then closed on a thread of its own, which the caller waits for only a moment. Until
// that close has ended, the device cannot be opened again ("Port already open"): an open
// would wait in the kernel for it. A closing thread that is still waiting when the
// program ends is ended with it.
class PosixSerialDevice : public SerialDevice {
public:
    static constexpr qsizetype DefaultOutputCapacity = 4 << 20;
    static constexpr int SampleIntervalMs = 10;
    // How long close() waits for the kernel's close before it leaves it to its thread.
    static constexpr int CloseWaitMs = 250;
    // Closes a descriptor of the device; ::close unless a test stands in for a kernel
    // that takes its time.
    using DescriptorCloser = std::function<void(int fd)>;

    explicit PosixSerialDevice(QString path, qsizetype outputCapacity = DefaultOutputCapacity,
                               DescriptorCloser closer = {});
    ~PosixSerialDevice() override;

    void open(const LineSettings& settings, bool rts, bool dtr, DeviceSink& sink) override;
    void close() override;
    void configure(const LineSettings& settings) override;
    WriteResult write(const QByteArray& data) override;
    void setRts(bool on) override;
    void setDtr(bool on) override;
    bool setBreak(bool on, QString* why) override;
    InputLines inputLines() override;
    bool present() const override;

private:
    enum class Drain { Empty, More, Lost };

    void run(LineWatch watch);
    Drain drainInput(char* buffer, qsizetype size);
    bool sendOutput();
    bool outputPending();
    LineSample sample() const;
    void applySettings(const LineSettings& settings);
    void setModemLine(int line, bool on);
    void wake();
    void releaseFds();
    void closeDevice();

    const QString path_;
    const qsizetype outputCapacity_;
    const DescriptorCloser closer_;
    int fd_ = -1;
    int wakeFd_ = -1;
    DeviceSink* sink_ = nullptr;
    std::thread thread_;
    std::atomic<bool> stopping_{false};
    // Set by the thread when the device has gone, before it reports the loss: from
    // then on output is refused, not queued for a device that will never take it.
    std::atomic<bool> lost_{false};
    bool framing_ = true; // data bits and parity are the driver's to keep

    std::mutex outputMutex_;
    QByteArray output_;
    qsizetype outputSent_ = 0;
};

} // namespace kst::comm
