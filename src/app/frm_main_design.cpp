// The design of the main window: every control with its object name, its place in twips
// (relative to its container) and its design-time state.

#include "controls.h"
#include "form_layout.h"
#include "frm_main.h"
#include "notation/notation.h"
#include "pictures.h"
#include "port_settings.h"
#include "status_bar.h"
#include "tool_bar.h"
#include "tools/control_char_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QTreeWidget>
#include <array>

namespace kst {

namespace {

QString element(const QString& name, int index) {
    return name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

template <class W>
W* place(W* widget, const QString& name, int left, int top, int width, int height) {
    widget->setObjectName(name);
    widget->setGeometry(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
    return widget;
}

QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
              int width, int height) {
    return place(new QLabel(caption, parent), name, left, top, width, height);
}

QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                    int width, int height) {
    return place(new QPushButton(caption, parent), name, left, top, width, height);
}

QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                    int width, int height) {
    return place(new QCheckBox(caption, parent), name, left, top, width, height);
}

QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                 int width, int height) {
    return place(new QGroupBox(caption, parent), name, left, top, width, height);
}

QLineEdit* textBox(QWidget* parent, const QString& name, const QString& text, int maxLength,
                   int left, int top, int width, int height) {
    auto* box = place(new QLineEdit(text, parent), name, left, top, width, height);
    if (maxLength > 0)
        box->setMaxLength(maxLength);
    return box;
}

// One row of notation option buttons "Dec", "Hex", "Oct", "Bin", "ASCII" (index = NotationCode).
void notationOptions(QWidget* parent, const QString& name, int top, int height) {
    static constexpr std::array<const char*, 5> Captions = {"Dec", "Hex", "Oct", "Bin", "ASCII"};
    for (int i = 0; i < 5; ++i) {
        const auto at = static_cast<size_t>(i);
        place(new QRadioButton(QString::fromLatin1(Captions[at]), parent), element(name, i),
              90 + 600 * i, top, i == 4 ? 690 : 600, height);
    }
}

QComboBox* listBox(QWidget* parent, const QString& name, const QStringList& entries) {
    auto* list = new QComboBox(parent);
    list->setObjectName(name);
    list->addItems(entries);
    list->setCurrentIndex(-1);
    return list;
}

QLabel* caption(QWidget* parent, const QString& name, const QString& text) {
    auto* field = new QLabel(text, parent);
    field->setObjectName(name);
    return field;
}

} // namespace

void frmMain::buildControls() {
    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("frmMainClient"));
    // The design was drawn for a narrow 8-point face; a semi-condensed face keeps the
    // captions inside their controls where the system's sans face is wider.
    QFont font = form->font();
    font.setPointSize(8);
    font.setStretch(QFont::SemiCondensed);
    form->setFont(font);
    setCentralWidget(form);

    buildToolbar(form);
    buildLeftPane(form);
    buildMonitoringFrame(form);
    buildLedRow(form);

    statusBar_ = new PanelStatusBar(this);
    statusBar_->setFixedHeight(22);
    statusBar_->setPanelText(QStringLiteral("Status"), QStringLiteral("COM Port Status:"));
    statusBar_->setPanelText(QStringLiteral("AutoResp"), QStringLiteral("Auto-Response: OFF "));
    setStatusBar(statusBar_);
}

void frmMain::buildToolbar(QWidget* form) {
    toolbar_ = new KeyedToolBar(form);
    toolbar_->setGeometry(0, 0, width(), toPixels(450));
    toolbar_->addKeyedButton(1, QStringLiteral("Save"), 1, QStringLiteral("Save Log"));
    toolbar_->addKeyedButton(2, QStringLiteral("Help"), 2, QStringLiteral("Help"));
    toolbar_->addSeparatorAt(3);
    toolbar_->addKeyedButton(4, QStringLiteral("Connect"), 3, QStringLiteral("Disconnected"));

    // The port and its line settings sit on the toolbar, in the room its placeholders keep.
    auto* portGroup = new QWidget(toolbar_);
    portGroup->setObjectName(QStringLiteral("portSettingsGroup"));
    auto* portRow = new QHBoxLayout(portGroup);
    portRow->setContentsMargins(6, 0, 6, 0);
    portRow->setSpacing(4);
    portChoice_ = listBox(portGroup, QStringLiteral("portChoice"), {});
    portChoice_->setMinimumWidth(48);
    portChoice_->installEventFilter(this);
    const std::array<std::pair<int, QComboBox*>, 5> fields = {{
        {0, portChoice_},
        {4, listBox(portGroup, QStringLiteral("BaudChoice"), baudRateEntries())},
        {3, listBox(portGroup, QStringLiteral("DataBitChoice"), dataBitEntries())},
        {2, listBox(portGroup, QStringLiteral("ParityChoice"), parityEntries())},
        {1, listBox(portGroup, QStringLiteral("StopBitChoice"), stopBitEntries())},
    }};
    static const QStringList captions = {"Port", "Stop", "Parity", "Data", "Baud"};
    for (const auto& [index, list] : fields) {
        portRow->addWidget(
            caption(portGroup, element(QStringLiteral("txtport"), index), captions[index]));
        portRow->addWidget(list);
        if (index != 0)
            portRow->addSpacing(4);
        connect(list, &QComboBox::currentIndexChanged, this, [this] { ComSettings(); });
    }
    toolbar_->addPlaceholders(5, 22, portGroup);

    toolbar_->addSeparatorAt(23);
    toolbar_->addKeyedButton(24, QStringLiteral("AutoRespOnOff"), 5,
                             QStringLiteral("Auto-Response: OFF"));
    toolbar_->addSeparatorAt(25);

    auto* macroGroup = new QWidget(toolbar_);
    macroGroup->setObjectName(QStringLiteral("macroGroup"));
    auto* macroRow = new QHBoxLayout(macroGroup);
    macroRow->setContentsMargins(6, 0, 4, 0);
    macroRow->setSpacing(4);
    macroRow->addWidget(caption(macroGroup, QStringLiteral("txtMacros"), QStringLiteral("Macro")));
    auto* macros =
        listBox(macroGroup, QStringLiteral("cboMacros"), {"1", "2", "3", "4", "5", "6", "7", "8"});
    macroRow->addWidget(macros);
    toolbar_->addPlaceholders(26, 28, macroGroup);

    toolbar_->addKeyedButton(29, QStringLiteral("macrosPlay"), 7, QStringLiteral("Run"));
    toolbar_->addKeyedButton(30, QStringLiteral("macrosPause"), 8, QStringLiteral("Pause"));
    toolbar_->addKeyedButton(31, QStringLiteral("macrosStop"), 9, QStringLiteral("Stop"));
    toolbar_->addKeyedButton(32, QStringLiteral("macrosContinue"), 10,
                             QStringLiteral("Single play"));
    connect(toolbar_, &KeyedToolBar::buttonClick, this,
            [this](const QString& key) { Toolbar1_ButtonClick(key); });
}

void frmMain::buildLeftPane(QWidget* form) {
    // The checksum calculator.
    QGroupBox* calc = frame(form, QStringLiteral("Frame5"), QStringLiteral("Checksum Calculator"),
                            120, 600, 4800, 4020);
    label(calc, QStringLiteral("Label3"), QStringLiteral("Input operands (e.g. 10,11,)"), 120, 270,
          4560, 210);
    textBox(calc, QStringLiteral("txtOperands"), QString(), 0, 120, 510, 4560, 300);
    QGroupBox* notation = frame(calc, QStringLiteral("fraOperandsFormat"),
                                QStringLiteral("Operands format"), 120, 900, 4560, 600);
    notationOptions(notation, QStringLiteral("Option4"), 270, 270);
    control<QRadioButton>(QStringLiteral("Option4"), 1)->setChecked(true);
    QGroupBox* operators = frame(calc, QStringLiteral("fraOperator"), QStringLiteral("Operator"),
                                 120, 1560, 4560, 1260);
    struct OperatorOption {
        int index;
        const char* caption;
        int left, top, width;
    };
    // The operator index is the CalcOperator; there is no operator 8.
    static constexpr std::array<OperatorOption, 10> Operators = {
        {{0, "And", 90, 270, 720},
         {1, "Or", 810, 270, 600},
         {2, "xOr", 1410, 270, 660},
         {3, "+", 2070, 270, 480},
         {4, "-", 2550, 270, 480},
         {5, "x", 3030, 270, 480},
         {6, "\\, Mod", 90, 570, 900},
         {7, "CRC-16 (Modbus)", 1050, 570, 1650},
         {9, "Not", 2760, 570, 720},
         {10, "Rev. bit order", 90, 870, 1500}}};
    for (const OperatorOption& op : Operators)
        place(new QRadioButton(QString::fromLatin1(op.caption), operators),
              element(QStringLiteral("Option5"), op.index), op.left, op.top, op.width, 270);
    control<QRadioButton>(QStringLiteral("Option5"), 0)->setChecked(true);
    button(calc, QStringLiteral("cmdCal"), QStringLiteral("Calculate"), 120, 2910, 1080, 345)
        ->setEnabled(false);
    QLabel* modbus =
        label(calc, QStringLiteral("lblModbus"),
              QStringLiteral("Note: Append low-order byte first in Modbus"), 1320, 2970, 3360, 210);
    QPalette palette = modbus->palette();
    palette.setColor(QPalette::WindowText, toQColor(0x40C0));
    modbus->setPalette(palette);
    modbus->hide();
    label(calc, QStringLiteral("lblQuotient"), QStringLiteral("Quotient (\\)"), 720, 3330, 1650,
          210);
    label(calc, QStringLiteral("lblRemainder"), QStringLiteral("Remainder (Mod)"), 2430, 3330, 1650,
          210);
    label(calc, QStringLiteral("Label5"), QStringLiteral("Result:"), 120, 3600, 570, 210);
    textBox(calc, QStringLiteral("txtResult"), QString(), 0, 720, 3570, 1650, 300);
    textBox(calc, QStringLiteral("txtRemainder"), QString(), 0, 2430, 3570, 1650, 300);

    // The tab pane with the ASCII chart and the user's notes.
    ssTab1_ = place(new TabControl(form), QStringLiteral("SSTab1"), 120, 4710, 4800, 4500);
    QWidget* chartPage = ssTab1_->addPage(QStringLiteral("ASCII Chart"));
    listView1_ =
        place(new QTreeWidget(chartPage), QStringLiteral("ListView1"), 90, 420, 4620, 3530);
    listView1_->setHeaderLabels({"Ctrl", "Hex", "Dec", "Oct", "ASCII"});
    listView1_->setRootIsDecorated(false);
    listView1_->setUniformRowHeights(true);
    listView1_->setAllColumnsShowFocus(true);
    for (int column = 0; column < 4; ++column)
        listView1_->header()->resizeSection(column, 52);
    QWidget* notesPage = ssTab1_->addPage(QStringLiteral("User Notes"));
    place(new QPlainTextEdit(notesPage), QStringLiteral("RichTextBox1"), 90, 420, 4620, 3030);
    button(notesPage, QStringLiteral("cmdClearNotes"), QStringLiteral("Clear"), 2400, 3550, 1080,
           345);
    button(notesPage, QStringLiteral("cmdSaveNotes"), QStringLiteral("Save"), 3570, 3550, 1080,
           345);
}

void frmMain::buildMonitoringFrame(QWidget* form) {
    QGroupBox* monitoring =
        frame(form, QStringLiteral("frMonitoring"),
              QStringLiteral("Communication mode: Debugging / Simulating"), 5070, 600, 9000, 8700);
    buildSendPane(monitoring);

    // The search and receive option row.
    label(monitoring, QStringLiteral("Label2"), QStringLiteral("Search string:"), 120, 3390, 1080,
          225)
        ->setEnabled(false);
    textBox(monitoring, QStringLiteral("Text2"), QString(), 0, 1230, 3390, 2250, 300)
        ->setEnabled(false);
    button(monitoring, QStringLiteral("cmdSearch"), QStringLiteral("Search"), 3540, 3390, 840, 330)
        ->setEnabled(false);
    label(monitoring, QStringLiteral("lblSearchResult"), QString(), 4440, 3390, 1200, 225)->hide();
    checkBox(monitoring, QStringLiteral("Check1"), QStringLiteral("RX timer:"), 120, 3840, 1050,
             270);
    QComboBox* timerList =
        place(new QComboBox(monitoring), QStringLiteral("CbTimer"), 1170, 3840, 990, 300);
    timerList->addItems({"10 ms", "20 ms", "50 ms", "100 ms", "150 ms", "200 ms", "250 ms",
                         "500 ms", "1000 ms", "2000 ms", "5000 ms", "10000 ms"});
    timerList->setCurrentIndex(-1);
    timerList->setEnabled(false);
    checkBox(monitoring, QStringLiteral("Check2"), QStringLiteral("Description"), 2190, 3840, 1170,
             270);
    checkBox(monitoring, QStringLiteral("Check3"), QStringLiteral("Formatted view"), 3420, 3840,
             1440, 270);
    button(monitoring, QStringLiteral("Clear"), QStringLiteral("Clear"), 4920, 3840, 600, 330)
        ->setEnabled(false);
    QGroupBox* rxFormat = frame(monitoring, QStringLiteral("Frame2"),
                                QStringLiteral("Data format (RX)"), 5610, 3420, 3270, 780);
    notationOptions(rxFormat, QStringLiteral("Option2"), 300, 300);

    // The log view: styled runs are appended by the program; the user only reads,
    // selects and copies.
    responseBox_ =
        place(new QPlainTextEdit(monitoring), QStringLiteral("responseBox"), 120, 4240, 8760, 3360);
    responseBox_->setUndoRedoEnabled(false);
    responseBox_->setReadOnly(true);
    responseBox_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void frmMain::buildSendPane(QWidget* monitoring) {
    QGroupBox* send = frame(monitoring, QStringLiteral("frSend"),
                            QStringLiteral("Send commands ..."), 120, 240, 8760, 3000);
    label(send, QStringLiteral("Label4"),
          QStringLiteral("Append (,) after each byte of command code (e.g. 65,66,)"), 120, 240,
          6000, 210);
    auto* command = place(new QComboBox(send), QStringLiteral("Combo1"), 120, 480, 4320, 315);
    command->setEditable(true);
    command->setInsertPolicy(QComboBox::NoInsert);
    textBox(send, QStringLiteral("Text3"), QString(), 0, 4440, 480, 780, 315)->hide();
    button(send, QStringLiteral("Send"), QStringLiteral("Send"), 5250, 465, 840, 345);
    button(send, QStringLiteral("cmdStop"), QStringLiteral("Stop"), 6150, 465, 840, 345)
        ->setEnabled(false);

    label(send, QStringLiteral("lblCmdDelay"), QStringLiteral("Delay"), 120, 930, 480, 210);
    textBox(send, QStringLiteral("txtCmdDelay"), QStringLiteral("0"), 5, 600, 870, 660, 300);
    label(send, QStringLiteral("lblCmdDelay1"), QStringLiteral("ms"), 1290, 930, 240, 210);
    auto* line1 = new LineControl(send);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setPoints(toPixels(1560), toPixels(1020), toPixels(1740), toPixels(1020));
    label(send, QStringLiteral("lblCmdRepeat"), QStringLiteral("Repeat"), 1770, 930, 540, 210);
    textBox(send, QStringLiteral("txtCmdRepeat"), QStringLiteral("0"), 3, 2340, 870, 540, 300);
    auto* line2 = new LineControl(send);
    line2->setObjectName(QStringLiteral("Line2"));
    line2->setPoints(toPixels(2910), toPixels(1020), toPixels(3090), toPixels(1020));
    label(send, QStringLiteral("lblCmdInterval"), QStringLiteral("Interval"), 3120, 930, 600, 210);
    textBox(send, QStringLiteral("txtCmdInterval"), QStringLiteral("0"), 5, 3750, 870, 660, 300);
    label(send, QStringLiteral("lblCmdInterval1"), QStringLiteral("ms"), 4440, 930, 240, 210);

    QGroupBox* txFormat = frame(send, QStringLiteral("Frame1"), QStringLiteral("Data format (TX)"),
                                5250, 840, 3390, 600);
    notationOptions(txFormat, QStringLiteral("Option1"), 270, 270);

    // The two banks of 16 one-click senders, 8 to a row.
    QGroupBox* codes = frame(send, QStringLiteral("Frame3"),
                             QStringLiteral("Frequently used commands"), 120, 1500, 4260, 1380);
    place(new QRadioButton(QStringLiteral("00h - 0Fh"), codes),
          element(QStringLiteral("Option3"), 0), 120, 240, 1200, 240)
        ->setChecked(true);
    place(new QRadioButton(QStringLiteral("10h - 1Fh"), codes),
          element(QStringLiteral("Option3"), 1), 1380, 240, 1200, 240);
    QGroupBox* programmable =
        frame(send, QStringLiteral("Frame4"), QStringLiteral("Programmable buttons (hex format)"),
              4500, 1500, 4140, 1380);
    place(new QRadioButton(QStringLiteral("1-16"), programmable),
          element(QStringLiteral("Option6"), 0), 120, 240, 900, 240)
        ->setChecked(true);
    place(new QRadioButton(QStringLiteral("17-32"), programmable),
          element(QStringLiteral("Option6"), 1), 1080, 240, 960, 240);
    for (int k = 0; k < 16; ++k) {
        const int left = 120 + (k % 8) * 495;
        const int top = 540 + (k / 8) * 390;
        QPushButton* code = button(codes, element(QStringLiteral("cmdFreqused"), k),
                                   ControlCodeName(k), left, top, 480, 360);
        code->setToolTip(QString::number(k, 16).toUpper() + QLatin1Char(','));
        button(programmable, element(QStringLiteral("cmdProBut"), k), QString(), left, top, 480,
               360);
    }
}

const QStringList& frmMain::ledNames() {
    static const QStringList names = {"RX", "TX", "DSR", "CTS", "CD", "RI", "DTR", "RTS", "BRK"};
    return names;
}

void frmMain::buildLedRow(QWidget* form) {
    // Design places for a monitoring frame at 5070 twips; the layout moves the row with it.
    struct Led {
        const char* name;
        const char* caption;
        int labelWidth;
    };
    static constexpr std::array<Led, 9> Leds = {{{"RX", "RX", 270},
                                                 {"TX", "TX", 270},
                                                 {"DSR", "DSR", 405},
                                                 {"CTS", "CTS", 405},
                                                 {"CD", "DCD", 405},
                                                 {"RI", "RI", 270},
                                                 {"DTR", "DTR", 375},
                                                 {"RTS", "RTS", 405},
                                                 {"BRK", "BRK", 345}}};
    constexpr int Top = 9360;
    for (const Led& led : Leds) {
        const QString name = QString::fromLatin1(led.name);
        label(form, QStringLiteral("lbl") + name, QString::fromLatin1(led.caption), 0, Top,
              led.labelWidth, 195);
        place(new ImageControl(form), QStringLiteral("img") + name, 0, Top, 195, 195);
    }
    auto* line3 = new LineControl(form);
    line3->setObjectName(QStringLiteral("Line3"));
    line3->setPoints(0, toPixels(Top), 0, toPixels(Top + 200));
    auto* progress =
        place(new QProgressBar(form), QStringLiteral("ProgressBar1"), 0, Top, 720, 195);
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
    progress->hide(); // shown only while a profile is being made
    QLabel* description =
        label(form, QStringLiteral("lblDescription"),
              QStringLiteral("* Indicative only, accuracy depends on speed."), 0, Top, 3300, 195);
    QPalette palette = description->palette();
    palette.setColor(QPalette::WindowText, toQColor(0x40C0));
    description->setPalette(palette);
    description->hide();
    placeLedRow(*surface_, 5070);

    // The two LED pictures that the LEDs copy: 0 off, 1 on.
    for (int on = 0; on < 2; ++on) {
        auto* sample = place(new ImageControl(form), element(QStringLiteral("imgLedSample"), on), 0,
                             0, 195, 195);
        sample->setPicture(pictures::led(on == 1));
    }
}

void frmMain::buildTimers() {
    // Window timers, stopped at design time: name and interval in milliseconds.
    static constexpr std::array<std::pair<const char*, int>, 9> Timers = {{{"TimerBreak", 500},
                                                                           {"TimerNoData", 1},
                                                                           {"TimerRX", 200},
                                                                           {"TimerNoData2", 1},
                                                                           {"TimerRX2", 200},
                                                                           {"TimerSend", 0},
                                                                           {"TimerSendLED", 20},
                                                                           {"TimerStep", 0},
                                                                           {"TimerRing", 100}}};
    for (const auto& [name, interval] : Timers) {
        auto* t = new QTimer(this);
        t->setObjectName(QString::fromLatin1(name));
        t->setInterval(interval);
    }
}

} // namespace kst
