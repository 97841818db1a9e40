#include "notation/notation.h"
#include "traffic/bounded_lines.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace kst;

namespace {

constexpr qsizetype Max = BoundedLines::MaxLineChars;

QStringList linesOf(const QString& text) {
    return text.split(QStringLiteral("\r\n"));
}

QByteArray bytes(qsizetype count) {
    QByteArray result;
    for (qsizetype i = 0; i < count; ++i)
        result.append(char(i * 7));
    return result;
}

} // namespace

TEST(BoundedLines, TextThatFitsIsLeftAlone) {
    BoundedLines lines;
    EXPECT_EQ(lines.append("Data received: "), "Data received: ");
    EXPECT_EQ(lines.append("41,42,\r\n"), "41,42,\r\n");
    EXPECT_EQ(lines.lineLength(), 0);
    EXPECT_EQ(lines.append("abc"), "abc");
    EXPECT_EQ(lines.lineLength(), 3);
}

TEST(BoundedLines, ALongListContinuesOnNewLinesCutAfterWholeItems) {
    BoundedLines lines;
    const QString list = PadByteList(StrToHexList(bytes(5000)), ncHex);
    const QString out = lines.append(list);
    const QStringList pieces = linesOf(out);
    ASSERT_EQ(pieces.size(), 4);
    QString joined;
    for (const QString& piece : pieces) {
        EXPECT_LE(piece.size(), Max);
        EXPECT_TRUE(piece.endsWith(' ')) << "cut inside an item";
        joined += piece;
    }
    EXPECT_EQ(joined, list) << "nothing lost, nothing added but the breaks";
    EXPECT_EQ(lines.lineLength(), pieces.last().size());
}

TEST(BoundedLines, ALineNearlyFullBreaksBeforeTextWithNoItemEndWithinReach) {
    BoundedLines lines;
    lines.append(QString(Max - 2, 'x'));
    // The next item ends past the limit: it starts on a continuation line.
    EXPECT_EQ(lines.append("12345,"), "\r\n12345,");
    EXPECT_EQ(lines.lineLength(), 6);
}

TEST(BoundedLines, TextWithoutItemsIsCutAtTheLimit) {
    BoundedLines lines;
    const QString text(2 * Max + 10, 'q');
    const QStringList pieces = linesOf(lines.append(text));
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0].size(), Max);
    EXPECT_EQ(pieces[1].size(), Max);
    EXPECT_EQ(pieces[2].size(), 10);
}

TEST(BoundedLines, LineBreaksInTheTextStartTheCountAgain) {
    BoundedLines lines;
    lines.append(QString(Max - 10, 'a'));
    const QString text = "12345\r\n" + QString(Max - 1, 'b');
    EXPECT_EQ(lines.append(text), text);
    EXPECT_EQ(lines.lineLength(), Max - 1);
    // A break as the text's first character: 4086 + 20 would not fit one line.
    lines.reset();
    lines.append(QString(Max - 10, 'a'));
    const QString breakFirst = "\r\n" + QString(20, 'd');
    EXPECT_EQ(lines.append(breakFirst), breakFirst);
    EXPECT_EQ(lines.lineLength(), 20);
    lines.reset();
    EXPECT_EQ(lines.append(QString(Max, 'c')), QString(Max, 'c'));
}

TEST(BoundedLines, TextWithoutItemsAfterALabelFillsTheLabelsLine) {
    BoundedLines lines;
    QString out = lines.append("Data received: ");
    out += lines.append(QString(5000, 'x') + "\r\n");
    const QStringList pieces = linesOf(out);
    ASSERT_EQ(pieces.size(), 3);
    EXPECT_EQ(pieces[0].size(), Max);
    EXPECT_TRUE(pieces[0].startsWith("Data received: x"));
    EXPECT_EQ(pieces[1].size(), 5000 + 15 - Max);
    EXPECT_TRUE(pieces[2].isEmpty());
}

TEST(BoundedLines, ALineEndingRightAtTheLimitGetsNoEmptyLineAfterIt) {
    BoundedLines lines;
    const QString text = QString(Max, 'y') + "\r\n";
    EXPECT_EQ(lines.append(text), text);
    EXPECT_EQ(lines.lineLength(), 0);
}
