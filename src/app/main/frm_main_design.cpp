// The design of the main window: every control with its object name, its place in twips
// (relative to its container) and its design-time state.

#include "app/main/controls.h"
#include "app/main/form_layout.h"
#include "app/main/frm_main.h"
#include "app/main/pictures.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "app/main/widget_surface.h"
#include "app/port/port_settings.h"
#include "notation/notation.h"
#include "notation/view/log_view.h"
#include "platform/desktop/long_word_wrap.h"
#include "storage/settings_lists.h"
#include "tools/control_char_table.h"
#include "tools/tool_design.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <array>

namespace kst {

namespace {

// Makes the controls of the design: each gets its object name and its place in twips
// (relative to its container), and the layout learns it under that name.
class Designer {
public:
    explicit Designer(WidgetSurface& surface) : surface_(surface) {}

    template <class W>
    W* place(W* widget, const QString& name, int left, int top, int width, int height) {
        surface_.add(name, placed(widget, name, left, top, width, height));
        return widget;
    }
    template <class W> W* named(W* widget, const QString& name) {
        widget->setObjectName(name);
        surface_.add(name, widget);
        return widget;
    }
    QLabel* label(QWidget* parent, const QString& name, const QString& caption, int left, int top,
                  int width, int height) {
        return place(new QLabel(caption, parent), name, left, top, width, height);
    }
    QPushButton* button(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
        return place(new QPushButton(caption, parent), name, left, top, width, height);
    }
    QCheckBox* checkBox(QWidget* parent, const QString& name, const QString& caption, int left,
                        int top, int width, int height) {
        return place(new QCheckBox(caption, parent), name, left, top, width, height);
    }
    QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption, int left,
                     int top, int width, int height) {
        return place(new QGroupBox(caption, parent), name, left, top, width, height);
    }
    // A field's typing limit is its checks' (CheckedField), not the line's own maximum.
    QLineEdit* textBox(QWidget* parent, const QString& name, const QString& text, int left, int top,
                       int width, int height) {
        return place(new QLineEdit(text, parent), name, left, top, width, height);
    }
    LineControl* line(QWidget* parent, const QString& name, int x1, int y1, int x2, int y2) {
        auto* line = named(new LineControl(parent), name);
        line->setPoints(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2));
        return line;
    }
    // One row of notation option buttons "Dec", "Hex", "Oct", "Bin", "ASCII" (index =
    // NotationCode).
    std::array<QRadioButton*, 5> notationOptions(QWidget* parent, const QString& name, int top,
                                                 int height) {
        const auto options = makeNotationOptions<5>(parent, name, top, height);
        for (QRadioButton* option : options)
            surface_.add(option->objectName(), option);
        return options;
    }
    QComboBox* listBox(QWidget* parent, const QString& name, const QStringList& entries) {
        auto* list = named(new QComboBox(parent), name);
        list->addItems(entries);
        list->setCurrentIndex(-1);
        return list;
    }
    QLabel* caption(QWidget* parent, const QString& name, const QString& text) {
        return named(new QLabel(text, parent), name);
    }

private:
    WidgetSurface& surface_;
};

} // namespace

void frmMain::buildControls() {
    auto* form = new QWidget(this);
    form->setObjectName(QStringLiteral("frmMainClient"));
    useDesignFont(form);
    setCentralWidget(form);

    buildToolbar(form);
    buildLeftPane(form);
    buildMonitoringFrame(form);
    buildLedRow(form);

    ui_.StatusBar1 = new PanelStatusBar(this);
    ui_.StatusBar1->setFixedHeight(22);
    ui_.StatusBar1->setPanelText(QStringLiteral("Status"), QStringLiteral("COM Port Status:"));
    ui_.StatusBar1->setPanelText(QStringLiteral("AutoResp"), QStringLiteral("Auto-Response: OFF "));
    setStatusBar(ui_.StatusBar1);
}

void frmMain::buildToolbar(QWidget* form) {
    Designer d(*surface_);
    KeyedToolBar* bar = ui_.Toolbar1 = new KeyedToolBar(form);
    bar->setGeometry(0, 0, width(), toPixels(450));
    bar->addKeyedButton(ToolButton::Save, 1, QStringLiteral("Save Log"));
    bar->addKeyedButton(ToolButton::Help, 2, QStringLiteral("Help"));
    bar->addSeparatorAt(3);
    bar->addKeyedButton(ToolButton::Connect, 3, QStringLiteral("Disconnected"));

    // The port and its line settings sit on the toolbar, in the room its placeholders keep.
    auto* portGroup = new QWidget(bar);
    portGroup->setObjectName(QStringLiteral("portSettingsGroup"));
    auto* portRow = new QHBoxLayout(portGroup);
    portRow->setContentsMargins(6, 0, 6, 0);
    portRow->setSpacing(4);
    ui_.portChoice = d.listBox(portGroup, QStringLiteral("portChoice"), {});
    ui_.portChoice->setMinimumWidth(48);
    ui_.portChoice->installEventFilter(this);
    ui_.BaudChoice = d.listBox(portGroup, QStringLiteral("BaudChoice"), baudRateEntries());
    ui_.DataBitChoice = d.listBox(portGroup, QStringLiteral("DataBitChoice"), dataBitEntries());
    ui_.ParityChoice = d.listBox(portGroup, QStringLiteral("ParityChoice"), parityEntries());
    ui_.StopBitChoice = d.listBox(portGroup, QStringLiteral("StopBitChoice"), stopBitEntries());
    const std::array<std::pair<int, QComboBox*>, 5> fields = {{
        {0, ui_.portChoice},
        {4, ui_.BaudChoice},
        {3, ui_.DataBitChoice},
        {2, ui_.ParityChoice},
        {1, ui_.StopBitChoice},
    }};
    static const QStringList captions = {"Port", "Stop", "Parity", "Data", "Baud"};
    for (const auto& [index, list] : fields) {
        ui_.txtport[static_cast<size_t>(index)] =
            d.caption(portGroup, elementName(QStringLiteral("txtport"), index), captions[index]);
        portRow->addWidget(ui_.txtport[static_cast<size_t>(index)]);
        portRow->addWidget(list);
        if (index != 0)
            portRow->addSpacing(4);
    }
    bar->addPlaceholders(5, 22, portGroup);

    bar->addSeparatorAt(23);
    bar->addKeyedButton(ToolButton::AutoRespOnOff, 5, QStringLiteral("Auto-Response: OFF"));
    bar->addSeparatorAt(25);

    auto* macroGroup = new QWidget(bar);
    macroGroup->setObjectName(QStringLiteral("macroGroup"));
    auto* macroRow = new QHBoxLayout(macroGroup);
    macroRow->setContentsMargins(6, 0, 4, 0);
    macroRow->setSpacing(4);
    ui_.txtMacros = d.caption(macroGroup, QStringLiteral("txtMacros"), QStringLiteral("Macro"));
    macroRow->addWidget(ui_.txtMacros);
    ui_.cboMacros = d.listBox(macroGroup, QStringLiteral("cboMacros"),
                              {"1", "2", "3", "4", "5", "6", "7", "8"});
    macroRow->addWidget(ui_.cboMacros);
    bar->addPlaceholders(26, 28, macroGroup);

    bar->addKeyedButton(ToolButton::MacrosPlay, 7, QStringLiteral("Run"));
    bar->addKeyedButton(ToolButton::MacrosPause, 8, QStringLiteral("Pause"));
    bar->addKeyedButton(ToolButton::MacrosStop, 9, QStringLiteral("Stop"));
    bar->addKeyedButton(ToolButton::MacrosContinue, 10, QStringLiteral("Single play"));
}

void frmMain::buildLeftPane(QWidget* form) {
    Designer d(*surface_);
    // The checksum calculator.
    QGroupBox* calc = ui_.Frame5 =
        d.frame(form, QStringLiteral("Frame5"), QStringLiteral("Checksum Calculator"), 120, 600,
                4800, 4020);
    ui_.Label3 = d.label(calc, QStringLiteral("Label3"),
                         QStringLiteral("Input operands (e.g. 10,11,)"), 120, 270, 4560, 210);
    ui_.txtOperands =
        d.textBox(calc, QStringLiteral("txtOperands"), QString(), 120, 510, 4560, 300);
    QGroupBox* notation = d.frame(calc, QStringLiteral("fraOperandsFormat"),
                                  QStringLiteral("Operands format"), 120, 900, 4560, 600);
    ui_.Option4 = d.notationOptions(notation, QStringLiteral("Option4"), 270, 270);
    ui_.Option4[1]->setChecked(true);
    QGroupBox* operators = d.frame(calc, QStringLiteral("fraOperator"), QStringLiteral("Operator"),
                                   120, 1560, 4560, 1260);
    ui_.Option5 = makeOperatorOptions(operators, QStringLiteral("Option5"));
    ui_.Option5[0]->setChecked(true);
    ui_.cmdCal =
        d.button(calc, QStringLiteral("cmdCal"), QStringLiteral("Calculate"), 120, 2910, 1080, 345);
    ui_.cmdCal->setEnabled(false);
    ui_.lblModbus = d.label(calc, QStringLiteral("lblModbus"),
                            QStringLiteral("Note: Append low-order byte first in Modbus"), 1320,
                            2970, 3360, 210);
    QPalette palette = ui_.lblModbus->palette();
    palette.setColor(QPalette::WindowText, toQColor(0x40C0));
    ui_.lblModbus->setPalette(palette);
    ui_.lblModbus->hide();
    ui_.lblQuotient = d.label(calc, QStringLiteral("lblQuotient"), QStringLiteral("Quotient (\\)"),
                              720, 3330, 1650, 210);
    ui_.lblRemainder = d.label(calc, QStringLiteral("lblRemainder"),
                               QStringLiteral("Remainder (Mod)"), 2430, 3330, 1650, 210);
    d.label(calc, QStringLiteral("Label5"), QStringLiteral("Result:"), 120, 3600, 570, 210);
    ui_.txtResult = d.textBox(calc, QStringLiteral("txtResult"), QString(), 720, 3570, 1650, 300);
    ui_.txtRemainder =
        d.textBox(calc, QStringLiteral("txtRemainder"), QString(), 2430, 3570, 1650, 300);

    // The tab pane with the ASCII chart and the user's notes.
    ui_.SSTab1 = d.place(new TabControl(form), QStringLiteral("SSTab1"), 120, 4710, 4800, 4500);
    QWidget* chartPage = ui_.SSTab1->addPage(QStringLiteral("ASCII Chart"));
    QTreeWidget* chart = ui_.ListView1 =
        d.place(new QTreeWidget(chartPage), QStringLiteral("ListView1"), 90, 420, 4620, 3530);
    setUpChart(chart, {"Ctrl", "Hex", "Dec", "Oct", "ASCII"});
    QWidget* notesPage = ui_.SSTab1->addPage(QStringLiteral("User Notes"));
    ui_.RichTextBox1 =
        d.place(new QPlainTextEdit(notesPage), QStringLiteral("RichTextBox1"), 90, 420, 4620, 3030);
    breakLongWordsAnywhere(*ui_.RichTextBox1);
    ui_.cmdClearNotes = d.button(notesPage, QStringLiteral("cmdClearNotes"),
                                 QStringLiteral("Clear"), 2400, 3550, 1080, 345);
    ui_.cmdSaveNotes = d.button(notesPage, QStringLiteral("cmdSaveNotes"), QStringLiteral("Save"),
                                3570, 3550, 1080, 345);
}

void frmMain::buildMonitoringFrame(QWidget* form) {
    Designer d(*surface_);
    QGroupBox* monitoring = ui_.frMonitoring = d.frame(
        form, QStringLiteral("frMonitoring"),
        QStringLiteral("Communication mode: Debugging / Simulating"), 5070, 600, 9000, 8700);
    buildSendPane(monitoring);

    // The search and receive option row.
    ui_.Label2 = d.label(monitoring, QStringLiteral("Label2"), QStringLiteral("Search string:"),
                         120, 3390, 1080, 225);
    ui_.Label2->setEnabled(false);
    ui_.Text2 = d.textBox(monitoring, QStringLiteral("Text2"), QString(), 1230, 3390, 2250, 300);
    ui_.Text2->setEnabled(false);
    ui_.cmdSearch = d.button(monitoring, QStringLiteral("cmdSearch"), QStringLiteral("Search"),
                             3540, 3390, 840, 330);
    ui_.cmdSearch->setEnabled(false);
    // Two lines high and as wide as the room up to Frame2, so that "String found:" and a
    // large "n/m" below it are shown whole.
    ui_.lblSearchResult =
        d.label(monitoring, QStringLiteral("lblSearchResult"), QString(), 4440, 3390, 1170, 450);
    ui_.lblSearchResult->setWordWrap(true);
    ui_.lblSearchResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ui_.lblSearchResult->hide();
    ui_.Check1 = d.checkBox(monitoring, QStringLiteral("Check1"), QStringLiteral("RX timer:"), 120,
                            3840, 1050, 270);
    ui_.CbTimer =
        d.place(new QComboBox(monitoring), QStringLiteral("CbTimer"), 1170, 3840, 990, 300);
    ui_.CbTimer->addItems(rxTimerEntries());
    ui_.CbTimer->setCurrentIndex(-1);
    ui_.CbTimer->setEnabled(false);
    useCompactArrow(ui_.CbTimer);
    // Wide enough for "Description*" of half-duplex monitoring.
    ui_.Check2 = d.checkBox(monitoring, QStringLiteral("Check2"), QStringLiteral("Description"),
                            2190, 3840, 1230, 270);
    ui_.Check3 = d.checkBox(monitoring, QStringLiteral("Check3"), QStringLiteral("Formatted view"),
                            3420, 3840, 1470, 270);
    ui_.Clear = d.button(monitoring, QStringLiteral("Clear"), QStringLiteral("Clear"), 4920, 3840,
                         600, 330);
    ui_.Clear->setEnabled(false);
    ui_.Frame2 = d.frame(monitoring, QStringLiteral("Frame2"), QStringLiteral("Data format (RX)"),
                         5610, 3420, 3270, 780);
    ui_.Option2 = d.notationOptions(ui_.Frame2, QStringLiteral("Option2"), 300, 300);

    // The log view: styled runs are appended by the program; the user only reads,
    // selects and copies.
    ui_.responseBox =
        d.place(new LogView(monitoring), QStringLiteral("responseBox"), 120, 4240, 8760, 3360);
}

void frmMain::buildSendPane(QWidget* monitoring) {
    Designer d(*surface_);
    QGroupBox* send = ui_.frSend =
        d.frame(monitoring, QStringLiteral("frSend"), QStringLiteral("Send commands ..."), 120, 240,
                8760, 3000);
    ui_.Label4 = d.label(send, QStringLiteral("Label4"),
                         QStringLiteral("Append (,) after each byte of command code (e.g. 65,66,)"),
                         120, 240, 6000, 210);
    ui_.Combo1 = d.place(new QComboBox(send), QStringLiteral("Combo1"), 120, 480, 4320, 315);
    ui_.Combo1->setEditable(true);
    ui_.Combo1->setInsertPolicy(QComboBox::NoInsert);
    // What is typed is what is sent: no entry of the history completes it.
    ui_.Combo1->setCompleter(nullptr);
    ui_.Text3 = d.textBox(send, QStringLiteral("Text3"), QString(), 4440, 480, 780, 315);
    ui_.Text3->hide();
    ui_.Send = d.button(send, QStringLiteral("Send"), QStringLiteral("Send"), 5250, 465, 840, 345);
    ui_.cmdStop =
        d.button(send, QStringLiteral("cmdStop"), QStringLiteral("Stop"), 6150, 465, 840, 345);
    ui_.cmdStop->setEnabled(false);

    ui_.lblCmdDelay =
        d.label(send, QStringLiteral("lblCmdDelay"), QStringLiteral("Delay"), 120, 930, 480, 210);
    ui_.txtCmdDelay =
        d.textBox(send, QStringLiteral("txtCmdDelay"), QStringLiteral("0"), 600, 870, 660, 300);
    ui_.lblCmdDelay1 =
        d.label(send, QStringLiteral("lblCmdDelay1"), QStringLiteral("ms"), 1290, 930, 240, 210);
    ui_.Line1 = d.line(send, QStringLiteral("Line1"), 1560, 1020, 1740, 1020);
    ui_.lblCmdRepeat = d.label(send, QStringLiteral("lblCmdRepeat"), QStringLiteral("Repeat"), 1770,
                               930, 540, 210);
    ui_.txtCmdRepeat =
        d.textBox(send, QStringLiteral("txtCmdRepeat"), QStringLiteral("0"), 2340, 870, 540, 300);
    ui_.Line2 = d.line(send, QStringLiteral("Line2"), 2910, 1020, 3090, 1020);
    ui_.lblCmdInterval = d.label(send, QStringLiteral("lblCmdInterval"), QStringLiteral("Interval"),
                                 3120, 930, 600, 210);
    ui_.txtCmdInterval =
        d.textBox(send, QStringLiteral("txtCmdInterval"), QStringLiteral("0"), 3750, 870, 660, 300);
    ui_.lblCmdInterval1 =
        d.label(send, QStringLiteral("lblCmdInterval1"), QStringLiteral("ms"), 4440, 930, 240, 210);

    ui_.Frame1 = d.frame(send, QStringLiteral("Frame1"), QStringLiteral("Data format (TX)"), 5250,
                         840, 3390, 600);
    ui_.Option1 = d.notationOptions(ui_.Frame1, QStringLiteral("Option1"), 270, 270);

    // The two banks of 16 one-click senders, 8 to a row.
    QGroupBox* codes = ui_.Frame3 =
        d.frame(send, QStringLiteral("Frame3"), QStringLiteral("Frequently used commands"), 120,
                1500, 4260, 1380);
    ui_.Option3[0] = d.place(new QRadioButton(QStringLiteral("00h - 0Fh"), codes),
                             elementName(QStringLiteral("Option3"), 0), 120, 240, 1200, 240);
    ui_.Option3[0]->setChecked(true);
    ui_.Option3[1] = d.place(new QRadioButton(QStringLiteral("10h - 1Fh"), codes),
                             elementName(QStringLiteral("Option3"), 1), 1380, 240, 1200, 240);
    QGroupBox* programmable = ui_.Frame4 =
        d.frame(send, QStringLiteral("Frame4"), QStringLiteral("Programmable buttons (hex format)"),
                4500, 1500, 4140, 1380);
    ui_.Option6[0] = d.place(new QRadioButton(QStringLiteral("1-16"), programmable),
                             elementName(QStringLiteral("Option6"), 0), 120, 240, 900, 240);
    ui_.Option6[0]->setChecked(true);
    ui_.Option6[1] = d.place(new QRadioButton(QStringLiteral("17-32"), programmable),
                             elementName(QStringLiteral("Option6"), 1), 1080, 240, 960, 240);
    for (int k = 0; k < 16; ++k) {
        const auto at = static_cast<size_t>(k);
        const int left = 120 + (k % 8) * 495;
        const int top = 540 + (k / 8) * 390;
        ui_.cmdFreqused[at] = d.button(codes, elementName(QStringLiteral("cmdFreqused"), k),
                                       ControlCodeName(k), left, top, 480, 360);
        ui_.cmdFreqused[at]->setToolTip(QString::number(k, 16).toUpper() + QLatin1Char(','));
        ui_.cmdProBut[at] = d.button(programmable, elementName(QStringLiteral("cmdProBut"), k),
                                     QString(), left, top, 480, 360);
    }
}

void frmMain::buildLedRow(QWidget* form) {
    Designer d(*surface_);
    // Design places for a monitoring frame at 5070 twips; the layout moves the row with it.
    struct LedDesign {
        Led led;
        const char* name;
        const char* caption;
        int labelWidth;
    };
    static constexpr std::array<LedDesign, LedCount> Leds = {{{Led::RX, "RX", "RX", 270},
                                                              {Led::TX, "TX", "TX", 270},
                                                              {Led::DSR, "DSR", "DSR", 405},
                                                              {Led::CTS, "CTS", "CTS", 405},
                                                              {Led::CD, "CD", "DCD", 405},
                                                              {Led::RI, "RI", "RI", 270},
                                                              {Led::DTR, "DTR", "DTR", 375},
                                                              {Led::RTS, "RTS", "RTS", 405},
                                                              {Led::BRK, "BRK", "BRK", 345}}};
    constexpr int Top = 9360;
    for (const LedDesign& led : Leds) {
        const QString name = QString::fromLatin1(led.name);
        const auto at = static_cast<size_t>(led.led);
        ui_.ledLabels[at] = d.label(form, QStringLiteral("lbl") + name,
                                    QString::fromLatin1(led.caption), 0, Top, led.labelWidth, 195);
        ui_.ledImages[at] =
            d.place(new ImageControl(form), QStringLiteral("img") + name, 0, Top, 195, 195);
    }
    ui_.Line3 = d.line(form, QStringLiteral("Line3"), 0, Top, 0, Top + 200);
    QProgressBar* progress = ui_.ProgressBar1 =
        d.place(new QProgressBar(form), QStringLiteral("ProgressBar1"), 0, Top, 720, 195);
    progress->setRange(0, 100);
    progress->setValue(0);
    progress->setTextVisible(false);
    progress->hide(); // shown only while a profile is being made
    ui_.lblDescription =
        d.label(form, QStringLiteral("lblDescription"),
                QStringLiteral("* Indicative only, accuracy depends on speed."), 0, Top, 3450, 195);
    QPalette palette = ui_.lblDescription->palette();
    palette.setColor(QPalette::WindowText, toQColor(0x40C0));
    ui_.lblDescription->setPalette(palette);
    ui_.lblDescription->hide();
    placeLedRow(*surface_, 5070);

    for (int on = 0; on < 2; ++on) {
        ImageControl* sample = ui_.imgLedSample[static_cast<size_t>(on)] =
            d.place(new ImageControl(form), elementName(QStringLiteral("imgLedSample"), on), 0, 0,
                    195, 195);
        sample->setPicture(pictures::led(on == 1));
    }
}

} // namespace kst
