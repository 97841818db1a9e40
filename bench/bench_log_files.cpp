// Saving and opening a large styled log through the main window's Save and Open Log
// commands, as rich text and as plain text: the time each takes, the memory it needs
// beyond the log it saves or loads, and the longest the window went without handling
// its events (saving holds it; opening reads in slices). `--mb=N` sizes the log in
// millions of characters (default 200).
#include "platform/services.h"
#include "receive_bench.h"
#include "traffic/rx_text.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QRegularExpression>
#include <optional>

using namespace kst;
using namespace kst::bench;

namespace {

// Answers every file dialog with one file and filter, as a user who picks them would.
class FixedFileDialogs : public FileDialogs {
public:
    FixedFileDialogs(QString fileName, int filterIndex)
        : fileName_(std::move(fileName)), filterIndex_(filterIndex) {
        previous_ = Platform::setFileDialogs(this);
    }
    ~FixedFileDialogs() override { Platform::setFileDialogs(previous_); }
    std::optional<ChosenFile> showOpen(const FileDialogRequest&) override { return chosen(); }
    std::optional<ChosenFile> showSave(const FileDialogRequest&) override { return chosen(); }

private:
    ChosenFile chosen() const { return {fileName_, QString(), filterIndex_}; }
    QString fileName_;
    int filterIndex_;
    FileDialogs* previous_ = nullptr;
};

// The peak resident size is started again from the present size, so that what one
// command needs at most can be read after it.
void resetPeakRss() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double peakRssSinceReset() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    const QRegularExpression hwm(QStringLiteral("VmHWM:\\s+(\\d+) kB"));
    const QRegularExpressionMatch match = hwm.match(QString::fromLatin1(status.readAll()));
    return match.hasMatch() ? match.captured(1).toDouble() * 1024.0 : 0;
}

struct Measure {
    qint64 ms = 0;
    qint64 longestBlockMs = 0;
    // The peak beyond the larger of the resident sizes before and after the command:
    // what it needed on top of the log it saved or loaded.
    double extraBytes = 0;
};

template <class Command> Measure measure(frmMain& window, Command command) {
    QApplication::sendPostedEvents();
    const double before = rssBytes();
    resetPeakRss();
    QElapsedTimer took;
    took.start();
    Measure m;
    command();
    m.longestBlockMs = took.elapsed();
    // A log being opened is read in slices between the window's events.
    while (window.log().holding()) {
        QElapsedTimer pass;
        pass.start();
        QApplication::processEvents();
        m.longestBlockMs = qMax(m.longestBlockMs, pass.elapsed());
    }
    QApplication::sendPostedEvents();
    m.ms = took.elapsed();
    m.extraBytes = peakRssSinceReset() - qMax(before, rssBytes());
    return m;
}

// A fingerprint of the log's text and styles, to tell that a file brought all of it back.
QByteArray fingerprint(const LogStore& log, bool styles) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    log.visitRuns(0, log.length(), [&](QStringView text, LogStore::StyleId id) {
        const RunStyle& s = log.style(id);
        if (styles)
            hash.addData(QByteArray::number(s.color) + char(s.bold) + char(s.italic) +
                         char(s.underline) + QByteArray::number(s.pointSize));
        hash.addData(QByteArrayView(reinterpret_cast<const char*>(text.utf16()), text.size() * 2));
    });
    return hash.result();
}

// A log as the receive path writes it: a coloured label and a body in another colour.
void fill(frmMain& window, qsizetype characters) {
    const DisplayStyle label{0x0000C000, true};
    const DisplayStyle body{0x00800000};
    quint32 seq = 0;
    qsizetype written = 0;
    while (written < characters) {
        const QString data = RxDisplayText(frames(seq, 170), ncHex, true) + QStringLiteral("\r\n");
        seq += 170;
        window.Add_Color(QStringLiteral("Data received: "), label, data, body);
        written += 15 + data.size();
        if (seq % (170 * 64) == 0)
            window.log().flush();
    }
    window.log().flush();
}

void run(bool rich, qsizetype megaCharacters) {
    BenchWindow bench;
    frmMain& window = bench.window();
    fill(window, megaCharacters * 1000 * 1000);
    QApplication::sendPostedEvents();
    const qint64 logChars = window.log().length();
    const QByteArray written = fingerprint(window.log().store(), rich);
    const QString path = QDir::temp().filePath(rich ? QStringLiteral("kst-bench-log.rtf")
                                                    : QStringLiteral("kst-bench-log.txt"));
    FixedFileDialogs dialogs(path, rich ? 4 : 2);
    QFile::remove(path);

    const Measure save = measure(window, [&] { window.controller().saveLog(); });
    const qint64 fileSize = QFileInfo(path).size();
    window.log().clear();
    QApplication::sendPostedEvents();
    const Measure open = measure(window, [&] { window.controller().openLog(); });
    const bool same = fingerprint(window.log().store(), rich) == written;
    QFile::remove(path);

    std::printf(
        "%s: log of %.1f M characters, file of %.1f MB; save %lld ms, +%.1f MB "
        "(%.2f bytes per character); open %lld ms (the window handled its events at "
        "least every %lld ms), +%.1f MB (%.2f bytes per character); %s\n",
        rich ? "RTF" : "text", logChars / 1e6, fileSize / 1e6, static_cast<long long>(save.ms),
        save.extraBytes / 1e6, save.extraBytes / double(logChars), static_cast<long long>(open.ms),
        static_cast<long long>(open.longestBlockMs), open.extraBytes / 1e6,
        open.extraBytes / double(logChars), same ? "every character back" : "CHARACTERS DIFFER");
}

} // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    const qsizetype megaCharacters = option(argc, argv, "--mb=", 200);
    run(true, megaCharacters);
    run(false, megaCharacters);
    return 0;
}
