#include "app/editors/frm_options.h"

#include "app/editors/dialog_buttons.h"
#include "app/main/session.h"
#include "platform/desktop/bgr_color.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/preferences_store.h"
#include "tools/tool_design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace kst {

namespace {

using Flag = bool UserPreferences::*;
// The check boxes of one frame: the preference each one holds and its caption, in the
// order shown.
using CheckBoxes = std::vector<std::pair<Flag, const char*>>;

const CheckBoxes& startupBoxes() {
    static const CheckBoxes boxes = {
        {&UserPreferences::bolHideCalcAscii, "Hide Calculator / ASCII Chart"},
        {&UserPreferences::bolAutoResponse, "Enable Auto-Response "},
        {&UserPreferences::bolDescription, "Enable Description"},
        {&UserPreferences::bolRxTimer, "Enable Receiving Timer"},
        {&UserPreferences::bolAutoConnect, "Connect automatically"},
        {&UserPreferences::bolMonitoringMode, "Switch to Monitoring Mode"},
        {&UserPreferences::bolFormattedView, "Enable Formatted-View"}};
    return boxes;
}
const CheckBoxes& exitBoxes() {
    static const CheckBoxes boxes = {
        {&UserPreferences::bolSaveComSettings, "Save Com Port Settings"},
        {&UserPreferences::bolSaveRxTimer, "Save Receiving Timer settings"}};
    return boxes;
}
const CheckBoxes& soundBoxes() {
    static const CheckBoxes boxes = {{&UserPreferences::bolSoundOnReceive, "Receiving Data"},
                                     {&UserPreferences::bolSoundOnSend, "Sending Data"},
                                     {&UserPreferences::bolSoundOnLineChange, "Line Changed"}};
    return boxes;
}

// The four text styles of the log, each a colour and three flags.
struct StyleDesign {
    const char* caption;
    const char* colorName;
    const char* flagsName;
    quint32 UserPreferences::*color;
    std::array<Flag, 3> flags;
};
const std::array<StyleDesign, 4>& styleDesigns() {
    using P = UserPreferences;
    static const std::array<StyleDesign, 4> styles = {{
        {"System Messages",
         "cmdMsg",
         "chkMsg",
         &P::msgColor,
         {&P::bolMsgBold, &P::bolMsgItalic, &P::bolMsgUnderline}},
        {"TX", "cmdTX", "chkTX", &P::txColor, {&P::bolTxBold, &P::bolTxItalic, &P::bolTxUnderline}},
        {"RX1",
         "cmdRX1",
         "chkRX1",
         &P::rx1Color,
         {&P::bolRx1Bold, &P::bolRx1Italic, &P::bolRx1Underline}},
        {"RX2 (2nd COM port)",
         "cmdRX2",
         "chkRX2",
         &P::rx2Color,
         {&P::bolRx2Bold, &P::bolRx2Italic, &P::bolRx2Underline}},
    }};
    return styles;
}

void setBoxes(QCheckBox* const* boxes, const CheckBoxes& fields, const UserPreferences& prefs) {
    for (size_t i = 0; i < fields.size(); ++i)
        boxes[i]->setChecked(prefs.*fields[i].first);
}

void readBoxes(QCheckBox* const* boxes, const CheckBoxes& fields, UserPreferences& prefs) {
    for (size_t i = 0; i < fields.size(); ++i)
        prefs.*fields[i].first = boxes[i]->isChecked();
}

} // namespace

frmOptions::frmOptions(QWidget* parent, Session& session, std::function<void()> applied)
    : QDialog(parent), session_(session), applied_(std::move(applied)) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Options"));
    // Wide enough for the four tabs side by side.
    setMinimumWidth(460);
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    layout->addWidget(SSTab1);
    SSTab1->addTab(buildGeneral(), QStringLiteral("General"));
    SSTab1->addTab(buildDisplay(), QStringLiteral("Display"));
    SSTab1->addTab(buildChecks(QStringLiteral("Automatic Actions on Startup"), Check1.data(),
                               QStringLiteral("Check1"), startupBoxes()),
                   QStringLiteral("Startup Actions"));
    SSTab1->addTab(buildChecks(QStringLiteral("Automatic Actions on Exit"), Check2.data(),
                               QStringLiteral("Check2"), exitBoxes()),
                   QStringLiteral("Exit Actions"));

    const OkCancel buttons = addOkCancel(*this, *layout);
    Command1 = buttons.ok;
    Command2 = buttons.cancel;
    connect(Command1, &QPushButton::clicked, this, &frmOptions::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmOptions::Command2_Click);
    ignoreEnterInFields(*this);

    // The tab of a control comes to the front when the keyboard reaches it.
    for (QCheckBox* box : Check1)
        box->installEventFilter(this);
    for (QCheckBox* box : Check2)
        box->installEventFilter(this);
    for (QCheckBox* box : Check3)
        box->installEventFilter(this);
    cmdBg->installEventFilter(this);

    Form_Load();
}

frmOptions::~frmOptions() = default;

QWidget* frmOptions::buildChecks(const QString& frameTitle, QCheckBox** boxes, const QString& name,
                                 const CheckBoxes& fields) {
    auto* page = new QWidget(SSTab1);
    auto* layout = new QVBoxLayout(page);
    auto* frame = new QGroupBox(frameTitle, page);
    auto* column = new QVBoxLayout(frame);
    for (size_t i = 0; i < fields.size(); ++i) {
        boxes[i] = new QCheckBox(QString::fromLatin1(fields[i].second), frame);
        boxes[i]->setObjectName(elementName(name, static_cast<int>(i)));
        column->addWidget(boxes[i]);
    }
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

QWidget* frmOptions::buildGeneral() {
    QWidget* page = buildChecks(QStringLiteral("Play sound upon"), Check3.data(),
                                QStringLiteral("Check3"), soundBoxes());
    auto* frame = new QGroupBox(QStringLiteral("View"), page);
    auto* column = new QVBoxLayout(frame);
    Check4 = new QCheckBox(QStringLiteral("Clear Log Window when COM port opened"), frame);
    Check4->setObjectName(QStringLiteral("Check4"));
    column->addWidget(Check4);
    static_cast<QVBoxLayout*>(page->layout())->insertWidget(1, frame);
    return page;
}

QWidget* frmOptions::buildDisplay() {
    auto* page = new QWidget(SSTab1);
    auto* layout = new QVBoxLayout(page);
    auto* frame = new QGroupBox(QStringLiteral("Communication window's format"), page);
    auto* grid = new QGridLayout(frame);
    auto colorButton = [frame](const QString& name) {
        auto* button = new QPushButton(frame);
        button->setObjectName(name);
        button->setFixedSize(48, 20);
        return button;
    };
    grid->addWidget(new QLabel(QStringLiteral("Background Color"), frame), 0, 0);
    cmdBg = colorButton(QStringLiteral("cmdBg"));
    grid->addWidget(cmdBg, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Font Size"), frame), 0, 2);
    Combo1 = new QComboBox(frame);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo1->addItems({"8", "10", "12", "14"});
    grid->addWidget(Combo1, 0, 3, 1, 2);
    const char* const headings[] = {"Color", "B", "I", "U"};
    for (int c = 0; c < 4; ++c)
        grid->addWidget(new QLabel(QString::fromLatin1(headings[c]), frame), 1, c + 1,
                        Qt::AlignHCenter);
    int row = 2;
    for (const StyleDesign& design : styleDesigns()) {
        StyleRow style;
        grid->addWidget(new QLabel(QString::fromLatin1(design.caption), frame), row, 0);
        style.color = colorButton(QString::fromLatin1(design.colorName));
        grid->addWidget(style.color, row, 1);
        for (int f = 0; f < 3; ++f) {
            auto* box = new QCheckBox(frame);
            box->setObjectName(elementName(QString::fromLatin1(design.flagsName), f));
            style.flags[static_cast<size_t>(f)] = box;
            grid->addWidget(box, row, f + 2, Qt::AlignHCenter);
        }
        quint32 UserPreferences::*member = design.color;
        connect(style.color, &QPushButton::clicked, this,
                [this, button = style.color, member] { chooseColor(button, &(shown_.*member)); });
        styles_.push_back(style);
        ++row;
    }
    connect(cmdBg, &QPushButton::clicked, this,
            [this] { chooseColor(cmdBg, &shown_.backgroundColor); });
    layout->addWidget(frame);
    layout->addStretch();
    return page;
}

void frmOptions::showColor(QPushButton* button, quint32 color) {
    button->setStyleSheet(QStringLiteral("background-color: %1").arg(colorFromBgr(color).name()));
}

void frmOptions::chooseColor(QPushButton* button, quint32* color) {
    // Cancel leaves the colour as it was.
    if (const std::optional<quint32> chosen = Platform::colorDialogs().chooseColor(*color)) {
        *color = *chosen;
        showColor(button, *color);
    }
}

void frmOptions::Form_Load() {
    try {
        const UserPreferences stored = LoadPreferences(session_.SupportConnStr());
        setBoxes(Check1.data(), startupBoxes(), stored);
        setBoxes(Check2.data(), exitBoxes(), stored);
        setBoxes(Check3.data(), soundBoxes(), stored);
        Check4->setChecked(stored.bolClearLogOnOpen);
        shown_ = stored;
        showColor(cmdBg, shown_.backgroundColor);
        for (size_t i = 0; i < styles_.size(); ++i) {
            const StyleDesign& design = styleDesigns()[i];
            showColor(styles_[i].color, shown_.*design.color);
            for (size_t f = 0; f < 3; ++f)
                styles_[i].flags[f]->setChecked(shown_.*design.flags[f]);
        }
        Combo1->setCurrentIndex(shown_.fontSizeIndex);
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Form Load Error:"), e);
        // What was not read must not be written over the stored row.
        Command1->setEnabled(false);
    }
}

UserPreferences frmOptions::edited() const {
    UserPreferences row = shown_;
    readBoxes(Check1.data(), startupBoxes(), row);
    readBoxes(Check2.data(), exitBoxes(), row);
    readBoxes(Check3.data(), soundBoxes(), row);
    row.bolClearLogOnOpen = Check4->isChecked();
    for (size_t i = 0; i < styles_.size(); ++i) {
        for (size_t f = 0; f < 3; ++f)
            row.*styleDesigns()[i].flags[f] = styles_[i].flags[f]->isChecked();
    }
    row.fontSizeIndex = static_cast<qint16>(std::max(0, Combo1->currentIndex()));
    return row;
}

void frmOptions::Command1_Click() {
    const UserPreferences row = edited();
    try {
        SavePreferences(session_.SupportConnStr(), row);
    } catch (const RunTimeError& e) {
        // Nothing was stored and nothing applied: the edits stay for another try.
        showFailure(QStringLiteral("Setting_Save Error:"), e);
        return;
    }
    // The start-up choices take effect at the next load; everything else at once.
    UserPreferences& prefs = session_.shared().Prefs;
    UserPreferences applied = row;
    for (const auto& [field, caption] : startupBoxes())
        applied.*field = prefs.*field;
    prefs = applied;
    accept();
}

void frmOptions::Command2_Click() {
    reject();
}

void frmOptions::done(int result) {
    applied_();
    QDialog::done(result);
}

bool frmOptions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        auto holds = [watched](const auto& boxes) {
            return std::find(boxes.begin(), boxes.end(), watched) != boxes.end();
        };
        if (holds(Check1))
            SSTab1->setCurrentIndex(2);
        else if (holds(Check2))
            SSTab1->setCurrentIndex(3);
        else if (holds(Check3))
            SSTab1->setCurrentIndex(0);
        else if (watched == cmdBg)
            SSTab1->setCurrentIndex(1);
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kst
