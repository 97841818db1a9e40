#pragma once

#include "platform/runtime_error.h"
#include "storage/editor_table.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace kst {

// What the step half and the sub-routine half of the macro editor share of its window.
struct MacroEditorState {
    QString settingsConnStr;
    // The macro whose lists are shown (1-8).
    int shownMacro = 1;
    // The notation chosen in the window (0 Hex, 1 ASCII) and the one the profile holds.
    int editNotation = 0;
    int storedNotation = 0;
    // Whether "Auto Save" is ticked: changes are saved without a question.
    std::function<bool()> autoSave;
    // Resets macro `macro` (1-8) without a further question and shows it.
    std::function<void(int macro)> resetMacro;
};

// The record one half of the editor shows in its fields: a step or a sub-routine.
class ShownRecord {
public:
    virtual ~ShownRecord() = default;
    // The fields differ from the record as it was read or last saved.
    virtual bool changed() const = 0;
    // The question that offers to save the changes.
    virtual QString saveQuestion() const = 0;
    // Stores the record as the fields show it; false after a refusal or a failure, with
    // the fields as the user left them.
    virtual bool save() = 0;
    // The answer No: the changes are given up (they go when another record is shown).
    virtual void dropChanges() = 0;
};

// Settles the changes of a record before another is shown or the window closes: saved
// at once with Auto Save, otherwise after the question, or given up. False when the save
// failed: what the user typed is still shown, and nothing else may replace it.
bool settleChanges(ShownRecord& record, bool autoSave);

// The choice of record `chosen()` in a half's list, where `shown` is the one shown: the
// one shown is not read again over what was typed; the changes are settled, then the
// chosen one is loaded. A save after the question shows the saved record again, so the
// chosen one is not loaded then (with Auto Save it is); a save that failed keeps the
// shown one chosen.
void chooseRecord(ShownRecord& record, int shown, bool autoSave, const std::function<int()>& chosen,
                  const std::function<void(int)>& select, const std::function<void(int)>& load);

// The box of a failure to read rows of a macro, `text` being its lines. A value stored in
// a row names the row and offers to reset its macro, No being the default: the macro to
// reset when the user chose it.
std::optional<int> showReadFailure(const QString& text, const RunTimeError& failure);

// Reads a record whole before anything of it is shown. After a failure's box, whose last
// line says what failed, `keepShown` puts the half's list back on the record shown, and
// the macro is reset when the user chose so.
template <class Row>
std::optional<Row> readRecord(MacroEditorState& state, const std::function<Row()>& read,
                              const QString& what, const std::function<void()>& keepShown);

// The box of a refusal, with the focus put into the field it names.
bool passesCheck(const std::optional<Refusal>& refusal,
                 const std::function<QWidget*(int field)>& fieldOf);

// The box of a failed load or save of a record: the error's number, its description and
// what failed, on lines of their own.
QString recordFailureText(const RunTimeError& failure, const QString& what);
void showRecordFailure(const RunTimeError& failure, const QString& what);

template <class Row>
std::optional<Row> readRecord(MacroEditorState& state, const std::function<Row()>& read,
                              const QString& what, const std::function<void()>& keepShown) {
    try {
        return read();
    } catch (const RunTimeError& e) {
        const std::optional<int> reset = showReadFailure(recordFailureText(e, what), e);
        keepShown();
        if (reset)
            state.resetMacro(*reset);
        return std::nullopt;
    }
}

} // namespace kst
