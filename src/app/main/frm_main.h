#pragma once

#include "app/main/main_commands.h"
#include "app/main/main_controls.h"
#include "app/main/main_view.h"
#include "notation/display_style.h"

#include <QMainWindow>
#include <QSize>
#include <QString>
#include <memory>

namespace kst {

class MainController;
class Scheduler;
class Session;
class StyledLog;
class TwipsSurface;
class WidgetSurface;
enum class ToolButton : int;

// The main window: its controls at their design places, the menus, the toolbar, the
// status bar and the layout of the panes. Its handlers keep their traditional names
// and forward to the commands (MainCommands); what the program does lives in the
// session and the controller; the controller's parts see the window as a MainView.
class frmMain : public QMainWindow, public MainView {
    Q_OBJECT
public:
    static QSize primaryScreenPixels();

    // `scheduler`: the timers of the session's engines; by default the platform's.
    explicit frmMain(QString programFolder, QSize screenPixels = primaryScreenPixels(),
                     Scheduler* scheduler = nullptr, QWidget* parent = nullptr);
    ~frmMain() override;

    Session& session() { return *session_; }
    const Session& session() const { return *session_; }
    const MainControls& ui() const override { return ui_; }
    const MainMenus& menus() const override { return menus_; }
    QWidget* widget() override { return this; }
    QSize screenPixels() const { return screen_; }

    // The program's controller, which owns the parts.
    MainController& controller() { return *controller_; }

    // Where the handlers send the commands: the controller, or (in tests) a recorder.
    MainCommands& commands() override { return *commands_; }
    void setCommands(MainCommands* commands);

    // Start-up, inside the splash timer's tick, and the start-up state (see the controller).
    void Form_Load();
    void InitMainWindow();

    // Menus and toolbar: each forwards to its command.
    void mnuNew_Click() { commands().newProfile(); }
    void mnuOpenSettings_Click() { commands().openProfile(); }
    void mnuSaveSettings_Click() { commands().saveProfileAs(); }
    void mnuSave_Click() { commands().saveLog(); }
    void mnuOpenLog_Click() { commands().openLog(); }
    void mnuExit_Click() { commands().exitProgram(); }
    void mnuDebugging_Click() { commands().switchToDebugging(); }
    void mnuMonitoring_Click() { commands().switchToMonitoring(); }
    void mnuPortOpen_Click() { commands().openPort(); }
    void mnuPortClose_Click() { commands().closePort(); }
    void mnuSettings_Click() { commands().advancedSettings(); }
    void mnuHide_Click() { commands().toggleCalculatorPane(); }
    void mnuHideSend_Click() { commands().toggleSendPane(); }
    void mnuAutoResp_Click() { commands().toggleAutoResponse(); }
    void mnuRun_Click() { commands().runMacro(); }
    void mnuPause_Click() { commands().pauseMacro(); }
    void mnuStop_Click() { commands().stopMacro(); }
    void mnuContinue_Click() { commands().togglePlayMode(); }
    void mnuAscii_Click() { commands().showAsciiChart(); }
    void mnuCal_Click() { commands().showCalculator(); }
    void mnuProgBut_Click() { commands().editButtons(); }
    void mnuProgAutoResp_Click() { commands().editAutoResponse(); }
    void mnuProgMacros_Click() { commands().editMacros(); }
    void mnuOptions_Click() { commands().editOptions(); }
    void mnuImport_Click() { commands().importProfile(); }
    void mnuAbout_Click() { commands().showAbout(); }
    void mnuContents_Click() { commands().showHelp(); }
    void Toolbar1_ButtonClick(ToolButton button);
    void portChoice_KeyPress(int keyAscii);

    // The styled log view.
    void Add_Color(const QString& label, const DisplayStyle& labelStyle,
                   const QString& body = QString(), const DisplayStyle& bodyStyle = {}) override;
    StyledLog& log() override { return *log_; }
    // The log view's back colour, 0x00BBGGRR.
    void setLogBackground(quint32 bgr) override;
    // An informational line ("# # # ... # # #"): written in the message style, only while
    // the port is open and Description is ticked.
    void describe(const QString& message) override;

    // Layout.
    void Form_Resize();
    bool isCompactLayout() const { return compact_; }
    // The compact layout of a small screen: the tab and calculator panes hidden.
    void applyCompactLayout();
    // Hides the tab and calculator panes, or shows them again (View menu).
    void toggleCalculatorPane();
    // Hides the send pane and moves the log up into its place, or the reverse.
    void toggleSendPane();
    TwipsSurface& surface();
    int innerHeightTwips() const;
    int statusHeightTwips() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void buildLeftPane(QWidget* form);
    void buildMonitoringFrame(QWidget* form);
    void buildSendPane(QWidget* monitoring);
    void buildLedRow(QWidget* form);
    void buildToolbar(QWidget* form);
    void buildMenus();
    void connectControls();

    QSize screen_;
    std::unique_ptr<Session> session_;
    MainControls ui_;
    MainMenus menus_;
    std::unique_ptr<WidgetSurface> surface_;
    std::unique_ptr<StyledLog> log_;
    std::unique_ptr<MainController> controller_;
    MainCommands* commands_ = nullptr;
    bool compact_ = false;
};

} // namespace kst
