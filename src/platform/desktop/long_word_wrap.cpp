#include "long_word_wrap.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace kst {

namespace {

// A blank a line may break at: the no-break spaces hold a word together.
bool breaksLine(QChar c) {
    return c.isSpace() && c != QChar::Nbsp && c != QChar(0x2007) && c != QChar(0x202F);
}

} // namespace

bool holdsLongWord(QStringView text) {
    qsizetype run = 0;
    for (const QChar c : text) {
        if (breaksLine(c))
            run = 0;
        else if (++run >= LongWordLength)
            return true;
    }
    return false;
}

void breakLongWordsAnywhere(QPlainTextEdit& box) {
    // A change is told before the box lays its text out: the lines are broken the new way
    // at once.
    QObject::connect(box.document(), &QTextDocument::contentsChange, &box, [&box] {
        const QTextOption::WrapMode mode = holdsLongWord(box.document()->toRawText())
                                               ? QTextOption::WrapAnywhere
                                               : QTextOption::WrapAtWordBoundaryOrAnywhere;
        if (box.wordWrapMode() != mode)
            box.setWordWrapMode(mode);
    });
}

} // namespace kst
