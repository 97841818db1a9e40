#include "profile_control.h"

#include "frm_main.h"
#include "main_controller.h"
#include "notation/view/bgr_color.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "port_list.h"
#include "port_settings.h"
#include "receive_options.h"
#include "session.h"
#include "storage/field_values.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "storage/profile_validation.h"
#include "storage/user_notes.h"
#include "tool_bar.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>

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
    void setMaximum(int maximum) override { bar_->setMaximum(maximum); }
    void setValue(float value) override { bar_->setValue(static_cast<int>(value)); }
    void setVisible(bool visible) override { bar_->setVisible(visible); }

private:
    QProgressBar* bar_;
};

QString loadFailureText(const RunTimeError& e, const QString& consequence) {
    return failureText(e.number(), e.description()) + "\n" + consequence;
}

} // namespace

// ---------------------------------------------------------------------------------------
// Creating and choosing the profile

void ProfileControl::CreateDB(const QString& fileName, const QString& fileTitle) {
    ProgressBarDisplay progress(window_.ui().ProgressBar1);
    ProfileCreator creator(
        window_.session().SupportConnStr(), progress,
        [this](const QString& name, const QString& title) { Open_DB(name, title); });
    creator.CreateDB(fileName, fileTitle);
}

void ProfileControl::OpenSettingsFile() {
    IniFile& ini = window_.session().ini();
    const QString defaultProfile = ini.defaultProfilePath();
    const QString& path = ini.SettingsPath();
    const QString& name = ini.SettingsFileName();
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
            CommonDialog& dialog = window_.session().cmdlg1();
            dialog.properties.filter =
                QStringLiteral("All Files (*.*)|*.*|Kestrelon Files (*.kst)|*.kst");
            dialog.properties.filterIndex = 2;
            dialog.properties.initDir =
                window_.session().programFolder() + QStringLiteral("/Devices");
            std::optional<ChosenFile> picked = dialog.showOpen();
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

void ProfileControl::Open_DB(const QString& File_Name, const QString& File_Title) {
    Session& session = window_.session();
    SharedState& shared = session.shared();
    const MainControls& ui = window_.ui();
    try {
        // The file is recorded before anything is loaded.
        IniFile& ini = session.ini();
        ini.WriteIniFile(File_Name, ini.IniFlag());
        ini.ReadIniFile();

        QString caption = window_.windowTitle();
        const qsizetype dash = caption.indexOf(u'-');
        if (dash >= 1)
            caption.truncate(dash - 1);
        window_.setWindowTitle(caption + QStringLiteral(" - ") + File_Title);

        shared.SettingsConnStr = profileConnStr(File_Name);
        applySettings(shared.SettingsConnStr);

        shared.DbSql = QStringLiteral("SELECT * FROM userPreferences");
        ReadRows(shared.DbSql, session.SupportConnStr(), 1,
                 [&shared](const db::Recordset& row, int) { ReadPreferences(row, shared.Prefs); });
        window_.setLogBackground(shared.Prefs.backgroundColor);

        if (const std::optional<QString> name = handshakeNameOf(session.state().HandshakeIndex))
            session.state().HandshakeName = *name;
        window_.portList().ComSettings();

        setListIndex(ui.CbTimer, storedRxTimerIndex_);
        window_.receiveOptions().CbTimer_Click();

        if (shared.Prefs.bolHideCalcAscii)
            window_.mnuHide_Click();

        shared.AutoRespOn = shared.Prefs.bolAutoResponse;
        window_.controller().SetAutoResponse(shared.Prefs.bolAutoResponse);

        // A box whose value changes runs its click handler, as a user's click would.
        ui.Check2->setChecked(shared.Prefs.bolDescription);
        ui.Check3->setChecked(shared.Prefs.bolFormattedView);
        ui.Check1->setChecked(shared.Prefs.bolRxTimer);

        shared.DbSql = QStringLiteral("SELECT * FROM ProgButtons");
        ReadRows(shared.DbSql, shared.SettingsConnStr, 32,
                 [&shared](const db::Recordset& row, int i) {
                     ReadProgButton(row, shared.LoadedButtons[static_cast<size_t>(i)]);
                 });
        for (int page = 0; page < 2; ++page) {
            if (ui.Option6[static_cast<size_t>(page)]->isChecked())
                window_.controller().buttons().Option6_Click(page);
        }

        shared.DbSql = QStringLiteral("SELECT * FROM ProgAutoResp");
        ReadRows(shared.DbSql, shared.SettingsConnStr, 16,
                 [&shared](const db::Recordset& row, int i) {
                     ReadAutoResponseRule(row, shared.LoadedRules[static_cast<size_t>(i)]);
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
        const QSignalBlocker blocker(ui.cboMacros);
        ui.cboMacros->setCurrentIndex(0);
    }
    cboMacros_Click();
}

void ProfileControl::applySettings(const QString& connStr) {
    Session& session = window_.session();
    const MainControls& ui = window_.ui();
    window_.session().shared().DbSql = QStringLiteral("SELECT * FROM Settings");
    const ProfileSettings stored = ReadSettings(connStr);

    // The port list is refreshed before the stored position is applied to it.
    window_.portList().ListComPorts();
    if (ui.portChoice->count() > 0) {
        const QSignalBlocker blocker(ui.portChoice);
        ui.portChoice->setCurrentIndex(
            stored.port >= 0 && stored.port < ui.portChoice->count() ? stored.port : 0);
    }
    const std::pair<QComboBox*, int> lists[] = {{ui.BaudChoice, stored.baud},
                                                {ui.DataBitChoice, stored.dataBits},
                                                {ui.ParityChoice, stored.parity},
                                                {ui.StopBitChoice, stored.stopBits}};
    for (const auto& [list, index] : lists) {
        setListIndex(list, index);
        window_.portList().ComSettings();
    }
    MainState& state = session.state();
    state.HandshakeIndex = stored.handshaking;
    storedRxTimerIndex_ = stored.rxTimerIndex;
    ui.RichTextBox1->setPlainText(stored.userNotes);
    state.DetectCTS = stored.detectCTS;
    state.DetectDSR = stored.detectDSR;
    state.DetectDCD = stored.detectDCD;
    state.DetectRI = stored.detectRI;
    state.FullDuplexSelected = stored.fullDuplex;
    state.SecondPort = stored.secondPort;
}

void ProfileControl::endAfterFailedLoad(const QString& fileName) {
    // kst.ini already names the failing file. Unless it is the default profile (which
    // start-up rebuilds), name the default again, so the next start is not stopped by
    // the same file. The exit save is skipped: the window holds a half-loaded profile
    // and would write it over the stored settings.
    IniFile& ini = window_.session().ini();
    if (fileName != ini.defaultProfilePath()) {
        try {
            ini.Create_File();
        } catch (const RunTimeError&) {
        }
    }
    window_.controller().endProgramNow();
}

void ProfileControl::cboMacros_Click() {
    Get_Macros_Details(window_.ui().cboMacros->currentIndex() + 1);
}

void ProfileControl::Get_Macros_Details(int MacrosNo) {
    Session& session = window_.session();
    SharedState& shared = session.shared();
    MainState& state = session.state();
    try {
        LoadMacro(shared.SettingsConnStr, MacrosNo,
                  {shared.LoadedSteps, shared.LoadedSubRoutines, shared.LoadedElseCheck});
    } catch (const RunTimeError& e) {
        msgBox(loadFailureText(e, QStringLiteral("Unexpected errors occur when loading macros, "
                                                 "please try again!")),
               MsgIcon::Exclamation, MsgButtons::Ok,
               QStringLiteral("Getting MacrosDetails Error:"));
        return;
    }
    // The first loads after start-up apply one start-up preference: Monitoring first.
    if (shared.Prefs.bolMonitoringMode && state.StartupPending) {
        window_.mnuMonitoring_Click();
        state.StartupPending = false;
    }
    if (!session.MSComm1().PortOpen() && shared.Prefs.bolAutoConnect && state.StartupPending) {
        window_.mnuPortOpen_Click();
        state.StartupPending = false;
    }
    if (window_.ui().cboMacros->currentIndex() == 7) {
        window_.ui().Toolbar1->setButtonImage(QStringLiteral("macrosContinue"), 10,
                                              QStringLiteral("Single play"));
        state.ContinuousPlay = false;
    }
}

// ---------------------------------------------------------------------------------------
// User notes

void ProfileControl::cmdClearNotes_Click() {
    window_.ui().RichTextBox1->clear();
}

void ProfileControl::cmdSaveNotes_Click() {
    SharedState& shared = window_.session().shared();
    shared.DbSql = QStringLiteral("SELECT * FROM settings");
    try {
        SaveUserNotes(shared.SettingsConnStr, window_.ui().RichTextBox1->toPlainText());
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("UserNotes_Save Error:"), e);
        return;
    }
    msgBox(QStringLiteral("Data has been saved successfully!"), MsgIcon::Information);
}

// ---------------------------------------------------------------------------------------
// Exit save

void ProfileControl::ExitSave() {
    Session& session = window_.session();
    SharedState& shared = session.shared();
    const MainState& state = session.state();
    const MainControls& ui = window_.ui();
    const UserPreferences& prefs = shared.Prefs;
    if (!prefs.bolSaveComSettings && !prefs.bolSaveRxTimer)
        return;
    SettingsToSave values;
    if (prefs.bolSaveComSettings) {
        SettingsToSave::PortSettings& p = values.portSettings.emplace();
        // With no port found the list holds only a placeholder: the stored port stays.
        p.port = window_.portList().portIndexToStore();
        p.baud = ui.BaudChoice->currentIndex();
        p.dataBits = ui.DataBitChoice->currentIndex();
        p.parity = ui.ParityChoice->currentIndex();
        p.stopBits = ui.StopBitChoice->currentIndex();
        p.handshaking = state.HandshakeIndex;
        p.secondPort = state.SecondPort;
        p.fullDuplex = state.FullDuplexSelected;
        p.detectCTS = state.DetectCTS;
        p.detectDSR = state.DetectDSR;
        p.detectDCD = state.DetectDCD;
        p.detectRI = state.DetectRI;
    }
    if (prefs.bolSaveRxTimer)
        values.rxTimerIndex = ui.CbTimer->currentIndex();
    shared.SettingsConnStr = profileConnStr(session.ini().SettingsPath());
    shared.DbSql = QStringLiteral("SELECT * FROM Settings");
    SaveSettings(shared.SettingsConnStr, values);
}

} // namespace kst
