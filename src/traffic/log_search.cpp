#include "log_search.h"

#include <QStringMatcher>
#include <algorithm>

namespace kst {

namespace {

// A piece read for a step starts small: the next match is mostly near.
constexpr qint64 FirstLookChars = 64 * 1024;

} // namespace

// ---------------------------------------------------------------------------------------
// The plain ways of reading a log: pieces that overlap by the text's length less one, so
// that no match is cut in two.

qint64 SearchableText::indexOf(QStringView needle, qint64 from, qint64 to) const {
    to = qMin(to, length());
    const qint64 size = needle.size();
    if (size == 0)
        return -1;
    const QStringMatcher matcher(needle.toString(), Qt::CaseInsensitive);
    for (qint64 piece = FirstLookChars; to - from >= size;
         piece = qMin(piece * 2, LogSearch::PieceChars)) {
        const qint64 end = qMin(to, from + qMax(piece, size));
        if (const qsizetype at = matcher.indexIn(text(from, end), 0); at >= 0)
            return from + at;
        if (end == to)
            break;
        from = end - size + 1;
    }
    return -1;
}

qint64 SearchableText::count(QStringView needle, qint64 from, qint64 to, qint64* lastEnd) const {
    to = qMin(to, length());
    const qint64 size = needle.size();
    qint64 matches = 0;
    qint64 behind = from;
    if (size > 0) {
        const QStringMatcher matcher(needle.toString(), Qt::CaseInsensitive);
        for (qint64 at = from; to - at >= size;) {
            const qint64 end = qMin(to, at + qMax(LogSearch::PieceChars, size));
            const QString piece = text(at, end);
            for (qsizetype found = matcher.indexIn(piece, 0); found >= 0;
                 found = matcher.indexIn(piece, found + size)) {
                ++matches;
                behind = at + found + size;
            }
            if (end == to)
                break;
            at = qMax(behind, end - size + 1);
        }
    }
    if (lastEnd)
        *lastEnd = behind;
    return matches;
}

// ---------------------------------------------------------------------------------------
// The search

void LogSearch::setText(const QString& text) {
    if (text == text_)
        return;
    text_ = text;
    startOver();
}

void LogSearch::startOver() {
    marks_.assign(1, Mark{0, 0, 0});
    resumeAt_ = 0;
    stepping_ = stepped_ = false;
}

void LogSearch::logChanged(qint64, qint64 removed) {
    if (removed != 0)
        startOver();
}

void LogSearch::startStep() {
    stepping_ = stepped_ = true;
    hit_ = -1;
    lookFrom_ = resumeAt_;
}

void LogSearch::countOn(const SearchableText& log, qint64 chars) {
    const qint64 length = log.length();
    while (chars > 0 && marks_.back().position < length) {
        const Mark last = marks_.back();
        const qint64 to = qMin(length, last.position + qMin(chars, PieceChars));
        qint64 behind = last.resume;
        const qint64 found = log.count(text_, last.resume, to, &behind);
        // A match that stands across `to` is counted with the next piece.
        marks_.push_back({to, qMax(behind, to - size() + 1), last.matchesBefore + found});
        chars -= to - last.position;
    }
}

qint64 LogSearch::findCounted(const SearchableText& log, qint64 from) const {
    // The pieces whose count grew hold a match; the others are passed over unread.
    auto mark = std::upper_bound(marks_.begin(), marks_.end(), from,
                                 [](qint64 p, const Mark& m) { return p < m.position; });
    if (mark == marks_.begin())
        ++mark;
    for (; mark != marks_.end(); ++mark) {
        const Mark& before = *std::prev(mark);
        if (mark->matchesBefore == before.matchesBefore)
            continue;
        const qint64 at = log.indexOf(text_, qMax(from, before.resume), mark->position);
        if (at >= 0)
            return at;
    }
    return -1;
}

qint64 LogSearch::matchesBefore(const SearchableText& log, qint64 position) const {
    const auto after =
        std::upper_bound(marks_.begin(), marks_.end(), position,
                         [](qint64 p, const Mark& mark) { return p < mark.position; });
    const Mark& mark = *std::prev(after);
    return mark.matchesBefore + log.count(text_, mark.resume, position, nullptr);
}

LogSearch::Step LogSearch::work(const SearchableText& log, qint64 chars) {
    Step step;
    const qint64 length = log.length();
    if (!stepping_ || text_.isEmpty() || length == 0) {
        stepping_ = false;
        step.counted = true;
        return step;
    }
    countOn(log, chars);
    const Mark& counted = marks_.back();
    step.counted = counted.position >= length;
    if (hit_ < 0) {
        hit_ = findCounted(log, qMin(resumeAt_, length));
        if (hit_ < 0 && !step.counted) {
            // Ahead of the count, the text itself is read: the match is shown before
            // its number is known.
            const qint64 from = qMax(lookFrom_, counted.position - size() + 1);
            const qint64 to = qMin(length, from + chars);
            hit_ = log.indexOf(text_, from, to);
            lookFrom_ = qMax(from, to - size() + 1);
        }
        // Nothing follows the last match: from the top.
        if (hit_ < 0 && step.counted)
            hit_ = findCounted(log, 0);
        if (hit_ >= 0)
            resumeAt_ = hit_ + size();
    }
    step.match.position = hit_;
    step.match.length = hit_ >= 0 ? size() : 0;
    if (step.counted) {
        stepping_ = false;
        step.match.count = counted.matchesBefore;
        if (hit_ >= 0)
            step.match.number = matchesBefore(log, hit_) + 1;
    }
    return step;
}

LogSearch::Match LogSearch::next(const SearchableText& log) {
    startStep();
    for (;;) {
        const Step step = work(log, std::numeric_limits<qint64>::max() / 4);
        if (step.counted)
            return step.match;
    }
}

} // namespace kst
