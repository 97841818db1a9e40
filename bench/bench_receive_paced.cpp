// A 256000-baud line (25.6 kB/s) into the running main window for a minute: Hex with
// Formatted view and gap detection, while the window is resized and the log searched.
// Reports the bytes lost and shown twice, the CPU time per MB received and the peak
// memory per byte of log text. `--seconds=N` runs it shorter (default 60).
#include "receive_bench.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace kst;
using namespace kst::bench;

namespace {

constexpr int TickMs = 10;
constexpr qsizetype FramesPerTick = 32; // 256 bytes every 10 ms: 25.6 kB/s

void pacedWriter(int master, qsizetype ticks) {
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (qsizetype k = 0; k < ticks; ++k) {
        const QByteArray bytes = frames(static_cast<quint32>(k * FramesPerTick), FramesPerTick);
        if (!writeAll(master, bytes.constData(), bytes.size()))
            return;
        next.tv_nsec += TickMs * 1000000L;
        if (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}

} // namespace

int main(int argc, char** argv) {
    const int seconds = option(argc, argv, "--seconds=", 60);
    const qsizetype ticks = qsizetype(seconds) * 1000 / TickMs;
    const qsizetype framesSent = ticks * FramesPerTick;
    FarEnd far([ticks](int master) { pacedWriter(master, ticks); });

    prepareProcess();
    QApplication app(argc, argv);
    BenchWindow bench(far.slavePath());
    bench.open();
    frmMain& window = bench.window();
    const MainControls& ui = window.ui();

    double rssBefore = 0;
    double cpuBefore = 0;
    QElapsedTimer wall;
    int resizes = 0;
    QTimer resize;
    QObject::connect(&resize, &QTimer::timeout,
                     [&] { window.resize(++resizes % 2 ? QSize(900, 700) : QSize(1400, 1000)); });

    int searches = 0;
    qint64 longestSearchMs = 0;
    QTimer search;
    QObject::connect(&search, &QTimer::timeout, [&] {
        ui.Text2->setText(QStringLiteral("A5 00 01"));
        QElapsedTimer took;
        took.start();
        ui.cmdSearch->click();
        longestSearchMs = qMax(longestSearchMs, took.elapsed());
        ++searches;
    });

    qint64 lastChange = 0;
    qint64 lastCount = 0;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const LogStore& log = bench.log();
        if (log.length() != lastCount) {
            lastCount = log.length();
            lastChange = wall.elapsed();
        }
        const bool done = lastFrameShown(log, static_cast<quint32>(framesSent - 1));
        if (far.finished() && (done || wall.elapsed() - lastChange > 5000))
            QCoreApplication::exit(0); // no closing: the window's close ends the program
    });

    // The window is shown at both sizes and searched once before the line starts, so
    // the memory it takes for that is not counted as the log's.
    resize.start(300);
    QTimer::singleShot(1000, [&] {
        ui.cmdSearch->click();
        rssBefore = rssBytes();
        cpuBefore = cpuSeconds();
        wall.start();
        far.start();
        resize.start(500);
        search.start(3000);
        poll.start(100);
    });
    app.exec();

    const double cpu = cpuSeconds() - cpuBefore;
    const double peak = peakRssBytes();
    ShownBytes shown(bench.log());
    shown.update();
    const Tally t = tally(shown.bytes(), framesSent);
    const double sentBytes = double(framesSent * FrameSize);
    const double logChars = double(bench.log().length());
    std::printf("paced line: 256000 baud, %d s, Hex + Formatted view, gap detection; %d resizes "
                "and %d searches meanwhile\n",
                seconds, resizes, searches);
    std::printf("  sent %.0f bytes, shown %lld: lost %lld, duplicated %lld, corrupt %lld\n",
                sentBytes, static_cast<long long>(shown.bytes().size()),
                static_cast<long long>(t.lost), static_cast<long long>(t.duplicated),
                static_cast<long long>(t.corrupt));
    std::printf("  CPU (user+system) %.2f s over %.1f s: %.2f s per MB received\n", cpu,
                wall.elapsed() / 1000.0, cpu / (sentBytes / 1e6));
    std::printf("  log text %.0f characters; RSS %.1f MB before, peak %.1f MB: %.2f bytes of "
                "memory per byte of log (%.2f counting only the growth)\n",
                logChars, rssBefore / 1e6, peak / 1e6, peak / logChars,
                (peak - rssBefore) / logChars);
    std::printf("  longest search step while receiving: %lld ms\n",
                static_cast<long long>(longestSearchMs));
    return t.lost == 0 && t.duplicated == 0 ? 0 : 2;
}
