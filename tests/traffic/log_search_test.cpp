#include "traffic/log_search.h"

#include <QStringList>
#include <QStringMatcher>
#include <gtest/gtest.h>

using namespace kst;

namespace {

// A log of lines, as the log view holds it; it counts the characters the search reads.
class Lines : public SearchableText {
public:
    explicit Lines(const QStringList& lines) : text_(lines.join('\n')) {}
    qint64 length() const override { return text_.size(); }
    QString text(qint64 from, qint64 to) const override {
        read += to - from;
        return text_.mid(from, to - from);
    }
    // Text written at the end; the change the log view reports.
    void append(const QString& text, LogSearch& search) {
        search.logChanged(text_.size(), 0);
        text_ += text;
    }
    // Text written at the end and not yet told (the view tells it a moment later).
    qint64 appendUntold(const QString& text) {
        const qint64 from = text_.size();
        text_ += text;
        return from;
    }
    QString at(const LogSearch::Match& match) const {
        return text_.mid(match.position, match.length);
    }
    mutable qint64 read = 0;

private:
    QString text_;
};

// One step worked in slices of `chars` characters, as the window does between events.
LogSearch::Match stepInSlices(LogSearch& search, const SearchableText& log, qint64 chars) {
    search.startStep();
    for (int calls = 0; calls < 1000000; ++calls) {
        const LogSearch::Step step = search.work(log, chars);
        if (step.counted)
            return step.match;
    }
    ADD_FAILURE() << "the step never ends";
    return {};
}

constexpr qint64 Whole = qint64(1) << 40;

} // namespace

// Each row: the log, the text, and what four steps show ("number/count match"), whether
// a step reads the log whole or in slices of a few characters.
TEST(LogSearch, FindsTheTextInAnyCaseAndNumbersEachMatchAmongAll) {
    const std::tuple<QStringList, QString, QStringList> cases[] = {
        {{"Data received: OK", "nothing", "Data sent: ok, Ok"},
         "ok",
         {"1/3 OK", "2/3 ok", "3/3 Ok", "1/3 OK"}},
        // A match starts after the one before it ends.
        {{"aaaa"}, "aa", {"1/2 aa", "2/2 aa", "1/2 aa", "2/2 aa"}},
        {{"Data received: 41,"}, "42", {"0/0 ", "0/0 ", "0/0 ", "0/0 "}},
        // Matches across the places where slices and counted pieces meet.
        {{"xbcabx", "bcab"}, "bcab", {"1/2 bcab", "2/2 bcab", "1/2 bcab", "2/2 bcab"}},
        {{"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxyz"},
         "YZ",
         {"1/1 yz", "1/1 yz", "1/1 yz", "1/1 yz"}},
        // The text is the whole log, or longer; "aaa" holds one "aa".
        {{"ab"}, "AB", {"1/1 ab", "1/1 ab", "1/1 ab", "1/1 ab"}},
        {{"ab"}, "abc", {"0/0 ", "0/0 ", "0/0 ", "0/0 "}},
        {{"aaa"}, "aa", {"1/1 aa", "1/1 aa", "1/1 aa", "1/1 aa"}},
        {{"\u00ff\u00b5 \u0178\u039c"},
         "\u0178\u00b5",
         {"1/2 \u00ff\u00b5", "2/2 \u0178\u039c", "1/2 \u00ff\u00b5", "2/2 \u0178\u039c"}},
        // Matches that end or start where counted pieces meet or a read piece ends, or
        // stand across that place.
        {{QString(LogSearch::PieceChars - 3, u'x'), "abab"},
         "ab",
         {"1/2 ab", "2/2 ab", "1/2 ab", "2/2 ab"}},
        {{QString(LogSearch::PieceChars - 2, u'x'), "aaab"},
         "aa",
         {"1/1 aa", "1/1 aa", "1/1 aa", "1/1 aa"}},
        {{QString(64 * 1024 - 2, u'x'), "ab", QString(LogSearch::PieceChars, u'x'), "ab"},
         "ab",
         {"1/2 ab", "2/2 ab", "1/2 ab", "2/2 ab"}},
        {{QString(2 * LogSearch::PieceChars - 3, u'x'), "ab"},
         "ab",
         {"1/1 ab", "1/1 ab", "1/1 ab", "1/1 ab"}},
    };
    for (const auto& [lines, text, steps] : cases) {
        // The plain search reads the log in pieces, and finds and counts as reading it whole.
        const Lines plain(lines);
        const QString all = lines.join('\n');
        const qsizetype first = QStringMatcher(text, Qt::CaseInsensitive).indexIn(all);
        EXPECT_EQ(plain.indexOf(text, 0, all.size()), first < 0 ? -1 : first);
        EXPECT_EQ(plain.indexOf(text, 0, first + text.size() - 1), -1);
        EXPECT_EQ(plain.indexOf(u"", 0, all.size()), -1);
        qint64 lastEnd = -1;
        EXPECT_EQ(plain.count(u"", 0, all.size(), &lastEnd), 0);
        EXPECT_EQ(lastEnd, 0);
        for (const qint64 slice :
             {Whole, qint64(1), qint64(2), qint64(5), LogSearch::PieceChars - 1}) {
            if (slice < 10 && all.size() > 1000)
                continue; // a step of a megabyte in slices of a few characters
            Lines log(lines);
            LogSearch search;
            search.setText(text);
            QStringList seen;
            for (int step = 0; step < 4; ++step) {
                const LogSearch::Match match =
                    slice == Whole ? search.next(log) : stepInSlices(search, log, slice);
                EXPECT_EQ(match.found(), match.number > 0);
                seen << QStringLiteral("%1/%2 %3")
                            .arg(match.number)
                            .arg(match.count)
                            .arg(log.at(match));
            }
            EXPECT_EQ(seen, steps) << "slices of " << slice;
        }
    }
}

TEST(LogSearch, TextWrittenBetweenStepsMovesTheSearchOnFromItsMatchNotFromTheEnd) {
    Lines log({"A1 x", "A2 x", ""});
    LogSearch search;
    search.setText("a");
    EXPECT_EQ(search.next(log).number, 1);
    log.append("A3 x\nA4 x\n", search);
    LogSearch::Match match = search.next(log);
    EXPECT_EQ(log.at(match), "A");
    EXPECT_EQ(match.number, 2);
    EXPECT_EQ(match.count, 4);
    log.append("A5\n", search);
    match = search.next(log);
    EXPECT_EQ(match.number, 3);
    EXPECT_EQ(match.count, 5);
}

TEST(LogSearch, TextCountedOnceIsNotReadAgainWhileTheLogOnlyGrows) {
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << QStringLiteral("line %1 match").arg(i);
    // The change is told before the step, or after a step that already read the text.
    for (const bool toldLate : {false, true}) {
        Lines log(many);
        const qint64 size = log.length();
        LogSearch search;
        search.setText("match");
        EXPECT_EQ(search.next(log).count, 100000);
        log.read = 0;
        LogSearch::Match match;
        if (toldLate) {
            const qint64 from = log.appendUntold(" match\nmore match");
            match = search.next(log);
            search.logChanged(from, 0);
        } else {
            log.append(" match\nmore match", search);
            match = search.next(log);
        }
        EXPECT_EQ(match.count, 100002);
        EXPECT_EQ(match.number, 2);
        log.append("\nlast match", search);
        match = search.next(log);
        EXPECT_EQ(match.count, 100003) << toldLate;
        EXPECT_EQ(match.number, 3) << toldLate;
        EXPECT_LT(log.read, size / 4) << "the text counted before is not read again";
    }
}

// Each row: the log, the text, what the first step shows, then text written at the end
// a piece at a time, each followed by a step, and what each shows.
TEST(LogSearch, AMatchAcrossTheOldEndOfTheLogIsCountedOnceWhenTheRestArrives) {
    const std::tuple<QString, QString, QString, QStringList, QStringList> cases[] = {
        {"x ab", "abc", "0/0", {"c"}, {"1/1 abc"}},
        {"aaa", "aa", "1/1 aa", {"a", "a"}, {"2/2 aa", "1/2 aa"}},
        {"match ma", "match", "1/1 match", {"t", "ch"}, {"1/1 match", "2/2 match"}},
        // The new text does not end the old one's match.
        {"abab", "ab", "1/2 ab", {"a", "b"}, {"2/2 ab", "3/3 ab"}},
    };
    for (const auto& [start, text, first, pieces, steps] : cases) {
        for (const qint64 slice : {Whole, qint64(1), qint64(3)}) {
            Lines log({start});
            LogSearch search;
            search.setText(text);
            const auto shown = [&](const LogSearch::Match& match) {
                return match.found() ? QStringLiteral("%1/%2 %3")
                                           .arg(match.number)
                                           .arg(match.count)
                                           .arg(log.at(match))
                                     : QStringLiteral("0/0");
            };
            EXPECT_EQ(shown(stepInSlices(search, log, slice)), first) << text.toStdString();
            QStringList seen;
            for (const QString& piece : pieces) {
                log.append(piece, search);
                seen << shown(stepInSlices(search, log, slice));
            }
            EXPECT_EQ(seen, steps) << text.toStdString() << " slices of " << slice;
        }
    }
}

// Each row: the log's lines, a text looked for before, the text, the slice, how many slices show
// the match and how many end the step (counting the whole log), and what the step shows.
TEST(LogSearch, AStepInSlicesShowsItsMatchBeforeTheCountEnds) {
    const QStringList many(1000, QStringLiteral("0123456789"));
    QStringList lateMatch = many;
    lateMatch[900] = "012345678x";
    const std::tuple<QStringList, QString, QString, qint64, int, int, QString> cases[] = {
        {QStringList{"x"} + many, "", "X", 100, 1, 111, "1/1"},
        // Behind the count's reach, the text is looked for a slice ahead of it.
        {lateMatch, "", "x", 100, 99, 110, "1/1"},
        {many, "", "nowhere", 1000, 11, 11, "0/0"},
        // A new text starts at the top, wherever the last text's match was.
        {lateMatch, "x", "0123", 100, 1, 110, "1/1000"},
        {lateMatch, "x", "8X", 100, 99, 110, "1/1"},
        // The same text is counted already: the step wraps to the top at once.
        {lateMatch, "x", "x", 100, 1, 1, "1/1"},
    };
    for (const auto& [lines, before, text, slice, toShow, toEnd, shown] : cases) {
        Lines log(lines);
        LogSearch search;
        if (!before.isEmpty()) {
            search.setText(before);
            search.next(log);
        }
        search.setText(text);
        search.startStep();
        int calls = 0;
        int showing = 0;
        LogSearch::Step step;
        do {
            step = search.work(log, slice);
            ++calls;
            if (step.match.found() && showing == 0)
                showing = calls;
            if (!step.counted) {
                EXPECT_EQ(step.match.number, 0) << "no number before the count";
            }
        } while (!step.counted && calls < 100000);
        EXPECT_EQ(showing, step.match.found() ? toShow : 0) << text.toStdString();
        EXPECT_EQ(calls, toEnd) << text.toStdString();
        EXPECT_EQ(QStringLiteral("%1/%2").arg(step.match.number).arg(step.match.count), shown);
    }
}

TEST(LogSearch, AMatchFarDownALongLogIsNumberedByItsPlace) {
    QStringList many(60000, QStringLiteral("nothing here"));
    many[100] = "found once";
    many.last() = "found twice";
    Lines log(many);
    LogSearch search;
    search.setText("FOUND");
    EXPECT_EQ(search.next(log).number, 1);
    const LogSearch::Match last = search.next(log);
    EXPECT_EQ(last.number, 2);
    EXPECT_EQ(last.count, 2);
    EXPECT_EQ(log.at(last), "found");
    EXPECT_EQ(search.next(log).number, 1);
}

TEST(LogSearch, AChangeOtherThanAtTheEndOrANewTextCountsAgainFromTheTop) {
    Lines log({"ab ab", "ab"});
    LogSearch search;
    search.setText("ab");
    search.next(log);
    search.next(log);
    search.logChanged(0, 5); // the log was cleared and written anew
    EXPECT_EQ(search.next(log).number, 1);
    search.setText("b");
    const LogSearch::Match match = search.next(log);
    EXPECT_EQ(match.count, 3);
    EXPECT_EQ(match.number, 1) << "a new text starts at the top";
}
