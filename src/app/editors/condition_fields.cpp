#include "app/editors/condition_fields.h"

#include "app/editors/field_group.h"
#include "app/main/controls.h"
#include "platform/desktop/checked_field.h"
#include "platform/twips.h"
#include "tools/tool_design.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>

namespace kst {

using namespace field_group;

namespace {

// The frame, in twips: two rows of kind options, the data row, the line-state row.
constexpr int FrameWidth = 3600;
constexpr int FrameHeight = 1680;
constexpr int FieldLeft = 165;
constexpr int DataTop = 840;
constexpr int CodesWidth = 765;
constexpr int LineStateTop = 1230;
constexpr int ListLeft = 1395;

// Where option k of the kinds stands: the data kinds in the first row, the others in
// the second.
struct OptionPlace {
    int left;
    int top;
    int width;
};
constexpr std::array<OptionPlace, ConditionKindOptions> OptionPlaces = {{
    {165, 240, 960},
    {1125, 240, 1020},
    {2145, 240, 1140},
    {165, 510, 780},
    {945, 510, 780},
    {1725, 510, 780},
    {2505, 510, 1020},
}};

int clampedKind(int kind) {
    return kind >= 0 && kind < ConditionKindOptions ? kind : 0;
}

} // namespace

ConditionFields::ConditionFields(QWidget* parent, const ConditionNames& names,
                                 const ConditionLook& look, Hooks hooks, int notation)
    : QObject(parent), hooks_(std::move(hooks)), look_(look), notation_(notation) {
    build(names, look);
    connectFields();
    fillList();
    layOut();
    updateLineState();
}

void ConditionFields::build(const ConditionNames& names, const ConditionLook& look) {
    const int i = names.index;
    frame_ = new QGroupBox(look.caption, static_cast<QWidget*>(parent()));
    frame_->setObjectName(nameOf(names.frame, i));
    frame_->setFixedSize(toPixels(look.frameWidth), toPixels(FrameHeight));
    options_ = new QButtonGroup(this);
    // The options keep their places relative to the frame's width.
    const auto scaled = [&look](int twips) { return twips * look.frameWidth / FrameWidth; };
    for (int k = 0; k < ConditionKindOptions; ++k) {
        const OptionPlace& at = OptionPlaces[static_cast<size_t>(k)];
        auto* option = placed(new QRadioButton(look.kindCaptions[static_cast<size_t>(k)], frame_),
                              elementName(names.kindOptions, names.kindOptionBase + k),
                              scaled(at.left), at.top, scaled(at.width), 255);
        options_->addButton(option, k);
        kindOptions[static_cast<size_t>(k)] = option;
    }
    kindOptions[0]->setChecked(true);
    data = textField(frame_, nameOf(names.data, i), FieldLeft, DataTop, look.dataWidth);
    controlCodes = textField(frame_, nameOf(names.controlCodes, i), FieldLeft + look.dataWidth,
                             DataTop, CodesWidth);
    lineStateCheck = placed(new QCheckBox(QStringLiteral("Line state"), frame_),
                            nameOf(names.lineStateCheck, i), FieldLeft, LineStateTop, 1050, 285);
    line = field_group::line(frame_, nameOf(names.line, i), FieldLeft + 1050, LineStateTop + 142,
                             ListLeft, LineStateTop + 142);
    lineStateList = placed(new QComboBox(frame_), nameOf(names.lineStateList, i), ListLeft,
                           LineStateTop - 8, look.frameWidth - FieldLeft - ListLeft, 300);
}

void ConditionFields::connectFields() {
    connect(options_, &QButtonGroup::idClicked, this, [this](int k) {
        if (k != kind_)
            chooseKind(k);
    });
    connect(data, &QLineEdit::textChanged, this, [this] { updateLineState(); });
    connect(controlCodes, &QLineEdit::textChanged, this, [this] { updateLineState(); });
    connect(lineStateCheck, &QCheckBox::toggled, this, [this] { updateLineState(); });
    for (ConditionField which : {ConditionField::Data, ConditionField::ControlCodes}) {
        checkField(
            field(which), this,
            {.key = [this, which](
                        QChar typed) { return conditionFieldKey(which, typed, notation_, kind_); },
             // The column holds 255 characters, the control codes' too.
             .typingLimit = TextColumnSize,
             .check = [this, which](const QString& text) -> std::optional<Refusal> {
                 return hooks_.check ? hooks_.check(which, text) : std::nullopt;
             },
             .tidy =
                 [this, which](const QString& text) {
                     return tidyConditionField(which, text, notation_, kind_);
                 }},
            hooks_.changed, hooks_.entered);
    }
    auto* focus = new FocusWatch(this, hooks_.entered, [this](QObject* control) { left(control); });
    for (QRadioButton* option : kindOptions)
        focus->watch(option);
    focus->watch(lineStateCheck);
    focus->watch(lineStateList);
}

// A check box, list or kind left with another value than shown.
void ConditionFields::left(QObject* control) {
    const bool differs =
        control == lineStateCheck  ? lineStateCheck->isChecked() != shown_.lineStateCheck
        : control == lineStateList ? lineStateList->currentIndex() != shown_.lineState
                                   : kindChanged();
    if (differs)
        hooks_.changed();
}

QLineEdit* ConditionFields::field(ConditionField which) const {
    return which == ConditionField::Data ? data : controlCodes;
}

void ConditionFields::show(const ConditionRow& row) {
    kind_ = clampedKind(row.kind);
    kindOptions[static_cast<size_t>(kind_)]->setChecked(true);
    fillList();
    layOut();
    data->setText(row.data);
    controlCodes->setText(row.controlCodes);
    lineStateCheck->setChecked(row.lineStateCheck);
    // -1 shows no entry chosen, as stored.
    if (row.lineState >= -1 && row.lineState < lineStateList->count())
        lineStateList->setCurrentIndex(row.lineState);
    shown_ = this->row();
    updateLineState();
}

ConditionRow ConditionFields::row() const {
    return ConditionRow{kind_, data->text(), controlCodes->text(), lineStateCheck->isChecked(),
                        lineStateList->currentIndex()};
}

void ConditionFields::setNotation(int notation) {
    notation_ = notation;
    controlCodes->clear();
    layOut();
}

void ConditionFields::chooseKind(int kind) {
    kind = clampedKind(kind);
    const bool crossing = comparesData(kind_) != comparesData(kind);
    kind_ = kind;
    kindOptions[static_cast<size_t>(kind)]->setChecked(true);
    // Data of one family means nothing to the other: a list is no length.
    if (crossing)
        data->clear();
    if (!conditionFieldInUse(ConditionField::ControlCodes, notation_, kind))
        controlCodes->clear();
    fillList();
    layOut();
    updateLineState();
}

void ConditionFields::layOut() {
    const bool codes = conditionFieldInUse(ConditionField::ControlCodes, notation_, kind_);
    controlCodes->setVisible(codes);
    resizeWidth(data, codes ? look_.dataWidth : look_.dataWidthAlone);
    data->setEnabled(conditionFieldInUse(ConditionField::Data, notation_, kind_));
}

void ConditionFields::fillList() {
    lineStateList->clear();
    lineStateList->addItems(lineStateListEntries(kind_));
    lineStateList->setCurrentIndex(0);
}

void ConditionFields::updateLineState() {
    if (kind_ == SignalingKind) {
        // The event is the whole condition.
        lineStateCheck->setEnabled(false);
        setLineInUse(line, false);
        lineStateList->setEnabled(true);
        return;
    }
    const bool hasData = !data->text().isEmpty() || !controlCodes->text().isEmpty();
    lineStateCheck->setEnabled(hasData);
    setLineInUse(line, hasData);
    lineStateList->setEnabled(hasData && lineStateCheck->isChecked());
}

} // namespace kst
