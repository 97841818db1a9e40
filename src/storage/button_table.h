#pragma once

#include "storage/editor_table.h"

#include <QString>
#include <array>
#include <optional>

namespace kst {

// The 32 programmable buttons as their editor shows them: the stored texts, and the
// chain and signal as positions in their lists.
struct ButtonRow {
    QString caption;
    QString command;
    QString controlCodes;
    QString delay;
    QString repeat;
    QString interval;
    int chain = 0;  // 0 none, n button n
    int signal = 0; // 0 none, n the output signal n - 1

    bool operator==(const ButtonRow&) const = default;
};

// The fields of a button's row, as a refusal names them.
enum class ButtonField { Caption, Command, ControlCodes, Delay, Repeat, Interval, Signal, Chain };

struct ButtonTable {
    // The most characters of a caption a button shows.
    static constexpr int CaptionLength = 3;

    // The editor's notation: 0 Hex, 1 ASCII (any stored value but 0 reads as ASCII).
    int notation = 0;
    std::array<ButtonRow, 32> rows;

    bool operator==(const ButtonTable&) const = default;

    // The check of one field as it is left: a list in the notation that keeps it there,
    // a delay or interval over 65,535 ms.
    static std::optional<Refusal> checkField(int row, ButtonField field, const QString& text,
                                             int notation);
    // The first list that is no list of bytes, in the notation shown (the check on
    // closing).
    std::optional<Refusal> firstBadList() const;
    // Everything a save needs: the lists, then the captions of 1 to 3 characters, then
    // the delays and intervals.
    std::optional<Refusal> validate() const;
};

// Reads `progButtons` of the profile. A chain or signal outside its list raises "Invalid
// property value" naming the button (see listPosition).
ButtonTable ReadButtonTable(const QString& settingsConnStr);
// Writes all 32 rows and the notation in one transaction: a failure raises and leaves
// the table as it was.
void WriteButtonTable(const QString& settingsConnStr, const ButtonTable& table);
// What a reset stores: button n captioned n, sending the byte n + 31, nothing else.
ButtonTable DefaultButtonTable();

} // namespace kst
