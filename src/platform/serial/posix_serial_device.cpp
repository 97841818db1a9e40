#include "posix_serial_device.h"

#include "comm_codes.h"
#include "line_watch.h"
#include "serial_termios.h"

#include <QFile>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace kst::comm {

namespace {

constexpr qsizetype ReadChunk = 64 * 1024;
// Reads per pass before the thread looks at its wake-up and the lines again.
constexpr int ReadsPerPass = 16;

QString reason(int error) {
    return qt_error_string(error);
}

InputLines linesFromModemBits(int bits) {
    return {(bits & TIOCM_CTS) != 0, (bits & TIOCM_DSR) != 0, (bits & TIOCM_CD) != 0,
            (bits & TIOCM_RI) != 0};
}

// The devices whose descriptor a closing thread still holds, by device number. Made once
// and never destroyed: a closing thread may still use it while the program ends.
class ClosingDevices {
public:
    void add(dev_t device) {
        std::lock_guard lock(mutex_);
        devices_.insert(device);
    }
    void remove(dev_t device) {
        {
            std::lock_guard lock(mutex_);
            if (const auto entry = devices_.find(device); entry != devices_.end())
                devices_.erase(entry);
        }
        closed_.notify_all();
    }
    bool contains(dev_t device) {
        std::lock_guard lock(mutex_);
        return devices_.contains(device);
    }
    // Waits at most `wait` for the device's close to end.
    void waitFor(dev_t device, std::chrono::milliseconds wait) {
        std::unique_lock lock(mutex_);
        closed_.wait_for(lock, wait, [&] { return !devices_.contains(device); });
    }

private:
    std::mutex mutex_;
    std::condition_variable closed_;
    std::multiset<dev_t> devices_;
};

ClosingDevices& closingDevices() {
    static auto* devices = new ClosingDevices;
    return *devices;
}

// Whether a close of the device at path has not ended yet.
bool stillClosing(const QString& path) {
    struct stat info {};
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISCHR(info.st_mode) &&
           closingDevices().contains(info.st_rdev);
}

RunTimeError openError(int error, const QString& path) {
    switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case EIO: // a ttyS node without a UART behind it
        return commError(err::InvalidPortNumber, path + ": " + reason(error));
    case EBUSY:
        return commError(err::PortAlreadyOpen);
    default:
        return commError(err::HardwareNotAvailable, path + ": " + reason(error));
    }
}

} // namespace

PosixSerialDevice::PosixSerialDevice(QString path, qsizetype outputCapacity,
                                     DescriptorCloser closer)
    : path_(std::move(path)), outputCapacity_(outputCapacity),
      closer_(closer ? std::move(closer) : [](int fd) { ::close(fd); }) {}

PosixSerialDevice::~PosixSerialDevice() {
    close();
}

void PosixSerialDevice::open(const LineSettings& settings, bool rts, bool dtr, DeviceSink& sink) {
    if (stillClosing(path_)) {
        throw commError(err::PortAlreadyOpen, path_ + ": its last close has not ended yet");
    }
    fd_ = ::open(path_.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0)
        throw openError(errno, path_);
    if (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        releaseFds();
        throw error == EWOULDBLOCK ? commError(err::PortAlreadyOpen) : openError(error, path_);
    }
    ioctl(fd_, TIOCEXCL);
    framing_ = framesCharacters(fd_);
    try {
        applySettings(settings);
    } catch (const RunTimeError&) {
        releaseFds();
        throw;
    }
    setModemLine(TIOCM_DTR, dtr);
    setModemLine(TIOCM_RTS, rts);
    tcflush(fd_, TCIOFLUSH);

    wakeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (wakeFd_ < 0) {
        const int error = errno;
        releaseFds();
        throw commError(err::HardwareNotAvailable, reason(error));
    }
    sink_ = &sink;
    stopping_ = false;
    lost_ = false;
    {
        std::lock_guard lock(outputMutex_);
        output_.clear();
        outputSent_ = 0;
    }
    try {
        thread_ = std::thread(&PosixSerialDevice::run, this, LineWatch(sample()));
    } catch (const std::system_error& e) {
        releaseFds();
        throw commError(err::HardwareNotAvailable, QString::fromLocal8Bit(e.what()));
    }
}

void PosixSerialDevice::close() {
    if (thread_.joinable()) {
        stopping_ = true;
        wake();
        thread_.join();
    }
    if (fd_ >= 0) {
        // Unsent output goes, and the handshake lets go of the line, so that what the
        // driver and the adapter still hold can leave: the kernel's close waits for it.
        tcflush(fd_, TCOFLUSH);
        releaseHandshake(fd_);
        setBreak(false, nullptr);
        closeDevice();
    }
    releaseFds();
    sink_ = nullptr;
}

void PosixSerialDevice::closeDevice() {
    const int fd = std::exchange(fd_, -1);
    struct stat info {};
    if (fstat(fd, &info) != 0) {
        closer_(fd);
        return;
    }
    ClosingDevices& closing = closingDevices();
    const dev_t device = info.st_rdev;
    closing.add(device);
    try {
        std::thread([fd, device, closer = closer_] {
            closer(fd);
            closingDevices().remove(device);
        }).detach();
    } catch (const std::system_error&) {
        closer_(fd);
        closing.remove(device);
        return;
    }
    closing.waitFor(device, std::chrono::milliseconds(CloseWaitMs));
}

void PosixSerialDevice::releaseFds() {
    if (fd_ >= 0)
        ::close(fd_);
    if (wakeFd_ >= 0)
        ::close(wakeFd_);
    fd_ = -1;
    wakeFd_ = -1;
}

void PosixSerialDevice::configure(const LineSettings& settings) {
    applySettings(settings);
}

void PosixSerialDevice::applySettings(const LineSettings& settings) {
    const TermiosOutcome outcome = applyTermios(fd_, settings, framing_);
    if (outcome.error == ENOTTY)
        throw commError(err::HardwareNotAvailable, path_ + ": not a serial device");
    if (outcome.error != 0)
        throw commError(err::CommStateInvalid, reason(outcome.error));
    if (!outcome.mismatch.isEmpty())
        throw commError(err::CommStateInvalid, path_ + ": " + outcome.mismatch);
}

WriteResult PosixSerialDevice::write(const QByteArray& data) {
    if (lost_)
        return WriteResult::Lost;
    {
        std::lock_guard lock(outputMutex_);
        if (output_.size() - outputSent_ + data.size() > outputCapacity_)
            return WriteResult::Full;
        // A deep copy: the I/O thread must not share the caller's buffer.
        output_.append(data.constData(), data.size());
    }
    wake();
    return WriteResult::Queued;
}

void PosixSerialDevice::setModemLine(int line, bool on) {
    // A device without modem lines (a pseudo-terminal) refuses; that is no failure.
    ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &line);
}

void PosixSerialDevice::setRts(bool on) {
    setModemLine(TIOCM_RTS, on);
}

void PosixSerialDevice::setDtr(bool on) {
    setModemLine(TIOCM_DTR, on);
}

bool PosixSerialDevice::setBreak(bool on, QString* why) {
    if (ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0)
        return true;
    if (why)
        *why = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool PosixSerialDevice::present() const {
    struct stat info {};
    return ::stat(QFile::encodeName(path_).constData(), &info) == 0 && S_ISCHR(info.st_mode);
}

InputLines PosixSerialDevice::inputLines() {
    int bits = 0;
    if (fd_ < 0 || ioctl(fd_, TIOCMGET, &bits) != 0)
        return {};
    return linesFromModemBits(bits);
}

LineSample PosixSerialDevice::sample() const {
    LineSample result;
    int bits = 0;
    if (ioctl(fd_, TIOCMGET, &bits) == 0)
        result.lines = linesFromModemBits(bits);
    serial_icounter_struct icount{};
    if (ioctl(fd_, TIOCGICOUNT, &icount) == 0) {
        auto n = [](int v) { return static_cast<quint32>(v); };
        result.counts = LineCounts{n(icount.cts),    n(icount.dsr),   n(icount.rng),
                                   n(icount.dcd),    n(icount.frame), n(icount.overrun),
                                   n(icount.parity), n(icount.brk),   n(icount.buf_overrun)};
    }
    return result;
}

void PosixSerialDevice::wake() {
    if (wakeFd_ >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wakeFd_, &one, sizeof one);
    }
}

bool PosixSerialDevice::outputPending() {
    std::lock_guard lock(outputMutex_);
    return outputSent_ < output_.size();
}

PosixSerialDevice::Drain PosixSerialDevice::drainInput(char* buffer, qsizetype size) {
    for (int i = 0; i < ReadsPerPass; ++i) {
        const ssize_t n = ::read(fd_, buffer, static_cast<size_t>(size));
        if (n > 0) {
            sink_->received(buffer, n);
            // Fewer bytes than asked for: the driver had no more at hand. The next poll
            // says when more comes (at once, when it has more queued), so a busy line
            // costs one read a wake-up, not two.
            if (n < size)
                return Drain::Empty;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            return Drain::Empty;
        return Drain::Lost; // 0 bytes (hung up) or EIO (device gone)
    }
    return Drain::More;
}

bool PosixSerialDevice::sendOutput() {
    std::lock_guard lock(outputMutex_);
    while (outputSent_ < output_.size()) {
        const ssize_t n = ::write(fd_, output_.constData() + outputSent_,
                                  static_cast<size_t>(output_.size() - outputSent_));
        if (n > 0) {
            outputSent_ += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN)
            break;
        return false;
    }
    if (outputSent_ == output_.size()) {
        output_.clear();
        outputSent_ = 0;
    } else if (outputSent_ > ReadChunk) {
        output_.remove(0, outputSent_);
        outputSent_ = 0;
    }
    return true;
}

void PosixSerialDevice::run(LineWatch watch) {
    std::vector<char> buffer(ReadChunk);
    const int timeout = watch.worthSampling() ? SampleIntervalMs : -1;
    for (;;) {
        pollfd fds[2] = {
            {fd_, static_cast<short>(POLLIN | (outputPending() ? POLLOUT : 0)), 0},
            {wakeFd_, POLLIN, 0},
        };
        if (poll(fds, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        if (fds[1].revents != 0) {
            quint64 count;
            [[maybe_unused]] const ssize_t n = ::read(wakeFd_, &count, sizeof count);
            if (stopping_)
                return;
        }
        const short revents = fds[0].revents;
        if (revents & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
            const Drain drained = drainInput(buffer.data(), ReadChunk);
            if (drained == Drain::Lost ||
                (drained == Drain::Empty && (revents & (POLLHUP | POLLERR | POLLNVAL)))) {
                break;
            }
        }
        if ((revents & POLLOUT) && !sendOutput())
            break;
        if (watch.worthSampling()) {
            for (int commEvent : watch.update(sample()))
                sink_->event(commEvent);
        }
    }
    // Gone: refuse output from now on, report once and end; close() joins this thread.
    lost_ = true;
    sink_->lost();
}

} // namespace kst::comm
