// How fast the log view absorbs styled text, whether an append costs more as the log
// grows (up to 1 G characters), and how much memory a character of log takes. A
// 256000-baud line in formatted hex gives about 77 KB/s of text.
#include "app/profiles/log_rich_text.h"
#include "bench_main.h"
#include "notation/notation.h"
#include "notation/view/styled_log.h"
#include "platform/heap_tuning.h"
#include "platform/services.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <benchmark/benchmark.h>
#include <unistd.h>

using namespace kst;

namespace {

// One received block as the receive path writes it: label, then the hex body.
const QString kLabel = "Data received: ";
QString hexBody(int bytes = 16, int first = 0) {
    QByteArray block;
    for (int i = 0; i < bytes; ++i)
        block.append(char((first + i) * 17));
    return PadByteList(StrToHexList(block), ncHex) + "\r\n";
}

// The four styles of the preferences: messages (labels), sent data, and the data of the
// two ports.
const DisplayStyle Message{0x000080, true};
const DisplayStyle Sent{0x008000, false, true};
const DisplayStyle Port1{0x800000};
const DisplayStyle Port2{0x808000, false, false, true};

void addBlock(StyledLog& log, const QString& body) {
    log.Add_Color(kLabel, Message, body, Port1);
}

double rssBytes() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    return status.readAll().split(' ').value(1).toDouble() * double(sysconf(_SC_PAGESIZE));
}

struct LogUnderTest {
    LogView box;
    StyledLog log{&box};
    LogUnderTest() {
        box.resize(800, 600);
        box.show();
        QApplication::processEvents();
    }
    // Fills the log with `characters` of received lines, shown as they come.
    void fillTo(qint64 characters) {
        const QString line = kLabel + hexBody();
        QString chunk;
        while (chunk.size() < 1024 * 1024)
            chunk += line;
        for (qint64 written = 0; written < characters; written += chunk.size()) {
            log.Add_Color(chunk, Message);
            log.flush();
        }
        QApplication::processEvents();
    }
};

// The memory a log takes: 200 M characters of formatted hex lines of 16-byte blocks
// (short lines, the most rows a character) in the four styles, written while shown.
// Counts the growth of the resident size per character of log. It runs first, before
// other benchmarks have taken and given back memory.
void BM_MemoryPerCharacter(benchmark::State& state) {
    const qint64 target = state.range(0) * 1000 * 1000;
    for (auto _ : state) {
        LogUnderTest t;
        std::vector<QString> bodies;
        for (int k = 0; k < 64; ++k)
            bodies.push_back(hexBody(16, k));
        const double before = rssBytes();
        int n = 0;
        while (t.log.length() < target) {
            const QString& body = bodies[size_t(n % 64)];
            switch (n % 4) {
            case 0:
                t.log.Add_Color(kLabel, Message, body, Port1);
                break;
            case 1:
                t.log.Add_Color(QStringLiteral("Data sent: "), Message, body, Sent);
                break;
            case 2:
                t.log.Add_Color(QStringLiteral("\r\n00:00:01.234 [COM 2]: "), Message, body, Port2);
                break;
            default:
                t.log.Add_Color(QStringLiteral("Signal received: "), Message,
                                QStringLiteral("CTS ON ...\r\n"), Port1);
                break;
            }
            if (++n % 4096 == 0)
                QApplication::processEvents();
        }
        t.log.flush();
        QApplication::processEvents();
        const double grown = rssBytes() - before;
        state.counters["log_M_chars"] = double(t.log.length()) / 1e6;
        state.counters["rows_M"] = double(t.log.store().rowCount()) / 1e6;
        state.counters["rss_growth_MB"] = grown / 1e6;
        state.counters["bytes_per_char"] = grown / double(t.log.length());
    }
}
BENCHMARK(BM_MemoryPerCharacter)->Arg(200)->Iterations(1)->Unit(benchmark::kMillisecond);

// A busy line: blocks arrive as fast as they can be logged, with a pass of the event
// loop (timers, layout, repaint) after every eight blocks.
void BM_StyledRunsWithEventLoop(benchmark::State& state) {
    LogUnderTest t;
    const QString body = hexBody();
    int n = 0;
    for (auto _ : state) {
        addBlock(t.log, body);
        if (++n % 8 == 0)
            QApplication::processEvents();
    }
    t.log.flush();
    state.SetBytesProcessed(state.iterations() * (kLabel.size() + body.size()));
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_StyledRunsWithEventLoop)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

// One block written and shown at once (a quiet line), with the log already holding N M
// characters.
void BM_AppendAtLogSize(benchmark::State& state) {
    LogUnderTest t;
    t.fillTo(state.range(0) * 1000 * 1000);
    const QString body = hexBody();
    for (auto _ : state) {
        addBlock(t.log, body);
        t.log.flush();
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * (kLabel.size() + body.size()));
    state.counters["log_M_chars"] = double(t.log.length()) / 1e6;
}
BENCHMARK(BM_AppendAtLogSize)
    ->Arg(0)
    ->Arg(100)
    ->Arg(1000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(2.0);

// Boxes are counted, not shown.
class CountedBoxes : public MessageBoxes {
public:
    int show(const QString&, MsgIcon, MsgButtons, const QString&) override {
        ++count;
        return 1;
    }
    int count = 0;
};

// Copying from a log of N M characters of received lines (label and body in their styles),
// in a view that also copies rich text as the program's does: Select All and Copy of the
// whole log (too large to be of use elsewhere: refused with a box), and the largest copy
// taken, then asked for as plain text and as rich text, as a paste into another program
// asks. The window waits for each of these; the copy is held until it is pasted.
void BM_CopyAtLogSize(benchmark::State& state) {
    CountedBoxes boxes;
    MessageBoxes* previous = Platform::setMessages(&boxes);
    LogUnderTest t;
    t.box.addCopyFormat({{QStringLiteral("text/rtf"), QStringLiteral("application/rtf")}, LogRtf});
    std::vector<QString> bodies;
    for (int k = 0; k < 64; ++k)
        bodies.push_back(hexBody(16, k));
    for (int n = 0; t.log.length() < state.range(0) * 1000 * 1000; ++n) {
        addBlock(t.log, bodies[size_t(n % 64)]);
        if (n % 65536 == 0)
            QApplication::processEvents();
    }
    t.log.flush();
    QApplication::processEvents();
    const qint64 length = t.log.length();
    for (auto _ : state) {
        QElapsedTimer took;
        took.start();
        t.box.selectAll();
        t.box.copy();
        state.counters["all_copy_ms"] = double(took.elapsed());
        state.counters["all_refused"] = boxes.count;

        t.box.select(length - LogView::MostCopiedChars, length);
        const double before = rssBytes();
        took.restart();
        t.box.copy();
        state.counters["largest_copy_ms"] = double(took.elapsed());
        state.counters["largest_copy_held_MB"] = (rssBytes() - before) / 1e6;
        const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
        took.restart();
        const qsizetype plain = copied->data(QStringLiteral("text/plain")).size();
        state.counters["paste_plain_ms"] = double(took.elapsed());
        took.restart();
        const qsizetype rich = copied->data(QStringLiteral("text/rtf")).size();
        state.counters["paste_rtf_ms"] = double(took.elapsed());
        state.counters["plain_MB"] = double(plain) / 1e6;
        state.counters["rtf_MB"] = double(rich) / 1e6;
    }
    state.counters["log_M_chars"] = double(length) / 1e6;
    QGuiApplication::clipboard()->clear();
    Platform::setMessages(previous);
}
BENCHMARK(BM_CopyAtLogSize)->Arg(1200)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    keepLargeBuffersMapped();
    return kst::bench::runWithWidgets(argc, argv);
}
