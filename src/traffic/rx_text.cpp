#include "rx_text.h"

#include "notation/line_codec.h"
#include "notation/notation.h"

#include <algorithm>
#include <array>

namespace kst {

namespace {

constexpr int Notations = 5;

QString byteList(const QByteArray& block, int rxFormat) {
    switch (rxFormat) {
    case ncDec:
        return StrToDecList(block);
    case ncHex:
        return StrToHexList(block);
    case ncOct:
        return StrToOctList(block);
    default:
        return StrToBinList(block);
    }
}

QString convert(const QByteArray& block, int rxFormat, bool formattedView) {
    if (rxFormat == ncAscii)
        return formattedView ? ToAsciiWithNames(block) : LineCodec::toText(block);
    const QString list = byteList(block, rxFormat);
    return formattedView ? PadByteList(list, rxFormat) : list;
}

// Every notation writes a block byte by byte, so a block's text is the texts of its
// bytes one after the other. A busy line is written at the speed of joining them.
using ByteTexts = std::array<QString, 256>;

const ByteTexts& byteTexts(int rxFormat, bool formattedView) {
    static const auto tables = [] {
        std::array<std::array<ByteTexts, 2>, Notations> all;
        for (int notation = 0; notation < Notations; ++notation)
            for (int formatted = 0; formatted < 2; ++formatted)
                for (int byte = 0; byte < 256; ++byte)
                    all[notation][formatted][byte] =
                        convert(QByteArray(1, char(byte)), notation, formatted != 0);
        return all;
    }();
    return tables[static_cast<size_t>(rxFormat)][formattedView ? 1 : 0];
}

// The texts are copied straight into a text of the right size: a block of megabytes is
// joined at the speed of copying, not of growing a text a piece at a time.
QString joined(const QByteArray& block, const ByteTexts& texts) {
    std::array<qsizetype, 256> sizes;
    std::array<const char16_t*, 256> chars;
    for (size_t byte = 0; byte < 256; ++byte) {
        sizes[byte] = texts[byte].size();
        chars[byte] = reinterpret_cast<const char16_t*>(texts[byte].constData());
    }
    qsizetype size = 0;
    for (const char byte : block)
        size += sizes[static_cast<unsigned char>(byte)];
    QString text(size, Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    for (const char byte : block) {
        const auto b = static_cast<unsigned char>(byte);
        std::copy_n(chars[b], sizes[b], out);
        out += sizes[b];
    }
    return text;
}

} // namespace

QString RxDisplayText(const QByteArray& block, int rxFormat, bool formattedView) {
    if (rxFormat < 0 || rxFormat >= Notations)
        rxFormat = ncHex;
    if (rxFormat == ncAscii && !formattedView)
        return LineCodec::toText(block);
    return joined(block, byteTexts(rxFormat, formattedView));
}

QString RxMatchText(const QByteArray& block, int rxFormat) {
    return rxFormat == ncAscii ? LineCodec::toText(block) : joined(block, byteTexts(ncHex, false));
}

} // namespace kst
