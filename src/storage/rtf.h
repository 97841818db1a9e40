#pragma once

#include "notation/styled_run.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

namespace kst {

// The runs as a rich-text (RTF) document that word processors read with its colours,
// styles and sizes. Every character survives: the markup's own characters are escaped,
// and anything beyond ASCII (control characters included) is written as an escape.
QByteArray WriteRtf(const std::vector<StyledRun>& runs, const QString& fontName);

// The same a piece at a time, for a log too large to hold twice: the beginning (which
// names every colour the runs will use), the runs, the end.
class RtfWriter {
public:
    RtfWriter(QList<quint32> colors, const QString& fontName);
    QByteArray begin() const;
    void append(QByteArray& out, const StyledRun& run) const;
    static QByteArray end();

private:
    QList<quint32> colors_;
    QString fontName_;
};

// The text and styles of a rich-text document, written here or by another program.
// Groups it does not know are skipped, and so are the N bytes of data after "\binN" and
// the instruction of a field (its result is text); "\uN" escapes, and control words
// that stand for a character (\emdash, \bullet, \~ ...), are decoded. Bytes ("\'hh"
// and 8-bit text) are characters of the current font's code page (\fcharset, \cpg),
// else of the document's (\ansicpg), else of Windows-1252; two-byte code pages take
// two bytes to a character. Nothing when the bytes are no RTF document.
std::optional<std::vector<StyledRun>> ReadRtf(const QByteArray& rtf);

// The same a piece at a time, for a file too large to hold whole: the runs read so far
// are taken while the file is read.
class RtfReader {
public:
    RtfReader();
    ~RtfReader();
    // The next bytes of the document; `last` with its final piece.
    void read(QByteArrayView bytes, bool last);
    std::vector<StyledRun> takeRuns();
    // After the last piece: the document was RTF and ended where it should. A file cut
    // short (a group never closed) is damaged.
    bool complete() const;
    // The bytes are no RTF, or it is damaged already.
    bool failed() const;

private:
    class Parser;
    std::unique_ptr<Parser> parser_;
};

// Whether the bytes are an RTF document (they begin with "{\rtf", blanks aside).
bool IsRtf(const QByteArray& bytes);

} // namespace kst
