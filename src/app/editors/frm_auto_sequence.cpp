#include "app/editors/frm_auto_sequence.h"

#include "app/editors/dialog_buttons.h"
#include "app/editors/macro_step_fields.h"
#include "app/editors/sub_routine_fields.h"
#include "platform/desktop/checked_field.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/macro_reset.h"
#include "storage/macro_step_table.h"
#include "storage/sub_routine_table.h"
#include "tools/tool_design.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

frmAutoSequence::frmAutoSequence(QWidget* parent, const QString& settingsConnStr,
                                 std::function<void()> closed)
    : QDialog(parent), closed_(std::move(closed)) {
    state_.settingsConnStr = settingsConnStr;
    state_.autoSave = [this] { return chkAutoSave->isChecked(); };
    state_.resetMacro = [this](int macro) { resetMacro(macro); };
    setObjectName(QStringLiteral("frmAutoSequence"));
    setWindowTitle(QStringLiteral("Programmable Macros"));
    useDesignFont(this);
    build();
    ignoreEnterInFields(*this);
    Form_Load();
}

frmAutoSequence::~frmAutoSequence() = default;

void frmAutoSequence::build() {
    setFixedSize(toPixels(14600), toPixels(8900));
    auto* select = placed(new QGroupBox(QStringLiteral("Select Macro"), this),
                          QStringLiteral("Frame1"), 120, 120, 2880, 660);
    placed(new QLabel(QStringLiteral("Macro"), select), QStringLiteral("Label3"), 240, 330, 600,
           240);
    cboMacros = placed(new QComboBox(select), QStringLiteral("cboMacros"), 900, 270, 1200, 300);
    for (int m = 1; m <= 8; ++m)
        cboMacros->addItem(QString::number(m));
    connect(cboMacros, &QComboBox::activated, this, [this] { cboMacros_Click(); });

    auto* options = placed(new QGroupBox(QStringLiteral("Options"), this), QStringLiteral("Frame2"),
                           120, 900, 2880, 600);
    chkAutoSave = placed(new QCheckBox(QStringLiteral("Auto Save"), options),
                         QStringLiteral("chkAutoSave"), 240, 270, 1800, 240);

    auto* notation = placed(new QGroupBox(QStringLiteral("Data notation"), this),
                            QStringLiteral("Frame7"), 120, 1620, 2880, 600);
    for (int i = 0; i < 2; ++i) {
        auto* option = placed(
            new QRadioButton(i == 0 ? QStringLiteral("Hex") : QStringLiteral("ASCII"), notation),
            elementName(QStringLiteral("Option1"), i), 240 + i * 1200, 270, 1000, 240);
        Option1[static_cast<size_t>(i)] = option;
        option->installEventFilter(this);
        connect(option, &QRadioButton::clicked, this, [this, i] { Option1_Click(i); });
    }

    cmdClearCurrent = placed(new QPushButton(QStringLiteral("Reset Current Macro"), this),
                             QStringLiteral("cmdClearCurrent"), 120, 2400, 2880, 375);
    cmdClearAll = placed(new QPushButton(QStringLiteral("Reset All Macros"), this),
                         QStringLiteral("cmdClearAll"), 120, 2880, 2880, 375);
    Command1 = placed(new QPushButton(QStringLiteral("Exit"), this), QStringLiteral("Command1"),
                      120, 3360, 2880, 375);
    connect(cmdClearCurrent, &QPushButton::clicked, this, &frmAutoSequence::cmdClearCurrent_Click);
    connect(cmdClearAll, &QPushButton::clicked, this, &frmAutoSequence::cmdClearAll_Click);
    connect(Command1, &QPushButton::clicked, this, &QDialog::close);

    Frame4 = placed(new QGroupBox(this), QStringLiteral("Frame4"), 3120, 120, 11360, 3660);
    steps_ = new MacroStepFields(Frame4, state_);
    Frame5 = placed(new QGroupBox(this), QStringLiteral("Frame5"), 120, 3900, 14360, 4320);
    subRoutines_ = new SubRoutineFields(Frame5, state_, [this](int index, const QString& name) {
        steps_->cboSub->setItemText(index, name);
    });
    placed(new QLabel(QStringLiteral("Notes: 1)  Important: send signals ONLY when Handshaking is "
                                     "set to NONE"),
                      this),
           QStringLiteral("Label19"), 120, 8340, 13780, 240);
    Label20 = placed(new QLabel(this), QStringLiteral("Label20"), 585, 8580, 13315, 240);
}

// ---------------------------------------------------------------------------------------
// Opening and the choice of the macro

void frmAutoSequence::Form_Load() {
    try {
        // The notation is in place before anything is shown in it.
        const MacroEditorOptions options = ReadMacroEditorOptions(state_.settingsConnStr);
        chkAutoSave->setChecked(options.autoSave);
        state_.storedNotation = options.notation;
        showNotation(options.notation);
    } catch (const RunTimeError& e) {
        reportFailure(e.number(), e.description(),
                      QStringLiteral("Error occurs when loading form, please try again!"));
        return;
    }
    selectMacro(1);
    loaded_ = showMacro(1);
}

void frmAutoSequence::selectMacro(int macro) {
    cboMacros->setCurrentIndex(macro - 1);
}

bool frmAutoSequence::showMacro(int macro) {
    // Everything shown of the macro is read first: a row that cannot be read leaves the
    // macro shown before.
    QStringList stepNames;
    QStringList subRoutineNames;
    SubRoutineRow firstSubRoutine;
    MacroStepRow firstStep;
    try {
        stepNames = ReadMacroStepNames(state_.settingsConnStr, macro);
        subRoutineNames = ReadSubRoutineNames(state_.settingsConnStr, macro);
        firstSubRoutine = ReadSubRoutineRow(state_.settingsConnStr, macro, 0);
        firstStep = ReadMacroStepRow(state_.settingsConnStr, macro, 0);
    } catch (const RunTimeError& e) {
        const std::optional<int> reset = showReadFailure(
            failureText(e.number(), e.description()) + u'\n' +
                QStringLiteral("Error occurs when changing Macros number, please try again!"),
            e);
        selectMacro(state_.shownMacro);
        return reset && resetMacro(*reset);
    }
    state_.shownMacro = macro;
    Frame4->setTitle(QStringLiteral("Macro%1: Steps").arg(macro));
    Frame5->setTitle(QStringLiteral("Macro%1: Sub-Routines").arg(macro));
    steps_->fillLists(stepNames, subRoutineNames);
    subRoutines_->fillList(subRoutineNames);
    subRoutines_->show(0, firstSubRoutine);
    steps_->show(0, firstStep);
    return true;
}

bool frmAutoSequence::settleAll(bool stepFirst) {
    Option1_LostFocus();
    const bool autoSave = chkAutoSave->isChecked();
    ShownRecord* first = subRoutines_;
    ShownRecord* second = steps_;
    if (stepFirst)
        std::swap(first, second);
    return settleChanges(*first, autoSave) && settleChanges(*second, autoSave);
}

void frmAutoSequence::cboMacros_Click() {
    const int macro = cboMacros->currentIndex() + 1;
    if (macro == state_.shownMacro)
        return;
    // The changes belong to the macro shown so far, and are settled before another is
    // read; a save that fails keeps that macro and what was typed.
    if (!settleAll(false)) {
        selectMacro(state_.shownMacro);
        return;
    }
    showMacro(macro);
}

// ---------------------------------------------------------------------------------------
// The notation

void frmAutoSequence::showNotation(int notation) {
    Option1[notation == 0 ? 0 : 1]->setChecked(true);
    Option1_Click(notation == 0 ? 0 : 1);
}

void frmAutoSequence::Option1_Click(int Index) {
    state_.editNotation = Index;
    Label20->setText(commandNote(Index));
    // The texts are not converted; the control codes go in Hex.
    steps_->notationSwitched();
    subRoutines_->notationSwitched();
}

void frmAutoSequence::Option1_LostFocus() {
    // The notation is stored with a step: the step's save is offered.
    if (state_.editNotation != state_.storedNotation)
        steps_->markChanged();
}

bool frmAutoSequence::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == Option1[0] || watched == Option1[1]) && event->type() == QEvent::FocusOut)
        Option1_LostFocus();
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------------------
// The resets

bool frmAutoSequence::resetMacros(int first, int last, const QString& failureLine) {
    try {
        ResetMacros(state_.settingsConnStr, first, last);
    } catch (const RunTimeError& e) {
        reportFailure(e.number(), e.description(), failureLine);
        return false;
    }
    // Only what committed is shown: the defaults, in the notation they hold.
    state_.storedNotation = 0;
    showNotation(0);
    // What is shown is what is stored.
    steps_->dropChanges();
    subRoutines_->dropChanges();
    return true;
}

bool frmAutoSequence::resetMacro(int macro) {
    if (!resetMacros(macro, macro,
                     QStringLiteral("Error occurs when clear current macro's data, please try "
                                    "again!")))
        return false;
    selectMacro(macro);
    if (!showMacro(macro))
        return false;
    msgBox(QStringLiteral("Current Macro was reset successfully!"), MsgIcon::Information);
    return true;
}

void frmAutoSequence::cmdClearCurrent_Click() {
    if (confirmed(QStringLiteral("Are you sure you want to reset Current Macro's settings?")))
        resetMacro(cboMacros->currentIndex() + 1);
}

void frmAutoSequence::cmdClearAll_Click() {
    if (!confirmed(QStringLiteral("Are you sure you want to reset All Macros' settings?")) ||
        !resetMacros(1, 8,
                     QStringLiteral("Error occurs when saving sub-routine data, please try "
                                    "again!")))
        return;
    msgBox(QStringLiteral("All Macros were reset successfully!"), MsgIcon::Information);
    selectMacro(1);
    showMacro(1);
}

bool frmAutoSequence::confirmed(const QString& question) {
    return msgBox(question, MsgIcon::Question, MsgButtons::YesNoDefaultNo) == AnswerYes;
}

// ---------------------------------------------------------------------------------------
// Closing

bool frmAutoSequence::Form_Unload() {
    try {
        WriteMacroAutoSave(state_.settingsConnStr, chkAutoSave->isChecked());
    } catch (const RunTimeError& e) {
        reportFailure(e.number(), e.description(),
                      QStringLiteral("Error occurs when unloading form, please try again!"));
        return true;
    }
    if (!settleAll(true))
        return false;
    closed_();
    return true;
}

void frmAutoSequence::reject() {
    close();
}

void frmAutoSequence::closeEvent(QCloseEvent* event) {
    if (closing_ || !loaded_) {
        event->accept();
        return;
    }
    // Every way out hears the edit still in the focused field, as a click on Exit does.
    if (!CheckedField::leaveFocusThen(*this, [this] { return Form_Unload(); })) {
        event->ignore();
        return;
    }
    closing_ = true;
    event->accept();
    QDialog::reject();
}

void frmAutoSequence::reportFailure(int number, const QString& description, const QString& line) {
    msgBox(failureText(number, description) + u'\n' + line, MsgIcon::Critical);
}

} // namespace kst
