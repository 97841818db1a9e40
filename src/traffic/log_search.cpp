#include "log_search.h"

#include <algorithm>

namespace kst {

namespace {

// A piece read for a step starts small: the next match is mostly near.
constexpr qint64 FirstLookChars = 64 * 1024;

bool isLineBreak(QChar c) {
    return c == u'\n' || c == QChar::ParagraphSeparator;
}

qsizetype lastLineBreak(QStringView text) {
    for (qsizetype i = text.size() - 1; i >= 0; --i)
        if (isLineBreak(text[i]))
            return i;
    return -1;
}

qsizetype nextLineBreak(QStringView text, qsizetype from) {
    for (qsizetype i = from; i < text.size(); ++i)
        if (isLineBreak(text[i]))
            return i;
    return -1;
}

} // namespace

void LogSearch::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    matcher_ = QStringMatcher(text_, Qt::CaseInsensitive);
    forgetCounts();
}

void LogSearch::forgetCounts() {
    marks_.assign(1, Mark{0, 0});
}

void LogSearch::logChanged(qint64 from, qint64 removed) {
    if (removed > 0 || from < marks_.back().position) {
        forgetCounts();
        resumeAt_ = 0;
    }
}

QString LogSearch::lines(const SearchableText& log, qint64 from, qint64 size) const {
    const qint64 end = log.length();
    for (;; size *= 2) {
        const qint64 to = qMin(end, from + size);
        QString piece = log.text(from, to);
        if (to == end)
            return piece;
        if (const qsizetype lineEnd = lastLineBreak(piece); lineEnd >= 0) {
            piece.truncate(lineEnd + 1);
            return piece;
        }
    }
}

qint64 LogSearch::countIn(QStringView text) const {
    qint64 count = 0;
    for (qsizetype at = matcher_.indexIn(text, 0); at >= 0;
         at = matcher_.indexIn(text, at + text_.size()))
        ++count;
    return count;
}

qint64 LogSearch::countCompleteLines(const SearchableText& log) {
    const qint64 start = marks_.back().position;
    const QString rest = log.text(start, log.length());
    const QStringView text(rest);
    // The last line may still grow: it is counted at every step, never kept.
    const qsizetype complete = lastLineBreak(text) + 1;
    // A mark about every PieceChars, at a line end: a match's number then takes
    // counting one piece at most.
    for (qsizetype from = 0; from < complete;) {
        qsizetype to = from + PieceChars;
        if (to >= complete) {
            to = complete;
        } else {
            const qsizetype lineEnd = nextLineBreak(text, to - 1);
            to = lineEnd < 0 ? complete : lineEnd + 1;
        }
        marks_.push_back(
            {start + to, marks_.back().matchesBefore + countIn(text.mid(from, to - from))});
        from = to;
    }
    return countIn(text.mid(complete));
}

qint64 LogSearch::matchesBefore(const SearchableText& log, qint64 position) const {
    const auto after =
        std::upper_bound(marks_.begin(), marks_.end(), position,
                         [](qint64 p, const Mark& mark) { return p < mark.position; });
    const Mark& mark = *std::prev(after);
    return mark.matchesBefore + countIn(log.text(mark.position, position));
}

qint64 LogSearch::firstFrom(const SearchableText& log, qint64 from) const {
    const qint64 end = log.length();
    for (qint64 size = FirstLookChars; from < end; size = qMin(size * 2, PieceChars)) {
        const QString piece = lines(log, from, size);
        if (const qsizetype at = matcher_.indexIn(piece, 0); at >= 0)
            return from + at;
        from += piece.size();
    }
    return -1;
}

LogSearch::Match LogSearch::next(const SearchableText& log) {
    Match match;
    if (text_.isEmpty() || log.length() == 0)
        return match;
    const qint64 inLastLine = countCompleteLines(log);
    match.count = marks_.back().matchesBefore + inLastLine;
    if (match.count == 0)
        return match;
    match.position = firstFrom(log, qMin(resumeAt_, log.length()));
    if (match.position < 0)
        match.position = firstFrom(log, 0);
    match.number = matchesBefore(log, match.position) + 1;
    match.length = text_.size();
    resumeAt_ = match.position + match.length;
    return match;
}

} // namespace kst
