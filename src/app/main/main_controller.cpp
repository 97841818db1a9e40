#include "app/main/main_controller.h"

#include "app/editors/frm_auto_resp.h"
#include "app/editors/frm_auto_sequence.h"
#include "app/editors/frm_options.h"
#include "app/editors/frm_prog_but.h"
#include "app/main/controls.h"
#include "app/main/form_layout.h"
#include "app/main/frm_main.h"
#include "app/main/pictures.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "app/profiles/frm_import.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/profile_files.h"
#include "tools/control_char_table.h"
#include "tools/frm_about.h"
#include "tools/frm_ascii.h"
#include "tools/frm_logic.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

namespace {

CalculatorControls paneCalculator(const MainControls& ui) {
    return {.txtOperands = ui.txtOperands,
            .txtResult = ui.txtResult,
            .txtRemainder = ui.txtRemainder,
            .cmdCal = ui.cmdCal,
            .notations = ui.Option4,
            .operators = ui.Option5,
            .prompt = ui.Label3,
            .lblQuotient = ui.lblQuotient,
            .lblRemainder = ui.lblRemainder,
            .lblModbus = ui.lblModbus,
            .narrowResultWidth = 1650,
            .wideResultWidth = 2550};
}

} // namespace

MainController::MainController(frmMain& window, Session& session)
    : window_(window), session_(session), portList_(session, window.ui()),
      port_(session, window, portList_, sendPane_), mode_(session, window, port_, portList_),
      profile_(session, window, portList_, receiveOptions_, buttons_, [this] { endProgramNow(); }),
      receiveOptions_(session, window), sendView_(session, window, port_),
      sendPane_(session, window, window.surface(), buttons_), buttons_(session, window.ui()),
      logFiles_(session, window), profileCommands_(session, profile_),
      calculator_(paneCalculator(window.ui()), session.state().CalcNotation,
                  session.state().CalcOperation),
      commEvents_(session, window, port_), logSearch_(window, session.scheduler()),
      autoResponseIndicators_(session, window), macroRunIndicators_(session, window, profile_) {
    session.startEngines({sendView_, autoResponseIndicators_, macroRunIndicators_});
    port_.setSessionObserver(&commEvents_);
}

// ---------------------------------------------------------------------------------------
// Start-up

void MainController::Form_Load() {
    try {
        // Without the support database nothing is created and the program ends.
        if (!FileExists(session_.supportDatabasePath())) {
            msgBox(QStringLiteral("Initial DLL file missing, program will be ended!\n"
                                  "If the problem persists, please reinstall the program."),
                   MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Initialization Error:"));
            endProgramNow();
            return;
        }
        IniFile& ini = session_.ini();
        // A program folder copied without its Devices folder still starts.
        QDir(session_.programFolder()).mkpath(QStringLiteral("Devices"));
        if (!FileExists(ini.iniPath()))
            ini.Create_File();
        if (!FileExists(ini.defaultProfilePath()))
            profile_.CreateDB(ini.defaultProfilePath(), IniFile::defaultProfileTitle());
        InitMainWindow();
    } catch (const RunTimeError& e) {
        msgBox(failureText(e.number(), e.description()) +
                   QStringLiteral("\nUnexpected error occurs during program initialization, "
                                  "program will be ended.\n"
                                  "If the problem persists, please reinstall the program."),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Form Load Error:"));
        endProgramNow();
    }
}

void MainController::InitMainWindow() {
    try {
        if (isCompactScreen(window_.screenPixels()))
            window_.applyCompactLayout();
        setInitialControlState();
        session_.state().StartupPending = true;
        session_.ini().ReadIniFile();
        removeLeftovers();
        // Visible before the profile is opened, so its messages have a window to
        // sit on.
        window_.showMaximized();
        profile_.OpenSettingsFile();
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Loading MainForm Error:"), e, QStringLiteral("Error number: "));
    }
}

void MainController::removeLeftovers() {
    // A copy or an import killed part-way leaves its work file beside the profile it
    // was for: in the profiles folder, or beside the profile kst.ini names.
    const QString devices = QFileInfo(session_.ini().defaultProfilePath()).absolutePath();
    const QString recorded = QFileInfo(session_.ini().settingsFile()).absolutePath();
    RemoveAbandonedWorkFiles(devices);
    if (!session_.ini().SettingsPath().isEmpty() &&
        QDir::cleanPath(recorded) != QDir::cleanPath(devices))
        RemoveAbandonedWorkFiles(recorded);
}

void MainController::setInitialControlState() {
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();
    MainState& state = session_.state();

    ui.imgLedSample[0]->hide();
    ui.imgLedSample[1]->hide();
    for (ImageControl* led : ui.ledImages)
        led->setPicture(ui.imgLedSample[0]->picture());

    calculator_.reset();

    FillControlCharTable(ui.ListView1);

    state.TxFormat = 1;
    state.RxFormat = 1;
    ui.Option1[1]->setChecked(true);
    ui.Option2[1]->setChecked(true);

    menus.mnuPortClose->setEnabled(false);
    ui.txtMacros->setEnabled(false);
    ui.cboMacros->setEnabled(false);
    for (ToolButton button :
         {ToolButton::AutoRespOnOff, ToolButton::MacrosPlay, ToolButton::MacrosPause,
          ToolButton::MacrosStop, ToolButton::MacrosContinue})
        ui.Toolbar1->setButtonEnabled(button, false);
    for (QAction* item : {menus.mnuAutoResp, menus.mnuMacro, menus.mnuRun, menus.mnuPause,
                          menus.mnuStop, menus.mnuContinue})
        item->setEnabled(false);

    ui.StatusBar1->showPortState(PortBall::Closed, QStringLiteral("Port closed"));

    ui.Label4->setEnabled(false);
    for (QLabel* label : ui.ledLabels)
        label->setEnabled(false);
    for (ImageControl* led : ui.ledImages)
        led->setEnabled(false);
    for (QWidget* field : std::initializer_list<QWidget*>{
             ui.lblCmdDelay, ui.lblCmdDelay1, ui.lblCmdRepeat, ui.lblCmdInterval,
             ui.lblCmdInterval1, ui.txtCmdDelay, ui.txtCmdRepeat, ui.txtCmdInterval, ui.Combo1,
             ui.Text3, ui.Send, ui.Frame3, ui.Frame4, ui.Option6[0], ui.Option6[1]})
        field->setEnabled(false);
    ui.Line1->setBorderColor(syscolor::ScrollBar);
    ui.Line2->setBorderColor(syscolor::ScrollBar);
    for (int k = 0; k < 16; ++k) {
        ui.cmdFreqused[static_cast<size_t>(k)]->setEnabled(false);
        ui.cmdProBut[static_cast<size_t>(k)]->setEnabled(false);
    }
}

// ---------------------------------------------------------------------------------------
// Shutdown

void MainController::exitProgram() {
    session_.closePorts();
    window_.close();
}

void MainController::Form_Unload() {
    if (unloading_)
        return;
    unloading_ = true;
    profile_.settleNotes();
    try {
        profile_.ExitSave();
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Form Unload Error:"), e);
    }
    QList<QPointer<QWidget>> others;
    for (QWidget* other : QApplication::topLevelWidgets()) {
        if (other != &window_ && !window_.isAncestorOf(other))
            others << other;
    }
    for (const QPointer<QWidget>& other : others) {
        if (other)
            other->close();
    }
    // The ports' reader threads stop before the process ends.
    session_.closePorts();
    Platform::ender().endProgram();
}

void MainController::endProgramNow() {
    unloading_ = true;
    window_.hide();
    session_.closePorts();
    Platform::ender().endProgram();
}

// ---------------------------------------------------------------------------------------
// Commands of the window itself

void MainController::toggleCalculatorPane() {
    window_.toggleCalculatorPane();
}

void MainController::toggleSendPane() {
    window_.toggleSendPane();
}

void MainController::importProfile() {
    frmImport dialog(&window_, session_, profile_);
    dialog.exec();
}

void MainController::editButtons() {
    frmProgBut dialog(&window_, session_.shared(), [this] {
        window_.ui().Option6[0]->setChecked(true);
        buttons_.Option6_Click(0);
    });
    dialog.exec();
}

void MainController::editAutoResponse() {
    frmAutoResp dialog(
        &window_, session_.shared().SettingsConnStr,
        [this](const AutoResponseRules& rules) { session_.autoResponder().setRules(rules); });
    dialog.exec();
}

void MainController::editMacros() {
    frmAutoSequence dialog(&window_, session_.shared().SettingsConnStr,
                           [this] { profile_.cboMacros_Click(); });
    if (dialog.loaded())
        dialog.exec();
}

void MainController::editOptions() {
    frmOptions dialog(&window_, session_, [this] {
        window_.setLogBackground(session_.shared().Prefs.backgroundColor);
    });
    dialog.exec();
}

// The tool windows are modeless; each command opens one more beside the others.
void MainController::showAsciiChart() {
    (new frmAscII(&window_))->show();
}

void MainController::showCalculator() {
    (new frmLogic(&window_))->show();
}

void MainController::showAbout() {
    (new frmAbout(&window_, pictures::appIcon().pixmap(64)))->show();
}

void MainController::showHelp() {
    // The desktop's handler for the help file; when there is none (or no file),
    // the shell says so itself or nothing happens.
    Platform::shell().open(session_.helpFilePath());
}

// ---------------------------------------------------------------------------------------
// Auto-response switch

void MainController::toggleAutoResponse() {
    session_.autoResponder().toggle();
}

// ---------------------------------------------------------------------------------------
// Macro run

void MainController::runMacro() {
    session_.macroRunner().run();
}

void MainController::pauseMacro() {
    session_.macroRunner().pause();
}

void MainController::stopMacro() {
    session_.macroRunner().stop();
}

void MainController::togglePlayMode() {
    session_.macroRunner().togglePlayMode();
}

} // namespace kst
