#include "log_search.h"

#include <QStringMatcher>
#include <algorithm>

namespace kst {

namespace {

// A piece read for a step starts small: the next match is mostly near.
constexpr qint64 FirstLookChars = 64 * 1024;

// Whole lines of the log from `from` (up to `to`): about `size` characters, more when one
// line is longer, so that no match is cut in two.
QString lines(const SearchableText& log, qint64 from, qint64 to, qint64 size) {
    for (;; size *= 2) {
        const qint64 end = qMin(to, from + size);
        QString piece = log.text(from, end);
        if (end == to)
            return piece;
        if (const qsizetype lineEnd = piece.lastIndexOf(u'\n'); lineEnd >= 0) {
            piece.truncate(lineEnd + 1);
            return piece;
        }
    }
}

} // namespace

// ---------------------------------------------------------------------------------------
// The plain ways of reading a log

qint64 SearchableText::indexOf(QStringView needle, qint64 from, qint64 to) const {
    to = qMin(to, length());
    if (needle.isEmpty())
        return -1;
    const QStringMatcher matcher(needle.toString(), Qt::CaseInsensitive);
    for (qint64 size = FirstLookChars; from < to; size = qMin(size * 2, LogSearch::PieceChars)) {
        const QString piece = lines(*this, from, to, size);
        if (const qsizetype at = matcher.indexIn(piece, 0); at >= 0)
            return from + at;
        from += piece.size();
    }
    return -1;
}

qint64 SearchableText::count(QStringView needle, qint64 from, qint64 to) const {
    to = qMin(to, length());
    if (needle.isEmpty())
        return 0;
    const QStringMatcher matcher(needle.toString(), Qt::CaseInsensitive);
    qint64 matches = 0;
    while (from < to) {
        const QString piece = lines(*this, from, to, LogSearch::PieceChars);
        for (qsizetype at = matcher.indexIn(piece, 0); at >= 0;
             at = matcher.indexIn(piece, at + needle.size()))
            ++matches;
        from += piece.size();
    }
    return matches;
}

qint64 SearchableText::lineEndFrom(qint64 from) const {
    const qint64 end = length();
    for (qint64 at = qMax<qint64>(0, from); at < end; at += FirstLookChars) {
        const qsizetype lineBreak = text(at, qMin(end, at + FirstLookChars)).indexOf(u'\n');
        if (lineBreak >= 0)
            return at + lineBreak + 1;
    }
    return end;
}

qint64 SearchableText::lastLineEndBefore(qint64 to) const {
    for (qint64 at = qMin(to, length()); at > 0;) {
        const qint64 from = qMax<qint64>(0, at - FirstLookChars);
        const qsizetype lineBreak = text(from, at).lastIndexOf(u'\n');
        if (lineBreak >= 0)
            return from + lineBreak + 1;
        at = from;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------
// The search

void LogSearch::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
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

qint64 LogSearch::countCompleteLines(const SearchableText& log) {
    const qint64 start = marks_.back().position;
    // The last line may still grow: it is counted at every step, never kept.
    const qint64 complete = qMax(start, log.lastLineEndBefore(log.length()));
    // A mark about every PieceChars, at a line end: a match's number then takes
    // counting one piece at most.
    for (qint64 from = start; from < complete;) {
        qint64 to = from + PieceChars;
        to = to >= complete ? complete : qMin(complete, log.lineEndFrom(to - 1));
        marks_.push_back({to, marks_.back().matchesBefore + log.count(text_, from, to)});
        from = to;
    }
    return log.count(text_, complete, log.length());
}

qint64 LogSearch::matchesBefore(const SearchableText& log, qint64 position) const {
    const auto after =
        std::upper_bound(marks_.begin(), marks_.end(), position,
                         [](qint64 p, const Mark& mark) { return p < mark.position; });
    const Mark& mark = *std::prev(after);
    return mark.matchesBefore + log.count(text_, mark.position, position);
}

LogSearch::Match LogSearch::next(const SearchableText& log) {
    Match match;
    if (text_.isEmpty() || log.length() == 0)
        return match;
    const qint64 inLastLine = countCompleteLines(log);
    match.count = marks_.back().matchesBefore + inLastLine;
    if (match.count == 0)
        return match;
    match.position = log.indexOf(text_, qMin(resumeAt_, log.length()), log.length());
    if (match.position < 0)
        match.position = log.indexOf(text_, 0, log.length());
    match.number = matchesBefore(log, match.position) + 1;
    match.length = text_.size();
    resumeAt_ = match.position + match.length;
    return match;
}

} // namespace kst
