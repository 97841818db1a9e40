#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace kst {

// The log as the search reads it: its characters, a line break counting as one. The
// searches and line ends have plain versions that read the text in pieces; a log that
// can do them faster in its own form does them itself.
class SearchableText {
public:
    virtual ~SearchableText() = default;
    virtual qint64 length() const = 0;
    // The characters from `from` up to `to`; a line break reads as "\n".
    virtual QString text(qint64 from, qint64 to) const = 0;
    // Not minding case: the first match that starts at or after `from` and ends by `to`,
    // or -1; and the matches in [from, to) that do not overlap, taken from `from` on.
    virtual qint64 indexOf(QStringView needle, qint64 from, qint64 to) const;
    virtual qint64 count(QStringView needle, qint64 from, qint64 to) const;
    // The position just behind the first line break at or after `from` (the length when
    // none follows), and just behind the last line break before `to` (0 when none).
    virtual qint64 lineEndFrom(qint64 from) const;
    virtual qint64 lastLineEndBefore(qint64 to) const;
};

// The search in the log: steps from match to match, not minding case, and numbers each
// match by its place among all matches. The search keeps its own position (behind the
// match found last), so text appended to the log between two steps moves nothing.
//
// The log is read in large pieces, never line by line. Whole lines, once counted, keep
// their count until the log changes other than at its end, so a step on a large log
// that keeps growing reads only what was added since the last one.
class LogSearch {
public:
    struct Match {
        qint64 position = -1; // in the whole text; -1 when the text occurs nowhere
        qint64 length = 0;
        qint64 number = 0; // 1 for the first match in the log
        qint64 count = 0;  // matches in the whole log
        bool found() const { return position >= 0; }
    };
    // The characters between two marks of the count, and the most read at a time to
    // find the next match.
    static constexpr qint64 PieceChars = 1 << 20;

    // The text to look for; a new text is counted anew.
    void setText(const QString& text);
    const QString& text() const { return text_; }

    // The log changed: `removed` characters taken away and text put in at `from`. Only
    // text added at the end keeps the counts.
    void logChanged(qint64 from, qint64 removed);

    // One step: the first match behind the last one found, or from the top of the log
    // when none follows.
    Match next(const SearchableText& log);

private:
    // Counts the lines added since the last step; returns the matches of the last line.
    qint64 countCompleteLines(const SearchableText& log);
    qint64 matchesBefore(const SearchableText& log, qint64 position) const;
    void forgetCounts();

    // Where the lines counted so far end, and the matches before each such place.
    struct Mark {
        qint64 position;
        qint64 matchesBefore;
    };

    QString text_;
    std::vector<Mark> marks_{{0, 0}};
    qint64 resumeAt_ = 0;
};

} // namespace kst
