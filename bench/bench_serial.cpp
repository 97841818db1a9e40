// How fast bytes from a pseudo-terminal reach the program: the port's reader thread
// drains the device into the input buffer, the user-interface thread runs its event
// loop and takes the bytes in its OnComm handler, as the program does. Every byte
// taken is compared with what was sent, so the figures say how many bytes were
// lost and how many came out wrong or out of order.

#include "platform/serial/comm_control.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <chrono>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

struct Pty {
    Pty() {
        char name[128] = {};
        int slave = -1;
        if (openpty(&master, &slave, name, nullptr, nullptr) == 0) {
            ::close(slave);
            slavePath = QString::fromLocal8Bit(name);
        }
    }
    ~Pty() {
        if (master >= 0)
            ::close(master);
    }
    int master = -1;
    QString slavePath;
};

// Bytes whose value depends on their position well beyond 256, so that a block
// delivered twice, dropped or out of order shows as wrong bytes.
QByteArray pattern(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + (i >> 8) * 7 + (i >> 16) * 13);
    return bytes;
}

void writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n <= 0)
            return;
        done += n;
    }
}

// Checks what arrives against what was sent, position by position.
class Receiver {
public:
    explicit Receiver(const QByteArray& sent) : sent_(sent) {}

    void take(const QByteArray& bytes) {
        for (const char byte : bytes) {
            if (byte != sent_[position_])
                ++corrupt_;
            position_ = (position_ + 1) % sent_.size();
        }
        received_ += bytes.size();
    }
    qsizetype received() const { return received_; }
    qsizetype corrupt() const { return corrupt_; }

private:
    const QByteArray& sent_;
    qsizetype position_ = 0;
    qsizetype received_ = 0;
    qsizetype corrupt_ = 0;
};

void BM_DrainPseudoTerminal(benchmark::State& state) {
    Pty pty;
    QTemporaryDir program;
    QDir().mkpath(program.path() + "/ports");
    if (pty.master < 0 || !QFile::link(pty.slavePath, program.path() + "/ports/COM1")) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    const QByteArray sent = pattern(state.range(0) << 20);
    Receiver receiver(sent);
    kst::comm::CommControl port(program.path());
    QObject::connect(&port, &kst::comm::CommControl::OnComm, [&] {
        if (port.CommEvent() == kst::comm::comEvReceive)
            receiver.take(port.Input());
    });
    port.setSettings("256000,N,8,1");
    port.setPortOpen(true);

    qsizetype total = 0; // over all iterations, like the receiver's counts
    for (auto _ : state) {
        std::thread writer(writeAll, pty.master, std::cref(sent));
        total += sent.size();
        // Until every byte is in or counted as dropped; a stall ends at the deadline
        // and shows as lost bytes.
        const QDeadlineTimer deadline(60000);
        while (receiver.received() + port.droppedInputBytes() < total && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        writer.join();
    }
    state.SetBytesProcessed(total);
    state.counters["MB_per_s"] =
        benchmark::Counter(static_cast<double>(total) / 1e6, benchmark::Counter::kIsRate);
    state.counters["lost_bytes"] = static_cast<double>(total - receiver.received());
    state.counters["corrupt_bytes"] = static_cast<double>(receiver.corrupt());
    state.counters["dropped_by_buffer"] = static_cast<double>(port.droppedInputBytes());
}

BENCHMARK(BM_DrainPseudoTerminal)
    ->Arg(64)
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
