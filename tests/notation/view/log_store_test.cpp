#include "notation/view/log_store.h"

#include <QRandomGenerator>
#include <QStringList>
#include <QStringMatcher>
#include <gtest/gtest.h>

using namespace kst;

namespace {

struct Write {
    QString text;
    int style;
};

// The runs as the store gives them, neighbours of one style joined: "text|style" each.
QStringList runsOf(const LogStore& store) {
    QStringList runs;
    int last = -1;
    store.visitRuns(0, store.length(), [&](QStringView text, LogStore::StyleId style) {
        if (style == last)
            runs.back().insert(runs.back().lastIndexOf(u'|'), text);
        else
            runs << text.toString() + u'|' + QString::number(style);
        last = style;
    });
    return runs;
}

// The rows: their text, "+" in front of a row that continues the one before.
QStringList rowsOf(const LogStore& store) {
    QStringList rows;
    for (qint64 k = 0; k < store.rowCount(); ++k)
        rows << (store.rowContinues(k) ? QStringLiteral("+") : QString()) + store.rowText(k);
    return rows;
}

// Styles 1..4 of the store, as a log with four styles in use has them.
std::vector<LogStore::StyleId> fourStyles(LogStore& store) {
    return {store.styleId({0x000080, true}), store.styleId({0x800000}),
            store.styleId({0x008000, false, true}), store.styleId({0x808080, false, false, true})};
}

// A search that does not mind case, over a whole text, as the log view's own text did it.
// The matches that do not overlap, and where the last one ends (0 when none).
qint64 referenceCount(const QString& text, const QString& needle, qint64* lastEnd = nullptr) {
    QStringMatcher matcher(needle, Qt::CaseInsensitive);
    qint64 count = 0;
    qint64 end = 0;
    for (qsizetype at = matcher.indexIn(text, 0); at >= 0;
         at = matcher.indexIn(text, at + needle.size())) {
        ++count;
        end = at + needle.size();
    }
    if (lastEnd)
        *lastEnd = end;
    return count;
}

// A page holds this many characters of Latin-1, half as many of wider text.
constexpr qint64 PageChars = LogStore::PageBytes;

// A line as the store cuts it into rows, "+" before each row that continues one.
QStringList rowsOfLine(const QString& line) {
    QStringList rows;
    for (qsizetype at = 0; at == 0 || at < line.size(); at += LogStore::MaxRowChars)
        rows << (at > 0 ? "+" : "") + line.mid(at, LogStore::MaxRowChars);
    return rows;
}

// Reading, copying and searching [from, to) with `from` and `to` at and around the
// log's ends, the rows' starts and ends and the pages' edges agree with the text as one
// string: a text taken from the log fits [from, to) exactly (it starts at the last
// possible start) and no shorter stretch, and a little around it is searched as the
// string is.
void expectEdgesAgree(const LogStore& store, const QString& all) {
    const qint64 length = all.size();
    std::vector<qint64> edges = {-1, length + 1};
    for (qint64 k = 0; k < store.rowCount(); ++k) {
        const qint64 start = store.rowStart(k);
        const qint64 toPage =
            qMin(start % (PageChars / 2), PageChars / 2 - start % (PageChars / 2));
        if (k > 1 && k + 2 < store.rowCount() && toPage > 2 * LogStore::MaxRowChars)
            continue;
        for (const qint64 d : {-2, -1, 0, 1, 2})
            edges.push_back(start + d);
        // A short row is read from each of its places.
        for (qint64 d = 3; d <= store.rowLength(k);
             d += store.rowLength(k) > 16 ? store.rowLength(k) : 1)
            edges.push_back(start + d);
    }
    for (const qint64 from : edges) {
        for (const qint64 to : {from, from + 1, from + 2, from + 3, from + LogStore::MaxRowChars}) {
            const qint64 a = qBound<qint64>(0, from, length);
            const qint64 b = qBound<qint64>(a, to, length);
            const QString part = all.mid(a, b - a);
            ASSERT_EQ(store.text(from, to), part) << from << " " << to;
            LogStore copy;
            copy.appendRange(store, from, to);
            ASSERT_EQ(copy.text(0, copy.length()), part) << from << " " << to;
            if (part.isEmpty() || part.size() > 3)
                continue;
            for (const QString& needle : {part, part.toUpper(), part.toLower()}) {
                qint64 lastEnd = -1;
                ASSERT_EQ(store.indexOf(needle, a, b), a) << a << " " << b;
                ASSERT_EQ(store.count(needle, a, b, &lastEnd), 1) << a << " " << b;
                ASSERT_EQ(lastEnd, b);
                ASSERT_EQ(store.indexOf(needle, a, b - 1), -1) << a << " " << b;
                ASSERT_EQ(store.indexOf(needle, a + 1, b), -1) << a << " " << b;
                ASSERT_EQ(store.count(needle, a + 1, b, &lastEnd), 0) << a << " " << b;
                ASSERT_EQ(lastEnd, a + 1);
                const qint64 aroundFrom = qMax<qint64>(0, a - 9);
                const QString around = all.mid(aroundFrom, b + 9 - aroundFrom);
                const qsizetype at = QStringMatcher(needle, Qt::CaseInsensitive).indexIn(around);
                ASSERT_EQ(store.indexOf(needle, aroundFrom, b + 9), at < 0 ? -1 : aroundFrom + at)
                    << a << " " << b;
                qint64 expectedEnd = 0;
                ASSERT_EQ(store.count(needle, aroundFrom, b + 9, &lastEnd),
                          referenceCount(around, needle, &expectedEnd))
                    << a << " " << b;
                ASSERT_EQ(lastEnd, aroundFrom + expectedEnd) << a << " " << b;
            }
        }
    }
}

} // namespace

TEST(LogStore, KeepsTextLinesAndStylesAsWritten) {
    const QString longLine(LogStore::MaxRowChars + 5, u'x');
    const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
    // Latin-1 to its last characters, letters in both cases, and runs of "a" whose
    // matches of "aa" overlap.
    const auto patterned = [](qint64 size) {
        const QString pattern = QStringLiteral("Data 3C A5 aaa\u00ff\u00b5 data ");
        return pattern.repeated(size / pattern.size() + 1).first(size);
    };
    const QString fullRow = patterned(LogStore::MaxRowChars);
    const QString pageOfLines = (patterned(LogStore::MaxRowChars - 1) + "\n").repeated(256);
    const QString pageLine = patterned(PageChars + 5000);
    const QString widePageLine = "\u0100" + patterned(PageChars / 2 + 5000);
    const QString toWidePage = patterned(PageChars - 1) + "\u20ac" + patterned(5000);
    struct Case {
        const char* what;
        std::vector<Write> writes;
        QString text;
        QStringList rows;
        QStringList runs;
    };
    const std::vector<Case> cases = {
        {"a label and a body",
         {{"Data sent: ", 1}, {"41 42\r\n", 2}},
         "Data sent: 41 42\n",
         {"Data sent: 41 42", ""},
         {"Data sent: |1", "41 42\n|2"}},
        {"empty texts write nothing",
         {{"", 1}, {"body", 2}, {"", 3}},
         "body",
         {"body"},
         {"body|2"}},
        {"CR LF, a lone CR and a lone LF each end a line; a CR at the end of one text and an "
         "LF at the start of the next are two",
         {{"next\r", 1}, {"\nlast\n", 1}, {"a\rb\r\n", 1}},
         "next\n\nlast\na\nb\n",
         {"next", "", "last", "a", "b", ""},
         {"next\n\nlast\na\nb\n|1"}},
        {"a line in four styles",
         {{"a", 1}, {"b", 2}, {"c", 3}, {"d", 1}, {"e\r\n", 4}},
         "abcde\n",
         {"abcde", ""},
         {"a|1", "b|2", "c|3", "d|1", "e\n|4"}},
        {"a line longer than a row goes on in the next rows",
         {{longLine, 1}, {"\r\n", 2}},
         longLine + u'\n',
         {QString(LogStore::MaxRowChars, u'x'), "+xxxxx", ""},
         {longLine + "\n|1"}},
        {"a line filled by several texts",
         {{QString(4000, u'a'), 1}, {QString(200, u'b'), 2}},
         QString(4000, u'a') + QString(200, u'b'),
         {QString(4000, u'a') + QString(96, u'b'), "+" + QString(104, u'b')},
         {QString(4000, u'a') + "|1", QString(200, u'b') + "|2"}},
        {"characters beyond Latin-1, also in a line begun in Latin-1",
         {{"caf\u00e9 ", 1}, {"\u20ac 5\r\nab", 2}, {"\u0394", 3}, {"c", 3}},
         "caf\u00e9 \u20ac 5\nab\u0394c",
         {"caf\u00e9 \u20ac 5", "ab\u0394c"},
         {"caf\u00e9 |1", "\u20ac 5\nab|2", "\u0394c|3"}},
        {"a character of two units is not cut at a row's end",
         {{QString(LogStore::MaxRowChars - 1, u'a') + smile + "z", 1}},
         QString(LogStore::MaxRowChars - 1, u'a') + smile + "z",
         {QString(LogStore::MaxRowChars - 1, u'a'), "+" + smile + "z"},
         {QString(LogStore::MaxRowChars - 1, u'a') + smile + "z|1"}},
        {"a row of exactly a row's characters ends in a line break; one more takes two rows",
         {{fullRow + "\r\n" + patterned(LogStore::MaxRowChars + 1), 1}},
         fullRow + "\n" + patterned(LogStore::MaxRowChars + 1),
         QStringList{fullRow} + rowsOfLine(patterned(LogStore::MaxRowChars + 1)),
         {fullRow + "\n" + patterned(LogStore::MaxRowChars + 1) + "|1"}},
        {"a full row is continued by the next text",
         {{fullRow, 1}, {"d", 2}},
         fullRow + "d",
         {fullRow, "+d"},
         {fullRow + "|1", "d|2"}},
        {"a character of two units that ends a row exactly stays in it",
         {{QString(LogStore::MaxRowChars - 2, u'a') + smile + "z", 1}},
         QString(LogStore::MaxRowChars - 2, u'a') + smile + "z",
         {QString(LogStore::MaxRowChars - 2, u'a') + smile, "+z"},
         {QString(LogStore::MaxRowChars - 2, u'a') + smile + "z|1"}},
        {"one written in two texts at a row's end goes on in the next row",
         {{QString(LogStore::MaxRowChars - 1, u'a') + smile[0], 1}, {smile[1] + QString("z"), 1}},
         QString(LogStore::MaxRowChars - 1, u'a') + smile + "z",
         {QString(LogStore::MaxRowChars - 1, u'a'), "+" + smile + "z"},
         {QString(LogStore::MaxRowChars - 1, u'a') + smile + "z|1"}},
        {"an empty log", {}, "", {""}, {}},
        {"an empty line is in the style of its line break, also the first",
         {{"\r\n", 2}, {"\r\n", 3}, {"a", 1}},
         "\n\na",
         {"", "", "a"},
         {"\n|2", "\n|3", "a|1"}},
        {"a page of lines, its last line break at its very end",
         {{pageOfLines + "next", 1}},
         pageOfLines + "next",
         QStringList(256, patterned(LogStore::MaxRowChars - 1)) << "next",
         {pageOfLines + "next|1"}},
        {"a line longer than a page, then a short one",
         {{pageLine + "\r\nend", 1}},
         pageLine + "\nend",
         rowsOfLine(pageLine) << "end",
         {pageLine + "\nend|1"}},
        {"a line of wider characters longer than a page",
         {{widePageLine, 2}},
         widePageLine,
         rowsOfLine(widePageLine),
         {widePageLine + "|2"}},
        {"a page of Latin-1 followed by wider characters",
         {{toWidePage, 3}},
         toWidePage,
         rowsOfLine(toWidePage),
         {toWidePage + "|3"}},
        {"control characters are kept",
         {{QString("nul:") + QChar(0) + "tab:\t\xFF", 1}},
         QString("nul:") + QChar(0) + "tab:\t\xFF",
         {QString("nul:") + QChar(0) + "tab:\t\xFF"},
         {QString("nul:") + QChar(0) + "tab:\t\xFF|1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LogStore store;
        const auto styles = fourStyles(store);
        for (const Write& w : c.writes)
            EXPECT_TRUE(store.append(w.text, styles[size_t(w.style - 1)]));
        EXPECT_EQ(store.text(0, store.length()), c.text);
        EXPECT_EQ(store.length(), c.text.size());
        EXPECT_EQ(rowsOf(store), c.rows);
        EXPECT_EQ(runsOf(store), c.runs);
        expectEdgesAgree(store, c.text);
        if (std::all_of(c.text.begin(), c.text.end(),
                        [](QChar ch) { return ch.unicode() <= 0xFF; })) {
            EXPECT_LE(store.bytesHeld(), c.text.size() + 16 * store.rowCount() + 32)
                << "a byte a Latin-1 character, 16 a row";
        }
    }
}

TEST(LogStore, AStyleIsKeptOnceWhateverUsesIt) {
    LogStore store;
    const RunStyle bold{0x0000FF, true, false, false, 14};
    const LogStore::StyleId id = store.styleId(bold);
    EXPECT_EQ(store.styleId(bold), id);
    EXPECT_NE(store.styleId({0x0000FF, true, false, false, 12}), id);
    EXPECT_EQ(store.style(id), bold);
    EXPECT_EQ(store.styleId(store.style(0)), 0) << "the first style too";
    store.append(QStringLiteral("x\r\n"), id);
    const auto spans = store.rowSpans(1);
    ASSERT_EQ(spans.size(), 1u);
    EXPECT_EQ(spans[0].style, id) << "an empty line keeps the style it was ended in";
}

// A log of several pages, written in pieces of every kind, read back, cut into rows and
// searched: everything against the same text held as one string.
TEST(LogStore, PositionsRowsTextAndSearchAgreeWithTheTextAsOneString) {
    LogStore store;
    const auto styles = fourStyles(store);
    QString all;
    std::vector<LogStore::StyleId> styleOf;
    QRandomGenerator random(7);
    const QStringList pieces = {
        "Data received: ", "3C A5 01 00 5B 3C ", "\r\n", "ok OK ", "\u20ac\u00e9", "x", "\r", "\n",
        "ab\tcd"};
    while (all.size() < 3 * 1024 * 1024 + 12345) {
        QString piece = pieces[random.bounded(pieces.size())];
        if (random.bounded(200) == 0)
            piece = QString(random.bounded(2 * LogStore::MaxRowChars), u'y');
        const LogStore::StyleId style = styles[random.bounded(4)];
        ASSERT_TRUE(store.append(piece, style));
        piece.replace("\r\n", "\n").replace(u'\r', u'\n');
        all += piece;
        styleOf.insert(styleOf.end(), size_t(piece.size()), style);
    }
    ASSERT_EQ(store.length(), all.size());

    // Rows follow each other without a gap, each one line or a piece of one.
    qint64 start = 0;
    for (qint64 k = 0; k < store.rowCount(); ++k) {
        ASSERT_EQ(store.rowStart(k), start) << k;
        const int length = store.rowLength(k);
        ASSERT_LE(length, LogStore::MaxRowChars);
        ASSERT_EQ(store.rowText(k), all.mid(start, length)) << k;
        ASSERT_FALSE(store.rowText(k).contains(u'\n'));
        ASSERT_EQ(store.rowEndsLine(k), start + length < all.size() && all[start + length] == u'\n')
            << k;
        for (const LogStore::Span& span : store.rowSpans(k))
            for (int i = span.from; i < span.from + span.length; ++i)
                ASSERT_EQ(span.style, styleOf[size_t(start + i)]) << start + i;
        // The place between two rows of one line is the later row's.
        const bool last = k + 1 == store.rowCount();
        const int places = length + (store.rowEndsLine(k) || last ? 1 : 0);
        if (places > 0) {
            const qint64 probe = start + random.bounded(places);
            ASSERT_EQ(store.rowAt(probe), k) << probe;
        }
        start += length + (store.rowEndsLine(k) ? 1 : 0);
    }
    EXPECT_EQ(start, all.size());

    for (int i = 0; i < 100; ++i) {
        const qint64 from = random.bounded(all.size());
        const qint64 to = from + random.bounded(qMin<qint64>(all.size() - from, 300000) + 1);
        ASSERT_EQ(store.text(from, to), all.mid(from, to - from)) << from << " " << to;
    }
    QString pieced;
    store.visitText(0, store.length(), 1000, [&](QStringView piece) {
        EXPECT_LE(piece.size(), 1000);
        pieced += piece;
        return true;
    });
    EXPECT_EQ(pieced, all);

    for (const QString needle : {"ok", "3c a5 01", "\u20ac\u00c9", "Y", "\nd", "zz", "ok\nO"}) {
        SCOPED_TRACE(needle.toStdString());
        EXPECT_EQ(store.count(needle, 0, store.length()), referenceCount(all, needle));
        QStringMatcher matcher(needle, Qt::CaseInsensitive);
        for (int i = 0; i < 10; ++i) {
            const qint64 from = random.bounded(all.size());
            const qint64 to = from + random.bounded(all.size() - from + 1);
            const QString part = all.mid(from, to - from);
            const qsizetype expected = matcher.indexIn(part, 0);
            ASSERT_EQ(store.indexOf(needle, from, to), expected < 0 ? -1 : from + expected);
            qint64 lastEnd = -1;
            qint64 expectedEnd = -1;
            ASSERT_EQ(store.count(needle, from, to, &lastEnd),
                      referenceCount(part, needle, &expectedEnd));
            ASSERT_EQ(lastEnd, from + expectedEnd) << "behind the last match, or the start";
        }
    }
}

TEST(LogStore, LineEndsAroundAPosition) {
    LogStore store;
    const QString line(LogStore::MaxRowChars + 10, u'w');
    store.append(QStringLiteral("ab\r\n") + line + QStringLiteral("\r\nlast"), 0);
    const qint64 lineEnd = 3 + line.size() + 1;
    struct Case {
        qint64 position;
        qint64 lineEndFrom;
        qint64 lastLineEndBefore;
    };
    for (const Case c :
         {Case{0, 3, 0}, Case{2, 3, 0}, Case{3, lineEnd, 3}, Case{4, lineEnd, 3},
          Case{3 + LogStore::MaxRowChars, lineEnd, 3}, Case{lineEnd - 1, lineEnd, 3},
          Case{lineEnd, store.length(), lineEnd}, Case{store.length(), store.length(), lineEnd}}) {
        EXPECT_EQ(store.lineEndFrom(c.position), c.lineEndFrom) << c.position;
        EXPECT_EQ(store.lastLineEndBefore(c.position), c.lastLineEndBefore) << c.position;
    }
}

TEST(LogStore, MemoryRunningShortEndsTheGrowthAndKeepsWhatWasWritten) {
    LogStore store;
    qsizetype granted = 0;
    store.setMemoryCheck([&](qsizetype bytes) {
        if (granted + bytes > 3 * 1024 * 1024)
            return false;
        granted += bytes;
        return true;
    });
    const QString line = QStringLiteral("Data received: 41 42 43 44 45 46 47 48\r\n");
    QString written;
    qint64 lines = 0;
    while (store.append(line, 1)) {
        written += QStringLiteral("Data received: 41 42 43 44 45 46 47 48\n");
        ++lines;
    }
    EXPECT_TRUE(store.isFull());
    EXPECT_GT(lines, 50000);
    EXPECT_FALSE(store.append(QStringLiteral("more"), 1));
    EXPECT_TRUE(store.text(0, store.length()).startsWith(written));
    EXPECT_LT(store.length(), written.size() + line.size());
    EXPECT_EQ(store.rowStart(store.rowCount() - 1) + store.rowLength(store.rowCount() - 1),
              store.length());

    const qint64 before = store.length();
    store.appendPastFull(QStringLiteral("\r\nThe log is full.\r\n"), 2);
    EXPECT_TRUE(store.text(before, store.length()).endsWith("The log is full.\n"));

    store.clear();
    EXPECT_FALSE(store.isFull());
    EXPECT_TRUE(store.isEmpty());
    EXPECT_EQ(store.rowCount(), 1);

    // Each row: how often the store is given memory, what it then holds (the writes, so
    // many times over: its first page of text, block of rows, two runs of styles in a row,
    // block of runs: 64 rows of a run a character), and the first write past that.
    const QString pageOfLines = (QString(LogStore::MaxRowChars - 1, u'x') + "\n").repeated(256);
    const std::tuple<const char*, int, std::vector<Write>, int, Write> limits[] = {
        {"a page", 0, {{pageOfLines, 1}}, 1, {"x", 1}},
        {"a block of rows", 0, {{"x" + QString(65535, u'\n'), 1}}, 1, {"\n", 1}},
        {"two runs in a row", 0, {{"a", 1}, {"b", 2}, {"a", 2}}, 1, {"c", 1}},
        {"a block of runs",
         1,
         {{"a", 1}, {"b", 2}, {"c", 3}},
         (64 * LogStore::MaxRowChars + 2) / 3,
         {"a", 1}},
    };
    for (const auto& [what, grants, fits, times, past] : limits) {
        LogStore tight;
        int given = 0;
        tight.setMemoryCheck([&, grants = grants](qsizetype) { return given++ < grants; });
        QStringList runs;
        for (int i = 0; i < times; ++i) {
            for (const Write& w : fits) {
                ASSERT_TRUE(tight.append(w.text, LogStore::StyleId(w.style))) << what << " " << i;
                const QString style = u'|' + QString::number(w.style);
                if (!runs.isEmpty() && runs.back().endsWith(style))
                    runs.back().insert(runs.back().size() - style.size(), w.text);
                else
                    runs << w.text + style;
            }
        }
        EXPECT_FALSE(tight.isFull()) << what;
        EXPECT_FALSE(tight.append(past.text, LogStore::StyleId(past.style))) << what;
        EXPECT_TRUE(tight.isFull()) << what;
        EXPECT_EQ(runsOf(tight), runs) << what;
    }
}

// A log beyond 2^31 characters (3 G): positions, rows, text and search past that
// mark. The text is written in large pieces of long lines, so the test costs the memory
// of the text itself and little time.
TEST(LogStore, HoldsALogOfThreeGigaCharacters) {
    LogStore store;
    QByteArray line = "Data received: ";
    while (line.size() < 4000)
        line += "3C A5 01 00 5B ";
    line += "\r\n";
    QByteArray piece;
    while (piece.size() < 8 * 1024 * 1024)
        piece += line;
    const qint64 target = 3'000'000'000LL;
    qint64 written = 0;
    while (written < target) {
        ASSERT_TRUE(store.appendLatin1(piece, 1));
        written += piece.size() - (piece.size() / line.size()); // CR LF is one break
        if (written > 2'500'000'000LL && written < 2'500'000'000LL + piece.size())
            store.appendLatin1("MARK", 2);
    }
    const qint64 length = store.length();
    EXPECT_GT(length, target);
    EXPECT_LT(store.bytesHeld(), length + length / 50) << "about one byte a character";

    const qint64 lineChars = line.size() - 1;
    const qint64 lastRow = store.rowCount() - 1;
    EXPECT_EQ(store.rowStart(lastRow), length);
    const qint64 beyond = (qint64(1) << 31) + 12345;
    const qint64 row = store.rowAt(beyond);
    EXPECT_LE(store.rowStart(row), beyond);
    EXPECT_GE(store.rowStart(row) + store.rowLength(row), beyond);
    EXPECT_TRUE(store.rowText(store.rowAt(length - 10)).startsWith("Data received: 3C A5"));
    EXPECT_EQ(store.text(length - 4, length), "5B \n");

    const qint64 mark = store.indexOf(QStringLiteral("mark"), 2'400'000'000LL, length);
    ASSERT_GT(mark, 2'500'000'000LL);
    EXPECT_EQ(store.text(mark - 1, mark + 5), "\nMARKD");
    EXPECT_EQ(store.count(QStringLiteral("data received"), length - 100 * lineChars, length), 100);
    EXPECT_EQ(store.lastLineEndBefore(length), length);
    EXPECT_EQ(store.lineEndFrom(beyond), store.rowStart(row) + store.rowLength(row) + 1);
}
