#pragma once

#include "app/editors/macro_editor_state.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kst {

class MacroStepFields;
class SubRoutineFields;

// "Programmable Macros": the eight macros of the current profile, one shown at a time
// with its 8 steps and 8 sub-routines, in the notation of the editor (Hex or ASCII),
// with Auto Save, the resets of the shown macro or of all, and the closing questions.
// The editor writes the profile only; closing it has the main window load its macro
// again.
class frmAutoSequence : public QDialog {
    Q_OBJECT
public:
    // `closed`: after the window has closed, the main window reloads the macro it shows.
    frmAutoSequence(QWidget* parent, const QString& settingsConnStr, std::function<void()> closed);
    ~frmAutoSequence() override;

    // False when the profile could not be read at opening (after the message): the
    // window is not to be shown.
    bool loaded() const { return loaded_; }

    MacroStepFields& steps() { return *steps_; }
    SubRoutineFields& subRoutines() { return *subRoutines_; }
    const MacroEditorState& state() const { return state_; }

    QComboBox* cboMacros = nullptr;
    QGroupBox* Frame4 = nullptr; // the steps
    QGroupBox* Frame5 = nullptr; // the sub-routines
    QCheckBox* chkAutoSave = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label20 = nullptr;
    QPushButton* cmdClearCurrent = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QPushButton* Command1 = nullptr; // Exit

    void Form_Load();
    void cboMacros_Click();
    void Option1_Click(int Index);
    void Option1_LostFocus();
    void cmdClearCurrent_Click();
    void cmdClearAll_Click();
    // The closing: the Auto Save option stored, the changes settled, the main window's
    // macro reloaded. False keeps the window open: a save failed.
    bool Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    // Shows the lists of macro `macro` and its first step and sub-routine (no changes
    // are settled here). False after the failure's box, with the shown macro kept, unless
    // the user chose to reset the macro that cannot be read.
    bool showMacro(int macro);
    void selectMacro(int macro);
    void showNotation(int notation);
    // A destructive question: No is its default.
    static bool confirmed(const QString& question);
    // Stores the defaults of macros `first` to `last`; true when they committed.
    bool resetMacros(int first, int last, const QString& failureLine);
    // Stores the defaults of macro `macro` and shows it; true when it is shown.
    bool resetMacro(int macro);
    // The changes of the shown sub-routine, then of the shown step.
    bool settleAll(bool stepFirst);
    void reportFailure(int number, const QString& description, const QString& line);

    MacroEditorState state_;
    std::function<void()> closed_;
    MacroStepFields* steps_ = nullptr;
    SubRoutineFields* subRoutines_ = nullptr;
    bool loaded_ = false;
    bool closing_ = false;
};

} // namespace kst
