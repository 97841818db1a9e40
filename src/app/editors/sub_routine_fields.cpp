#include "app/editors/sub_routine_fields.h"

#include "app/editors/condition_fields.h"
#include "app/editors/send_fields.h"
#include "platform/desktop/checked_field.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "tools/tool_design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace kst {

namespace {

// Where the groups stand on the frame of the sub-routines, in twips: the IF and ELSE IF
// rows, each a condition and its THEN; the ELSE beside them.
constexpr int GroupsTop = 720;
constexpr int RowHeight = 1740;
constexpr int ConditionWidth = 4200;
constexpr int SendWidth = 4900;
constexpr int SendLeft = 120 + ConditionWidth + 60;
constexpr int ElseLeft = SendLeft + SendWidth + 60;

struct ConditionPlace {
    ConditionPart part;
    QString caption;
    ConditionNames names;
};

const std::array<ConditionPlace, 2>& conditionPlaces() {
    static const std::array<ConditionPlace, 2> places = {{
        {ConditionPart::If,
         QStringLiteral("IF (Device -> PC)"),
         {"frIF", "OptIF", 0, "txtSubRX1", "txtIfCtrl", "chkIF", "cboIF", "Line18", -1}},
        {ConditionPart::ElseIf,
         QStringLiteral("ELSE IF (Device -> PC)"),
         {"frElseIF", "OptElseIF", 0, "txtSubRX2", "txtElseIfCtrl", "chkElseIf", "cboElseIf",
          "Line19", -1}},
    }};
    return places;
}

struct SendPlace {
    SendPart part;
    QString caption;
    SendNames names;
    int left;
    int top;
};

SendNames sendNames(const char* frame, const char* number, const char* commandCodes,
                    const char* repeatLabel, const char* intervalLabel, const char* intervalUnit,
                    const char* signalCheck, const char* signalList, const char* signalLine,
                    std::array<QString, 3> commandLines, const char* intervalLine,
                    const char* commandLabel, const char* delayLabel, const char* delayUnit) {
    SendNames n;
    n.frame = QString::fromLatin1(frame);
    n.commandLabel = QString::fromLatin1(commandLabel);
    n.command = QStringLiteral("txtSubTX%1").arg(QLatin1String(number));
    n.controlCodes = QString::fromLatin1(commandCodes);
    n.delayLabel = QString::fromLatin1(delayLabel);
    n.delay = QStringLiteral("txtSubDelay%1").arg(QLatin1String(number));
    n.repeatLabel = QString::fromLatin1(repeatLabel);
    n.repeat = QStringLiteral("txtSubRepeat%1").arg(QLatin1String(number));
    n.intervalLabel = QString::fromLatin1(intervalLabel);
    n.interval = QStringLiteral("txtSubInterval%1").arg(QLatin1String(number));
    n.signalCheck = QString::fromLatin1(signalCheck);
    n.signalList = QString::fromLatin1(signalList);
    n.signalLine = QString::fromLatin1(signalLine);
    n.commandLines = std::move(commandLines);
    n.delayUnit = QString::fromLatin1(delayUnit);
    n.intervalUnit = QString::fromLatin1(intervalUnit);
    n.intervalLine = QString::fromLatin1(intervalLine);
    return n;
}

const std::array<SendPlace, 3>& sendPlaces() {
    static const std::array<SendPlace, 3> places = {{
        {SendPart::IfThen, QStringLiteral("THEN (PC -> Device)"),
         sendNames("frTHEN", "1", "txtIfThenCtrl", "Label8", "Label29", "Label33", "chkIfThen",
                   "cboTHEN", "Line13", {"Line24", "Line10", "Line12"}, "Line8", "Label4",
                   "Label10", "Label24"),
         SendLeft, GroupsTop},
        {SendPart::ElseIfThen, QStringLiteral("THEN (PC -> Device)"),
         sendNames("frElseIfThen", "2", "txtElseIfThenCtrl", "Label15", "Label27", "Label35",
                   "chkElseIfThen", "cboElseIfThen", "Line11", {"Line25", "Line9", "Line15"},
                   "Line14", "Label5", "Label11", "Label26"),
         SendLeft, GroupsTop + RowHeight},
        {SendPart::ElseThen, QStringLiteral("THEN (PC -> Device)"),
         sendNames("frElseThen", "3", "txtElseThenCtrl", "Label16", "Label25", "Label37",
                   "chkElseThen", "cboElseThen", "Line17", {"Line26", "Line6", "Line7"}, "Line16",
                   "Label9", "Label12", "Label28"),
         ElseLeft, GroupsTop + 900},
    }};
    return places;
}

} // namespace

SubRoutineFields::SubRoutineFields(QWidget* frame, MacroEditorState& state,
                                   std::function<void(int, const QString&)> renamed)
    : QObject(frame), state_(state), renamed_(std::move(renamed)) {
    build(frame);
}

void SubRoutineFields::build(QWidget* frame) {
    Label1 = placed(new QLabel(QStringLiteral("Sub-Routines:"), frame), QStringLiteral("Label1"),
                    120, 330, 1800, 240);
    Combo3 = placed(new QComboBox(frame), QStringLiteral("Combo3"), 1980, 270, 1800, 300);
    connect(Combo3, &QComboBox::activated, this, [this] { Combo3_Click(); });
    placed(new QLabel(QStringLiteral("Edit Sub-Routine's Name:"), frame), QStringLiteral("Label14"),
           3960, 330, 2100, 240);
    txtSubRoutine =
        placed(new QLineEdit(frame), QStringLiteral("txtSubRoutine"), 6120, 270, 2400, 285);
    cmdSubRoutineSave =
        placed(new QPushButton(QStringLiteral("Save Current Sub-Routine"), frame),
               QStringLiteral("cmdSubRoutineSave"), ElseLeft + 2620, 240, 2280, 375);
    connect(cmdSubRoutineSave, &QPushButton::clicked, this, [this] { cmdSubRoutineSave_Click(); });
    auto* name = new CheckedField(txtSubRoutine, {}, this);
    const auto nameLeft = [this, name] {
        if (const auto refusal = SubRoutineTable::checkName(current_, txtSubRoutine->text())) {
            showRefusal(*refusal);
            return false;
        }
        marked_ = marked_ || name->changedSinceEntry();
        return true;
    };
    name->setRules({.typingLimit = NameTypingLimit, .validate = nameLeft});

    auto* elseFrame = placed(new QGroupBox(QStringLiteral("ELSE"), frame), QStringLiteral("frElse"),
                             ElseLeft, GroupsTop, SendWidth, 840);
    chkElse = placed(new QCheckBox(QStringLiteral("No Data / Signal received"), elseFrame),
                     QStringLiteral("chkElse"), 120, 240, 3000, 255);
    placed(new QLabel(QStringLiteral("Data / Signal received but no condition met"), elseFrame),
           QStringLiteral("Label18"), 120, 510, 4600, 240);
    buildGroups(frame);
}

void SubRoutineFields::buildGroups(QWidget* frame) {
    const QStringList kindCaptions = {
        "Data = *", "Data <> *", "Contain *", "Len =", "Len >", "Len <", "Signaling"};
    const auto mark = [this] { marked_ = true; };
    for (const ConditionPlace& place : conditionPlaces()) {
        ConditionLook look{place.caption, {}, 1995, 2715, ConditionWidth};
        std::copy(kindCaptions.begin(), kindCaptions.end(), look.kindCaptions.begin());
        const ConditionPart part = place.part;
        ConditionFields::Hooks hooks{
            .check =
                [this, part](ConditionField f, const QString& text) {
                    return checkConditionField(current_, SubRoutineField::conditionField(part, f),
                                               f, text, state_.editNotation, condition(part).kind(),
                                               false);
                },
            .changed = mark,
        };
        auto* group = new ConditionFields(frame, place.names, look, hooks, state_.editNotation);
        group->frame()->move(toPixels(120),
                             toPixels(GroupsTop + static_cast<int>(part) * RowHeight));
        conditions_[static_cast<size_t>(part)] = group;
    }
    for (const SendPlace& place : sendPlaces()) {
        SendLook look;
        look.caption = place.caption;
        look.commandCaption = QStringLiteral("Send Commands *");
        look.signalCaption = QStringLiteral("Send Signals");
        look.delayCaption = QStringLiteral("Delay");
        look.intervalCaption = QStringLiteral("Interval");
        look.commandWidth = 2505;
        look.commandWidthAlone = 3240;
        // A send's control codes are only cut after their last comma here.
        look.normalizeControlCodes = false;
        const SendPart part = place.part;
        SendFields::Hooks hooks{
            .check =
                [this, part](SendField f, const QString& text) {
                    return checkSendField(current_, SubRoutineField::sendField(part, f), f, text,
                                          state_.editNotation);
                },
            .changed = mark,
        };
        auto* group = new SendFields(frame, place.names, look, hooks, state_.editNotation);
        group->frame()->move(toPixels(place.left), toPixels(place.top));
        sends_[static_cast<size_t>(part)] = group;
    }
}

QWidget* SubRoutineFields::field(int at) const {
    if (at == SubRoutineField::Name)
        return txtSubRoutine;
    for (ConditionPart part : {ConditionPart::If, ConditionPart::ElseIf})
        for (ConditionField f : {ConditionField::Data, ConditionField::ControlCodes})
            if (SubRoutineField::conditionField(part, f) == at)
                return condition(part).field(f);
    for (SendPart part : {SendPart::IfThen, SendPart::ElseIfThen, SendPart::ElseThen})
        for (SendField f : {SendField::Command, SendField::ControlCodes, SendField::Delay,
                            SendField::Repeat, SendField::Interval})
            if (SubRoutineField::sendField(part, f) == at)
                return send(part).field(f);
    return nullptr;
}

void SubRoutineFields::notationSwitched() {
    for (ConditionFields* group : conditions_)
        group->setNotation(state_.editNotation);
    for (SendFields* group : sends_)
        group->setNotation(state_.editNotation);
}

// ---------------------------------------------------------------------------------------
// Loading and saving

void SubRoutineFields::fillList(const QStringList& names) {
    listing_ = true;
    Combo3->clear();
    Combo3->addItems(names);
    listing_ = false;
    current_ = -1;
}

void SubRoutineFields::select(int index) {
    listing_ = true;
    Combo3->setCurrentIndex(index);
    listing_ = false;
}

bool SubRoutineFields::loadSubRoutine(int index) {
    const std::optional<SubRoutineRow> read = readRecord<SubRoutineRow>(
        state_, [&] { return ReadSubRoutineRow(state_.settingsConnStr, state_.shownMacro, index); },
        QStringLiteral("Error occurs when changing Sub-Routine number, please try again!"),
        [this] { select(current_); });
    if (!read)
        return false;
    show(index, *read);
    return true;
}

void SubRoutineFields::show(int index, const SubRoutineRow& sub) {
    current_ = index;
    select(index);
    Label1->setText(QStringLiteral("Sub-Routines ( %1/8 )").arg(index + 1));
    txtSubRoutine->setText(sub.name);
    condition(ConditionPart::If).show(sub.ifCondition);
    send(SendPart::IfThen).show(sub.ifThen);
    condition(ConditionPart::ElseIf).show(sub.elseIfCondition);
    send(SendPart::ElseIfThen).show(sub.elseIfThen);
    chkElse->setChecked(sub.elseOnTimeout);
    send(SendPart::ElseThen).show(sub.elseThen);
    marked_ = false;
    loaded_ = shownSubRoutine();
}

SubRoutineRow SubRoutineFields::shownSubRoutine() const {
    return SubRoutineRow{txtSubRoutine->text(),
                         condition(ConditionPart::If).row(),
                         send(SendPart::IfThen).row(),
                         condition(ConditionPart::ElseIf).row(),
                         send(SendPart::ElseIfThen).row(),
                         chkElse->isChecked(),
                         send(SendPart::ElseThen).row()};
}

bool SubRoutineFields::changed() const {
    return current_ >= 0 && (marked_ || shownSubRoutine() != loaded_);
}

QString SubRoutineFields::saveQuestion() const {
    return QStringLiteral("Sub-Routine %1's data has been changed, would you like to save?")
        .arg(current_ + 1);
}

void SubRoutineFields::dropChanges() {
    marked_ = false;
    if (current_ >= 0)
        loaded_ = shownSubRoutine();
}

void SubRoutineFields::Combo3_Click() {
    if (listing_)
        return;
    chooseRecord(
        *this, current_, state_.autoSave(), [this] { return Combo3->currentIndex(); },
        [this](int index) { select(index); }, [this](int index) { loadSubRoutine(index); });
}

bool SubRoutineFields::cmdSubRoutineSave_Click() {
    if (current_ < 0)
        return false;
    const SubRoutineRow sub = shownSubRoutine();
    if (!passesCheck(SubRoutineTable::checkSubRoutine(current_, sub, state_.editNotation),
                     [this](int at) { return field(at); }))
        return false;
    try {
        WriteSubRoutineRow(state_.settingsConnStr, state_.shownMacro, current_, sub);
    } catch (const RunTimeError& e) {
        showRecordFailure(e, QStringLiteral("Error occurs when saving sub-routine data, please "
                                            "try again!"));
        return false;
    }
    const bool autoSave = state_.autoSave();
    if (!autoSave)
        msgBox(QStringLiteral("Sub-Routine %1 was updated successfully!").arg(current_ + 1),
               MsgIcon::Information);
    marked_ = false;
    loaded_ = sub;
    Combo3->setItemText(current_, sub.name);
    renamed_(current_, sub.name);
    if (!autoSave)
        loadSubRoutine(current_); // shown again as the profile now holds it
    return true;
}

} // namespace kst
