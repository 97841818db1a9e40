#pragma once

#include <QByteArray>
#include <QString>

namespace kst {

// Bytes of the serial line as text: every byte is exactly one character and every
// character of the 256 that bytes map to is exactly one byte (Windows-1252, with its
// five unassigned codes kept as the C1 control characters of the same value).
// Text that holds a character outside that set sends "?" in its place.
class LineCodec {
public:
    static QString toText(const QByteArray& bytes);
    static QByteArray toBytes(const QString& text);
    static QChar charOf(unsigned char byte);
    // The byte that stands for c, or -1 when no byte does.
    static int byteOf(QChar c);
};

} // namespace kst
