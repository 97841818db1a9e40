#pragma once

#include "main_state.h"
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
class QComboBox;
class QPlainTextEdit;
class QTimer;
class QTreeWidget;

namespace kst {

class ImageControl;
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
    // The steps of start-up and shutdown that belong to the serial and storage layers.
    // Each one that is not set is skipped.
    struct Hooks {
        // Builds the default profile (full path and file title) from the templates and
        // opens it. Raises RunTimeError on failure.
        std::function<void(const QString& fileName, const QString& fileTitle)> CreateDB;
        // Opens the last, the chosen or the default profile and loads it.
        std::function<void()> OpenSettingsFile;
        // The COM numbers (1..16) present on this machine, probed with the port closed.
        std::function<QList<int>()> probeComPorts;
        // File > Exit closes both ports before the window closes.
        std::function<void()> closePorts;
        // The exit save into the profile, when a preference asks for it. Raises
        // RunTimeError on failure.
        std::function<void()> exitSave;
    };

    static QSize primaryScreenPixels();

    explicit frmMain(QString programFolder, QSize screenPixels = primaryScreenPixels(),
                     QWidget* parent = nullptr);
    ~frmMain() override;

    Hooks& hooks() { return hooks_; }
    MainState& state() { return state_; }
    const MainState& state() const { return state_; }
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
    void OpenSettingsFile();

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
    virtual void mnuAutoResp_Click() {}
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

    QString programFolder_;
    QSize screen_;
    IniFile ini_;
    MainState state_;
    Hooks hooks_;
    QString supportConnStr_;
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
