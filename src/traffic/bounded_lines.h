#pragma once

#include <QString>

namespace kst {

// Keeps the receive side's log lines to a bounded length. The log view lays out a whole
// line again whenever text is added to it, so a line that grows for as long as a busy
// line keeps sending makes every append dearer than the last. Text that would carry a
// line past the limit goes on a continuation line: a line break, no new header. The
// break falls after an item (a "," or blank of a byte list, the ">" of a named control
// code) where the text has one within reach.
class BoundedLines {
public:
    static constexpr qsizetype MaxLineChars = 4096;

    // `text` with the line breaks of the continuation lines put in, and the length of
    // the log's last line followed through it (line breaks in `text` count).
    QString append(const QString& text);
    // The log's last line is empty (a new session, or another writer ended it).
    void reset() { length_ = 0; }
    qsizetype lineLength() const { return length_; }

private:
    qsizetype length_ = 0;
};

} // namespace kst
