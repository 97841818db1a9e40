#pragma once

#include "storage/condition_send_checks.h"
#include "storage/editor_table.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace kst {

namespace db {
class Recordset;
}

// One sub-routine of a macro as the macro editor shows it.
struct SubRoutineRow {
    QString name;
    ConditionRow ifCondition;
    SendRow ifThen;
    ConditionRow elseIfCondition;
    SendRow elseIfThen;
    // The ELSE also runs when the wait runs out with nothing received.
    bool elseOnTimeout = true;
    SendRow elseThen;

    bool operator==(const SubRoutineRow&) const = default;
};

// The parts of a sub-routine, and its fields as a refusal names them.
enum class ConditionPart { If, ElseIf };
enum class SendPart { IfThen, ElseIfThen, ElseThen };
namespace SubRoutineField {
inline constexpr int Name = 0;
inline constexpr int conditionField(ConditionPart part, ConditionField member) {
    return 1 + static_cast<int>(part) * 2 + static_cast<int>(member);
}
inline constexpr int sendField(SendPart part, SendField member) {
    return 5 + static_cast<int>(part) * 5 + static_cast<int>(member);
}
} // namespace SubRoutineField

// The 8 sub-routines of one macro.
struct SubRoutineTable {
    int notation = 0; // the editor's notation: 0 Hex, 1 ASCII
    std::array<SubRoutineRow, 8> rows;

    bool operator==(const SubRoutineTable&) const = default;

    // The check of the name as it is left.
    static std::optional<Refusal> checkName(int row, const QString& name);
    // What the save of one sub-routine checks: the name, then the IF, its THEN, the
    // ELSE IF, its THEN and the ELSE's send, each field only where it is in use.
    static std::optional<Refusal> checkSubRoutine(int row, const SubRoutineRow& sub, int notation);
    // Every sub-routine, the first refusal.
    std::optional<Refusal> validate() const;
};

// The sub-routine names of macro `macro` (1-8), Null as empty text.
QStringList ReadSubRoutineNames(const QString& settingsConnStr, int macro);
// Sub-routine `index` (0-7) of macro `macro`, read whole. A kind, line state or signal
// outside its list, or an empty check box, raises: nothing is shown half-read.
SubRoutineRow ReadSubRoutineRow(const QString& settingsConnStr, int macro, int index);
// All 8 sub-routines and the editor's notation.
SubRoutineTable ReadSubRoutineTable(const QString& settingsConnStr, int macro);
// Stores one sub-routine in one transaction; a failure raises and changes nothing.
void WriteSubRoutineRow(const QString& settingsConnStr, int macro, int index,
                        const SubRoutineRow& sub);

// Writes every column of `sub` into the current row of `row`; the caller stores it.
void StoreSubRoutine(db::Recordset& row, const SubRoutineRow& sub);

// A sub-routine after a reset: "Sub1A" .. "Sub8H", empty conditions and sends, the ELSE
// run when the wait runs out.
SubRoutineRow DefaultSubRoutineRow(int macro, int index);

} // namespace kst
