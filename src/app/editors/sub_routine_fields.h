#pragma once

#include "app/editors/macro_editor_state.h"
#include "storage/sub_routine_table.h"

#include <QObject>
#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kst {

class ConditionFields;
class SendFields;

// The sub-routine half of the macro editor: the list of the shown macro's 8 sub-routines
// and the one chosen there, its IF and ELSE IF conditions and the sends of their THEN
// and of the ELSE, in the field groups the rule editor shows its rules in. A sub-routine
// is read whole before it is shown; one that cannot be read leaves the one shown before.
// Save checks the sub-routine, then stores it in one transaction.
class SubRoutineFields : public QObject, public ShownRecord {
    Q_OBJECT
public:
    // Builds the controls on `frame` (the frame of the sub-routines). `renamed`: a saved
    // sub-routine's name, for the other lists that show it.
    SubRoutineFields(QWidget* frame, MacroEditorState& state,
                     std::function<void(int index, const QString& name)> renamed);

    // The sub-routine names of the shown macro; none is shown until loadSubRoutine().
    void fillList(const QStringList& names);
    // Reads sub-routine `index` of the shown macro whole and shows it. False after the
    // failure's box: the sub-routine shown before stays.
    bool loadSubRoutine(int index);
    // Shows sub-routine `index`, read as `sub`.
    void show(int index, const SubRoutineRow& sub);
    // The notation was switched: the control codes go, the widths follow.
    void notationSwitched();

    int currentSubRoutine() const { return current_; }
    SubRoutineRow shownSubRoutine() const;
    ConditionFields& condition(ConditionPart part) const {
        return *conditions_[static_cast<size_t>(part)];
    }
    SendFields& send(SendPart part) const { return *sends_[static_cast<size_t>(part)]; }

    // ShownRecord
    bool changed() const override;
    QString saveQuestion() const override;
    bool save() override { return cmdSubRoutineSave_Click(); }
    void dropChanges() override;

    void Combo3_Click();
    bool cmdSubRoutineSave_Click();

    QLabel* Label1 = nullptr;
    QComboBox* Combo3 = nullptr;
    QLineEdit* txtSubRoutine = nullptr;
    QCheckBox* chkElse = nullptr;
    QPushButton* cmdSubRoutineSave = nullptr;

private:
    void build(QWidget* frame);
    void buildGroups(QWidget* details);
    QWidget* field(int at) const;
    void select(int index);

    MacroEditorState& state_;
    std::function<void(int, const QString&)> renamed_;
    std::array<ConditionFields*, 2> conditions_{};
    std::array<SendFields*, 3> sends_{};
    // The sub-routine shown (-1 before the first) and its fields as read or last saved.
    int current_ = -1;
    SubRoutineRow loaded_;
    bool marked_ = false; // a field was left with another text, a value with another
    bool listing_ = false;
};

} // namespace kst
