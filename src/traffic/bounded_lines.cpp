#include "bounded_lines.h"

namespace kst {

namespace {

const QString CRLF = QStringLiteral("\r\n");

bool isBreak(QChar c) {
    return c == u'\r' || c == u'\n';
}

// The longest item of a byte list or named control code ("11111111 ", "<Delete>"), with room
// to spare: a line with less room than this left takes no part of the next text.
constexpr qsizetype LongestItemChars = 16;

bool endsItem(QChar c) {
    return c == u',' || c == u' ' || c == u'>';
}

// The first line break in [from, to), or -1.
qsizetype breakIn(const QString& text, qsizetype from, qsizetype to) {
    for (qsizetype i = from; i < to; ++i)
        if (isBreak(text[i]))
            return i;
    return -1;
}

// Where a continuation may start in [from, to]: just after the last item's end, or -1.
qsizetype cutIn(const QString& text, qsizetype from, qsizetype to) {
    for (qsizetype i = to; i > from; --i)
        if (endsItem(text[i - 1]))
            return i;
    return -1;
}

} // namespace

QString BoundedLines::append(const QString& text) {
    QString out;
    out.reserve(text.size() + (text.size() / MaxLineChars + 1) * CRLF.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype room = qMax<qsizetype>(MaxLineChars - length_, 0);
        const qsizetype rest = text.size() - pos;
        const qsizetype reach = pos + qMin(room, rest);
        // A line break takes no room of its own.
        if (const qsizetype lineEnd = breakIn(text, pos, qMin(reach + 1, text.size()));
            lineEnd >= 0) {
            qsizetype next = lineEnd + 1;
            if (text[lineEnd] == u'\r' && next < text.size() && text[next] == u'\n')
                ++next;
            out += QStringView(text).mid(pos, next - pos);
            length_ = 0;
            pos = next;
            continue;
        }
        if (rest <= room) {
            out += QStringView(text).mid(pos);
            length_ += rest;
            break;
        }
        qsizetype cut = cutIn(text, pos, reach);
        if (cut < 0)
            // No item ends within reach: a line nearly full ends here, so an item is not
            // split; otherwise (text without items) the line takes as much as fits.
            cut = length_ > 0 && room < LongestItemChars ? pos : reach;
        out += QStringView(text).mid(pos, cut - pos);
        out += CRLF;
        length_ = 0;
        pos = cut;
    }
    return out;
}

} // namespace kst
