// How fast a received block becomes the text of its log line, in each notation, and
// how fast the text is kept to bounded lines. A 256000-baud line brings 25.6 kB/s.
#include "notation/notation.h"
#include "traffic/bounded_lines.h"
#include "traffic/rx_text.h"

#include <benchmark/benchmark.h>

using namespace kst;

namespace {

QByteArray block(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 31 + (i >> 8) * 7);
    return bytes;
}

void BM_RxDisplayText(benchmark::State& state) {
    const QByteArray data = block(4096);
    const int rxFormat = static_cast<int>(state.range(0));
    const bool formatted = state.range(1) != 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(RxDisplayText(data, rxFormat, formatted));
    state.SetBytesProcessed(state.iterations() * data.size());
}
BENCHMARK(BM_RxDisplayText)
    ->ArgNames({"notation", "formatted"})
    ->ArgsProduct({{ncDec, ncHex, ncOct, ncBin, ncAscii}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

void BM_BoundedLines(benchmark::State& state) {
    const QString text = RxDisplayText(block(64 * 1024), ncHex, true);
    BoundedLines lines;
    for (auto _ : state)
        benchmark::DoNotOptimize(lines.append(text));
    state.SetBytesProcessed(state.iterations() * text.size() * 2);
}
BENCHMARK(BM_BoundedLines)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
