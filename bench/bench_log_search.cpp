// Search steps in a large log (1.2 G characters unless `--mb=N` says otherwise), in the
// running main window. A step runs on the user-interface thread: it reads the log in
// slices between the window's events, so what counts is the longest time the window
// waits for one, and how long the step takes to show its match and its count. Cases:
// - the first step after the search text changed (the whole log is counted), for a text
//   found seldom and one found in every frame;
// - the next step, with the count known;
// - steps while data streams in, each click between a write and its showing (the
//   moment the log tells the search of the write only after the step read it).
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

// About `size` characters of log text as a shape of log writes it: "Data received: " lines
// of a busy line in Debugging mode (long), or stamped monitoring lines of 16 bytes (short).
QString chunk(bool shortLines, quint32& seq, qsizetype size = 1024 * 1024) {
    QString text;
    while (text.size() < size) {
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

// One step as the user makes it: the click, then the window's events until the result
// label shows (the count is done).
struct Timing {
    qint64 shown = 0;   // until the match is selected
    qint64 longest = 0; // the longest the window waited for its events, the click included
    qint64 whole = 0;   // until the label shows
    QString label;
};

Timing step(frmMain& window, const QString& text) {
    const MainControls& ui = window.ui();
    if (ui.Text2->text() != text)
        ui.Text2->setText(text);
    Timing t;
    const qint64 before = ui.responseBox->selectionStart();
    const auto matchShown = [&] {
        if (t.shown == 0 &&
            (ui.responseBox->selectionStart() != before || !ui.lblSearchResult->isHidden()))
            t.shown = std::max<qint64>(1, t.whole);
    };
    QElapsedTimer whole;
    whole.start();
    ui.cmdSearch->click();
    t.whole = t.longest = whole.elapsed();
    matchShown();
    while (ui.lblSearchResult->isHidden()) {
        QElapsedTimer pass;
        pass.start();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        t.longest = qMax(t.longest, pass.elapsed());
        t.whole = whole.elapsed();
        matchShown();
    }
    t.whole = whole.elapsed();
    t.label = ui.lblSearchResult->text();
    return t;
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
    // The window is shown and laid out before anything is measured.
    for (int pass = 0; pass < 10; ++pass)
        QCoreApplication::processEvents();
    const qint64 chars = bench.log().length();
    std::printf("%s lines, %.1f M characters in %lld rows:\n", shortLines ? "short" : "long",
                chars / 1e6, static_cast<long long>(bench.log().rowCount()));

    // A new text each time, so every first step counts the whole log again.
    for (const auto& [what, texts] :
         {std::pair{"a text found seldom",
                    QStringList{"3c a5 01 01", "3C A5 01 01", "3c A5 01 01"}},
          std::pair{"a text found in every frame", QStringList{"3c a5", "3C A5", "3c A5"}}}) {
        std::vector<Timing> first;
        for (const QString& text : texts)
            first.push_back(step(window, text));
        const auto most = [&](qint64 Timing::*field) {
            qint64 m = 0;
            for (const Timing& t : first)
                m = qMax(m, t.*field);
            return static_cast<long long>(m);
        };
        const Timing next = step(window, texts.back());
        std::printf("  first step, %s: match shown after %lld ms, count after %lld ms, the "
                    "window waited at most %lld ms (longest of %lld); next step %lld ms; %s\n",
                    what, most(&Timing::shown), most(&Timing::whole), most(&Timing::longest),
                    static_cast<long long>(first.size()), static_cast<long long>(next.whole),
                    qPrintable(next.label));
    }

    // Data streams in: 64 KB written, a click before the write is shown, then the showing.
    std::vector<qint64> clicks;
    qint64 longest = 0;
    for (int k = 0; k < 20; ++k) {
        window.Add_Color(chunk(shortLines, seq, 64 * 1024), {});
        const Timing t = step(window, QStringLiteral("3c A5"));
        window.log().flush();
        QCoreApplication::processEvents();
        clicks.push_back(t.whole);
        longest = qMax(longest, t.longest);
    }
    std::sort(clicks.begin(), clicks.end());
    std::printf("  steps while 64 KB arrive between them: median %lld ms, slowest %lld ms, the "
                "window waited at most %lld ms\n",
                static_cast<long long>(clicks[clicks.size() / 2]),
                static_cast<long long>(clicks.back()), static_cast<long long>(longest));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    const qsizetype megabytes = option(argc, argv, "--mb=", 1200);
    run(false, megabytes);
    run(true, megabytes);
    return 0;
}
