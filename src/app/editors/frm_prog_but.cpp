#include "app/editors/frm_prog_but.h"

#include "app/editors/dialog_buttons.h"
#include "app/editors/field_group.h"
#include "app/main/shared_state.h"
#include "notation/leading_number.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/condition_send_rows.h"
#include "storage/profile_readers.h"
#include "tools/tool_design.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kst {

namespace {

constexpr int CommandWidthHex = 3150;
constexpr int CommandWidthAscii = 2370;
constexpr int ControlCodesWidth = 765;

QString buttonName(int number) {
    return QStringLiteral("B%1").arg(number, 2, 10, QLatin1Char('0'));
}

QLineEdit* lineEdit(QWidget* parent, const QString& name, int row, int widthTwips) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(elementName(name, row));
    edit->setFixedWidth(toPixels(widthTwips));
    return edit;
}

} // namespace

frmProgBut::frmProgBut(QWidget* parent, SharedState& shared, std::function<void()> stored)
    : TableEditor(
          parent,
          {.saveFailureTitle = QStringLiteral("Setting_Save Error:"),
           .resetQuestion = QStringLiteral("Are you sure you want to reset all buttons' settings?"),
           .resetFailureTitle = QStringLiteral("Setting_Reset Error:"),
           .resetDone = QStringLiteral("All buttons have been reset successfully!"),
           .changedQuestion =
               QStringLiteral("Some data has been changed, would you like to save?")}),
      shared_(shared), stored_(std::move(stored)) {
    setObjectName(QStringLiteral("frmProgBut"));
    setWindowTitle(QStringLiteral("Programmable buttons"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1);
    const char* const headings[] = {"Button",     "Caption", "Send signals",  "Send commands *",
                                    "Delay (ms)", "Repeat",  "Interval (ms)", "Chain"};
    for (int page = 0; page < 2; ++page) {
        auto* tab = new QWidget(SSTab1);
        auto* grid = new QGridLayout(tab);
        grid->setVerticalSpacing(2);
        for (int c = 0; c < 8; ++c)
            grid->addWidget(new QLabel(QString::fromLatin1(headings[c]), tab), 0, c);
        for (int k = 0; k < 16; ++k)
            buildRow(tab, page * 16 + k, k + 1);
        SSTab1->addTab(tab, page == 0 ? QStringLiteral("Button 1 - 16")
                                      : QStringLiteral("Button 17 -32"));
    }

    auto* bottom = new QHBoxLayout();
    Option1 = addNotationOptions(*this, *bottom, this, [this](int i) { Option1_Click(i); });
    auto* notes = new QVBoxLayout();
    auto* label3 = new QLabel(
        QStringLiteral("Notes: 1)  Important: send signals ONLY when Handshaking is set to NONE"),
        this);
    label3->setObjectName(QStringLiteral("Label3"));
    Label10 = new QLabel(this);
    Label10->setObjectName(QStringLiteral("Label10"));
    notes->addWidget(label3);
    notes->addWidget(Label10);
    bottom->addLayout(notes, 1);
    cmdReset = new QPushButton(QStringLiteral("Reset"), this);
    cmdReset->setObjectName(QStringLiteral("cmdReset"));
    cmdSave = new QPushButton(QStringLiteral("Save"), this);
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdExit = new QPushButton(QStringLiteral("Exit"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    for (QPushButton* button : {cmdReset, cmdSave, cmdExit})
        bottom->addWidget(button);
    layout->addLayout(bottom);
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdReset, &QPushButton::clicked, this, &frmProgBut::cmdReset_Click);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::close);

    ignoreEnterInFields(*this);
    Form_Load();
}

frmProgBut::~frmProgBut() = default;

void frmProgBut::buildRow(QWidget* page, int row, int gridRow) {
    auto* grid = static_cast<QGridLayout*>(page->layout());
    Row& r = rows[static_cast<size_t>(row)];
    r.cmdBut = new QPushButton(buttonName(row + 1), page);
    r.cmdBut->setObjectName(elementName(QStringLiteral("cmdBut"), row));
    r.cmdBut->setFocusPolicy(Qt::NoFocus);
    r.txtCaption = lineEdit(page, QStringLiteral("txtCaption"), row, 600);
    r.Combo2 = new QComboBox(page);
    r.Combo2->setObjectName(elementName(QStringLiteral("Combo2"), row));
    r.Combo2->addItem(QStringLiteral("None"));
    r.Combo2->addItems(signalListEntries());
    r.txtCmd = lineEdit(page, QStringLiteral("txtCmd"), row, CommandWidthHex);
    r.txtCtrlCode = lineEdit(page, QStringLiteral("txtCtrlCode"), row, ControlCodesWidth);
    r.txtDelay = lineEdit(page, QStringLiteral("txtDelay"), row, 700);
    r.txtRepeat = lineEdit(page, QStringLiteral("txtRepeat"), row, 500);
    r.txtInterval = lineEdit(page, QStringLiteral("txtInterval"), row, 700);
    r.Combo1 = new QComboBox(page);
    r.Combo1->setObjectName(elementName(QStringLiteral("Combo1"), row));
    r.Combo1->addItem(QStringLiteral("None"));
    for (int n = 1; n <= 32; ++n)
        r.Combo1->addItem(buttonName(n));

    auto* command = new QHBoxLayout();
    command->setSpacing(0);
    command->addWidget(r.txtCmd);
    command->addWidget(r.txtCtrlCode);
    command->addStretch();
    grid->addWidget(r.cmdBut, gridRow, 0);
    grid->addWidget(r.txtCaption, gridRow, 1);
    grid->addWidget(r.Combo2, gridRow, 2);
    grid->addLayout(command, gridRow, 3);
    grid->addWidget(r.txtDelay, gridRow, 4);
    grid->addWidget(r.txtRepeat, gridRow, 5);
    grid->addWidget(r.txtInterval, gridRow, 6);
    grid->addWidget(r.Combo1, gridRow, 7);

    for (ButtonField field : {ButtonField::Caption, ButtonField::Command, ButtonField::ControlCodes,
                              ButtonField::Delay, ButtonField::Repeat, ButtonField::Interval})
        checkField(row, field);
    for (QComboBox* list : {r.Combo2, r.Combo1}) {
        lists_.insert(list, row);
        list->installEventFilter(this);
    }
    connectRow(row);
}

void frmProgBut::connectRow(int row) {
    const Row& r = rows[static_cast<size_t>(row)];
    connect(r.txtCmd, &QLineEdit::textChanged, this, [this, row] { enableRow(row); });
    connect(r.txtCtrlCode, &QLineEdit::textChanged, this, [this, row] { enableRow(row); });
    connect(r.txtRepeat, &QLineEdit::textChanged, this, [this, row] {
        const Row& r = rows[static_cast<size_t>(row)];
        // Without a repeat there is no interval.
        if (LeadingNumber(r.txtRepeat->text()) <= 0) {
            r.txtInterval->setText(QStringLiteral("0"));
            r.txtInterval->setEnabled(false);
        } else {
            r.txtInterval->setEnabled(true);
        }
    });
}

void frmProgBut::enableRow(int row) {
    const Row& r = rows[static_cast<size_t>(row)];
    const bool hasCommand =
        !r.txtCmd->text().isEmpty() || (editNotation_ == 1 && !r.txtCtrlCode->text().isEmpty());
    r.txtRepeat->setEnabled(hasCommand);
    r.txtInterval->setEnabled(hasCommand && LeadingNumber(r.txtRepeat->text()) > 0);
}

// ---------------------------------------------------------------------------------------
// Loading, storing, resetting

void frmProgBut::showTable(const ButtonTable& table) {
    storedNotation_ = table.notation;
    Option1[static_cast<size_t>(table.notation)]->setChecked(true);
    Option1_Click(table.notation);
    for (size_t i = 0; i < rows.size(); ++i) {
        const ButtonRow& b = table.rows[i];
        Row& r = rows[i];
        r.cmdBut->setText(b.caption);
        r.txtCaption->setText(b.caption);
        r.txtCmd->setText(b.command);
        r.txtCtrlCode->setText(b.controlCodes);
        r.txtDelay->setText(b.delay);
        r.txtRepeat->setText(b.repeat);
        r.txtInterval->setText(b.interval);
        r.Combo1->setCurrentIndex(b.chain);
        r.Combo2->setCurrentIndex(b.signal);
        enableRow(static_cast<int>(i));
    }
}

ButtonTable frmProgBut::table() const {
    ButtonTable t;
    t.notation = editNotation_;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        ButtonRow& b = t.rows[i];
        b.caption = r.txtCaption->text();
        b.command = r.txtCmd->text();
        b.controlCodes = r.txtCtrlCode->text();
        b.delay = r.txtDelay->text();
        b.repeat = r.txtRepeat->text();
        b.interval = r.txtInterval->text();
        b.chain = r.Combo1->currentIndex();
        b.signal = r.Combo2->currentIndex();
    }
    return t;
}

void frmProgBut::Form_Load() {
    loadTable([this] { return ReadButtonTable(shared_.SettingsConnStr); });
}

bool frmProgBut::store(const ButtonTable& stored, const QString& failureTitle) {
    try {
        WriteButtonTable(shared_.SettingsConnStr, stored);
        ReadProgButtons(shared_.SettingsConnStr, shared_.LoadedButtons);
    } catch (const RunTimeError& e) {
        // The table is as it was: the rows are written together or not at all.
        showFailure(failureTitle, e);
        return false;
    }
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].cmdBut->setText(stored.rows[i].caption);
    storedNotation_ = stored.notation;
    stored_();
    return true;
}

void frmProgBut::focusRefused(const Refusal& refusal) {
    SSTab1->setCurrentIndex(refusal.row / 16);
    edit(refusal.row, ButtonField(refusal.field))->setFocus();
}

// ---------------------------------------------------------------------------------------
// The fields

void frmProgBut::Option1_Click(int Index) {
    editNotation_ = Index;
    Label10->setText(commandNote(Index));
    // The control codes go in both directions: codes hidden in Hex notation would still
    // be stored and sent whenever the send notation is ASCII. The command texts stay.
    for (size_t i = 0; i < rows.size(); ++i) {
        rows[i].txtCmd->setFixedWidth(toPixels(Index == 0 ? CommandWidthHex : CommandWidthAscii));
        rows[i].txtCtrlCode->clear();
        rows[i].txtCtrlCode->setVisible(Index == 1);
        enableRow(static_cast<int>(i));
    }
}

QLineEdit* frmProgBut::edit(int row, ButtonField field) const {
    const Row& r = rows[static_cast<size_t>(row)];
    switch (field) {
    case ButtonField::Caption:
        return r.txtCaption;
    case ButtonField::Command:
        return r.txtCmd;
    case ButtonField::ControlCodes:
        return r.txtCtrlCode;
    case ButtonField::Delay:
        return r.txtDelay;
    case ButtonField::Repeat:
        return r.txtRepeat;
    case ButtonField::Interval:
        return r.txtInterval;
    default:
        return nullptr;
    }
}

void frmProgBut::checkField(int row, ButtonField field) {
    // A refusal marks nothing; a check or tidy-up while the window closes neither.
    field_group::FieldRules rules{
        .check = [this, row, field](const QString& text) -> std::optional<Refusal> {
            if (closing())
                return std::nullopt;
            return ButtonTable::checkField(row, field, text, editNotation_);
        },
        .refusalUnchanged = true};
    if (field == ButtonField::Caption) {
        // Its column holds more than a button shows.
        rules.typingLimit = ButtonTable::CaptionLength;
    } else {
        // The fields of the send a button makes are those of every send.
        const auto member =
            SendField(static_cast<int>(field) - static_cast<int>(ButtonField::Command));
        rules.key = [this, member](QChar typed) {
            return sendFieldKey(member, typed, editNotation_);
        };
        rules.typingLimit = sendFieldTypingLimit(member);
        rules.tidy = [this, member](const QString& text) {
            return closing() ? text : tidySendField(member, text, editNotation_, false);
        };
        rules.number = member == SendField::Delay || member == SendField::Repeat ||
                       member == SendField::Interval;
    }
    std::function<void()> entered;
    if (field == ButtonField::Caption || field == ButtonField::Command)
        entered = [this, row] { SSTab1->setCurrentIndex(row / 16); };
    field_group::checkField(
        edit(row, field), this, std::move(rules), [this] { dataChanged_ = true; }, entered);
}

bool frmProgBut::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Option1[0] || watched == Option1[1]) {
        if (event->type() == QEvent::FocusOut &&
            !Option1[static_cast<size_t>(storedNotation_)]->isChecked())
            dataChanged_ = true;
        return QDialog::eventFilter(watched, event);
    }
    const auto it = lists_.constFind(watched);
    if (it == lists_.constEnd())
        return QDialog::eventFilter(watched, event);
    auto* list = static_cast<QComboBox*>(watched);
    const Row& r = rows[static_cast<size_t>(*it)];
    if (event->type() == QEvent::FocusIn) {
        focusListIndex_ = list->currentIndex();
        if (list == r.Combo1)
            SSTab1->setCurrentIndex(*it / 16);
    } else if (event->type() == QEvent::FocusOut && list->currentIndex() != focusListIndex_) {
        dataChanged_ = true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kst
