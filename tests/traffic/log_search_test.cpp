#include "traffic/log_search.h"

#include <QStringList>
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
    QString at(const LogSearch::Match& match) const {
        return text_.mid(match.position, match.length);
    }
    mutable qint64 read = 0;

private:
    QString text_;
};

} // namespace

// Each row: the log, the text, and what four steps show ("number/count match").
TEST(LogSearch, FindsTheTextInAnyCaseAndNumbersEachMatchAmongAll) {
    const std::tuple<QStringList, QString, QStringList> cases[] = {
        {{"Data received: OK", "nothing", "Data sent: ok, Ok"},
         "ok",
         {"1/3 OK", "2/3 ok", "3/3 Ok", "1/3 OK"}},
        // A match starts after the one before it ends.
        {{"aaaa"}, "aa", {"1/2 aa", "2/2 aa", "1/2 aa", "2/2 aa"}},
        {{"Data received: 41,"}, "42", {"0/0 ", "0/0 ", "0/0 ", "0/0 "}},
    };
    for (const auto& [lines, text, steps] : cases) {
        Lines log(lines);
        LogSearch search;
        search.setText(text);
        QStringList seen;
        for (int step = 0; step < 4; ++step) {
            const LogSearch::Match match = search.next(log);
            EXPECT_EQ(match.found(), match.number > 0);
            seen
                << QStringLiteral("%1/%2 %3").arg(match.number).arg(match.count).arg(log.at(match));
        }
        EXPECT_EQ(seen, steps);
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

TEST(LogSearch, LinesCountedOnceAreNotReadAgainWhileTheLogOnlyGrows) {
    QStringList many;
    for (int i = 0; i < 100000; ++i)
        many << QStringLiteral("line %1 match").arg(i);
    Lines log(many);
    const qint64 size = log.length();
    LogSearch search;
    search.setText("match");
    EXPECT_EQ(search.next(log).count, 100000);
    log.read = 0;
    log.append(" match\nmore match", search);
    LogSearch::Match match = search.next(log);
    EXPECT_EQ(match.count, 100002);
    EXPECT_EQ(match.number, 2);
    EXPECT_LT(log.read, size / 4) << "the lines counted before are not read again";
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
    EXPECT_EQ(match.number, 2) << "a new text goes on from the last match";
}
