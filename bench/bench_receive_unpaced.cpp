// 20 MiB written to the pseudo-terminal as fast as it takes them, into the running main
// window (Hex with Formatted view, gap detection): the time until the last byte is
// shown, and the bytes lost. `--mb=N` changes the amount.
#include "receive_bench.h"

#include <QApplication>
#include <QTimer>

using namespace kst;
using namespace kst::bench;

int main(int argc, char** argv) {
    const qsizetype framesSent = option(argc, argv, "--mb=", 20) * 1024 * 1024 / FrameSize;
    FarEnd far([framesSent](int master) {
        constexpr qsizetype Chunk = 8192; // frames of one write
        for (qsizetype first = 0; first < framesSent; first += Chunk) {
            const QByteArray bytes =
                frames(static_cast<quint32>(first), qMin(Chunk, framesSent - first));
            if (!writeAll(master, bytes.constData(), bytes.size()))
                return;
        }
    });

    prepareProcess();
    QApplication app(argc, argv);
    BenchWindow bench(far.slavePath());
    bench.open();

    const double cpuBefore = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    far.start();
    qint64 writtenMs = -1;
    qint64 shownMs = -1;
    qint64 lastChange = 0;
    qint64 lastCount = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const LogStore& log = bench.log();
        if (writtenMs < 0 && far.finished())
            writtenMs = wall.elapsed();
        if (log.length() != lastCount) {
            lastCount = log.length();
            lastChange = wall.elapsed();
        }
        // Shown: in the log, and the view told of it (it repaints in the same pass).
        if (!bench.window().log().hasPending() &&
            lastFrameShown(log, static_cast<quint32>(framesSent - 1))) {
            shownMs = wall.elapsed();
            QCoreApplication::exit(0); // no closing: the window's close ends the program
        } else if (far.finished() && wall.elapsed() - lastChange > 10000) {
            QCoreApplication::exit(0); // no closing: the window's close ends the program
        }
    });
    poll.start(5);
    app.exec();

    const double cpu = cpuSeconds() - cpuBefore;
    ShownBytes shown(bench.log());
    shown.update();
    const Tally t = tally(shown.bytes(), framesSent);
    const double mb = framesSent * FrameSize / (1024.0 * 1024.0);
    std::printf("unpaced: %.0f MiB through a pseudo-terminal, Hex + Formatted view, gap "
                "detection\n",
                mb);
    std::printf(
        "  far end done writing after %lld ms; last byte shown after %lld ms (%.1f MiB/s)\n",
        static_cast<long long>(writtenMs), static_cast<long long>(shownMs),
        shownMs > 0 ? mb / (shownMs / 1000.0) : 0.0);
    std::printf("  shown %lld bytes: lost %lld, duplicated %lld, corrupt %lld; dropped by the "
                "input buffer %lld\n",
                static_cast<long long>(shown.bytes().size()), static_cast<long long>(t.lost),
                static_cast<long long>(t.duplicated), static_cast<long long>(t.corrupt),
                static_cast<long long>(bench.window().session().MSComm1().droppedInputBytes()));
    std::printf("  CPU (user+system) %.2f s: %.2f s per MiB; peak RSS %.0f MB\n", cpu, cpu / mb,
                peakRssBytes() / 1e6);
    return t.lost == 0 && t.duplicated == 0 ? 0 : 2;
}
