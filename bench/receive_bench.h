#pragma once

// What the receive benchmarks share: a program folder whose COM1 is a pseudo-terminal,
// the main window started on it headless, a far end that writes a known pattern from
// a process of its own, and the check of what the log shows against what was sent.

#include "app/main/frm_main.h"
#include "app/main/main_controller.h"
#include "app/main/session.h"
#include "notation/notation.h"
#include "notation/view/styled_log.h"
#include "platform/heap_tuning.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <pty.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kst::bench {

// The number of the option "--name=N" (`prefix` "--name="), or `fallback`.
inline int option(int argc, char** argv, const char* prefix, int fallback) {
    const size_t length = std::strlen(prefix);
    for (int k = 1; k < argc; ++k)
        if (std::strncmp(argv[k], prefix, length) == 0)
            return qMax(1, std::atoi(argv[k] + length));
    return fallback;
}

// The process as the program's main() sets it up, headless unless told otherwise.
inline void prepareProcess() {
    keepLargeBuffersMapped();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The stream the far end sends: 8-byte frames, each carrying its sequence number and
// two checks, so that a byte lost, a block shown twice or out of order is found.
constexpr qsizetype FrameSize = 8;

inline void frame(quint32 seq, char* out) {
    const unsigned char s[4] = {
        static_cast<unsigned char>(seq), static_cast<unsigned char>(seq >> 8),
        static_cast<unsigned char>(seq >> 16), static_cast<unsigned char>(seq >> 24)};
    out[0] = char(0xA5);
    for (int k = 0; k < 4; ++k)
        out[1 + k] = char(s[k]);
    out[5] = char(s[0] ^ s[1] ^ s[2] ^ s[3] ^ 0x5A);
    out[6] = char((s[0] + s[1] + s[2] + s[3]) & 0xFF);
    out[7] = char(0x3C);
}

inline QByteArray frames(quint32 first, qsizetype count) {
    QByteArray bytes(count * FrameSize, Qt::Uninitialized);
    for (qsizetype k = 0; k < count; ++k)
        frame(first + static_cast<quint32>(k), bytes.data() + k * FrameSize);
    return bytes;
}

// What the log showed against what was sent.
struct Tally {
    qsizetype lost = 0;
    qsizetype duplicated = 0;
    qsizetype corrupt = 0; // bytes that belong to no whole frame
};

inline Tally tally(const QByteArray& shown, qsizetype framesSent) {
    std::map<quint32, int> seen;
    Tally t;
    char expected[FrameSize];
    for (qsizetype at = 0; at + FrameSize <= shown.size();) {
        const auto* b = reinterpret_cast<const unsigned char*>(shown.constData() + at);
        const quint32 seq = b[1] | (b[2] << 8) | (b[3] << 16) | (quint32(b[4]) << 24);
        frame(seq, expected);
        if (memcmp(expected, b, FrameSize) == 0 && seq < framesSent) {
            ++seen[seq];
            at += FrameSize;
        } else {
            ++t.corrupt;
            ++at;
        }
    }
    t.corrupt += shown.size() % FrameSize;
    t.lost = (framesSent - static_cast<qsizetype>(seen.size())) * FrameSize;
    for (const auto& [seq, times] : seen)
        t.duplicated += (times - 1) * FrameSize;
    return t;
}

// Reads the bytes of the log's "Data received: " lines (formatted hexadecimal) as they
// are shown, row by row: only rows the log has finished are read.
class ShownBytes {
public:
    explicit ShownBytes(const LogStore& log) : log_(log) {}
    // Reads the rows finished since the last call; returns the bytes shown so far.
    qsizetype update() {
        const qint64 finished = log_.rowCount() - 1;
        for (; next_ < finished; ++next_)
            decode(log_.rowText(next_));
        return bytes_.size();
    }
    const QByteArray& bytes() const { return bytes_; }

private:
    void decode(const QString& line) {
        QStringView items(line);
        static const QString label = QStringLiteral("Data received: ");
        if (items.startsWith(label))
            items = items.mid(label.size());
        for (qsizetype at = 0; at + 2 <= items.size(); at += 3)
            bytes_.append(char(items.mid(at, 2).toUInt(nullptr, 16)));
    }
    const LogStore& log_;
    qint64 next_ = 0;
    QByteArray bytes_;
};

// Whether the log ends with the last frame sent (a continuation line may cut it in two):
// every byte has been shown, when nothing was lost. Cheap enough to ask often.
inline bool lastFrameShown(const LogStore& log, quint32 lastSeq) {
    char bytes[FrameSize];
    frame(lastSeq, bytes);
    const QString last = PadByteList(StrToHexList(QByteArray(bytes, FrameSize)), ncHex);
    QString tail;
    for (qint64 row = log.rowCount() - 1; row >= 0 && tail.size() < last.size(); --row)
        tail.prepend(log.rowText(row));
    return tail.endsWith(last);
}

inline double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

inline double peakRssBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0;
}

inline double rssBytes() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.value(1).toDouble() * double(sysconf(_SC_PAGESIZE));
}

// The far end: a process of its own that writes to the pseudo-terminal's master once
// told to start, so its work is not counted as the program's.
class FarEnd {
public:
    // `write` runs in the child with the master's descriptor.
    template <class Writer> explicit FarEnd(Writer write) {
        char name[128] = {};
        int slave = -1;
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0) {
            std::perror("openpty");
            std::exit(1);
        }
        ::close(slave);
        slavePath_ = QString::fromLocal8Bit(name);
        int go[2];
        if (pipe(go) != 0)
            std::exit(1);
        child_ = fork();
        if (child_ == 0) {
            ::close(go[1]);
            char start = 0;
            if (::read(go[0], &start, 1) == 1)
                write(master_);
            _exit(0);
        }
        ::close(go[0]);
        go_ = go[1];
    }
    ~FarEnd() {
        if (child_ > 0 && !finished())
            kill(child_, SIGKILL);
        if (child_ > 0)
            waitpid(child_, nullptr, 0);
    }
    const QString& slavePath() const { return slavePath_; }
    void start() {
        const char start = 1;
        if (::write(go_, &start, 1) != 1)
            std::exit(1);
        ::close(go_);
    }
    bool finished() {
        if (done_)
            return true;
        done_ = waitpid(child_, nullptr, WNOHANG) == child_;
        return done_;
    }

private:
    int master_ = -1; // kept open: the line stays up after the far end has written
    int go_ = -1;
    pid_t child_ = -1;
    bool done_ = false;
    QString slavePath_;
};

inline bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

// A program folder with the support database and COM1 on the far end's line, and the
// main window opened on it: Debugging mode, hexadecimal with Formatted view, gap
// detection, 256000 baud.
class BenchWindow {
public:
    // `comPath`: the device COM1 stands for; empty for none.
    explicit BenchWindow(const QString& comPath = QString()) {
        const QString folder = dir_.path();
        QFile::copy(QStringLiteral(KST_SUPPORT_DB_PATH), folder + QStringLiteral("/mscomctl.2fl"));
        QFile::setPermissions(folder + QStringLiteral("/mscomctl.2fl"),
                              QFile::ReadOwner | QFile::WriteOwner);
        QDir(folder).mkpath(QStringLiteral("ports"));
        if (!comPath.isEmpty())
            QFile::link(comPath, folder + QStringLiteral("/ports/COM1"));
        window_ = std::make_unique<frmMain>(folder);
        window_->session().discoverDevices = [] { return QStringList(); };
        window_->Form_Load();
        const MainControls& ui = window_->ui();
        ui.Option2[ncHex]->setChecked(true);
        ui.Check3->setChecked(true);
        ui.Check1->setChecked(false);
        ui.BaudChoice->setCurrentText(QStringLiteral("256000"));
        window_->resize(1200, 900);
    }
    frmMain& window() { return *window_; }
    // Opens COM1 with an empty log and shows the window; a port that does not open ends
    // the benchmark.
    void open() {
        window_->controller().port().OpenPort();
        if (!window_->session().state().PortIsOpen) {
            std::fprintf(stderr, "COM1 did not open\n");
            std::exit(1);
        }
        window_->log().clear();
        window_->show();
    }
    // The log as the window shows it: what the view has been told of.
    const LogStore& log() { return window_->log().store(); }

private:
    QTemporaryDir dir_;
    std::unique_ptr<frmMain> window_;
};

} // namespace kst::bench
