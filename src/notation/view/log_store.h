#pragma once

#include "notation/styled_run.h"

#include <QByteArrayView>
#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <vector>

namespace kst {

// The log's text and styles, held compactly: one byte a character where a line is
// Latin-1 (two where it is not), a line break as one byte, and per row 16 bytes that say
// where its text is and which styles it is written in. Positions count characters of
// the whole log (UTF-16 units, a line break counting one) in 64 bits, so the log may
// grow far beyond 2^31 characters.
//
// The store is cut into rows: a row is a line of the log, or a piece of MaxRowChars of a
// longer line (a row that "continues" the one before it, with no line break between). A
// view lays out and paints rows, so no line of any length costs more than one row.
//
// Memory is taken a piece at a time (pages of text, blocks of rows), each one asked of
// the memory check first. When it refuses, the store is full: what did not fit is
// dropped and nothing more is taken until it is cleared.
class LogStore {
public:
    using StyleId = quint16;
    static constexpr qsizetype MaxRowChars = 4096;
    // Text is kept in pages of this many bytes: a byte a Latin-1 character, two a wider one.
    static constexpr qsizetype PageBytes = qsizetype(1) << 20;
    // Decides whether `bytes` more may be taken for the log.
    using MemoryCheck = std::function<bool(qsizetype bytes)>;

    // A stretch of one row in one style: columns [from, from + length).
    struct Span {
        int from = 0;
        int length = 0;
        StyleId style = 0;
    };

    LogStore();
    ~LogStore();
    LogStore(LogStore&& other) noexcept;
    LogStore& operator=(LogStore&& other) noexcept;
    LogStore(const LogStore&) = delete;
    LogStore& operator=(const LogStore&) = delete;

    void setMemoryCheck(MemoryCheck check) { memoryCheck_ = std::move(check); }

    // Styles are kept once; a log holds few of them.
    StyleId styleId(const RunStyle& style);
    const RunStyle& style(StyleId id) const { return styles_[id]; }
    qsizetype styleCount() const { return static_cast<qsizetype>(styles_.size()); }

    // Appends `text` in a style at the end. CR LF, a lone CR and a lone LF each end a
    // line. False when memory ran short: the rest was dropped and the store is full.
    bool append(QStringView text, StyleId style);
    // The same for text of one byte a character (Latin-1).
    bool appendLatin1(QByteArrayView text, StyleId style);
    // Appends [from, to) of another store, in its styles. False when memory ran short.
    bool appendRange(const LogStore& other, qint64 from, qint64 to);
    // Appends even when the store is full (the note that says so), if memory allows.
    void appendPastFull(QStringView text, StyleId style);
    bool isFull() const { return full_; }
    // Empties the store and gives its memory back; it takes text again.
    void clear();

    qint64 length() const;
    bool isEmpty() const { return length() == 0; }
    // At least 1: an empty log has one empty row.
    qint64 rowCount() const { return rowCount_; }
    // Memory taken for the text, the rows and the runs.
    qint64 bytesHeld() const;

    // The position of the row's first character.
    qint64 rowStart(qint64 row) const;
    // Its characters, without the line break.
    int rowLength(qint64 row) const;
    // No line break stands between this row and the one before.
    bool rowContinues(qint64 row) const;
    // A line break ends the row.
    bool rowEndsLine(qint64 row) const;
    // The row that holds `position`: a line break belongs to the row it ends, a position
    // between two rows of one line to the later row, the end of the log to the last row.
    qint64 rowAt(qint64 position) const;
    QString rowText(qint64 row) const;
    // The styles of the row's characters, in order; an empty row has one span of length
    // 0 that gives the style its line was ended in.
    std::vector<Span> rowSpans(qint64 row) const;

    // The characters of [from, to), a line break as "\n".
    QString text(qint64 from, qint64 to) const;
    // [from, to) in pieces of at most `pieceChars`; `visit` returns false to stop.
    void visitText(qint64 from, qint64 to, qsizetype pieceChars,
                   const std::function<bool(QStringView)>& visit) const;
    // [from, to) as runs of one style, in order, a line break inside the run it ends.
    // Runs are cut at row ends; neighbours of the same style are not joined.
    void visitRuns(qint64 from, qint64 to,
                   const std::function<void(QStringView text, StyleId style)>& visit) const;

    // Search, not minding case (as QString::compare with Qt::CaseInsensitive): the first
    // match that starts at or after `from` and ends by `to`, or -1.
    qint64 indexOf(QStringView needle, qint64 from, qint64 to) const;
    // The matches in [from, to) that do not overlap, taken from `from` on; `lastEnd`
    // (when given) is set behind the last of them, or to `from` when there is none.
    qint64 count(QStringView needle, qint64 from, qint64 to, qint64* lastEnd = nullptr) const;
    // The position just behind the first line break at or after `from`; the length of the
    // log when none follows.
    qint64 lineEndFrom(qint64 from) const;
    // The position just behind the last line break before `to`; 0 when there is none.
    qint64 lastLineEndBefore(qint64 to) const;

private:
    struct Row;
    struct Page;
    class Finder;

    Row& row(qint64 index);
    const Row& row(qint64 index) const;
    const Page& pageOfRow(const Row& r) const;
    qint64 rowChars(qint64 index) const;
    const char* rowBytes(const Row& r) const;
    qsizetype pageOfPosition(qint64 position) const;
    qint64 pageRowEnd(qsizetype page) const;

    bool take(qsizetype bytes);
    // Room for item `count` in blocks of `perBlock` items, a new block taken when needed.
    template <class Item>
    bool roomInBlocks(std::vector<std::unique_ptr<Item[]>>& blocks, qint64 count, qint64 perBlock);
    // Text of either width, with line breaks, and a piece of it without.
    template <class Text> bool appendText(Text text, StyleId style);
    template <class Text> bool appendPiece(Text piece, StyleId style);
    bool endLine(StyleId style);
    bool startRow(bool continues, StyleId style);
    bool roomInPage(qsizetype bytes, bool wide);
    bool widenLastRow();
    void setStyleAt(Row& r, int column, StyleId style);
    template <class Visit>
    void scan(const Finder& finder, qint64 from, qint64 to, Visit visit) const;

    std::vector<RunStyle> styles_;
    std::vector<Page> pages_;
    std::vector<std::unique_ptr<Row[]>> rowBlocks_;
    qint64 rowCount_ = 0;
    struct RunAt {
        quint16 column;
        StyleId style;
    };
    std::vector<std::unique_ptr<RunAt[]>> runBlocks_;
    qint64 runCount_ = 0;
    bool full_ = false;
    bool pastFull_ = false;
    MemoryCheck memoryCheck_;
};

} // namespace kst
