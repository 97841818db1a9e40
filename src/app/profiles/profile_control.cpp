#include "app/profiles/profile_control.h"

#include "app/main/main_commands.h"
#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/tool_bar.h"
#include "app/port/port_list.h"
#include "app/port/port_settings.h"
#include "app/receiving/receive_options.h"
#include "app/sending/send_buttons.h"
#include "autoresp/auto_responder.h"
#include "macros/macro_runner.h"
#include "platform/db/connection_string.h"
#include "platform/desktop/bgr_color.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/field_values.h"
#include "storage/preferences_store.h"
#include "storage/profile_creator.h"
#include "storage/profile_readers.h"
#include "storage/profile_schema.h"
#include "storage/profile_set_aside.h"
#include "storage/profile_validation.h"
#include "storage/user_notes.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTextDocument>

namespace kst {

namespace {

// A list position read from a profile, selected as the load does it: without the click
// of a user's choice. Reading the row has refused a position the list does not have.
void setListIndex(QComboBox* list, int index) {
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

// The failure box of a load: the error, the profile it happened in, and what follows.
void showLoadFailure(const RunTimeError& e, const QString& file, const QString& consequence) {
    msgBox(failureText(e.number(), e.description()) + QStringLiteral("\nProfile: ") + file + '\n' +
               consequence,
           MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("OpenDB Error:"));
}

// The steps of a load that read the profile itself, as opposed to kst.ini, the support
// database or the window: only their failures can make a profile damaged.
struct ProfileFault {
    RunTimeError error;
};
template <class Step> void fromProfile(Step step) {
    try {
        step();
    } catch (const RunTimeError& e) {
        throw ProfileFault{e};
    }
}

// One box for every list of a load that is not a list of bytes, however many there are,
// naming the profile they were read from.
void reportDamagedLists(const DamagedLists& damaged, const QString& settingsConnStr) {
    if (damaged.empty())
        return;
    const QString file = db::ConnectionInfo::parse(settingsConnStr).dataSource;
    constexpr qsizetype kShown = 20;
    const QStringList& places = damaged.places();
    QString text = QStringLiteral("The profile '%1' holds control-code lists that are not lists "
                                  "of bytes:\n")
                       .arg(file) +
                   places.mid(0, kShown).join('\n');
    if (places.size() > kShown)
        text += QStringLiteral("\n... and %1 more").arg(places.size() - kShown);
    text += QStringLiteral("\nConditions with such a list never match.");
    msgBox(text, MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
}

} // namespace

// ---------------------------------------------------------------------------------------
// Creating and choosing the profile

void ProfileControl::CreateDB(const QString& fileName, const QString& fileTitle) {
    ProgressBarDisplay progress(window_.ui().ProgressBar1);
    std::optional<RunTimeError> loadFailure;
    ProfileCreator creator(
        session_.SupportConnStr(), progress, [&](const QString& name, const QString& title) {
            if (std::optional<LoadFailure> failure = load(name, title, FileCheck::Done))
                loadFailure = failure->error;
            return !loadFailure;
        });
    creator.CreateDB(fileName, fileTitle);
    // The creator has removed the new file by now, so the next start makes it afresh.
    if (loadFailure)
        endAfterFailedLoad(fileName, *loadFailure);
}

void ProfileControl::OpenSettingsFile() {
    IniFile& ini = session_.ini();
    const QString& name = ini.SettingsFileName();
    const QString path = ini.settingsFile();
    std::optional<ChosenFile> chosen;
    const bool usable = name.indexOf(QStringLiteral(".kst")) >= 1 &&
                        ini.SettingsPath().size() >= 8 && FileExists(path);
    if (usable) {
        chosen = ChosenFile{path, name};
    } else {
        CommonDialog& dialog = session_.cmdlg1();
        dialog.prepare(ProfileFileFilter, session_.programFolder());
        // Cancel opens the default profile, without a message.
        chosen = dialog.showOpen();
    }
    // Another file is checked here, once, and named if it is refused; the default profile
    // is checked by its load, which sets it aside when it is damaged.
    if (chosen && !isDefaultProfile(chosen->fileName)) {
        if (opensAsProfile(chosen->fileName)) {
            openProfile(chosen->fileName, chosen->fileTitle, FileCheck::Done);
            return;
        }
    }
    Open_DB(ini.defaultProfilePath(), IniFile::defaultProfileTitle());
}

bool ProfileControl::isDefaultProfile(const QString& path) const {
    return QDir::cleanPath(path) == QDir::cleanPath(session_.ini().defaultProfilePath());
}

bool ProfileControl::opensAsProfile(const QString& path) {
    try {
        CheckProfileFile(path);
    } catch (const RunTimeError& e) {
        msgBox(QStringLiteral("Invalid file, the default file will be opened instead!\n") +
                   e.description(),
               MsgIcon::Exclamation, MsgButtons::Ok, appTitle());
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------
// Loading

void ProfileControl::Open_DB(const QString& File_Name, const QString& File_Title) {
    openProfile(File_Name, File_Title, FileCheck::Needed);
}

void ProfileControl::openCheckedProfile(const QString& File_Name, const QString& File_Title) {
    openProfile(File_Name, File_Title, FileCheck::Done);
}

void ProfileControl::openProfile(const QString& File_Name, const QString& File_Title,
                                 FileCheck check) {
    const std::optional<LoadFailure> failure = load(File_Name, File_Title, check);
    if (!failure)
        return;
    // A default profile that is there but damaged would stop every start: it makes room
    // for a new one. A file out of reach is left alone; it may be fine next time.
    if (failure->profileAtFault && isDefaultProfile(File_Name) && FileExists(File_Name) &&
        !isFileOutOfReach(failure->error)) {
        replaceDamagedDefault(File_Name, failure->error);
        return;
    }
    endAfterFailedLoad(File_Name, failure->error);
}

std::optional<ProfileControl::LoadFailure>
ProfileControl::load(QString File_Name, QString File_Title, FileCheck check) {
    SharedState& shared = session_.shared();
    const MainControls& ui = window_.ui();
    DamagedLists damaged;
    try {
        // The file is recorded before anything is loaded.
        IniFile& ini = session_.ini();
        ini.WriteIniFile(File_Name, ini.IniFlag());
        ini.ReadIniFile();
        // The profile loaded is the open one, whether kst.ini could record it or give it
        // back or not: what reads the file back then names the profile open before, and a
        // command would act on a profile the window does not show.
        ini.setSettings(File_Name, File_Title);

        QString caption = window_.widget()->windowTitle();
        const qsizetype dash = caption.indexOf(u'-');
        if (dash >= 1)
            caption.truncate(dash - 1);
        window_.widget()->setWindowTitle(caption + QStringLiteral(" - ") + File_Title);

        shared.SettingsConnStr = profileConnStr(File_Name);
        // The whole file is checked once, before anything of it is read.
        if (check == FileCheck::Needed)
            fromProfile([&] { CheckProfileFile(File_Name); });
        const int rxTimerIndex = applySettings(shared.SettingsConnStr);

        ReadRows(QStringLiteral("SELECT * FROM userPreferences"), session_.SupportConnStr(), 1,
                 [&shared](const db::Recordset& row, int) { ReadPreferences(row, shared.Prefs); });
        window_.setLogBackground(shared.Prefs.backgroundColor);

        if (const std::optional<QString> name = handshakeNameOf(session_.state().HandshakeIndex))
            session_.state().HandshakeName = *name;
        portList_.ComSettings();

        setListIndex(ui.CbTimer, rxTimerIndex);
        receiveOptions_.CbTimer_Click();

        if (shared.Prefs.bolHideCalcAscii)
            window_.commands().toggleCalculatorPane();

        session_.autoResponder().switchTo(shared.Prefs.bolAutoResponse);

        // A box whose value changes runs its click handler, as a user's click would.
        ui.Check2->setChecked(shared.Prefs.bolDescription);
        ui.Check3->setChecked(shared.Prefs.bolFormattedView);
        ui.Check1->setChecked(shared.Prefs.bolRxTimer);

        fromProfile(
            [&] { ReadProgButtons(shared.SettingsConnStr, shared.LoadedButtons, &damaged); });
        buttons_.Option6_Click(session_.state().ButtonPage);

        AutoResponseRules rules;
        fromProfile([&] { ReadAutoResponseRules(shared.SettingsConnStr, rules, &damaged); });
        session_.autoResponder().setRules(rules);
    } catch (const ProfileFault& fault) {
        return LoadFailure{fault.error, true};
    } catch (const RunTimeError& e) {
        return LoadFailure{e, false};
    }

    // Selecting macro 1 always loads it, whatever the list showed before; its lists
    // join this load's report. No macro of the profile before stays to be played when
    // it fails.
    session_.macroRunner().setMacro(0, MacroRecords());
    {
        const QSignalBlocker blocker(ui.cboMacros);
        ui.cboMacros->setCurrentIndex(0);
    }
    showMacro(1, damaged);
    return std::nullopt;
}

int ProfileControl::applySettings(const QString& connStr) {
    const MainControls& ui = window_.ui();
    ProfileSettings stored;
    fromProfile([&] { stored = ReadSettings(connStr); });

    // The port list is refreshed before the stored position is applied to it.
    portList_.ListComPorts();
    if (ui.portChoice->count() > 0)
        setListIndex(ui.portChoice,
                     stored.port >= 0 && stored.port < ui.portChoice->count() ? stored.port : 0);
    const std::pair<QComboBox*, int> lists[] = {{ui.BaudChoice, stored.baud},
                                                {ui.DataBitChoice, stored.dataBits},
                                                {ui.ParityChoice, stored.parity},
                                                {ui.StopBitChoice, stored.stopBits}};
    for (const auto& [list, index] : lists) {
        setListIndex(list, index);
        portList_.ComSettings();
    }
    MainState& state = session_.state();
    state.HandshakeIndex = stored.handshaking;
    ui.RichTextBox1->setPlainText(stored.userNotes);
    settledNotes_ = notesShown();
    state.DetectCTS = stored.detectCTS;
    state.DetectDSR = stored.detectDSR;
    state.DetectDCD = stored.detectDCD;
    state.DetectRI = stored.detectRI;
    state.FullDuplexSelected = stored.fullDuplex;
    state.SecondPort = stored.secondPort;
    return stored.rxTimerIndex;
}

void ProfileControl::replaceDamagedDefault(const QString& path, const RunTimeError& why) {
    QString aside;
    try {
        aside = SetProfileAside(path);
    } catch (const RunTimeError& e) {
        // Without room for a new one, the damaged default stays and the program ends.
        endAfterFailedLoad(path, why, e.description() + '\n');
        return;
    }
    showLoadFailure(why, path,
                    QStringLiteral("The default profile is damaged. It is kept as '%1', and a "
                                   "new default profile is made from the templates.")
                        .arg(aside));
    CreateDB(path, IniFile::defaultProfileTitle());
}

void ProfileControl::endAfterFailedLoad(const QString& fileName, const RunTimeError& why,
                                        const QString& note) {
    showLoadFailure(why, fileName,
                    note + QStringLiteral("Program will be ended!\nIf the problem persists, "
                                          "please reinstall the program."));
    // kst.ini already names the failing file. Unless it is the default profile (which
    // start-up rebuilds), name the default again, so the next start is not stopped by
    // the same file. The exit save is skipped: the window holds a half-loaded profile
    // and would write it over the stored settings.
    IniFile& ini = session_.ini();
    if (!isDefaultProfile(fileName)) {
        try {
            ini.Create_File();
        } catch (const RunTimeError&) {
        }
    }
    endProgram_();
}

bool ProfileControl::cboMacros_Click() {
    return Get_Macros_Details(window_.ui().cboMacros->currentIndex() + 1);
}

bool ProfileControl::Get_Macros_Details(int MacrosNo) {
    DamagedLists damaged;
    return showMacro(MacrosNo, damaged);
}

bool ProfileControl::showMacro(int MacrosNo, DamagedLists& damaged) {
    SharedState& shared = session_.shared();
    MainState& state = session_.state();
    MacroRunner& runner = session_.macroRunner();
    try {
        // Read whole before it replaces the loaded one: a failure leaves no mix of two.
        runner.setMacro(MacrosNo, LoadMacro(shared.SettingsConnStr, MacrosNo, &damaged));
    } catch (const RunTimeError& e) {
        reportDamagedLists(damaged, shared.SettingsConnStr);
        msgBox(failureText(e.number(), e.description()) +
                   QStringLiteral("\nUnexpected errors occur when loading macros, please try "
                                  "again!"),
               MsgIcon::Exclamation, MsgButtons::Ok,
               QStringLiteral("Getting MacrosDetails Error:"));
        // The macro box shows the macro Run plays, and the log names: the one still held.
        if (runner.loadedMacro() >= 1) {
            const QSignalBlocker blocker(window_.ui().cboMacros);
            window_.ui().cboMacros->setCurrentIndex(runner.loadedMacro() - 1);
        }
        return false;
    }
    reportDamagedLists(damaged, shared.SettingsConnStr);
    // The first loads after start-up apply one start-up preference: Monitoring first.
    if (shared.Prefs.bolMonitoringMode && state.StartupPending) {
        window_.commands().switchToMonitoring();
        state.StartupPending = false;
    }
    if (!session_.MSComm1().PortOpen() && shared.Prefs.bolAutoConnect && state.StartupPending) {
        window_.commands().openPort();
        state.StartupPending = false;
    }
    if (window_.ui().cboMacros->currentIndex() == 7)
        session_.macroRunner().setContinuousPlay(false);
    return true;
}

void ProfileControl::reloadAfterImport() {
    const bool settled = settleNotes();
    const QString typed = notesShown();
    IniFile& ini = session_.ini();
    Open_DB(ini.settingsFile(), ini.SettingsFileName());
    if (!settled)
        window_.ui().RichTextBox1->setPlainText(typed);
}

// ---------------------------------------------------------------------------------------
// User notes

void ProfileControl::cmdClearNotes_Click() {
    window_.ui().RichTextBox1->clear();
}

void ProfileControl::cmdSaveNotes_Click() {
    if (storeNotes())
        msgBox(QStringLiteral("Data has been saved successfully!"), MsgIcon::Information);
}

QString ProfileControl::notesShown() const {
    // The box's own characters: only its paragraph breaks become line feeds. Its plain
    // text would turn no-break spaces into spaces and line separators into line feeds.
    QString notes = window_.ui().RichTextBox1->document()->toRawText();
    notes.replace(QChar::ParagraphSeparator, u'\n');
    return notes;
}

bool ProfileControl::storeNotes() {
    const QString notes = notesShown();
    try {
        SaveUserNotes(session_.shared().SettingsConnStr, notes);
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("UserNotes_Save Error:"), e);
        return false;
    }
    settledNotes_ = notes;
    return true;
}

bool ProfileControl::settleNotes() {
    if (notesShown() == settledNotes_)
        return true;
    if (msgBox(QStringLiteral("The user notes have been changed, would you like to save?"),
               MsgIcon::Question, MsgButtons::YesNo) == AnswerYes)
        return storeNotes();
    // Given up for the load that replaces the box. A command that stops before it leaves
    // them unsaved, and the next load or the closing asks again.
    return true;
}

// ---------------------------------------------------------------------------------------
// Exit save

SettingsToSave::LineChoice ProfileControl::lineChoice() const {
    const MainControls& ui = window_.ui();
    SettingsToSave::LineChoice choice;
    // With no port found the list holds only a placeholder: the stored port stays.
    choice.port = portList_.portIndexToStore();
    choice.baud = ui.BaudChoice->currentIndex();
    choice.dataBits = ui.DataBitChoice->currentIndex();
    choice.parity = ui.ParityChoice->currentIndex();
    choice.stopBits = ui.StopBitChoice->currentIndex();
    choice.handshaking = session_.state().HandshakeIndex;
    return choice;
}

void ProfileControl::ExitSave() {
    SharedState& shared = session_.shared();
    const MainState& state = session_.state();
    const MainControls& ui = window_.ui();
    const UserPreferences& prefs = shared.Prefs;
    if (!prefs.bolSaveComSettings && !prefs.bolSaveRxTimer)
        return;
    SettingsToSave values;
    if (prefs.bolSaveComSettings) {
        values.lineChoice = lineChoice();
        SettingsToSave::LineOptions& p = values.lineOptions.emplace();
        p.secondPort = state.SecondPort;
        p.fullDuplex = state.FullDuplexSelected;
        p.detectCTS = state.DetectCTS;
        p.detectDSR = state.DetectDSR;
        p.detectDCD = state.DetectDCD;
        p.detectRI = state.DetectRI;
    }
    if (prefs.bolSaveRxTimer)
        values.rxTimerIndex = ui.CbTimer->currentIndex();
    shared.SettingsConnStr = profileConnStr(session_.ini().settingsFile());
    SaveSettings(shared.SettingsConnStr, values);
}

} // namespace kst
