#include "notation/view/styled_log.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <gtest/gtest.h>

using namespace kst;

namespace {

struct RunSeen {
    QString text;
    QColor color;
    bool bold, italic, underline;
    qreal points;
};

// The log's content as runs of equal format, line breaks written as "\n".
std::vector<RunSeen> runsOf(QPlainTextEdit& box) {
    std::vector<RunSeen> runs;
    for (QTextBlock block = box.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            const QTextCharFormat fmt = f.charFormat();
            runs.push_back({f.text(), fmt.foreground().color(), fmt.fontWeight() == QFont::Bold,
                            fmt.fontItalic(), fmt.fontUnderline(), fmt.fontPointSize()});
        }
        if (block.next().isValid()) {
            if (runs.empty())
                runs.push_back({"", {}, false, false, false, 0});
            runs.back().text += "\n";
        }
    }
    return runs;
}

class StyledLogTest : public ::testing::Test {
protected:
    QPlainTextEdit box;
    StyledLog log{&box};
};

} // namespace

TEST_F(StyledLogTest, LabelAndBodyKeepTheirOwnStyles) {
    log.setFontSizeIndex(3);
    log.Add_Color("Data sent: ", 0x0000FF, true, false, false, "41 42\r\n", 0xFF0000, false, true,
                  true);
    log.flush();
    EXPECT_EQ(box.toPlainText(), "Data sent: 41 42\n");
    const auto runs = runsOf(box);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].text, "Data sent: ");
    EXPECT_EQ(runs[0].color, QColor(255, 0, 0)); // 0x0000FF is red in BGR order
    EXPECT_TRUE(runs[0].bold);
    EXPECT_FALSE(runs[0].italic);
    EXPECT_EQ(runs[0].points, 14);
    EXPECT_EQ(runs[1].color, QColor(0, 0, 255));
    EXPECT_FALSE(runs[1].bold);
    EXPECT_TRUE(runs[1].italic);
    EXPECT_TRUE(runs[1].underline);
}

TEST_F(StyledLogTest, EmptyTextsWriteNothing) {
    log.Add_Color("", 0, false, false, false, "body", 0x00FF00);
    log.Add_Color("", 0, false, false, false);
    log.flush();
    EXPECT_EQ(box.toPlainText(), "body");
    ASSERT_EQ(runsOf(box).size(), 1u);
    EXPECT_EQ(runsOf(box)[0].color, QColor(0, 255, 0));
}

TEST_F(StyledLogTest, RunsLandAtTheEndWhateverTheUsersCaretAndSelection) {
    log.Add_Color("first line\r\n", 0, false, false, false);
    log.Add_Color("second line\r\n", 0, false, false, false);
    log.flush();
    QTextCursor c = box.textCursor();
    c.setPosition(2);
    c.setPosition(8, QTextCursor::KeepAnchor);
    box.setTextCursor(c);

    log.Add_Color("third", 0, false, false, false);
    log.flush();
    EXPECT_EQ(box.toPlainText(), "first line\nsecond line\nthird");
    EXPECT_FALSE(box.textCursor().hasSelection());
    EXPECT_EQ(box.textCursor().position(), box.document()->characterCount() - 1);
}

TEST_F(StyledLogTest, ABodyWithoutLineBreakContinuesTheLine) {
    log.Add_Color("Data received: ", 0, false, false, false, "41,", 0x808080);
    log.Add_Color("", 0, false, false, false, "42,\r\n", 0x808080);
    log.Add_Color("next\r", 0, false, false, false, "\nlast\n", 0);
    log.flush();
    EXPECT_EQ(box.toPlainText(), "Data received: 41,42,\nnext\n\nlast\n");
}

TEST_F(StyledLogTest, SmallestFontSizeAndUnusualCharacters) {
    log.setFontSizeIndex(0);
    const QString odd = QString("nul:") + QChar(0) + "tab:\t euro:" + QChar(0x20AC) + "\xFF";
    log.Add_Color(odd, 0, false, false, false);
    log.flush();
    EXPECT_EQ(box.toPlainText(), odd);
    EXPECT_EQ(runsOf(box)[0].points, 8);
}

TEST_F(StyledLogTest, RunsQueuedInOneEventLoopPassAppearTogetherInOrder) {
    for (int i = 0; i < 1000; ++i)
        log.Add_Color(QString::number(i) + ",", 0, i % 2, false, false);
    EXPECT_TRUE(log.hasPending());
    EXPECT_TRUE(box.toPlainText().isEmpty());
    QTRY_VERIFY(!log.hasPending());
    QString expected;
    for (int i = 0; i < 1000; ++i)
        expected += QString::number(i) + ",";
    EXPECT_EQ(box.toPlainText(), expected);
    EXPECT_EQ(runsOf(box).size(), 1000u); // alternating bold keeps every run apart
}

TEST_F(StyledLogTest, AFloodIsWrittenWithoutWaitingForTheEventLoop) {
    const QString line = QString(1000, u'x') + "\r\n";
    for (int i = 0; i < 1000; ++i)
        log.Add_Color(line, 0, false, false, false);
    EXPECT_GE(box.document()->blockCount(), 200);
    log.flush();
    EXPECT_EQ(box.document()->blockCount(), 1001);
}

TEST_F(StyledLogTest, TheViewFollowsTheEnd) {
    box.resize(300, 100);
    box.show();
    for (int i = 0; i < 200; ++i)
        log.Add_Color("line\r\n", 0, false, false, false);
    log.flush();
    QScrollBar* bar = box.verticalScrollBar();
    EXPECT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());
    bar->setValue(0);
    log.Add_Color("more\r\n", 0, false, false, false);
    log.flush();
    EXPECT_EQ(bar->value(), bar->maximum());
}

TEST_F(StyledLogTest, ClearDropsQueuedRunsAndTheLog) {
    log.Add_Color("a", 0, false, false, false);
    log.flush();
    log.Add_Color("b", 0, false, false, false);
    log.clear();
    QTest::qWait(1);
    log.flush();
    EXPECT_TRUE(box.toPlainText().isEmpty());
}

TEST_F(StyledLogTest, UndoIsOffSoTheLogHoldsNoSecondCopy) {
    EXPECT_FALSE(box.isUndoRedoEnabled());
}

TEST_F(StyledLogTest, RunsReadBackAsWrittenAndReplaceAnotherLogWithTheSameRuns) {
    log.setFontSizeIndex(2);
    log.Add_Color("Data sent: ", 0x0080FF, true, false, false, "41 42\r\n", 0x123456, false, true,
                  true);
    log.Add_Color("", 0, false, false, false, "more", 0x123456, false, true, true);
    const std::vector<StyledRun> written = log.runs();
    const std::vector<StyledRun> expected = {
        {"Data sent: ", 0x0080FF, true, false, false, 12},
        {"41 42\nmore", 0x123456, false, true, true, 12},
    };
    EXPECT_EQ(written, expected);

    QPlainTextEdit otherBox;
    StyledLog other(&otherBox);
    other.replace(written);
    EXPECT_EQ(other.runs(), written);
    EXPECT_EQ(otherBox.toPlainText(), "Data sent: 41 42\nmore");
}
