// How fast the engines answer a device, through a pseudo-terminal with gap detection:
// from the last byte of a request written at the far end to the first byte of the
// answer read there, for an auto-response rule (quiet and with the log searched every
// second) and for a macro sub-routine's IF branch; median and 99th percentile of 1000
// rounds each (`--rounds=N`). Then macros 1 to 8 played continuously, again and again,
// against a far end that answers each of their requests: back to back for a fifth of
// `--seconds=N`, then for `--seconds=N` (default 600) as a device is polled, each macro
// asking 500 ms after it starts: the program's CPU and the longest time its event loop
// did not turn (its longest event), timed from inside the loop so that measuring it
// wakes nothing.
#include "receive_bench.h"

#include "app/receiving/log_search_control.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "platform/db/recordset.h"
#include "storage/columns/prog_macros_seq_columns.h"
#include "storage/columns/prog_macros_sub_routines_columns.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <poll.h>
#include <thread>
#include <utility>
#include <vector>

using namespace kst;
using namespace kst::bench;
using Steady = std::chrono::steady_clock;

namespace {

// The far end, on a thread of its own in this process: its CPU is taken out of the
// program's.
class Device {
public:
    Device() {
        char name[128] = {};
        int slave = -1;
        if (openpty(&master_, &slave, name, nullptr, nullptr) != 0)
            std::exit(1);
        ::close(slave);
        path_ = QString::fromLocal8Bit(name);
    }
    ~Device() { ::close(master_); }
    const QString& path() const { return path_; }

    // Writes `request` (if any), then reads `answerSize` bytes; the milliseconds from the
    // request's last byte to the answer's first, or -1 when nothing came within `timeoutMs`.
    double ask(const QByteArray& request, qsizetype answerSize, int timeoutMs = 3000) {
        if (!request.isEmpty())
            writeAll(master_, request.constData(), request.size());
        const Steady::time_point sent = Steady::now();
        Steady::time_point first{};
        qsizetype got = 0;
        char buffer[256];
        while (got < answerSize) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, timeoutMs) <= 0)
                return -1;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            if (n <= 0)
                return -1;
            if (got == 0)
                first = Steady::now();
            got += n;
        }
        return std::chrono::duration<double, std::milli>(first - sent).count();
    }
    // Answers each byte `question` with `answer` until told to stop.
    void answer(char question, const QByteArray& reply, const std::atomic<bool>& stop) {
        char buffer[256];
        while (!stop) {
            pollfd p{master_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0)
                continue;
            const ssize_t n = ::read(master_, buffer, sizeof buffer);
            for (ssize_t k = 0; k < n; ++k)
                if (buffer[k] == question)
                    writeAll(master_, reply.constData(), reply.size());
        }
    }

private:
    int master_ = -1;
    QString path_;
};

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

struct Figures {
    double median = 0;
    double p99 = 0;
    int missed = 0;
};

Figures figuresOf(std::vector<double> ms) {
    Figures f;
    f.missed = static_cast<int>(std::count(ms.begin(), ms.end(), -1.0));
    ms.erase(std::remove(ms.begin(), ms.end(), -1.0), ms.end());
    if (ms.empty())
        return f;
    std::sort(ms.begin(), ms.end());
    f.median = ms[ms.size() / 2];
    f.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    return f;
}

// The application that times each event the event loop hands out, with all the events
// sent while it is handled: the longest is the longest the loop did not turn. A probe
// timer would wake the loop hundreds of times a second, and its cost would count as the
// program's.
class TimedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        // Other threads' events (the serial reader's) are not the window's turns.
        if (depth_ > 0 || QThread::currentThread() != thread())
            return QApplication::notify(receiver, event);
        ++depth_;
        QElapsedTimer handling;
        handling.start();
        const bool handled = QApplication::notify(receiver, event);
        longestNs_ = std::max(longestNs_, handling.nsecsElapsed());
        --depth_;
        return handled;
    }
    // The longest turn since the last call.
    qint64 takeLongestTurnMs() { return std::exchange(longestNs_, 0) / 1000000; }

private:
    qint64 longestNs_ = 0;
    int depth_ = 0;
};

// Runs `work` on a thread while the event loop turns; returns when it has ended.
void whileLoopTurns(QApplication& app, const std::function<void()>& work) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        work();
        done = true;
    });
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, [&] {
        if (done)
            app.exit(0);
    });
    check.start(20);
    app.exec();
    thread.join();
}

MacroRecords answeringMacro() {
    // Step 1 asks ("Q"), step 2 waits for the reply "R" and its IF answers "S".
    MacroRecords macro;
    macro.steps[0].send.command = QStringLiteral("51,");
    macro.steps[1].action = 1;
    macro.steps[1].subRoutineNo = 0;
    macro.steps[1].waitMs = 2000;
    macro.subRoutines[0].ifCondition.data = QStringLiteral("52,");
    macro.subRoutines[0].ifThen.command = QStringLiteral("53,");
    return macro;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = option(argc, argv, "--rounds=", 1000);
    const int seconds = option(argc, argv, "--seconds=", 600);
    Device device;
    prepareProcess();
    TimedApplication app(argc, argv);
    BenchWindow bench(device.path());
    bench.open();
    frmMain& window = bench.window();
    Session& session = window.session();
    const int gapTick = window.controller().commEvents().receivePath().cutter().gapTickMs();

    // An auto-response rule: "REQ" is answered "ACK".
    AutoResponseRules rules;
    rules[0].condition.data = QStringLiteral("52,45,51,");
    rules[0].response.command = QStringLiteral("41,43,4B,");
    session.autoResponder().setRules(rules);
    session.autoResponder().switchTo(true);
    auto autoResponse = [&] {
        std::vector<double> ms;
        whileLoopTurns(app, [&] {
            for (int k = 0; k < rounds; ++k) {
                ms.push_back(device.ask("REQ", 3));
                std::this_thread::sleep_for(std::chrono::milliseconds(3));
            }
        });
        return figuresOf(ms);
    };
    const Figures quiet = autoResponse();
    QTimer search;
    QObject::connect(&search, &QTimer::timeout, [&] {
        window.ui().Text2->setText(QStringLiteral("41 43 4B"));
        window.ui().cmdSearch->click();
    });
    search.start(1000);
    const Figures busy = autoResponse();
    search.stop();
    session.autoResponder().switchTo(false);

    // A macro's IF branch: each round runs the macro, which asks, and the reply is
    // answered.
    MacroRunner& runner = session.macroRunner();
    runner.setMacro(answeringMacro());
    std::vector<double> macroMs;
    whileLoopTurns(app, [&] {
        for (int k = 0; k < rounds; ++k) {
            QMetaObject::invokeMethod(&window, [&runner] { runner.run(); });
            device.ask(QByteArray(), 1); // the macro asks
            macroMs.push_back(device.ask("R", 1));
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    const Figures macro = figuresOf(macroMs);

    // Macros 1 to 8 in continuous play, run again whenever they stop, against a device
    // that answers every request: back to back, and as a device is polled, each macro
    // asking `pollDelayMs` after it starts. Each macro the continuous run selects is
    // loaded from the profile, so all eight get the answering steps there.
    const QString conn = session.shared().SettingsConnStr;
    auto setRow = [&conn](const char* table, int id,
                          std::initializer_list<std::pair<int, db::Value>> fields) {
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM %1 WHERE ID = %2").arg(table).arg(id), conn);
        rs.moveFirst();
        for (const auto& [ordinal, value] : fields)
            rs.setValue(ordinal, value);
        rs.update();
        rs.close();
    };
    struct Play {
        double wallSeconds = 0;
        double cpuPercent = 0;
        qint64 longestTurnMs = 0;
        int macros = 0;
    };
    auto playContinuously = [&](int forSeconds, int pollDelayMs) {
        for (int m = 0; m < 8; ++m) {
            setRow("progMacrosSeq", m * 8 + 1,
                   {{ProgMacrosSeqColumn::ActionOpt, db::Value(qint64(0))},
                    {ProgMacrosSeqColumn::CmdStr, db::Value(QStringLiteral("51,"))},
                    {ProgMacrosSeqColumn::Delay, db::Value(qint64(pollDelayMs))}});
            setRow("progMacrosSeq", m * 8 + 2,
                   {{ProgMacrosSeqColumn::ActionOpt, db::Value(qint64(1))},
                    {ProgMacrosSeqColumn::SubRoutineNo, db::Value(qint64(0))},
                    {ProgMacrosSeqColumn::TimerAfter, db::Value(qint64(2000))}});
            setRow("progMacrosSubRoutines", m * 8 + 1,
                   {{ProgMacrosSubRoutinesColumn::IfOpt, db::Value(qint64(0))},
                    {ProgMacrosSubRoutinesColumn::IfCode, db::Value(QStringLiteral("52,"))},
                    {ProgMacrosSubRoutinesColumn::IfThenCmd, db::Value(QStringLiteral("53,"))}});
        }
        std::atomic<bool> stop{false};
        double deviceCpu = 0;
        int answered = 0;
        std::thread answering([&] {
            const double before = threadCpuSeconds();
            device.answer('Q', "R", stop);
            deviceCpu = threadCpuSeconds() - before;
        });
        QTimer again;
        QObject::connect(&again, &QTimer::timeout, [&] {
            if (!runner.idle())
                return;
            window.ui().cboMacros->setCurrentIndex(0);
            window.controller().profile().Get_Macros_Details(1);
            runner.setContinuousPlay(true);
            runner.run();
            ++answered;
        });
        Play play;
        const double cpuBefore = cpuSeconds();
        QElapsedTimer wall;
        wall.start();
        again.start(50);
        QTimer::singleShot(0, [&] { app.takeLongestTurnMs(); });
        QTimer::singleShot(forSeconds * 1000, [&] {
            play.longestTurnMs = app.takeLongestTurnMs();
            app.exit(0);
        });
        app.exec();
        stop = true;
        answering.join();
        runner.stop();
        play.wallSeconds = wall.elapsed() / 1000.0;
        play.cpuPercent = 100.0 * (cpuSeconds() - cpuBefore - deviceCpu) / play.wallSeconds;
        play.macros = answered * 8;
        return play;
    };
    const Play backToBack = playContinuously(std::max(10, seconds / 5), 0);
    const Play polled = playContinuously(seconds, 500);

    std::printf("engines through a pseudo-terminal, gap detection (tick %d ms), %d rounds each\n",
                gapTick, rounds);
    std::printf("  auto-response, request's last byte to answer's first: median %.1f ms, "
                "p99 %.1f ms, %d unanswered (goal: p99 <= %d ms)\n",
                quiet.median, quiet.p99, quiet.missed, 2 * gapTick + 5);
    std::printf("  the same with the log searched every second: median %.1f ms, p99 %.1f ms, "
                "%d unanswered\n",
                busy.median, busy.p99, busy.missed);
    std::printf("  macro IF branch, reply's last byte to answer's first: median %.1f ms, "
                "p99 %.1f ms, %d unanswered\n",
                macro.median, macro.p99, macro.missed);
    for (const auto& [what, play] : {std::pair{"back to back", backToBack},
                                     std::pair{"each asking 500 ms after its start", polled}}) {
        std::printf("  macros 1-8 played continuously, %s, for %.0f s (about %d macros): CPU "
                    "%.2f %% of one core (goal under 2 %%); longest the event loop did not turn: "
                    "%lld ms (goal 20 ms)\n",
                    what, play.wallSeconds, play.macros, play.cpuPercent,
                    static_cast<long long>(play.longestTurnMs));
    }
    return 0;
}
