#pragma once

#include <QChar>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kst {

// The character a key puts into a command field of the notation (0 Dec .. 4 ASCII), or
// nothing when the field refuses it. Control characters (Backspace, Enter) always
// pass; hexadecimal letters go in as capitals.
std::optional<QChar> commandFieldKey(QChar typed, int notation);
// The same for the number fields (delay, repeat, interval): digits only.
std::optional<QChar> numberFieldKey(QChar typed);

// A typed byte list tidied: each comma-terminated item rebuilt (hexadecimal as its
// byte value in capitals without leading zeros, the other notations as their digits
// without leading zeros) and followed by a comma; text after the last comma is
// dropped. A hexadecimal list that holds an item beyond one byte is refused (nothing).
// Digits are handled as text, so no item of any length becomes a rounded number.
std::optional<QString> reformatByteList(const QString& text, int notation);

// The last 16 commands sent from the command box, kept for its drop-down list.
class CommandHistory {
public:
    static constexpr int Size = 16;

    // Stores a command sent. False when the same text is stored already (an empty
    // text matches the room not used yet): the list stays as it is.
    bool remember(const QString& command);
    // The stored commands, the newest first.
    QStringList newestFirst() const;
    int count() const { return count_; }

private:
    std::array<QString, Size> entries_{};
    int count_ = 0;
};

} // namespace kst
