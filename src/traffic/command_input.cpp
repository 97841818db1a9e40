#include "command_input.h"

#include "notation/notation.h"

namespace kst {

namespace {

// The leading decimal digits of an item, blanks in front skipped as the byte-list check
// and the hexadecimal reading skip them, without their leading zeros; "0" for none.
QString digitsWithoutLeadingZeros(const QString& item) {
    qsizetype first = 0;
    while (first < item.size() && (item[first] == u' ' || item[first] == u'\t'))
        ++first;
    qsizetype end = first;
    while (end < item.size() && item[end] >= u'0' && item[end] <= u'9')
        ++end;
    while (first < end - 1 && item[first] == u'0')
        ++first;
    return end == first ? QStringLiteral("0") : item.mid(first, end - first);
}

} // namespace

std::optional<QChar> commandFieldKey(QChar typed, int notation) {
    // IsValidDigits admits every character in ASCII, and only the notation's own digits
    // (in the Latin range, either case of hexadecimal letters) in the others.
    if (typed.unicode() < 32 || typed == u',' || IsValidDigits(QString(typed), notation))
        return notation == ncHex ? typed.toUpper() : typed;
    return std::nullopt;
}

std::optional<QChar> numberFieldKey(QChar typed) {
    if (typed.unicode() < 32 || (typed >= u'0' && typed <= u'9'))
        return typed;
    return std::nullopt;
}

std::optional<QString> reformatByteList(const QString& text, int notation) {
    if (notation == ncHex && !ValidateByteList(text, ncHex))
        return std::nullopt;
    QString result;
    for (const QString& item : ByteListItems(text)) {
        if (notation == ncHex)
            result += QString::number(HexToByte(item), 16).toUpper();
        else
            result += digitsWithoutLeadingZeros(item);
        result += u',';
    }
    return result;
}

bool CommandHistory::remember(const QString& command) {
    for (const QString& entry : entries_) {
        if (entry == command)
            return false;
    }
    if (count_ < Size) {
        entries_[static_cast<size_t>(count_++)] = command;
    } else {
        for (int i = 1; i < Size; ++i)
            entries_[static_cast<size_t>(i - 1)] = entries_[static_cast<size_t>(i)];
        entries_[Size - 1] = command;
    }
    return true;
}

QStringList CommandHistory::newestFirst() const {
    QStringList list;
    for (int i = count_ - 1; i >= 0; --i)
        list << entries_[static_cast<size_t>(i)];
    return list;
}

} // namespace kst
