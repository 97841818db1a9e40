// How fast the port's reader thread drains a pseudo-terminal into the input buffer
// while the user-interface thread takes the bytes every millisecond, as the
// program's gap timer does, and how many bytes are lost on the way.

#include "platform/serial/comm_control.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
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

void writeAll(int fd, const QByteArray& chunk, qsizetype total) {
    for (qsizetype done = 0; done < total;) {
        const size_t size = static_cast<size_t>(std::min<qsizetype>(chunk.size(), total - done));
        const ssize_t n = ::write(fd, chunk.constData(), size);
        if (n <= 0)
            return;
        done += n;
    }
}

void BM_DrainPseudoTerminal(benchmark::State& state) {
    const qsizetype total = state.range(0) << 20;
    Pty pty;
    QTemporaryDir program;
    QDir().mkpath(program.path() + "/ports");
    if (pty.master < 0 || !QFile::link(pty.slavePath, program.path() + "/ports/COM1")) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    kst::comm::CommControl port(program.path());
    port.setSettings("256000,N,8,1");
    port.setPortOpen(true);

    QByteArray chunk(64 * 1024, '\0');
    for (int i = 0; i < chunk.size(); ++i)
        chunk[i] = char(i * 31);

    qsizetype received = 0; // over all iterations, like sent
    qsizetype sent = 0;
    for (auto _ : state) {
        std::thread writer(writeAll, pty.master, std::cref(chunk), total);
        sent += total;
        // Until every byte is in or counted as dropped; a stall ends at the deadline
        // and shows as lost bytes.
        QDeadlineTimer deadline(60000);
        while (received + port.droppedInputBytes() < sent && !deadline.hasExpired()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            received += port.Input().size();
        }
        writer.join();
    }
    QCoreApplication::processEvents();
    state.SetBytesProcessed(sent);
    state.counters["MB_per_s"] =
        benchmark::Counter(static_cast<double>(sent) / 1e6, benchmark::Counter::kIsRate);
    state.counters["lost_bytes"] = static_cast<double>(sent - received);
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
