// One search step in a log of 500 M characters, in the running main window: the first step
// after the search text changed (it counts the matches of the whole log), the next step,
// and a step after more data was written. A step runs on the user-interface thread, so
// its time is how long the window goes without repainting. `--mb=N` sizes the log.
#include "receive_bench.h"
#include "traffic/elapsed_stamp.h"
#include "traffic/rx_text.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <vector>

using namespace kst;
using namespace kst::bench;

namespace {

// About 1 MB of log text as a shape of log writes it: "Data received: " lines of a busy
// line in Debugging mode (long), or stamped monitoring lines of 16 bytes (short).
QString chunk(bool shortLines, quint32& seq) {
    QString text;
    while (text.size() < 1024 * 1024) {
        if (shortLines) {
            text += QStringLiteral("\r\n") + ElapsedStamp(seq) + QStringLiteral(" [RX]: ") +
                    RxDisplayText(frames(seq, 2), ncHex, true);
            seq += 2;
        } else {
            text += QStringLiteral("Data received: ") +
                    RxDisplayText(frames(seq, 170), ncHex, true) + QStringLiteral("\r\n");
            seq += 170;
        }
    }
    return text;
}

qint64 step(frmMain& window, const QString& text) {
    const MainControls& ui = window.ui();
    ui.Text2->setText(text);
    QElapsedTimer took;
    took.start();
    ui.cmdSearch->click();
    return took.elapsed();
}

void run(bool shortLines, qsizetype megabytes) {
    BenchWindow bench;
    frmMain& window = bench.window();
    window.show();
    quint32 seq = 0;
    for (qsizetype k = 0; k < megabytes; ++k) {
        window.Add_Color(chunk(shortLines, seq), {});
        window.log().flush();
    }
    QApplication::sendPostedEvents();
    const qint64 chars = bench.log().length();

    // A new text each time, so every first step counts the whole log again.
    std::vector<qint64> first;
    for (const char* text :
         {"3c a5 01 01", "3C A5 01 01", "3c A5 01 01", "3C a5 01 01", "3c a5 01 01"})
        first.push_back(step(window, QString::fromLatin1(text)));
    std::sort(first.begin(), first.end());
    const QString result = window.ui().lblSearchResult->text();
    const qint64 next = step(window, QStringLiteral("3c a5 01 01"));
    window.Add_Color(chunk(shortLines, seq), {});
    const qint64 afterMore = step(window, QStringLiteral("3c a5 01 01"));
    std::printf(
        "%s lines, %.1f M characters in %lld rows: first step %lld ms (median of 5, "
        "longest %lld), next %lld ms, after 1 MB more %lld ms; %s\n",
        shortLines ? "short" : "long", chars / 1e6, static_cast<long long>(bench.log().rowCount()),
        static_cast<long long>(first[first.size() / 2]), static_cast<long long>(first.back()),
        static_cast<long long>(next), static_cast<long long>(afterMore), qPrintable(result));
}

} // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    const qsizetype megabytes = option(argc, argv, "--mb=", 500);
    run(false, megabytes);
    run(true, megabytes);
    return 0;
}
