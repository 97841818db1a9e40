#include "frm_main.h"

#include "controls.h"
#include "form_layout.h"
#include "notation/styled_log.h"
#include "pictures.h"
#include "platform/runtime_error.h"
#include "platform/serial/com_port_map.h"
#include "platform/services.h"
#include "port_settings.h"
#include "status_bar.h"
#include "storage/profile_schema.h"
#include "tool_bar.h"
#include "tools/control_char_table.h"
#include "widget_surface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTimer>

namespace kst {

namespace {

const QString Monitoring = QStringLiteral("frMonitoring");

} // namespace

QSize frmMain::primaryScreenPixels() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

frmMain::frmMain(QString programFolder, QSize screenPixels, QWidget* parent)
    : QMainWindow(parent), programFolder_(std::move(programFolder)), screen_(screenPixels),
      ini_(programFolder_), supportConnStr_(supportConnStr(programFolder_)),
      surface_(std::make_unique<WidgetSurface>(this)) {
    useDevices(comm::CommControl::portsFolderDevices(programFolder_));
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    setWindowIcon(pictures::appIcon());
    buildControls();
    buildMenus();
    buildTimers();
    connectProfileControls();
    resize(960, 720);
}

frmMain::~frmMain() = default;

void frmMain::useDevices(const comm::DeviceFactory& factory) {
    mscomm1_ = std::make_unique<comm::CommControl>(factory);
    mscomm2_ = std::make_unique<comm::CommControl>(factory);
}

QString frmMain::helpFilePath() const {
    return programFolder_ + QStringLiteral("/KestrelonHelp.chm");
}

QString frmMain::supportDatabasePath() const {
    return supportDbPath(programFolder_);
}

QTimer* frmMain::timer(const QString& name) const {
    return findChild<QTimer*>(name, Qt::FindDirectChildrenOnly);
}

ImageControl* frmMain::imgLedSample(int index) const {
    return control<ImageControl>(QStringLiteral("imgLedSample"), index);
}

// ---------------------------------------------------------------------------------------
// Start-up

void frmMain::Form_Load() {
    try {
        state_.MacroWaiting = false;
        // Without the support database nothing is created and the program ends.
        if (!FileExists(supportDatabasePath())) {
            msgBox(QStringLiteral("Initial DLL file missing, program will be ended!\n"
                                  "If the problem persists, please reinstall the program."),
                   MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Initialization Error:"));
            endProgramNow();
            return;
        }
        if (!FileExists(ini_.iniPath()))
            ini_.Create_File();
        if (!FileExists(ini_.defaultProfilePath()))
            CreateDB(ini_.defaultProfilePath(), IniFile::defaultProfileTitle());
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

void frmMain::InitMainWindow() {
    try {
        if (isCompactScreen(screen_))
            applyCompactLayout();
        setInitialControlState();
        state_.MacroState = 0;
        state_.StartupPending = true;
        ini_.ReadIniFile();
        // Visible before the profile is opened, so its messages have a window to sit on.
        showMaximized();
        OpenSettingsFile();
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Loading MainForm Error:"), e, QStringLiteral("Error number: "));
    }
}

void frmMain::applyCompactLayout() {
    compact_ = true;
    ssTab1_->hide();
    control(QStringLiteral("Frame5"))->hide();
    menuItem(QStringLiteral("mnuHide"))->setVisible(false);
    menuItem(QStringLiteral("mnuAscii"))->setVisible(true);
    compactPanes(*surface_, innerHeightTwips(), statusHeightTwips());
    // The LED row follows the frame it belongs under, as it does when the pane is hidden
    // from the menu.
    placeLedRow(*surface_, surface_->get(Monitoring, Prop::Left));
}

void frmMain::setControlsEnabled(const QStringList& names, bool enabled) {
    for (const QString& name : names) {
        if (QAction* item = menuItem(name))
            item->setEnabled(enabled);
        else if (QWidget* widget = control(name))
            widget->setEnabled(enabled);
    }
}

void frmMain::setInitialControlState() {
    QStringList ledLabels, ledImages;
    for (const QString& led : ledNames()) {
        ledLabels << QStringLiteral("lbl") + led;
        ledImages << QStringLiteral("img") + led;
    }

    imgLedSample(0)->hide();
    imgLedSample(1)->hide();
    for (const QString& image : ledImages)
        control<ImageControl>(image)->setPicture(imgLedSample(0)->picture());

    control(QStringLiteral("lblQuotient"))->hide();
    control(QStringLiteral("lblRemainder"))->hide();
    control(QStringLiteral("txtRemainder"))->hide();
    surface_->set(QStringLiteral("txtResult"), Prop::Width, 2550);

    FillControlCharTable(listView1_);

    state_.TxFormat = 1;
    state_.RxFormat = 1;
    control<QRadioButton>(QStringLiteral("Option1"), 1)->setChecked(true);
    control<QRadioButton>(QStringLiteral("Option2"), 1)->setChecked(true);
    state_.CalcNotation = 1;
    state_.CalcOperation = 0;

    setControlsEnabled({"mnuPortClose", "txtMacros", "cboMacros"}, false);
    for (int button : {24, 29, 30, 31, 32})
        toolbar_->setButtonEnabled(button, false);
    setControlsEnabled({"mnuAutoResp", "mnuMacro", "mnuRun", "mnuPause", "mnuStop", "mnuContinue"},
                       false);

    statusBar_->setPanelPicture(QStringLiteral("Ball"), 1);
    statusBar_->setPanelText(QStringLiteral("Ball"), QStringLiteral("Port closed"));

    setControlsEnabled({"Label4"}, false);
    setControlsEnabled(ledLabels, false);
    setControlsEnabled(ledImages, false);
    setControlsEnabled(
        {"lblCmdDelay", "lblCmdDelay1", "lblCmdRepeat", "lblCmdInterval", "lblCmdInterval1"},
        false);

    control<LineControl>(QStringLiteral("Line1"))->setBorderColor(syscolor::ScrollBar);
    control<LineControl>(QStringLiteral("Line2"))->setBorderColor(syscolor::ScrollBar);

    setControlsEnabled({"txtCmdDelay", "txtCmdRepeat", "txtCmdInterval", "Combo1", "Text3", "Send"},
                       false);
    for (int k = 0; k < 16; ++k) {
        control(QStringLiteral("cmdFreqused"), k)->setEnabled(false);
        control(QStringLiteral("cmdProBut"), k)->setEnabled(false);
    }
    setControlsEnabled({"Frame3", "Frame4", "Option6(0)", "Option6(1)"}, false);
}

// ---------------------------------------------------------------------------------------
// Shutdown

void frmMain::mnuExit_Click() {
    closePorts();
    close();
}

void frmMain::closePorts() {
    for (comm::CommControl* port : {mscomm1_.get(), mscomm2_.get()}) {
        try {
            if (port->PortOpen())
                port->setPortOpen(false);
        } catch (const RunTimeError&) {
        }
    }
}

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window is never refused.
    event->accept();
    Form_Unload();
}

void frmMain::Form_Unload() {
    if (unloading_)
        return;
    unloading_ = true;
    try {
        ExitSave();
    } catch (const RunTimeError& e) {
        showFailure(QStringLiteral("Form Unload Error:"), e);
    }
    QList<QPointer<QWidget>> others;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window != this && !isAncestorOf(window))
            others << window;
    }
    for (const QPointer<QWidget>& window : others) {
        if (window)
            window->close();
    }
    // The ports' reader threads stop before the process ends.
    closePorts();
    Platform::ender().endProgram();
}

void frmMain::endProgramNow() {
    unloading_ = true;
    hide();
    closePorts();
    Platform::ender().endProgram();
}

// ---------------------------------------------------------------------------------------
// Layout

int frmMain::innerHeightTwips() const {
    int menu = 0;
    if (QWidget* bar = menuWidget(); bar && !menuBar()->isNativeMenuBar())
        menu = bar->isVisible() ? bar->height() : bar->sizeHint().height();
    return toTwips(height() - menu);
}

int frmMain::statusHeightTwips() const {
    return toTwips(statusBar_->height());
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    toolbar_->resize(width(), toolbar_->height());
    resizePanes(*surface_, innerHeightTwips(), statusHeightTwips());
}

void frmMain::mnuHide_Click() {
    QAction* item = menuItem(QStringLiteral("mnuHide"));
    QWidget* calculator = control(QStringLiteral("Frame5"));
    TwipsSurface& form = *surface_;
    if (!item->isChecked()) {
        item->setChecked(true);
        ssTab1_->hide();
        calculator->hide();
        form.set(Monitoring, Prop::Left, form.get(QStringLiteral("SSTab1"), Prop::Left));
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        resize(toPixels(windowWidthForMonitoring(form)), toPixels(toTwips(screen_.height()) - 800));
    } else {
        item->setChecked(false);
        ssTab1_->show();
        calculator->show();
        form.set(Monitoring, Prop::Left, monitoringLeftBesidePane(form));
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    placeLedRow(form, form.get(Monitoring, Prop::Left));
}

void frmMain::mnuHideSend_Click() {
    QAction* item = menuItem(QStringLiteral("mnuHideSend"));
    const bool hide = !item->isChecked();
    control(QStringLiteral("frSend"))->setVisible(!hide);
    item->setChecked(hide);
    placeLogControls(*surface_, hide, innerHeightTwips(), statusHeightTwips());
}

// ---------------------------------------------------------------------------------------
// Port list and status bar

void frmMain::ListComPorts() {
    comm::CommControl& port = *mscomm1_;
    // Every step goes on after a failure: a port that fails is just not listed.
    try {
        if (port.PortOpen())
            port.setPortOpen(false);
    } catch (const RunTimeError&) {
    }
    comm::ComPortMap links(programFolder_);
    if (hooks_.discoverDevices)
        links.linkNewDevices(hooks_.discoverDevices());
    else
        links.linkNewDevices();

    // Presence does not depend on the line settings: probe with settings every line
    // can run, so a setting it cannot (4 data bits) does not hide every port.
    const QString settings = port.Settings();
    port.setSettings(QStringLiteral("9600,N,8,1"));
    QList<int> present;
    for (int n = 1; n <= 16; ++n) {
        try {
            port.setCommPort(n);
            port.setPortOpen(true);
            if (port.PortOpen()) {
                present << n;
                port.setPortOpen(false);
            }
        } catch (const RunTimeError& e) {
            if (e.number() == err::PortAlreadyOpen)
                present << n;
        }
    }
    try {
        port.setSettings(settings);
    } catch (const RunTimeError&) {
    }
    FillPortList(present);
}

void frmMain::FillPortList(const QList<int>& presentPorts) {
    const QStringList entries = portListEntries(presentPorts);
    {
        // Filling the list is no choice of the user: the list's Click does not run.
        const QSignalBlocker blocker(portChoice_);
        portChoice_->clear();
        portChoice_->addItems(entries);
        portChoice_->setCurrentIndex(-1);
    }
    if (entries == QStringList{noPortPlaceholder()})
        msgBox(QStringLiteral("No COM port found or COM port number is over 16!"),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("COM port checking"));
}

void frmMain::ComSettings() {
    const QString settings =
        portSettingsString(control<QComboBox>(QStringLiteral("BaudChoice"))->currentText(),
                           control<QComboBox>(QStringLiteral("ParityChoice"))->currentText(),
                           control<QComboBox>(QStringLiteral("DataBitChoice"))->currentText(),
                           control<QComboBox>(QStringLiteral("StopBitChoice"))->currentText());
    statusBar_->setPanelText(QStringLiteral("Setting"),
                             settingPanelText(settings, state_.HandshakeName));
    statusBar_->setPanelText(QStringLiteral("Status"), statusPanelText(portChoice_->currentText()));
}

std::optional<int> frmMain::portIndexToStore() const {
    QStringList entries;
    for (int i = 0; i < portChoice_->count(); ++i)
        entries << portChoice_->itemText(i);
    return storablePortIndex(entries, portChoice_->currentIndex());
}

void frmMain::portChoice_KeyPress(int keyAscii) {
    if (keyAscii == 13)
        OpenPort();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == portChoice_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            portChoice_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kst
