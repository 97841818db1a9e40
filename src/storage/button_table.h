#pragma once

#include <QString>
#include <array>

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

struct ButtonTable {
    // The editor's notation: 0 Hex, 1 ASCII (any stored value but 0 reads as ASCII).
    int notation = 0;
    std::array<ButtonRow, 32> rows;

    bool operator==(const ButtonTable&) const = default;
};

// Reads `progButtons` of the profile. A chain or signal outside its list reads as none.
ButtonTable ReadButtonTable(const QString& settingsConnStr);
// Writes all 32 rows and the notation in one transaction: a failure raises and leaves
// the table as it was.
void WriteButtonTable(const QString& settingsConnStr, const ButtonTable& table);
// What a reset stores: button n captioned n, sending the byte n + 31, nothing else.
ButtonTable DefaultButtonTable();

} // namespace kst
