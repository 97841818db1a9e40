#include "app/editors/frm_auto_resp.h"

#include "app/editors/condition_fields.h"
#include "app/editors/dialog_buttons.h"
#include "app/editors/send_fields.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/profile_readers.h"
#include "tools/tool_design.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kst {

namespace {

constexpr int RulesPerTab = 4;

int tabOf(int rule) {
    return rule / RulesPerTab;
}

ConditionLook conditionLook(int rule) {
    return ConditionLook{
        QStringLiteral("Condition %1").arg(rule + 1),
        {"Data=*", "Data<>*", "Contain*", "Len =", "Len >", "Len <", "Signaling"},
    };
}

ConditionNames conditionNames(int rule) {
    return ConditionNames{"frCondition", "OptCondition", rule * ConditionKindOptions,
                          "Text1",       "Text6",        "chkCon",
                          "cboCon",      "LineCon",      rule};
}

SendLook responseLook(int rule) {
    SendLook look;
    look.caption = QStringLiteral("Auto Response %1").arg(rule + 1);
    return look;
}

SendNames responseNames(int rule) {
    return SendNames{"frResp",      "lblSendCmd",
                     "Text2",       "Text7",
                     "lblDelay",    "Text3",
                     "lblRepeat",   "Text4",
                     "lblInterval", "Text5",
                     "chkResp",     "cboResp",
                     "LineResp1",   {"LineResp2", "LineResp3", "LineResp4"},
                     rule};
}

} // namespace

frmAutoResp::frmAutoResp(QWidget* parent, QString settingsConnStr,
                         std::function<void(const AutoResponseRules&)> stored)
    : TableEditor(parent,
                  {.saveFailureTitle = QStringLiteral("Data_Save Error:"),
                   .resetQuestion =
                       QStringLiteral("Are you sure you want to reset all Auto-Response settings?"),
                   .resetFailureTitle = QStringLiteral("Data_Reset Error:"),
                   .resetDone = QStringLiteral("Data has been reset successfully!"),
                   .changedQuestion =
                       QStringLiteral("Some data have been changed, would you like to save?")}),
      settingsConnStr_(std::move(settingsConnStr)), stored_(std::move(stored)) {
    setObjectName(QStringLiteral("frmAutoResp"));
    setWindowTitle(QStringLiteral("Programmable Auto-Response"));
    useDesignFont(this);
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1);
    for (int tab = 0; tab < AutoResponseRuleCount / RulesPerTab; ++tab) {
        auto* page = new QWidget(SSTab1);
        auto* grid = new QGridLayout(page);
        grid->setVerticalSpacing(2);
        grid->setColumnStretch(3, 1);
        for (int k = 0; k < RulesPerTab; ++k)
            buildRule(page, tab * RulesPerTab + k);
        SSTab1->addTab(page, QStringLiteral("Auto-Response %1 to %2")
                                 .arg(tab * RulesPerTab + 1)
                                 .arg(tab * RulesPerTab + RulesPerTab));
    }

    auto* bottom = new QHBoxLayout();
    Option1 = addNotationOptions(*this, *bottom, this, [this](int i) {
        // A click on the notation in force changes nothing: its codes stay.
        if (i != editNotation_)
            Option1_Click(i);
    });
    Label4 = new QLabel(this);
    Label4->setObjectName(QStringLiteral("Label4"));
    bottom->addWidget(Label4, 1);
    cmdSave = new QPushButton(QStringLiteral("Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdReset = new QPushButton(QStringLiteral("Reset"), this);
    cmdReset->setObjectName(QStringLiteral("cmdReset"));
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    for (QPushButton* button : {cmdSave, cmdReset, cmdExit})
        bottom->addWidget(button);
    layout->addLayout(bottom);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, &frmAutoResp::cmdReset_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::close);

    ignoreEnterInFields(*this);
    Form_Load();
}

frmAutoResp::~frmAutoResp() = default;

void frmAutoResp::buildRule(QWidget* page, int rule) {
    Rule& r = rules[static_cast<size_t>(rule)];
    auto changed = [this] { rulesChanged_ = true; };
    auto entered = [this, rule] { SSTab1->setCurrentIndex(tabOf(rule)); };
    r.condition = new ConditionFields(
        page, conditionNames(rule), conditionLook(rule),
        {.check = [this, rule](ConditionField field,
                               const QString& text) -> std::optional<Refusal> {
             if (closing())
                 return std::nullopt;
             return RuleTable::checkField(rule, field, text, editNotation_,
                                          rules[static_cast<size_t>(rule)].condition->kind());
         },
         .changed = changed,
         .entered = entered},
        editNotation_);
    r.response = new SendFields(
        page, responseNames(rule), responseLook(rule),
        {.check = [this, rule](SendField field, const QString& text) -> std::optional<Refusal> {
             if (closing())
                 return std::nullopt;
             return RuleTable::checkField(rule, field, text, editNotation_);
         },
         .changed = changed,
         .entered = entered},
        editNotation_);
    r.Picture1 = new QLabel(QStringLiteral("\u27A4"), page);
    r.Picture1->setObjectName(elementName(QStringLiteral("Picture1"), rule));
    r.Picture1->setAlignment(Qt::AlignCenter);

    auto* grid = static_cast<QGridLayout*>(page->layout());
    const int gridRow = rule % RulesPerTab;
    grid->addWidget(r.condition->frame(), gridRow, 0);
    grid->addWidget(r.Picture1, gridRow, 1);
    grid->addWidget(r.response->frame(), gridRow, 2);
}

// ---------------------------------------------------------------------------------------
// Loading, storing, resetting

void frmAutoResp::showTable(const RuleTable& table) {
    loadedNotation_ = table.notation;
    Option1[static_cast<size_t>(table.notation)]->setChecked(true);
    Option1_Click(table.notation);
    for (size_t i = 0; i < rules.size(); ++i) {
        rules[i].condition->show(table.rows[i].condition);
        rules[i].response->show(table.rows[i].response);
    }
    rulesChanged_ = false;
}

RuleTable frmAutoResp::table() const {
    RuleTable t;
    t.notation = editNotation_;
    for (size_t i = 0; i < rules.size(); ++i)
        t.rows[i] = RuleRow{rules[i].condition->row(), rules[i].response->row()};
    return t;
}

bool frmAutoResp::changed() const {
    if (rulesChanged_)
        return true;
    for (const Rule& r : rules) {
        if (r.condition->kindChanged())
            return true;
    }
    return false;
}

void frmAutoResp::Form_Load() {
    loadTable([this] { return ReadRuleTable(settingsConnStr_); });
}

bool frmAutoResp::store(const RuleTable& table, const QString& failureTitle) {
    AutoResponseRules stored;
    try {
        WriteRuleTable(settingsConnStr_, table);
        // The engine takes the rules as a profile load reads them.
        ReadAutoResponseRules(settingsConnStr_, stored);
    } catch (const RunTimeError& e) {
        // The table is as it was: the rules are written together or not at all.
        showFailure(failureTitle, e);
        return false;
    }
    stored_(stored);
    return true;
}

void frmAutoResp::focusRefused(const Refusal& refusal) {
    SSTab1->setCurrentIndex(tabOf(refusal.row));
    const Rule& r = rules[static_cast<size_t>(refusal.row)];
    QLineEdit* field = nullptr;
    switch (RuleField(refusal.field)) {
    case RuleField::Condition:
        field = r.condition->field(ConditionField::Data);
        break;
    case RuleField::ConditionCodes:
        field = r.condition->field(ConditionField::ControlCodes);
        break;
    default:
        field = r.response->field(SendField(refusal.field - static_cast<int>(RuleField::Command)));
        break;
    }
    field->setFocus();
}

// ---------------------------------------------------------------------------------------
// The notation

void frmAutoResp::Option1_Click(int Index) {
    editNotation_ = Index;
    Label4->setText(commandNote(Index));
    // The texts stay as typed; the control codes go in both directions, so none that the
    // notation hides is stored.
    for (Rule& r : rules) {
        r.condition->setNotation(Index);
        r.response->setNotation(Index);
    }
}

bool frmAutoResp::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == Option1[0] || watched == Option1[1]) &&
        editNotation_ != loadedNotation_)
        rulesChanged_ = true;
    return QDialog::eventFilter(watched, event);
}

} // namespace kst
