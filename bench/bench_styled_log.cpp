// How fast the log view absorbs styled text, and whether an append costs more as the
// log grows. A 256000-baud line in formatted hex gives about 77 KB/s of text.
#include "bench_main.h"
#include "notation/notation.h"
#include "notation/view/styled_log.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <benchmark/benchmark.h>

using namespace kst;

namespace {

// One received block as the receive path writes it: label, then the hex body.
const QString kLabel = "Data received: ";
QString hexBody() {
    QByteArray block;
    for (int i = 0; i < 16; ++i)
        block.append(char(i * 17));
    return PadByteList(StrToHexList(block), ncHex) + "\r\n";
}

void addBlock(StyledLog& log, const QString& body) {
    log.Add_Color(kLabel, 0x000080, true, false, false, body, 0x800000, false, false, false);
}

struct LogUnderTest {
    QPlainTextEdit box;
    StyledLog log{&box};
    LogUnderTest() {
        box.resize(800, 600);
        box.show();
    }
    void fillTo(qsizetype megabytes) {
        const QString line = kLabel + hexBody();
        QString chunk;
        while (chunk.size() < 1024 * 1024)
            chunk += line;
        for (qsizetype i = 0; i < megabytes; ++i) {
            log.Add_Color(chunk, 0x000080, false, false, false);
            log.flush();
        }
        QApplication::processEvents();
    }
};

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

// One block written and shown at once (a quiet line), with the log already holding N MB.
void BM_AppendAtLogSize(benchmark::State& state) {
    LogUnderTest t;
    t.fillTo(state.range(0));
    const QString body = hexBody();
    for (auto _ : state) {
        addBlock(t.log, body);
        t.log.flush();
        QApplication::processEvents();
    }
    state.SetBytesProcessed(state.iterations() * (kLabel.size() + body.size()));
    state.counters["log_MB"] = double(state.range(0));
}
BENCHMARK(BM_AppendAtLogSize)->Arg(0)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    return kst::bench::runWithWidgets(argc, argv);
}
