#include "long_word_wrap.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace kst {

namespace {

// A blank a line may break at: the no-break spaces hold a word together.
bool breaksLine(QChar c) {
    return c.isSpace() && c != QChar::Nbsp && c != QChar(0x2007) && c != QChar(0x202F);
}

// Whether breaking `text`'s lines at word boundaries is slow. That work grows with the square
// of each word's length (the end of a word is looked for again from each of its lines): a
// megabyte in one word holds the window for minutes, a megabyte of words of a thousand
// characters still gives each key a pause. Ordinary notes, a long token among them, are far
// from it.
bool slowToBreakAtWords(QStringView text) {
    // The squares of the words' lengths, summed: about 50 ms of a key's layout.
    constexpr qint64 SlowWork = 500'000'000;
    qint64 work = 0;
    qint64 word = 0;
    for (const QChar c : text) {
        if (!breaksLine(c)) {
            ++word;
            continue;
        }
        work += word * word;
        word = 0;
        if (work > SlowWork)
            return true;
    }
    return work + word * word > SlowWork;
}

} // namespace

void breakLongWordsAnywhere(QPlainTextEdit& box) {
    // A change is told before the box lays its text out: the lines are broken the new way
    // at once.
    QObject::connect(box.document(), &QTextDocument::contentsChange, &box, [&box] {
        const QTextOption::WrapMode mode = slowToBreakAtWords(box.document()->toRawText())
                                               ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere;
        if (box.wordWrapMode() != mode)
            box.setWordWrapMode(mode);
    });
}

} // namespace kst
