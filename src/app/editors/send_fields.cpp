#include "app/editors/send_fields.h"

#include "app/editors/field_group.h"
#include "app/main/controls.h"
#include "notation/leading_number.h"
#include "platform/desktop/checked_field.h"
#include "platform/twips.h"
#include "tools/tool_design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace kst {

using namespace field_group;

namespace {

// The frame, in twips: the command row, the numbers under their captions, the signal row.
constexpr int FrameWidth = 4900;
constexpr int FrameHeight = 1680;
constexpr int LabelLeft = 120;
constexpr int FieldLeft = 1620;
constexpr int CommandTop = 240;
constexpr int CaptionTop = 600;
constexpr int NumberTop = 840;
constexpr int RepeatLeft = 2700;
constexpr int IntervalLeft = 3600;
constexpr int SignalTop = 1230;
constexpr int CodesWidth = 765;
constexpr int SignalCheckWidth = 1300;
constexpr int BracketX = 1575;
constexpr int Middle = 142; // of a field's height

} // namespace

SendFields::SendFields(QWidget* parent, const SendNames& names, const SendLook& look, Hooks hooks,
                       int notation)
    : QObject(parent), hooks_(std::move(hooks)), look_(look), notation_(notation) {
    build(names);
    connectFields();
    layOut();
    updateCommand();
    updateSignal();
}

void SendFields::build(const SendNames& names) {
    const int i = names.index;
    frame_ = new QGroupBox(look_.caption, static_cast<QWidget*>(parent()));
    frame_->setObjectName(nameOf(names.frame, i));
    frame_->setFixedSize(toPixels(FrameWidth), toPixels(FrameHeight));
    commandLabel = label(frame_, nameOf(names.commandLabel, i), look_.commandCaption, LabelLeft,
                         CommandTop + 30, BracketX - LabelLeft - 30);
    command =
        textField(frame_, nameOf(names.command, i), FieldLeft, CommandTop, look_.commandWidth);
    controlCodes = textField(frame_, nameOf(names.controlCodes, i), FieldLeft + look_.commandWidth,
                             CommandTop, CodesWidth);
    delayLabel =
        label(frame_, nameOf(names.delayLabel, i), look_.delayCaption, FieldLeft, CaptionTop, 1000);
    delay = textField(frame_, nameOf(names.delay, i), FieldLeft, NumberTop, 800);
    repeatLabel = label(frame_, nameOf(names.repeatLabel, i), look_.repeatCaption, RepeatLeft,
                        CaptionTop, 850);
    repeat = textField(frame_, nameOf(names.repeat, i), RepeatLeft, NumberTop, 600);
    intervalLabel = label(frame_, nameOf(names.intervalLabel, i), look_.intervalCaption,
                          IntervalLeft, CaptionTop, 1200);
    interval = textField(frame_, nameOf(names.interval, i), IntervalLeft, NumberTop, 800);
    if (!names.delayUnit.isEmpty())
        delayUnit = label(frame_, nameOf(names.delayUnit, i), QStringLiteral("ms"), FieldLeft + 845,
                          NumberTop + 30, 240);
    if (!names.intervalUnit.isEmpty())
        intervalUnit = label(frame_, nameOf(names.intervalUnit, i), QStringLiteral("ms"),
                             IntervalLeft + 845, NumberTop + 30, 240);
    if (!names.intervalLine.isEmpty())
        intervalLine = line(frame_, nameOf(names.intervalLine, i), RepeatLeft + 600,
                            NumberTop + Middle, IntervalLeft, NumberTop + Middle);

    // A bracket from the command to the numbers that apply to it.
    const int commandMiddle = CommandTop + Middle;
    const int numberMiddle = NumberTop + Middle;
    commandLines = {
        line(frame_, nameOf(names.commandLines[0], i), BracketX, commandMiddle, BracketX,
             numberMiddle),
        line(frame_, nameOf(names.commandLines[1], i), BracketX, commandMiddle, FieldLeft,
             commandMiddle),
        line(frame_, nameOf(names.commandLines[2], i), BracketX, numberMiddle, FieldLeft,
             numberMiddle),
    };

    signalCheck = placed(new QCheckBox(look_.signalCaption, frame_), nameOf(names.signalCheck, i),
                         LabelLeft, SignalTop, SignalCheckWidth, 285);
    signalLine = line(frame_, nameOf(names.signalLine, i), LabelLeft + SignalCheckWidth,
                      SignalTop + Middle, FieldLeft, SignalTop + Middle);
    signalList = placed(new QComboBox(frame_), nameOf(names.signalList, i), FieldLeft,
                        SignalTop - 8, look_.commandWidth, 300);
    signalList->addItems(signalListEntries());
}

void SendFields::connectFields() {
    connect(command, &QLineEdit::textChanged, this, [this] { updateCommand(); });
    connect(controlCodes, &QLineEdit::textChanged, this, [this] { updateCommand(); });
    connect(repeat, &QLineEdit::textChanged, this, [this] {
        // Without a repeat there is no interval.
        if (LeadingNumber(repeat->text()) <= 0)
            interval->setText(QStringLiteral("0"));
        updateInterval();
    });
    connect(signalCheck, &QCheckBox::toggled, this, [this] { updateSignal(); });
    for (SendField which : {SendField::Command, SendField::ControlCodes, SendField::Delay,
                            SendField::Repeat, SendField::Interval}) {
        const bool wait = which == SendField::Delay || which == SendField::Interval;
        checkField(
            field(which), this,
            {.key = [this, which](QChar typed) { return sendFieldKey(which, typed, notation_); },
             .typingLimit = sendFieldTypingLimit(which),
             .check = [this, which](const QString& text) -> std::optional<Refusal> {
                 return hooks_.check ? hooks_.check(which, text) : std::nullopt;
             },
             .tidy =
                 [this, which](const QString& text) {
                     return tidySendField(which, text, notation_, look_.normalizeControlCodes);
                 },
             .number = wait || which == SendField::Repeat,
             .refusalUnchanged = wait},
            hooks_.changed, hooks_.entered);
    }
    auto* focus = new FocusWatch(this, hooks_.entered, [this](QObject* control) { left(control); });
    focus->watch(signalCheck);
    focus->watch(signalList);
}

void SendFields::left(QObject* control) {
    const bool differs = control == signalCheck ? signalCheck->isChecked() != shown_.signalCheck
                                                : signalList->currentIndex() != shown_.signal;
    if (differs)
        hooks_.changed();
}

QLineEdit* SendFields::field(SendField which) const {
    switch (which) {
    case SendField::Command:
        return command;
    case SendField::ControlCodes:
        return controlCodes;
    case SendField::Delay:
        return delay;
    case SendField::Repeat:
        return repeat;
    case SendField::Interval:
        return interval;
    }
    return nullptr;
}

void SendFields::show(const SendRow& row) {
    command->setText(row.command);
    controlCodes->setText(row.controlCodes);
    delay->setText(row.delay);
    repeat->setText(row.repeat);
    interval->setText(row.interval);
    signalCheck->setChecked(row.signalCheck);
    // -1 shows no entry chosen, as stored: no signal.
    signalList->setCurrentIndex(row.signal >= -1 && row.signal < SignalListSize ? row.signal : 0);
    shown_ = this->row();
    updateCommand();
    updateSignal();
}

SendRow SendFields::row() const {
    return SendRow{command->text(),
                   controlCodes->text(),
                   delay->text(),
                   repeat->text(),
                   interval->text(),
                   signalCheck->isChecked(),
                   signalList->currentIndex()};
}

void SendFields::setNotation(int notation) {
    notation_ = notation;
    controlCodes->clear();
    layOut();
    updateCommand();
}

void SendFields::layOut() {
    const bool codes = sendFieldInUse(SendField::ControlCodes, notation_);
    controlCodes->setVisible(codes);
    resizeWidth(command, codes ? look_.commandWidth : look_.commandWidthAlone);
}

bool SendFields::hasCommand() const {
    return !command->text().isEmpty() || !controlCodes->text().isEmpty();
}

void SendFields::updateCommand() {
    const bool on = hasCommand();
    repeat->setEnabled(on);
    repeatLabel->setEnabled(on);
    for (LineControl* connector : commandLines)
        setLineInUse(connector, on);
    updateInterval();
}

void SendFields::updateInterval() {
    const bool on = hasCommand() && LeadingNumber(repeat->text()) > 0;
    interval->setEnabled(on);
    intervalLabel->setEnabled(on);
    if (intervalUnit)
        intervalUnit->setEnabled(on);
    if (intervalLine)
        setLineInUse(intervalLine, on);
}

void SendFields::updateSignal() {
    signalList->setEnabled(signalCheck->isChecked());
    setLineInUse(signalLine, signalCheck->isChecked());
}

} // namespace kst
