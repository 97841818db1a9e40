#pragma once

#include "app/editors/macro_editor_state.h"
#include "storage/macro_step_table.h"

#include <QObject>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;

namespace kst {

class LineControl;

// The step half of the macro editor: the list of the shown macro's 8 steps and the
// fields of the step chosen there, its kind (a send or a sub-routine to run) deciding
// which fields are in use. A step is read whole before it is shown; a step that cannot
// be read leaves the one shown before. Save checks the step, then stores it with the
// editor's notation in one transaction.
class MacroStepFields : public QObject, public ShownRecord {
    Q_OBJECT
public:
    // Builds the controls on `frame` (the frame of the steps).
    MacroStepFields(QWidget* frame, MacroEditorState& state);

    // The step names and the sub-routine names of the shown macro; no step is shown until
    // loadStep().
    void fillLists(const QStringList& stepNames, const QStringList& subRoutineNames);
    // Reads step `index` of the shown macro whole and shows it. False after the failure's
    // box: the step shown before stays.
    bool loadStep(int index);
    // Shows step `index`, read as `step`.
    void show(int index, const MacroStepRow& step);
    // The notation's widths and what it shows (the control codes only in ASCII).
    void layOut();
    // The notation was switched: the control codes go in Hex.
    void notationSwitched();
    // The notation differs from the stored one: the step's save stores it.
    void markChanged() { stepChanged_ = true; }

    int currentStep() const { return currentStep_; }
    // The step as its fields show it.
    MacroStepRow shownStep() const;

    // ShownRecord
    bool changed() const override;
    QString saveQuestion() const override;
    bool save() override { return cmdStepSave_Click(); }
    void dropChanges() override;

    // The handlers of the step's controls.
    void List1_Click();
    bool cmdStepSave_Click();
    void OptSteps_Click(int Index);
    void chkStep_Click();

    QLabel* Label2 = nullptr;
    QListWidget* List1 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QLabel* Label21 = nullptr;
    QLineEdit* txtEditSeq = nullptr;
    std::array<QRadioButton*, 2> OptSteps{};
    QLineEdit* txtAction = nullptr;
    QLineEdit* txtActionCtrl = nullptr;
    QLabel* Label22 = nullptr; // "Delay"
    QLabel* Label30 = nullptr; // "ms"
    QLineEdit* txtSeqCmdDelay = nullptr;
    QLabel* Label17 = nullptr; // "Repeat"
    QLineEdit* txtSeqCmdRepeat = nullptr;
    QLabel* Label23 = nullptr; // "Interval"
    QLabel* Label31 = nullptr; // "ms"
    QLineEdit* txtSeqCmdInterval = nullptr;
    QCheckBox* chkStep = nullptr;
    QComboBox* cboStepSignal = nullptr;
    QComboBox* cboSub = nullptr;
    QLabel* Label7 = nullptr; // "Timer"
    QLineEdit* txtTimerAfter = nullptr;
    QLabel* Label6 = nullptr; // "ms"
    QPushButton* cmdStepSave = nullptr;
    // Line1 .. Line5, Line20 .. Line23 by their numbers.
    LineControl* line(int number) const;

private:
    enum class CommandTest { Command, CommandOrCodes };

    void build(QWidget* frame);
    void buildActions(QGroupBox* actions);
    void checkField(QLineEdit* field, int at);
    QLineEdit* field(int at) const;
    void applyKind(bool byLoader);
    void commandAvailability(CommandTest test);
    void intervalAvailability();
    void selectInList(int index);
    StepAction kind() const;

    MacroEditorState& state_;
    std::array<LineControl*, 24> lines_{};
    // The step shown (-1 before the first) and its fields as read or last saved.
    int currentStep_ = -1;
    MacroStepRow loaded_;
    bool stepChanged_ = false;
    bool listing_ = false; // the list is changed by the program, not the user
};

} // namespace kst
