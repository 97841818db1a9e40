// The notes box of the main window with a megabyte pasted as one line, as a capture pasted
// as one line of hexadecimal: how long the paste takes until it is shown, and each of the
// keys typed at its end after it (goal: the paste shown within 2 s, a key within 0.3 s).
// The same for the megabyte as hexadecimal bytes with blanks and as ordinary words, which
// still break at word boundaries, and as words of a thousand characters. `--kb=N` sizes the
// line in KiB (default 1024).
#include "receive_bench.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTabBar>

using namespace kst;
using namespace kst::bench;

namespace {

QString repeated(const QString& piece, qsizetype size) {
    QString text;
    text.reserve(size + piece.size());
    while (text.size() < size)
        text += piece;
    text.truncate(size);
    return text;
}

// Lays out and paints what the box shows, as the screen would.
void show(QPlainTextEdit& box) {
    QApplication::sendPostedEvents();
    box.grab();
}

void run(const char* what, const QString& line) {
    BenchWindow bench;
    frmMain& window = bench.window();
    window.show();
    window.ui().SSTab1->findChild<QTabBar*>(QStringLiteral("tabs"))->setCurrentIndex(1);
    QPlainTextEdit& box = *window.ui().RichTextBox1;
    box.setFocus();
    show(box);
    QApplication::clipboard()->setText(line);
    QElapsedTimer timer;
    timer.start();
    box.paste();
    show(box);
    const qint64 pasteMs = timer.elapsed();
    qint64 slowestKeyMs = 0;
    for (const QChar key : QStringLiteral("0A,")) {
        timer.restart();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(key));
        QApplication::sendEvent(&box, &press);
        show(box);
        slowestKeyMs = std::max(slowestKeyMs, timer.elapsed());
    }
    std::printf("%-38s %7lld characters: paste shown %5lld ms, slowest of 3 keys %4lld ms, %s\n",
                what, static_cast<long long>(box.document()->characterCount() - 1),
                static_cast<long long>(pasteMs), static_cast<long long>(slowestKeyMs),
                box.wordWrapMode() == QTextOption::WrapAnywhere ? "lines broken anywhere"
                                                                : "lines broken at words");
}

} // namespace

int main(int argc, char** argv) {
    prepareProcess();
    QApplication app(argc, argv);
    const qsizetype size = option(argc, argv, "--kb=", 1024) * 1024;
    run("one line without blanks", repeated(QStringLiteral("0123456789ABCDEF"), size));
    run("one line of hexadecimal bytes", repeated(QStringLiteral("4F "), size));
    run("one line of words", repeated(QStringLiteral("reboot the modem first "), size));
    run("one line of words of 1023 characters", repeated(QString(1023, u'x') + u' ', size));
    return 0;
}
