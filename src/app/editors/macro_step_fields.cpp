#include "app/editors/macro_step_fields.h"

#include "app/editors/field_group.h"
#include "app/main/controls.h"
#include "notation/leading_number.h"
#include "platform/desktop/checked_field.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "tools/tool_design.h"
#include "traffic/command_input.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

using namespace field_group;

namespace {

constexpr int CommandWidthHex = 3540;
constexpr int CommandWidthAscii = 2835;
constexpr int CommandLeft = 1980;

const int Command = StepField::send(SendField::Command);
const int ControlCodes = StepField::send(SendField::ControlCodes);
const int Delay = StepField::send(SendField::Delay);
const int Repeat = StepField::send(SendField::Repeat);
const int Interval = StepField::send(SendField::Interval);

void setInUse(const std::initializer_list<QWidget*>& controls, bool inUse) {
    for (QWidget* control : controls)
        control->setEnabled(inUse);
}

} // namespace

MacroStepFields::MacroStepFields(QWidget* frame, MacroEditorState& state)
    : QObject(frame), state_(state) {
    build(frame);
}

LineControl* MacroStepFields::line(int number) const {
    return lines_[static_cast<size_t>(number)];
}

void MacroStepFields::build(QWidget* frame) {
    Label2 = label(frame, QStringLiteral("Label2"), QStringLiteral("Steps (Total: 8 nos.):"), 120,
                   270, 2300);
    for (int k = 0; k < 8; ++k)
        label(frame, elementName(QStringLiteral("Label13"), k), QStringLiteral("%1 >").arg(k + 1),
              120, 570 + k * 300, 330);
    List1 = placed(new QListWidget(frame), QStringLiteral("List1"), 480, 540, 2040, 2460);
    List1->setUniformItemSizes(true);
    connect(List1, &QListWidget::currentRowChanged, this, [this] { List1_Click(); });
    // A click or a key selects its row after making it current: when the step shown stayed,
    // the highlight goes back to it.
    connect(List1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!listing_ && currentStep_ >= 0 && List1->currentRow() == currentStep_ &&
            List1->selectedItems() != QList{List1->item(currentStep_)})
            selectInList(currentStep_);
    });

    Frame3 = placed(new QGroupBox(QStringLiteral("Step Details"), frame), QStringLiteral("Frame3"),
                    2640, 180, 8040, 3360);
    label(Frame3, QStringLiteral("lblEditDelMain"), QStringLiteral("Edit Step's Name:"), 120, 330,
          1500);
    Label21 = label(Frame3, QStringLiteral("Label21"), QStringLiteral("1 >"), 1650, 330, 330);
    txtEditSeq = textField(Frame3, QStringLiteral("txtEditSeq"), 1980, 300, 2835);
    auto* actions = placed(new QGroupBox(QStringLiteral("Actions"), Frame3),
                           QStringLiteral("Frame6"), 120, 720, 7800, 2100);
    buildActions(actions);
    cmdStepSave = placed(new QPushButton(QStringLiteral("Save Current Step"), Frame3),
                         QStringLiteral("cmdStepSave"), 6120, 2880, 1800, 375);
    connect(cmdStepSave, &QPushButton::clicked, this, [this] { cmdStepSave_Click(); });

    for (const auto& [box, at] : {std::pair{txtEditSeq, StepField::Name},
                                  {txtAction, Command},
                                  {txtActionCtrl, ControlCodes},
                                  {txtSeqCmdDelay, Delay},
                                  {txtSeqCmdRepeat, Repeat},
                                  {txtSeqCmdInterval, Interval},
                                  {txtTimerAfter, StepField::TimerAfter}})
        checkField(box, at);
    connect(txtAction, &QLineEdit::textChanged, this, [this] {
        commandAvailability(state_.editNotation == 0 ? CommandTest::Command
                                                     : CommandTest::CommandOrCodes);
    });
    connect(txtActionCtrl, &QLineEdit::textChanged, this,
            [this] { commandAvailability(CommandTest::CommandOrCodes); });
    connect(txtSeqCmdRepeat, &QLineEdit::textChanged, this, [this] {
        if (kind() != StepAction::SendCommands)
            return;
        // Without a repeat there is no interval.
        if (LeadingNumber(txtSeqCmdRepeat->text()) <= 0)
            txtSeqCmdInterval->setText(QStringLiteral("0"));
        intervalAvailability();
    });
}

void MacroStepFields::buildActions(QGroupBox* actions) {
    const auto lineAt = [&](int number, int x1, int y1, int x2, int y2) {
        lines_[static_cast<size_t>(number)] =
            field_group::line(actions, QStringLiteral("Line%1").arg(number), x1, y1, x2, y2);
    };
    const char* const kinds[] = {"Send Commands *", "Sub-Routine"};
    for (int i = 0; i < 2; ++i) {
        OptSteps[static_cast<size_t>(i)] =
            placed(new QRadioButton(QString::fromLatin1(kinds[i]), actions),
                   elementName(QStringLiteral("OptSteps"), i), 120, i == 0 ? 300 : 1590, 1700, 240);
        connect(OptSteps[static_cast<size_t>(i)], &QRadioButton::clicked, this,
                [this, i] { OptSteps_Click(i); });
    }
    txtAction = textField(actions, QStringLiteral("txtAction"), CommandLeft, 270, CommandWidthHex);
    txtActionCtrl =
        textField(actions, QStringLiteral("txtActionCtrl"), CommandLeft + CommandWidthAscii, 270,
                  CommandWidthHex - CommandWidthAscii);

    // Delay, Repeat and Interval in one row under the command.
    Label22 = label(actions, QStringLiteral("Label22"), QStringLiteral("Delay"), 1980, 750, 480);
    txtSeqCmdDelay = textField(actions, QStringLiteral("txtSeqCmdDelay"), 2460, 720, 615);
    Label30 = label(actions, QStringLiteral("Label30"), QStringLiteral("ms"), 3120, 750, 240);
    Label17 = label(actions, QStringLiteral("Label17"), QStringLiteral("Repeat"), 3600, 750, 560);
    txtSeqCmdRepeat = textField(actions, QStringLiteral("txtSeqCmdRepeat"), 4200, 720, 375);
    Label23 = label(actions, QStringLiteral("Label23"), QStringLiteral("Interval"), 4815, 750, 640);
    txtSeqCmdInterval = textField(actions, QStringLiteral("txtSeqCmdInterval"), 5475, 720, 615);
    Label31 = label(actions, QStringLiteral("Label31"), QStringLiteral("ms"), 6120, 750, 240);

    chkStep = placed(new QCheckBox(QStringLiteral("Send Signals"), actions),
                     QStringLiteral("chkStep"), 1980, 1170, 1320, 240);
    connect(chkStep, &QCheckBox::clicked, this, &MacroStepFields::chkStep_Click);
    cboStepSignal =
        placed(new QComboBox(actions), QStringLiteral("cboStepSignal"), 3540, 1140, 1980, 300);
    cboStepSignal->addItems(signalListEntries());

    cboSub = placed(new QComboBox(actions), QStringLiteral("cboSub"), 1980, 1560, 1800, 300);
    Label7 = label(actions, QStringLiteral("Label7"), QStringLiteral("Timer"), 4020, 1590, 480);
    txtTimerAfter = textField(actions, QStringLiteral("txtTimerAfter"), 4560, 1560, 615);
    Label6 = label(actions, QStringLiteral("Label6"), QStringLiteral("ms"), 5220, 1590, 240);

    // Connectors: from the send option down to the Delay row and the signal; along the
    // row from Delay to Repeat to Interval; from the sub-routine option to its fields.
    lineAt(3, 1890, 420, 1890, 1290);
    lineAt(5, 1890, 870, 1980, 870);
    lineAt(20, 1890, 1290, 1980, 1290);
    lineAt(4, 3360, 870, 3600, 870);
    lineAt(22, 4387, 555, 4387, 720);
    lineAt(23, 4575, 870, 4815, 870);
    lineAt(21, 3300, 1290, 3540, 1290);
    lineAt(1, 1620, 1710, 1980, 1710);
    lineAt(2, 3780, 1710, 4020, 1710);
}

// ---------------------------------------------------------------------------------------
// The fields

void MacroStepFields::checkField(QLineEdit* box, int at) {
    // A refusal marks nothing: the step's changes are its fields against the step read.
    FieldRules rules{.refusalUnchanged = true};
    if (at == StepField::Name) {
        rules.typingLimit = NameTypingLimit;
        rules.check = [this](const QString& text) {
            return MacroStepTable::checkName(currentStep_, text);
        };
    } else if (at == StepField::TimerAfter) {
        rules.key = numberFieldKey;
        rules.typingLimit = TimeTypingLimit;
        rules.check = [this](const QString& text) {
            return MacroStepTable::checkTimer(currentStep_, text);
        };
        rules.number = true;
    } else {
        const auto member = SendField(at - Command);
        rules.key = [this, member](QChar typed) {
            return sendFieldKey(member, typed, state_.editNotation);
        };
        rules.typingLimit = sendFieldTypingLimit(member);
        rules.check = [this, at, member](const QString& text) {
            return checkSendField(currentStep_, at, member, text, state_.editNotation);
        };
        // The command and its control codes are cut after their last comma, not rewritten.
        rules.tidy = [this, member](const QString& text) {
            return tidySendField(member, text, state_.editNotation, false);
        };
        rules.number = at == Delay || at == Repeat || at == Interval;
    }
    field_group::checkField(box, this, std::move(rules), nullptr, nullptr);
}

QLineEdit* MacroStepFields::field(int at) const {
    const std::array<QLineEdit*, 7> boxes = {txtEditSeq,     txtAction,       txtActionCtrl,
                                             txtSeqCmdDelay, txtSeqCmdRepeat, txtSeqCmdInterval,
                                             txtTimerAfter};
    return at >= 0 && at < 7 ? boxes[static_cast<size_t>(at)] : nullptr;
}

// ---------------------------------------------------------------------------------------
// The kind and what it puts in use

StepAction MacroStepFields::kind() const {
    return OptSteps[1]->isChecked() ? StepAction::SubRoutine : StepAction::SendCommands;
}

void MacroStepFields::OptSteps_Click(int Index) {
    OptSteps[static_cast<size_t>(Index)]->setChecked(true);
    if (Index == 1)
        cboSub->setCurrentIndex(0);
    applyKind(false);
}

void MacroStepFields::chkStep_Click() {
    const bool ticked = chkStep->isChecked();
    cboStepSignal->setEnabled(ticked && kind() == StepAction::SendCommands);
    setLineInUse(line(21), ticked && kind() == StepAction::SendCommands);
}

void MacroStepFields::applyKind(bool byLoader) {
    const bool send = kind() == StepAction::SendCommands;
    setInUse({txtAction, txtActionCtrl, txtSeqCmdDelay, Label22, Label30, chkStep}, send);
    setInUse({cboSub, txtTimerAfter, Label6, Label7}, !send);
    for (int number : {3, 5, 20})
        setLineInUse(line(number), send);
    for (int number : {1, 2})
        setLineInUse(line(number), !send);
    chkStep_Click();
    if (!byLoader)
        layOut();
    if (send) {
        // The loader counts the control codes as a command, the option the command only.
        commandAvailability(byLoader ? CommandTest::CommandOrCodes : CommandTest::Command);
    } else {
        setInUse({txtSeqCmdRepeat, txtSeqCmdInterval, Label17, Label23, Label31}, false);
        for (int number : {4, 22, 23})
            setLineInUse(line(number), false);
    }
}

void MacroStepFields::commandAvailability(CommandTest test) {
    // A sub-routine step sends nothing: its send fields stay out of use.
    if (kind() != StepAction::SendCommands)
        return;
    const bool hasCommand = !txtAction->text().isEmpty() || (test == CommandTest::CommandOrCodes &&
                                                             !txtActionCtrl->text().isEmpty());
    setInUse({txtSeqCmdRepeat, Label17}, hasCommand);
    setLineInUse(line(4), hasCommand);
    setLineInUse(line(22), hasCommand);
    if (hasCommand) {
        intervalAvailability();
    } else {
        setInUse({txtSeqCmdInterval, Label23, Label31}, false);
        setLineInUse(line(23), false);
    }
}

void MacroStepFields::intervalAvailability() {
    const bool repeats = LeadingNumber(txtSeqCmdRepeat->text()) > 0;
    setInUse({txtSeqCmdInterval, Label23, Label31}, repeats);
    setLineInUse(line(23), repeats);
}

void MacroStepFields::layOut() {
    const bool ascii = state_.editNotation != 0;
    txtAction->setFixedWidth(toPixels(ascii ? CommandWidthAscii : CommandWidthHex));
    txtActionCtrl->setVisible(ascii);
}

void MacroStepFields::notationSwitched() {
    if (state_.editNotation == 0)
        txtActionCtrl->clear();
    layOut();
}

// ---------------------------------------------------------------------------------------
// Loading and saving

void MacroStepFields::fillLists(const QStringList& stepNames, const QStringList& subRoutineNames) {
    listing_ = true;
    List1->clear();
    for (const QString& name : stepNames) {
        auto* item = new QListWidgetItem(name, List1);
        // One row beside each of the labels "1 >" .. "8 >".
        item->setSizeHint(QSize(0, toPixels(300)));
    }
    listing_ = false;
    cboSub->clear();
    cboSub->addItems(subRoutineNames);
    cboSub->setCurrentIndex(0);
    currentStep_ = -1;
}

void MacroStepFields::selectInList(int index) {
    listing_ = true;
    List1->setCurrentRow(index);
    listing_ = false;
}

bool MacroStepFields::loadStep(int index) {
    const std::optional<MacroStepRow> step = readRecord<MacroStepRow>(
        state_, [&] { return ReadMacroStepRow(state_.settingsConnStr, state_.shownMacro, index); },
        QStringLiteral("Error occurs when changing Step number, please try again!"),
        [this] { selectInList(currentStep_); });
    if (!step)
        return false;
    show(index, *step);
    return true;
}

void MacroStepFields::show(int index, const MacroStepRow& step) {
    currentStep_ = index;
    selectInList(index);
    txtEditSeq->setText(step.name);
    Label2->setText(QStringLiteral("Steps ( %1/8 )").arg(index + 1));
    Label21->setText(QStringLiteral("%1 >").arg(index + 1));
    // In the order the loader has always filled them: what a field's change does
    // to the others is decided again by the kind, last.
    const SendRow& send = step.send;
    txtAction->setText(send.command);
    txtActionCtrl->setText(send.controlCodes);
    txtSeqCmdRepeat->setText(send.repeat);
    txtSeqCmdDelay->setText(send.delay);
    txtSeqCmdInterval->setText(send.interval);
    chkStep->setChecked(send.signalCheck);
    cboStepSignal->setCurrentIndex(send.signal);
    cboSub->setCurrentIndex(step.subRoutine);
    txtTimerAfter->setText(step.timerAfter);
    OptSteps[step.action == StepAction::SendCommands ? 0 : 1]->setChecked(true);
    applyKind(true);
    loaded_ = shownStep();
}

MacroStepRow MacroStepFields::shownStep() const {
    MacroStepRow step;
    step.name = txtEditSeq->text();
    step.action = kind();
    step.send = {txtAction->text(),
                 txtActionCtrl->text(),
                 txtSeqCmdDelay->text(),
                 txtSeqCmdRepeat->text(),
                 txtSeqCmdInterval->text(),
                 chkStep->isChecked(),
                 cboStepSignal->currentIndex()};
    step.subRoutine = cboSub->currentIndex();
    step.timerAfter = txtTimerAfter->text();
    return step;
}

bool MacroStepFields::changed() const {
    return currentStep_ >= 0 && (stepChanged_ || shownStep() != loaded_);
}

QString MacroStepFields::saveQuestion() const {
    return QStringLiteral("Step %1's data has been changed, would you like to save?")
        .arg(currentStep_ + 1);
}

void MacroStepFields::dropChanges() {
    stepChanged_ = false;
    loaded_ = shownStep();
}

void MacroStepFields::List1_Click() {
    if (listing_)
        return;
    chooseRecord(
        *this, currentStep_, state_.autoSave(), [this] { return List1->currentRow(); },
        [this](int index) { selectInList(index); }, [this](int index) { loadStep(index); });
}

bool MacroStepFields::cmdStepSave_Click() {
    if (currentStep_ < 0)
        return false;
    const MacroStepRow step = shownStep();
    const int notation = state_.editNotation;
    if (!passesCheck(MacroStepTable::checkStep(currentStep_, step, notation),
                     [this](int at) { return field(at); }))
        return false;
    try {
        WriteMacroStepRow(state_.settingsConnStr, state_.shownMacro, currentStep_, step, notation);
    } catch (const RunTimeError& e) {
        showRecordFailure(e,
                          QStringLiteral("Error occurs when saving steps data, please try again!"));
        return false;
    }
    state_.storedNotation = notation;
    const bool autoSave = state_.autoSave();
    if (!autoSave)
        msgBox(QStringLiteral("Step %1 was updated successfully!").arg(currentStep_ + 1),
               MsgIcon::Information);
    stepChanged_ = false;
    loaded_ = step;
    List1->item(currentStep_)->setText(step.name);
    if (!autoSave) {
        // The stored step is shown again, as the profile now holds it.
        selectInList(currentStep_);
        loadStep(currentStep_);
    }
    return true;
}

} // namespace kst
