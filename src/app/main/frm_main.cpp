#include "app/main/frm_main.h"

#include "platform/desktop/checked_field.h"

#include "app/main/controls.h"
#include "app/main/form_layout.h"
#include "app/main/main_controller.h"
#include "app/main/pictures.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "app/main/widget_surface.h"
#include "app/port/port_list.h"
#include "app/profiles/log_rich_text.h"
#include "app/profiles/profile_control.h"
#include "app/receiving/receive_options.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/bgr_color.h"
#include "platform/services.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace kst {

namespace {

const QString Monitoring = QStringLiteral("frMonitoring");

} // namespace

QSize frmMain::primaryScreenPixels() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->size() : QSize(1024, 768);
}

frmMain::frmMain(QString programFolder, QSize screenPixels, Scheduler* scheduler, QWidget* parent)
    : QMainWindow(parent), screen_(screenPixels),
      session_(std::make_unique<Session>(std::move(programFolder),
                                         scheduler ? *scheduler : Platform::scheduler())),
      surface_(std::make_unique<WidgetSurface>()) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(appTitle());
    setWindowIcon(pictures::appIcon());
    buildControls();
    buildMenus();
    log_ = std::make_unique<StyledLog>(ui_.responseBox);
    // A paste into a word processor keeps the log's colours and styles.
    ui_.responseBox->addCopyFormat(
        {{QStringLiteral("text/rtf"), QStringLiteral("application/rtf")}, LogRtf});
    controller_ = std::make_unique<MainController>(*this, *session_);
    commands_ = controller_.get();
    connectControls();
    resize(960, 720);
}

frmMain::~frmMain() {
    // The controller goes before the widgets do: what a closing widget still signals
    // (a list losing the focus) must not reach it.
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

void frmMain::setCommands(MainCommands* commands) {
    commands_ = commands ? commands : controller_.get();
}

void frmMain::Form_Load() {
    controller_->Form_Load();
}

void frmMain::InitMainWindow() {
    controller_->InitMainWindow();
}

void frmMain::connectControls() {
    connect(ui_.Toolbar1, &KeyedToolBar::buttonClick, this, &frmMain::Toolbar1_ButtonClick);
    for (QComboBox* list :
         {ui_.portChoice, ui_.BaudChoice, ui_.DataBitChoice, ui_.ParityChoice, ui_.StopBitChoice}) {
        connect(list, &QComboBox::currentIndexChanged, this,
                [this] { controller_->portList().ComSettings(); });
    }
    ReceiveOptions& receive = controller_->receiveOptions();
    connect(ui_.Check1, &QCheckBox::toggled, this, [&receive] { receive.Check1_Click(); });
    connect(ui_.Check2, &QCheckBox::toggled, this, [&receive] { receive.Check2_Click(); });
    connect(ui_.Check3, &QCheckBox::toggled, this, [&receive] { receive.Check3_Click(); });
    connect(ui_.CbTimer, &QComboBox::currentIndexChanged, this,
            [&receive] { receive.CbTimer_Click(); });
    for (int index = 0; index < static_cast<int>(ui_.Option2.size()); ++index) {
        connect(ui_.Option2[static_cast<size_t>(index)], &QRadioButton::toggled, this,
                [&receive, index](bool chosen) {
                    if (chosen)
                        receive.Option2_Click(index);
                });
    }
    connect(ui_.Clear, &QPushButton::clicked, this, [&receive] { receive.Clear_Click(); });
    LogSearchControl& search = controller_->logSearch();
    connect(log_.get(), &StyledLog::changed, this, [&search](qint64 from, qint64 removed) {
        search.responseBox_ContentsChange(from, removed);
        search.responseBox_Change();
    });
    // Told from the event loop: the write that filled the log runs to its end first.
    connect(
        log_.get(), &StyledLog::full, this,
        [](const QString& message) { msgBox(message, MsgIcon::Exclamation); },
        Qt::QueuedConnection);
    connect(ui_.Text2, &QLineEdit::textChanged, this, [&search] { search.Text2_Change(); });
    connect(ui_.Text2, &QLineEdit::returnPressed, this, [&search] { search.Text2_KeyPress(13); });
    connect(ui_.cmdSearch, &QPushButton::clicked, this, [&search] { search.cmdSearch_Click(); });
    new CheckedField(ui_.Text2, {}, this);
    ProfileControl& profile = controller_->profile();
    connect(ui_.cboMacros, &QComboBox::activated, this, [&profile] { profile.cboMacros_Click(); });
    connect(ui_.cmdClearNotes, &QPushButton::clicked, this,
            [&profile] { profile.cmdClearNotes_Click(); });
    connect(ui_.cmdSaveNotes, &QPushButton::clicked, this,
            [&profile] { profile.cmdSaveNotes_Click(); });
    PortControl& port = controller_->port();
    connect(ui_.ledImage(Led::BRK), &ImageControl::clicked, this, [&port] { port.imgBRK_Click(); });
    connect(ui_.ledImage(Led::DTR), &ImageControl::clicked, this, [&port] { port.imgDTR_Click(); });
    connect(ui_.ledImage(Led::RTS), &ImageControl::clicked, this, [&port] { port.imgRTS_Click(); });
    SendPane& pane = controller_->sendPane();
    connect(ui_.Send, &QPushButton::clicked, this, [&pane] { pane.Send_Click(); });
    connect(ui_.cmdStop, &QPushButton::clicked, this, [&pane] { pane.cmdStop_Click(); });
    connect(ui_.Combo1, &QComboBox::editTextChanged, this, [&pane] { pane.Combo1_Change(); });
    connect(ui_.Combo1, &QComboBox::activated, this, [&pane] { pane.Combo1_Change(); });
    connect(ui_.Text3, &QLineEdit::textChanged, this, [&pane] { pane.Text3_Change(); });
    connect(ui_.txtCmdRepeat, &QLineEdit::textChanged, this,
            [&pane] { pane.txtCmdRepeat_Change(); });
    for (int i = 0; i < 5; ++i) {
        connect(ui_.Option1[static_cast<size_t>(i)], &QAbstractButton::clicked, this,
                [&pane, i] { pane.Option1_Click(i); });
    }
    SendButtons& buttons = controller_->buttons();
    for (int i = 0; i < 2; ++i) {
        connect(ui_.Option3[static_cast<size_t>(i)], &QAbstractButton::clicked, this,
                [&buttons, i] { buttons.Option3_Click(i); });
        connect(ui_.Option6[static_cast<size_t>(i)], &QAbstractButton::clicked, this,
                [&buttons, i] { buttons.Option6_Click(i); });
    }
    for (int k = 0; k < 16; ++k) {
        connect(ui_.cmdFreqused[static_cast<size_t>(k)], &QAbstractButton::clicked, this,
                [&buttons, k] { buttons.cmdFreqused_Click(k); });
        connect(ui_.cmdProBut[static_cast<size_t>(k)], &QAbstractButton::clicked, this,
                [&buttons, k] { buttons.cmdProBut_Click(k); });
    }
}

// ---------------------------------------------------------------------------------------
// The styled log

void frmMain::Add_Color(const QString& label, const DisplayStyle& labelStyle, const QString& body,
                        const DisplayStyle& bodyStyle) {
    log_->setFontSizeIndex(session_->shared().Prefs.fontSizeIndex);
    log_->Add_Color(label, labelStyle, body, bodyStyle);
}

void frmMain::setLogBackground(quint32 bgr) {
    QPalette palette = ui_.responseBox->palette();
    palette.setColor(QPalette::Base, colorFromBgr(bgr));
    ui_.responseBox->setPalette(palette);
}

void frmMain::describe(const QString& message) {
    const SharedState& shared = session_->shared();
    if (session_->MSComm1().PortOpen() && shared.Prefs.bolDescription)
        Add_Color(message, shared.Prefs.messageStyle());
}

// ---------------------------------------------------------------------------------------
// Shutdown

void frmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window is never refused.
    event->accept();
    controller_->Form_Unload();
}

// ---------------------------------------------------------------------------------------
// Layout

TwipsSurface& frmMain::surface() {
    return *surface_;
}

int frmMain::innerHeightTwips() const {
    int menu = 0;
    if (QWidget* bar = menuWidget(); bar && !menuBar()->isNativeMenuBar())
        menu = bar->isVisible() ? bar->height() : bar->sizeHint().height();
    return toTwips(height() - menu);
}

int frmMain::statusHeightTwips() const {
    return toTwips(ui_.StatusBar1->height());
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void frmMain::Form_Resize() {
    ui_.Toolbar1->resize(width(), ui_.Toolbar1->height());
    resizePanes(*surface_, innerHeightTwips(), statusHeightTwips());
}

void frmMain::applyCompactLayout() {
    compact_ = true;
    ui_.SSTab1->hide();
    ui_.Frame5->hide();
    menus_.mnuHide->setVisible(false);
    menus_.mnuAscii->setVisible(true);
    compactPanes(*surface_, innerHeightTwips(), statusHeightTwips());
    // The LED row follows the frame it belongs under, as it does when the pane is hidden
    // from the menu.
    placeLedRow(*surface_, surface_->get(Monitoring, Prop::Left));
}

void frmMain::toggleCalculatorPane() {
    QAction* item = menus_.mnuHide;
    TwipsSurface& form = *surface_;
    if (!item->isChecked()) {
        item->setChecked(true);
        ui_.SSTab1->hide();
        ui_.Frame5->hide();
        form.set(Monitoring, Prop::Left, form.get(QStringLiteral("SSTab1"), Prop::Left));
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowFullScreen));
        resize(toPixels(windowWidthForMonitoring(form)), toPixels(toTwips(screen_.height()) - 800));
    } else {
        item->setChecked(false);
        ui_.SSTab1->show();
        ui_.Frame5->show();
        form.set(Monitoring, Prop::Left, monitoringLeftBesidePane(form));
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    placeLedRow(form, form.get(Monitoring, Prop::Left));
}

void frmMain::toggleSendPane() {
    QAction* item = menus_.mnuHideSend;
    const bool hide = !item->isChecked();
    ui_.frSend->setVisible(!hide);
    item->setChecked(hide);
    placeLogControls(*surface_, hide, innerHeightTwips(), statusHeightTwips());
}

// ---------------------------------------------------------------------------------------
// Keys

void frmMain::portChoice_KeyPress(int keyAscii) {
    if (keyAscii == 13)
        mnuPortOpen_Click();
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_.portChoice && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            portChoice_KeyPress(13);
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kst
