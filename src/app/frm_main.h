#pragma once

#include "main_state.h"
#include "notation/display_style.h"
#include "platform/serial/comm_control.h"
#include "shared_state.h"
#include "storage/ini_file.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QPlainTextEdit;
class QTimer;
class QTreeWidget;

namespace kst {

class ImageControl;
class StyledLog;
class KeyedToolBar;
class PanelStatusBar;
class TabControl;
class TwipsSurface;

// The main window. Its controls carry the object names the program has always used (an
// element of a control array is named "name(index)", e.g. "cmdFreqused(3)") and sit at
// their design places in twips. Its handlers keep their traditional names; the ones whose
// behaviour lives elsewhere are virtual and do nothing here.
class frmMain : public QMainWindow {
    Q_OBJECT
public:
    struct Hooks {
        // The serial devices present on this machine, which the port list links to COM
        // numbers; unset, the machine's own devices.
        std::function<QStringList()> discoverDevices;
    };

    static QSize primaryScreenPixels();

    explicit frmMain(QString programFolder, QSize screenPixels = primaryScreenPixels(),
                     QWidget* parent = nullptr);
    ~frmMain() override;

    Hooks& hooks() { return hooks_; }

    // The primary and the second serial port.
    comm::CommControl& MSComm1() { return *mscomm1_; }
    comm::CommControl& MSComm2() { return *mscomm2_; }
    // Replaces both ports' devices (tests hand in simulated lines). Only while closed.
    void useDevices(const comm::DeviceFactory& factory);
    MainState& state() { return state_; }
    const MainState& state() const { return state_; }
    SharedState& shared() { return shared_; }
    const SharedState& shared() const { return shared_; }
    IniFile& ini() { return ini_; }
    const QString& programFolder() const { return programFolder_; }
    const QString& SupportConnStr() const { return supportConnStr_; }
    QSize screenPixels() const { return screen_; }
    QString helpFilePath() const;
    QString supportDatabasePath() const;

    // Start-up, inside the splash timer's tick: checks the support database, writes the
    // missing kst.ini and default profile, then InitMainWindow.
    void Form_Load();
    // The start-up state: compact layout, initial control state, kst.ini, the window
    // shown, the profile opened.
    void InitMainWindow();

    // The profile: creation from the templates, choice at start-up, loading, the macro
    // in memory, and the exit save.
    void CreateDB(const QString& fileName, const QString& fileTitle);
    void OpenSettingsFile();
    void Open_DB(const QString& File_Name, const QString& File_Title);
    void Get_Macros_Details(int MacrosNo);
    void cboMacros_Click();
    void ExitSave();

    // Auto-response switch: the flag, the toolbar button, the status panel.
    void SetAutoResponse(bool Enabled);

    // Relabels the programmable buttons with page Index (0: buttons 1-16, 1: 17-32).
    void Option6_Click(int Index);
    // The receive options of the log pane.
    virtual void Check1_Click();
    virtual void Check2_Click();
    virtual void Check3_Click();
    virtual void CbTimer_Click();

    // The styled log view.
    void Add_Color(const QString& iText, quint32 colorNo, bool Font1, bool Font2, bool Font3,
                   const QString& sText = QString(), quint32 scolorNo = 0, bool sFont1 = false,
                   bool sFont2 = false, bool sFont3 = false);
    void Add_Color(const QString& label, const DisplayStyle& labelStyle,
                   const QString& body = QString(), const DisplayStyle& bodyStyle = {});
    StyledLog& log() { return *log_; }

    // Whether the primary port is open (MSComm1.PortOpen).
    virtual bool primaryPortOpen() const { return mscomm1_->PortOpen(); }

    // Shutdown: the exit save, every other window closed, the program ended.
    void Form_Unload();

    // Layout.
    void Form_Resize();
    bool isCompactLayout() const { return compact_; }
    TwipsSurface& surface() { return *surface_; }
    int innerHeightTwips() const;
    int statusHeightTwips() const;

    // Port list and status bar.
    void ListComPorts();
    // Fills the port list from the COM numbers found; with none, the placeholder " "
    // and the "COM port checking" box. Selects nothing.
    void FillPortList(const QList<int>& presentPorts);
    void ComSettings();
    // The port list position to store at exit: none while the list holds no real port.
    std::optional<int> portIndexToStore() const;

    // Menus and toolbar.
    virtual void mnuNew_Click() {}
    virtual void mnuOpenSettings_Click() {}
    virtual void mnuSaveSettings_Click() {}
    virtual void mnuSave_Click() {}
    virtual void mnuOpenLog_Click() {}
    virtual void mnuExit_Click();
    virtual void mnuDebugging_Click() {}
    virtual void mnuMonitoring_Click() {}
    virtual void mnuPortOpen_Click() { OpenPort(); }
    virtual void mnuPortClose_Click() { ClosePort(); }
    virtual void mnuSettings_Click() {}
    virtual void mnuHide_Click();
    virtual void mnuHideSend_Click();
    virtual void mnuAutoResp_Click();
    virtual void mnuRun_Click() {}
    virtual void mnuPause_Click() {}
    virtual void mnuStop_Click() {}
    virtual void mnuContinue_Click() {}
    virtual void mnuAscii_Click() {}
    virtual void mnuCal_Click() {}
    virtual void mnuProgBut_Click() {}
    virtual void mnuProgAutoResp_Click() {}
    virtual void mnuProgMacros_Click() {}
    virtual void mnuOptions_Click() {}
    virtual void mnuImport_Click() {}
    virtual void mnuAbout_Click() {}
    virtual void mnuContents_Click();
    virtual void OpenPort() {}
    virtual void ClosePort() {}
    void Toolbar1_ButtonClick(const QString& key);
    void portChoice_KeyPress(int keyAscii);

    // Controls.
    QAction* menuItem(const QString& name) const { return menuItems_.value(name); }
    QStringList menuItemNames() const;
    template <class T = QWidget> T* control(const QString& name) const {
        return findChild<T*>(name);
    }
    template <class T = QWidget> T* control(const QString& name, int index) const {
        return findChild<T*>(name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'));
    }
    QTimer* timer(const QString& name) const;
    KeyedToolBar* Toolbar1() const { return toolbar_; }
    PanelStatusBar* StatusBar1() const { return statusBar_; }
    TabControl* SSTab1() const { return ssTab1_; }
    QPlainTextEdit* responseBox() const { return responseBox_; }
    QTreeWidget* ListView1() const { return listView1_; }
    QComboBox* portChoice() const { return portChoice_; }
    ImageControl* imgLedSample(int index) const;

    // The nine LED images and their labels, in the order of the LED row.
    static const QStringList& ledNames();

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
    void buildTimers();
    void applyCompactLayout();
    void setInitialControlState();
    void setControlsEnabled(const QStringList& names, bool enabled);
    void endProgramNow();
    void closePorts();
    void describe(const QString& message);
    void connectProfileControls();
    void endAfterFailedLoad(const QString& fileName);
    void readSettingsRow(const QString& connStr);
    void relabelProgButtons(int page);
    QCheckBox* checkBoxNamed(const QString& name) const;

    QString programFolder_;
    QSize screen_;
    IniFile ini_;
    MainState state_;
    Hooks hooks_;
    SharedState shared_;
    QString supportConnStr_;
    std::unique_ptr<StyledLog> log_;
    std::unique_ptr<comm::CommControl> mscomm1_;
    std::unique_ptr<comm::CommControl> mscomm2_;
    // The receive-timer position the profile stores; applied after the preferences.
    int storedRxTimerIndex_ = 0;
    bool compact_ = false;
    bool unloading_ = false;

    std::unique_ptr<TwipsSurface> surface_;
    QHash<QString, QAction*> menuItems_;
    KeyedToolBar* toolbar_ = nullptr;
    PanelStatusBar* statusBar_ = nullptr;
    TabControl* ssTab1_ = nullptr;
    QPlainTextEdit* responseBox_ = nullptr;
    QTreeWidget* listView1_ = nullptr;
    QComboBox* portChoice_ = nullptr;
};

} // namespace kst
