// A long send through the main window: a 4 KB command (1365 hexadecimal items) with
// repeat 1000 and no interval goes to a pseudo-terminal while a reader drains the other
// end. Reports the bytes per second that reach the far end and the longest time the
// event loop did not turn while the send ran (the window's responsiveness).

#include "app/main/frm_main.h"
#include "app/main/main_controller.h"
#include "app/main/session.h"
#include "app/port/port_list.h"
#include "platform/desktop/desktop_services.h"
#include "traffic/send_engine.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <poll.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Items = 1365;
// The most the repeat field takes: 1000 writes in all.
constexpr int Repeat = 999;

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir folder;
    QDir(folder.path()).mkpath("ports");
    int master = -1;
    int slave = -1;
    char name[128] = {};
    if (openpty(&master, &slave, name, nullptr, nullptr) != 0) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        return 1;
    }
    ::close(slave);
    QFile::link(QString::fromLocal8Bit(name), folder.path() + "/ports/COM1");

    kst::frmMain window(folder.path(), QSize(1280, 1024));
    window.session().discoverDevices = [] { return QStringList(); };
    window.controller().portList().FillPortList({1});
    const kst::MainControls& ui = window.ui();
    ui.portChoice->setCurrentIndex(0);
    ui.BaudChoice->setCurrentIndex(15);
    ui.DataBitChoice->setCurrentIndex(4);
    ui.ParityChoice->setCurrentIndex(0);
    ui.StopBitChoice->setCurrentIndex(0);
    window.show();
    window.controller().port().OpenPort();
    if (!window.session().MSComm1().PortOpen()) {
        std::fprintf(stderr, "the port did not open\n");
        return 1;
    }

    kst::SendAction action;
    for (int i = 0; i < Items; ++i)
        action.command += QString::number(i % 256, 16).toUpper() + ',';
    action.repeat = Repeat;
    const qint64 expected = qint64(Items) * (Repeat + 1);

    std::atomic<qint64> received{0};
    std::atomic<bool> stop{false};
    std::thread reader([&] {
        char buffer[65536];
        while (!stop && received < expected) {
            pollfd p{master, POLLIN, 0};
            if (poll(&p, 1, 50) > 0) {
                const ssize_t n = ::read(master, buffer, sizeof buffer);
                if (n > 0)
                    received += n;
            }
        }
    });

    // The longest gap between two turns of the event loop while the send runs.
    QElapsedTimer clock;
    qint64 lastTurn = 0;
    qint64 longestGap = 0;
    QTimer turn;
    turn.setTimerType(Qt::PreciseTimer);
    turn.setInterval(1);
    QObject::connect(&turn, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
    });

    QEventLoop loop;
    QTimer done;
    done.setInterval(5);
    QObject::connect(&done, &QTimer::timeout, [&] {
        if (!window.session().sender().busy() && received >= expected)
            loop.quit();
        if (clock.elapsed() > 120000)
            loop.quit();
    });
    clock.start();
    turn.start();
    done.start();
    window.session().sender().send(action, QStringLiteral("Command Pane"));
    loop.exec();
    const qint64 elapsed = clock.elapsed();
    stop = true;
    reader.join();
    ::close(master);

    std::printf("send of %d bytes x %d: %lld of %lld bytes arrived in %lld ms: %.2f MB/s; "
                "longest event-loop block %lld ms\n",
                Items, Repeat + 1, static_cast<long long>(received.load()),
                static_cast<long long>(expected), static_cast<long long>(elapsed),
                elapsed > 0 ? received.load() / 1e3 / elapsed : 0.0,
                static_cast<long long>(longestGap));
    return received == expected ? 0 : 1;
}
