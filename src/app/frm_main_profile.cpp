// The main window's side of the device profile: which profile opens at start-up, the
// load that makes it the current one, the macro held in memory, the auto-response
// switch, and the exit save.
#include "controls.h"
#include "frm_main.h"
#include "notation/styled_log.h"
#include "platform/db/recordset.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "port_settings.h"
#include "status_bar.h"
#include "storage/field_values.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"
#include "tool_bar.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTimer>

namespace kst {

namespace {

// A list position read from a profile: a position the list does not have fails the
// load instead of leaving the list without a selection.
void setListIndex(QComboBox* list, int index) {
    if (index < 0 || index >= list->count())
        throw RunTimeError(err::InvalidPropertyValue);
    const QSignalBlocker blocker(list);
    list->setCurrentIndex(index);
}

// The profile creation's progress, shown on the main window's progress bar.
class ProgressBarDisplay : public ProgressDisplay {
public:
    explicit ProgressBarDisplay(QProgressBar* bar) : bar_(bar) {}
    void setMaximum(int maximum) override {
        if (bar_)
            bar_->setMaximum(maximum);
    }
    void setValue(float value) override {
        if (bar_)
            bar_->setValue(static_cast<int>(value));
    }
    void setVisible(bool visible) override {
        if (bar_)
            bar_->setVisible(visible);
    }

private:
    QProgressBar* bar_;
};

QString loadFailureText(const RunTimeError& e, const QString& consequence) {
    return failureText(e.number(), e.description()) + "\n" + consequence;
}

} // namespace

void frmMain::connectProfileControls() {
    log_ = std::make_unique<StyledLog>(responseBox_);
    connect(checkBoxNamed(QStringLiteral("Check1")), &QCheckBox::toggled, this,
            [this] { Check1_Click(); });
    connect(checkBoxNamed(QStringLiteral("Check2")), &QCheckBox::toggled, this,
            [this] { Check2_Click(); });
    connect(checkBoxNamed(QStringLiteral("Check3")), &QCheckBox::toggled, this,
            [this] { Check3_Click(); });
    auto* cbTimer = control<QComboBox>(QStringLiteral("CbTimer"));
    connect(cbTimer, &QComboBox::currentIndexChanged, this, [this] { CbTimer_Click(); });
    connect(control<QComboBox>(QStringLiteral("cboMacros")), &QComboBox::activated, this,
            [this] { cboMacros_Click(); });
    for (int page = 0; page < 2; ++page) {
        connect(control<QAbstractButton>(QStringLiteral("Option6"), page),
                &QAbstractButton::clicked, this, [this, page] { Option6_Click(page); });
    }
}

QCheckBox* frmMain::checkBoxNamed(const QString& name) const {
    return control<QCheckBox>(name);
}

// ---------------------------------------------------------------------------------------
// Styled log

void frmMain::Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                        const QString& sText, quint32 scolorNo, bool sFont1, bool sFont2,
                        bool sFont3) {
    log_->setFontSizeIndex(shared_.Prefs.fontSizeIndex);
    log_->Add_Color(iText, colorNo, Font1, Font2, Font3, sText, scolorNo, sFont1, sFont2, sFont3);
}

void frmMain::Add_Color(const QString& label, const DisplayStyle& labelStyle, const QString& body,
                        const DisplayStyle& bodyStyle) {
    Add_Color(label, labelStyle.TextColor, labelStyle.IsBold, labelStyle.IsItalic,
              labelStyle.IsUnderline, body, bodyStyle.TextColor, bodyStyle.IsBold,
              bodyStyle.IsItalic, bodyStyle.IsUnderline);
}

// ---------------------------------------------------------------------------------------
// Creating and choosing the profile

void frmMain::CreateDB(const QString& fileName, const QString& fileTitle) {
    ProgressBarDisplay progress(control<QProgressBar>(QStringLiteral("ProgressBar1")));
    ProfileCreator creator(
        supportConnStr_, progress,
        [this](const QString& name, const QString& title) { Open_DB(name, title); });
    creator.CreateDB(fileName, fileTitle);
}

void frmMain::OpenSettingsFile() {
    const QString defaultProfile = ini_.defaultProfilePath();
    const QString& path = ini_.SettingsPath();
    const QString& name = ini_.SettingsFileName();
    std::optional<ChosenFile> chosen;
    try {
        const bool usable =
            name.indexOf(QStringLiteral(".kst")) >= 1 && path.size() >= 8 && FileExists(path);
        if (usable) {
            if (ValidateSettingsDB(path)) {
                chosen = ChosenFile{path, name};
            } else {
                msgBox(QStringLiteral("Invalid file, the default file will be opened instead!"),
                       MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
            }
        } else {
            FileDialogRequest request;
            request.filter = QStringLiteral("All Files (*.*)|*.*|Kestrelon Files (*.kst)|*.kst");
            request.filterIndex = 2;
            request.initDir = programFolder_ + QStringLiteral("/Devices");
            std::optional<ChosenFile> picked = Platform::fileDialogs().showOpen(request);
            if (picked && ValidateSettingsDB(picked->fileName))
                chosen = picked;
        }
    } catch (const RunTimeError&) {
        // Whatever went wrong, the default profile opens, without a message.
        chosen.reset();
    }
    if (chosen)
        Open_DB(chosen->fileName, chosen->fileTitle);
    else
        Open_DB(defaultProfile, IniFile::defaultProfileTitle());
}

// ---------------------------------------------------------------------------------------
// Loading

void frmMain::Open_DB(const QString& File_Name, const QString& File_Title) {
    try {
        // The file is recorded before anything is loaded.
        ini_.WriteIniFile(File_Name, ini_.IniFlag());
        ini_.ReadIniFile();

        QString caption = windowTitle();
        const qsizetype dash = caption.indexOf(u'-');
        if (dash >= 1)
            caption.truncate(dash - 1);
        setWindowTitle(caption + QStringLiteral(" - ") + File_Title);

        shared_.SettingsConnStr = profileConnStr(File_Name);
        readSettingsRow(shared_.SettingsConnStr);

        shared_.DbSql = QStringLiteral("SELECT * FROM userPreferences");
        ReadRows(shared_.DbSql, supportConnStr_, 1,
                 [this](const db::Recordset& row, int) { ReadPreferences(row, shared_.Prefs); });
        QPalette palette = responseBox_->palette();
        palette.setColor(QPalette::Base, colorFromBgr(shared_.Prefs.backgroundColor));
        responseBox_->setPalette(palette);

        if (const std::optional<QString> name = handshakeNameOf(state_.HandshakeIndex))
            state_.HandshakeName = *name;
        ComSettings();

        setListIndex(control<QComboBox>(QStringLiteral("CbTimer")), storedRxTimerIndex_);
        CbTimer_Click();
        const int rxInterval =
            LongField(control<QComboBox>(QStringLiteral("CbTimer"))->currentText());
        timer(QStringLiteral("TimerRX"))->setInterval(rxInterval);
        timer(QStringLiteral("TimerRX2"))->setInterval(rxInterval);

        if (shared_.Prefs.bolHideCalcAscii)
            mnuHide_Click();

        shared_.AutoRespOn = shared_.Prefs.bolAutoResponse;
        SetAutoResponse(shared_.Prefs.bolAutoResponse);

        // A box whose value changes runs its click handler, as a user's click would.
        checkBoxNamed(QStringLiteral("Check2"))->setChecked(shared_.Prefs.bolDescription);
        checkBoxNamed(QStringLiteral("Check3"))->setChecked(shared_.Prefs.bolFormattedView);
        checkBoxNamed(QStringLiteral("Check1"))->setChecked(shared_.Prefs.bolRxTimer);

        shared_.DbSql = QStringLiteral("SELECT * FROM ProgButtons");
        ReadRows(shared_.DbSql, shared_.SettingsConnStr, 32,
                 [this](const db::Recordset& row, int i) {
                     ReadProgButton(row, shared_.LoadedButtons[i]);
                 });
        for (int page = 0; page < 2; ++page) {
            if (control<QRadioButton>(QStringLiteral("Option6"), page)->isChecked())
                relabelProgButtons(page);
        }

        shared_.DbSql = QStringLiteral("SELECT * FROM ProgAutoResp");
        ReadRows(shared_.DbSql, shared_.SettingsConnStr, 16,
                 [this](const db::Recordset& row, int i) {
                     ReadAutoResponseRule(row, shared_.LoadedRules[i]);
                 });
    } catch (const RunTimeError& e) {
        msgBox(loadFailureText(e, QStringLiteral("Program will be ended!\nIf the problem persists, "
                                                 "please reinstall the program.")),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("OpenDB Error:"));
        endAfterFailedLoad(File_Name);
        return;
    }

    // Selecting macro 1 always loads it, whatever the list showed before.
    {
        auto* macros = control<QComboBox>(QStringLiteral("cboMacros"));
        const QSignalBlocker blocker(macros);
        macros->setCurrentIndex(0);
    }
    cboMacros_Click();
}

void frmMain::readSettingsRow(const QString& connStr) {
    db::Recordset rs;
    shared_.DbSql = QStringLiteral("SELECT * FROM Settings");
    rs.open(shared_.DbSql, connStr);
    rs.moveFirst();
    auto integer = [&rs](int ordinal) { return IntegerField(rs.value(ordinal).toText()); };

    // The port list is refreshed before the stored position is applied to it.
    ListComPorts();
    const int storedPort = integer(1);
    if (portChoice_->count() > 0) {
        const QSignalBlocker blocker(portChoice_);
        portChoice_->setCurrentIndex(
            storedPort >= 0 && storedPort < portChoice_->count() ? storedPort : 0);
    }
    const char* const lists[] = {"BaudChoice", "DataBitChoice", "ParityChoice", "StopBitChoice"};
    for (int i = 0; i < 4; ++i) {
        setListIndex(control<QComboBox>(QString::fromLatin1(lists[i])), integer(2 + i));
        ComSettings();
    }
    state_.HandshakeIndex = integer(6);
    storedRxTimerIndex_ = integer(7);
    control<QPlainTextEdit>(QStringLiteral("RichTextBox1"))->setPlainText(rs.value(17).toText());
    state_.DetectCTS = rs.value(15).toBool();
    state_.DetectDSR = rs.value(16).toBool();
    state_.DetectDCD = rs.value(19).toBool();
    state_.DetectRI = rs.value(20).toBool();
    state_.FullDuplexSelected = rs.value(14).toBool();
    state_.SecondPort = integer(11);
    rs.close();
}

void frmMain::endAfterFailedLoad(const QString& fileName) {
    // kst.ini already names the failing file. Unless it is the default profile (which
    // start-up rebuilds), name the default again, so the next start is not stopped by
    // the same file. The exit save is skipped: the window holds a half-loaded profile
    // and would write it over the stored settings.
    if (fileName != ini_.defaultProfilePath()) {
        try {
            ini_.Create_File();
        } catch (const RunTimeError&) {
        }
    }
    endProgramNow();
}

void frmMain::cboMacros_Click() {
    Get_Macros_Details(control<QComboBox>(QStringLiteral("cboMacros"))->currentIndex() + 1);
}

void frmMain::Get_Macros_Details(int MacrosNo) {
    try {
        LoadMacro(shared_.SettingsConnStr, MacrosNo,
                  {shared_.LoadedSteps, shared_.LoadedSubRoutines, shared_.LoadedElseCheck});
    } catch (const RunTimeError& e) {
        msgBox(loadFailureText(e, QStringLiteral("Unexpected errors occur when loading macros, "
                                                 "please try again!")),
               MsgIcon::Exclamation, MsgButtons::Ok,
               QStringLiteral("Getting MacrosDetails Error:"));
        return;
    }
    // The first loads after start-up apply one start-up preference: Monitoring first.
    if (shared_.Prefs.bolMonitoringMode && state_.StartupPending) {
        mnuMonitoring_Click();
        state_.StartupPending = false;
    }
    if (!primaryPortOpen() && shared_.Prefs.bolAutoConnect && state_.StartupPending) {
        OpenPort();
        state_.StartupPending = false;
    }
    if (control<QComboBox>(QStringLiteral("cboMacros"))->currentIndex() == 7) {
        toolbar_->setButtonImage(QStringLiteral("macrosContinue"), 10,
                                 QStringLiteral("Single play"));
        state_.ContinuousPlay = false;
    }
}

// ---------------------------------------------------------------------------------------
// Auto-response switch

void frmMain::SetAutoResponse(bool Enabled) {
    shared_.AutoRespOn = Enabled;
    toolbar_->setButtonImage(QStringLiteral("AutoRespOnOff"), Enabled ? 6 : 5,
                             Enabled ? QStringLiteral("Auto-Response: ON")
                                     : QStringLiteral("Auto-Response: OFF"));
    statusBar_->setPanelText(QStringLiteral("AutoResp"),
                             Enabled ? QStringLiteral("Auto-Response: ON ")
                                     : QStringLiteral("Auto-Response: OFF "));
    describe(Enabled ? QStringLiteral("\r\n# # # Auto-Response is now ON # # #")
                     : QStringLiteral("\r\n# # # Auto-Response is now OFF # # #"));
}

void frmMain::describe(const QString& message) {
    // The "# # #" lines tell what changed on an open port, and only when asked for.
    if (primaryPortOpen() && shared_.Prefs.bolDescription)
        Add_Color(message, shared_.Prefs.messageStyle());
}

void frmMain::mnuAutoResp_Click() {
    SetAutoResponse(toolbar_->buttonImage(QStringLiteral("AutoRespOnOff")) == 5);
}

// ---------------------------------------------------------------------------------------
// Programmable buttons and receive options

void frmMain::Option6_Click(int Index) {
    state_.ButtonPage = Index;
    relabelProgButtons(Index);
}

void frmMain::relabelProgButtons(int page) {
    const int first = page == 0 ? 0 : 16;
    for (int k = 0; k < 16; ++k) {
        const ProgButton& button = shared_.LoadedButtons[first + k];
        QAbstractButton* widget = control<QAbstractButton>(QStringLiteral("cmdProBut"), k);
        widget->setText(button.keyCaption);
        widget->setToolTip(ButtonToolTip(button, state_.TxFormat));
    }
}

void frmMain::Check1_Click() {
    const bool ticked = checkBoxNamed(QStringLiteral("Check1"))->isChecked();
    control(QStringLiteral("CbTimer"))->setEnabled(ticked);
    if (!menuItem(QStringLiteral("mnuDebugging"))->isChecked() && ticked)
        checkBoxNamed(QStringLiteral("Check2"))->setChecked(false);
    describe(ticked ? QStringLiteral("\r\n# # # Receiving timer enabled # # # \r\n")
                    : QStringLiteral("\r\n# # # Receiving timer disabled # # # \r\n"));
}

void frmMain::Check2_Click() {
    QCheckBox* box = checkBoxNamed(QStringLiteral("Check2"));
    const bool ticked = box->isChecked();
    const bool debugging = menuItem(QStringLiteral("mnuDebugging"))->isChecked();
    if (ticked && !debugging)
        checkBoxNamed(QStringLiteral("Check1"))->setChecked(false);
    shared_.Prefs.bolDescription = ticked;
    if (!debugging && !state_.TwoPortActive) {
        // In half-duplex monitoring the time stamps are only as exact as the line is slow.
        box->setText(ticked ? QStringLiteral("Description*") : QStringLiteral("Description"));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText,
                         ticked ? colorFromBgr(0x40C0)
                                : QApplication::palette().color(QPalette::WindowText));
        box->setPalette(palette);
        control(QStringLiteral("lblDescription"))->setVisible(ticked);
    }
}

void frmMain::Check3_Click() {
    const bool ticked = checkBoxNamed(QStringLiteral("Check3"))->isChecked();
    shared_.Prefs.bolFormattedView = ticked;
    describe(ticked ? QStringLiteral("\r\n# # # Formatted view ON # # # \r\n")
                    : QStringLiteral("\r\n# # # Formatted view OFF # # # \r\n"));
}

void frmMain::CbTimer_Click() {
    timer(QStringLiteral("TimerRX"))
        ->setInterval(LongField(control<QComboBox>(QStringLiteral("CbTimer"))->currentText()));
}

// ---------------------------------------------------------------------------------------
// Exit save

void frmMain::ExitSave() {
    const UserPreferences& prefs = shared_.Prefs;
    if (!prefs.bolSaveComSettings && !prefs.bolSaveRxTimer)
        return;
    shared_.SettingsConnStr = profileConnStr(ini_.SettingsPath());
    shared_.DbSql = QStringLiteral("SELECT * FROM Settings");
    db::Recordset rs;
    rs.open(shared_.DbSql, shared_.SettingsConnStr);
    rs.moveFirst();
    auto index = [this](const char* list) {
        return db::Value(qint64(control<QComboBox>(QString::fromLatin1(list))->currentIndex()));
    };
    if (prefs.bolSaveComSettings) {
        // With no port found the list holds only a placeholder: the stored port stays.
        if (const std::optional<int> port = portIndexToStore())
            rs.setValue(1, db::Value(qint64(*port)));
        rs.setValue(2, index("BaudChoice"));
        rs.setValue(3, index("DataBitChoice"));
        rs.setValue(4, index("ParityChoice"));
        rs.setValue(5, index("StopBitChoice"));
        rs.setValue(6, db::Value(qint64(state_.HandshakeIndex)));
        rs.setValue(11, db::Value(qint64(state_.SecondPort)));
        rs.setValue(14, db::Value(state_.FullDuplexSelected));
        rs.setValue(15, db::Value(state_.DetectCTS));
        rs.setValue(16, db::Value(state_.DetectDSR));
        rs.setValue(19, db::Value(state_.DetectDCD));
        rs.setValue(20, db::Value(state_.DetectRI));
    }
    if (prefs.bolSaveRxTimer)
        rs.setValue(7, index("CbTimer"));
    rs.update();
    rs.close();
}

} // namespace kst
