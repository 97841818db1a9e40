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

// What a macro step does: send its command, or run one of the macro's sub-routines.
enum class StepAction : int { SendCommands = 0, SubRoutine = 1 };

// One step of a macro as the macro editor shows it: its name, its kind, what a send
// step sends, the sub-routine (0-7, within the same macro) a sub-routine step runs and
// how long it waits, in ms.
struct MacroStepRow {
    QString name;
    StepAction action = StepAction::SendCommands;
    SendRow send;
    int subRoutine = 0;
    QString timerAfter;

    bool operator==(const MacroStepRow&) const = default;
};

// The fields of a step, as a refusal names them: the name, the send's members in their
// order, the timer.
namespace StepField {
inline constexpr int Name = 0;
inline constexpr int send(SendField member) {
    return 1 + static_cast<int>(member);
}
inline constexpr int TimerAfter = 6;
} // namespace StepField

// The 8 steps of one macro.
struct MacroStepTable {
    // The editor's notation: 0 Hex, 1 ASCII.
    int notation = 0;
    std::array<MacroStepRow, 8> rows;

    bool operator==(const MacroStepTable&) const = default;

    // The checks of the step's own fields as they are left: an empty name, a timer over
    // 65,535 ms. The send's fields are checked as every send's are (checkSendField).
    static std::optional<Refusal> checkName(int row, const QString& name);
    static std::optional<Refusal> checkTimer(int row, const QString& timerAfter);
    // What the save of one step checks, in the order of its fields: the fields it
    // stores (a sub-routine step stores none of its send fields), the control codes
    // only where the notation shows them.
    static std::optional<Refusal> checkStep(int row, const MacroStepRow& step, int notation);
    // Every step, the first refusal.
    std::optional<Refusal> validate() const;
};

// The two settings of the editor, one for all macros, kept on the first row of the
// steps' table.
struct MacroEditorOptions {
    int notation = 0; // any stored value but 0 is ASCII
    bool autoSave = false;
};
MacroEditorOptions ReadMacroEditorOptions(const QString& settingsConnStr);
void WriteMacroAutoSave(const QString& settingsConnStr, bool autoSave);

// The step names of macro `macro` (1-8), Null as empty text.
QStringList ReadMacroStepNames(const QString& settingsConnStr, int macro);
// Step `index` (0-7) of macro `macro`, read whole. A signal or sub-routine outside its
// list, or an empty one, raises: the step is not shown half-read.
MacroStepRow ReadMacroStepRow(const QString& settingsConnStr, int macro, int index);
// All 8 steps and the editor's notation.
MacroStepTable ReadMacroStepTable(const QString& settingsConnStr, int macro);
// Stores one step and the editor's notation in one transaction: the name, the kind and
// the timer always, the send fields for a send step, the sub-routine for a sub-routine
// step; the other kind's columns keep what they hold. A failure raises and changes
// nothing.
void WriteMacroStepRow(const QString& settingsConnStr, int macro, int index,
                       const MacroStepRow& step, int notation);

// Writes every column of `step` into the current row of `row` (the editor's options
// aside); the caller stores it.
void StoreMacroStep(db::Recordset& row, const MacroStepRow& step);

// The step of a macro after a reset: "Step1A" .. "Step8H", a send step without a
// command, nothing to send, a wait of 1000 ms.
MacroStepRow DefaultMacroStepRow(int macro, int index);

} // namespace kst
