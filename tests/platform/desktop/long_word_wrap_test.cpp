#include "platform/desktop/long_word_wrap.h"

#include <QPlainTextEdit>
#include <gtest/gtest.h>

using namespace kst;

// Notes break at word boundaries; a word of a capture pasted as one line makes them break
// anywhere until it is gone again, however the text changed.
TEST(LongWordWrap, OnlyALongWordMakesTheBoxBreakAnywhere) {
    QPlainTextEdit box;
    breakLongWordsAnywhere(box);
    const QString longWord(LongWordLength, u'4');
    const struct {
        QString text;
        bool anywhere;
    } cases[] = {
        {"reset with 3 pulses", false},
        {"4F " + longWord.left(LongWordLength - 1) + " end", false},
        {"notes\n" + longWord, true},
        {longWord.left(LongWordLength / 2) + "\t" + longWord.left(LongWordLength / 2), false},
        {longWord.left(LongWordLength / 2) + "\u00A0" + longWord.left(LongWordLength / 2), true},
        {"reset with 4 pulses", false},
    };
    for (const auto& c : cases) {
        box.setPlainText(c.text);
        EXPECT_EQ(box.wordWrapMode() == QTextOption::WrapAnywhere, c.anywhere)
            << c.text.left(20).toStdString();
    }
    box.appendPlainText(longWord);
    EXPECT_EQ(box.wordWrapMode(), QTextOption::WrapAnywhere) << "typed or pasted";
}
