#include "app/profiles/log_rich_text.h"

#include "notation/view/log_store.h"
#include "storage/rtf.h"

namespace kst {

namespace {

constexpr qsizetype PieceBytes = 1 << 20;
// The longest run handed to the writer at once.
constexpr qsizetype LongestRun = 1 << 16;

} // namespace

void WriteLogRtf(const LogStore& log, const QString& fontName,
                 const std::function<void(QByteArrayView)>& write) {
    QList<quint32> colors;
    for (qsizetype id = 0; id < log.styleCount(); ++id)
        if (!colors.contains(log.style(LogStore::StyleId(id)).color))
            colors << log.style(LogStore::StyleId(id)).color;
    const RtfWriter writer(colors, fontName);
    QByteArray out = writer.begin();
    StyledRun run;
    const auto writeRun = [&] {
        if (!run.text.isEmpty())
            writer.append(out, run);
        run.text.clear();
        if (out.size() >= PieceBytes) {
            write(out);
            out.clear();
        }
    };
    log.visitRuns(0, log.length(), [&](QStringView text, LogStore::StyleId id) {
        const RunStyle& style = log.style(id);
        if (run.style != style || run.text.size() >= LongestRun) {
            writeRun();
            run.style = style;
        }
        run.text += text;
    });
    writeRun();
    out += RtfWriter::end();
    write(out);
}

QByteArray LogRtf(const LogStore& log, const QString& fontName) {
    QByteArray document;
    WriteLogRtf(log, fontName, [&](QByteArrayView piece) { document += piece; });
    return document;
}

} // namespace kst
