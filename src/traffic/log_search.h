#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <vector>

namespace kst {

// The log as the search reads it: its characters, a line break counting as one. The
// searches have plain versions that read the text in pieces; a log that can do them
// faster in its own form does them itself.
class SearchableText {
public:
    virtual ~SearchableText() = default;
    virtual qint64 length() const = 0;
    // The characters from `from` up to `to`; a line break reads as "\n".
    virtual QString text(qint64 from, qint64 to) const = 0;
    // Not minding case: the first match that starts at or after `from` and ends by `to`,
    // or -1.
    virtual qint64 indexOf(QStringView needle, qint64 from, qint64 to) const;
    // The matches in [from, to) that do not overlap, taken from `from` on; `lastEnd`
    // (when given) is set behind the last of them, or to `from` when there is none.
    virtual qint64 count(QStringView needle, qint64 from, qint64 to, qint64* lastEnd) const;
};

// The search in the log: steps from match to match, not minding case, and numbers each
// match by its place among all matches. The search keeps its own position (behind the
// match found last), so text appended to the log between two steps moves nothing.
//
// A step is worked on a piece at a time (`work`), so that a log of gigabytes is read over
// many short calls while the window stays live: the match is found as soon as the piece
// that holds it is read, its number and the count follow when the whole log is counted.
// What is counted keeps its count while the log only grows, so a step on a large log
// that keeps growing reads only what was added since the last one.
class LogSearch {
public:
    struct Match {
        qint64 position = -1; // in the whole text; -1 when (not yet) found
        qint64 length = 0;
        qint64 number = 0; // 1 for the first match in the log, once counted
        qint64 count = 0;  // matches in the whole log, once counted
        bool found() const { return position >= 0; }
    };
    // How far a step got.
    struct Step {
        Match match;
        // The whole log is counted: the step is over, its match has its number (or the
        // text occurs nowhere).
        bool counted = false;
    };
    // The most characters counted between two marks of the count: a match's number then
    // takes counting about this many at most.
    static constexpr qint64 PieceChars = 1 << 20;

    // The text to look for; a new text is counted anew, ends a step under way, and its
    // first step starts at the top of the log.
    void setText(const QString& text);
    const QString& text() const { return text_; }

    // The log changed: `removed` characters taken away and text put in at `from`. Text
    // that was only added keeps the counts (a step may have read some of it before the
    // change was told); anything taken away drops them and the step under way.
    void logChanged(qint64 from, qint64 removed);

    // A step: the first match behind the last one found, or from the top of the log
    // when none follows. It replaces a step under way; the count goes on where it stood.
    void startStep();
    bool stepping() const { return stepping_; }
    // The user put the caret or the selection elsewhere: the next step goes on from
    // `position` (the selection's end), and from the top when nothing follows. Until a
    // step was taken with the text (since it was set or the log was cleared), steps start
    // at the top wherever the caret stands.
    void followCaret(qint64 position) {
        if (stepped_)
            resumeAt_ = position;
    }
    // Works on the step, reading about `chars` characters of the log (a little more
    // where a match's number needs it).
    Step work(const SearchableText& log, qint64 chars);

    // One whole step at once.
    Match next(const SearchableText& log);

private:
    // A place the count has reached: the matches that end by `position`, and where the
    // next may start (a match may stand across `position`, begun before it).
    struct Mark {
        qint64 position;
        qint64 resume;
        qint64 matchesBefore;
    };

    void countOn(const SearchableText& log, qint64 chars);
    // The first match at or after `from` among what is counted, or -1.
    qint64 findCounted(const SearchableText& log, qint64 from) const;
    qint64 matchesBefore(const SearchableText& log, qint64 position) const;
    // A new text, or a log that lost text: counted anew, and stepped from the top.
    void startOver();
    qint64 size() const { return text_.size(); }

    QString text_;
    std::vector<Mark> marks_{{0, 0, 0}};
    qint64 resumeAt_ = 0;
    bool stepping_ = false;
    bool stepped_ = false;
    qint64 hit_ = -1;
    // Where the step's look ahead of the count goes on.
    qint64 lookFrom_ = 0;
};

} // namespace kst
