#pragma once

#include <array>
#include <cstddef>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace kst {

class ImageControl;
class KeyedToolBar;
class LineControl;
class LogView;
class PanelStatusBar;
class TabControl;

// The LEDs of the line-state row, in the order of the row.
enum class Led { RX, TX, DSR, CTS, CD, RI, DTR, RTS, BRK };
constexpr int LedCount = 9;

// Every control of the main window, set once where the window builds it. Each keeps
// the object name the program has always used; an element of a control array is
// named "name(index)", e.g. "cmdFreqused(3)".
struct MainControls {
    KeyedToolBar* Toolbar1 = nullptr;
    PanelStatusBar* StatusBar1 = nullptr;

    // The port and its line settings, on the toolbar ("Port", "Stop", "Parity", "Data",
    // "Baud" captions), and the macro list.
    std::array<QLabel*, 5> txtport{};
    QComboBox* portChoice = nullptr;
    QComboBox* BaudChoice = nullptr;
    QComboBox* DataBitChoice = nullptr;
    QComboBox* ParityChoice = nullptr;
    QComboBox* StopBitChoice = nullptr;
    QLabel* txtMacros = nullptr;
    QComboBox* cboMacros = nullptr;

    // The checksum calculator pane. Option5 has no element 8.
    QGroupBox* Frame5 = nullptr;
    QLabel* Label3 = nullptr;
    QLineEdit* txtOperands = nullptr;
    std::array<QRadioButton*, 5> Option4{};
    std::array<QRadioButton*, 11> Option5{};
    QPushButton* cmdCal = nullptr;
    QLabel* lblModbus = nullptr;
    QLabel* lblQuotient = nullptr;
    QLabel* lblRemainder = nullptr;
    QLineEdit* txtResult = nullptr;
    QLineEdit* txtRemainder = nullptr;

    // The tab pane: ASCII chart and user notes.
    TabControl* SSTab1 = nullptr;
    QTreeWidget* ListView1 = nullptr;
    QPlainTextEdit* RichTextBox1 = nullptr;
    QPushButton* cmdClearNotes = nullptr;
    QPushButton* cmdSaveNotes = nullptr;

    // The monitoring frame: receive options, search and the log view.
    QGroupBox* frMonitoring = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Text2 = nullptr;
    QPushButton* cmdSearch = nullptr;
    QLabel* lblSearchResult = nullptr;
    QCheckBox* Check1 = nullptr;
    QComboBox* CbTimer = nullptr;
    QCheckBox* Check2 = nullptr;
    QCheckBox* Check3 = nullptr;
    QPushButton* Clear = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 5> Option2{};
    LogView* responseBox = nullptr;

    // The send pane.
    QGroupBox* frSend = nullptr;
    QLabel* Label4 = nullptr;
    QComboBox* Combo1 = nullptr;
    QLineEdit* Text3 = nullptr;
    QPushButton* Send = nullptr;
    QPushButton* cmdStop = nullptr;
    QLabel* lblCmdDelay = nullptr;
    QLineEdit* txtCmdDelay = nullptr;
    QLabel* lblCmdDelay1 = nullptr;
    LineControl* Line1 = nullptr;
    QLabel* lblCmdRepeat = nullptr;
    QLineEdit* txtCmdRepeat = nullptr;
    LineControl* Line2 = nullptr;
    QLabel* lblCmdInterval = nullptr;
    QLineEdit* txtCmdInterval = nullptr;
    QLabel* lblCmdInterval1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 5> Option1{};
    QGroupBox* Frame3 = nullptr;
    std::array<QRadioButton*, 2> Option3{};
    std::array<QPushButton*, 16> cmdFreqused{};
    QGroupBox* Frame4 = nullptr;
    std::array<QRadioButton*, 2> Option6{};
    std::array<QPushButton*, 16> cmdProBut{};

    // The LED row under the monitoring frame, indexed by Led, and the two hidden
    // pictures the LEDs copy: 0 off, 1 on.
    std::array<QLabel*, LedCount> ledLabels{};
    std::array<ImageControl*, LedCount> ledImages{};
    std::array<ImageControl*, 2> imgLedSample{};
    LineControl* Line3 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* lblDescription = nullptr;

    QLabel* ledLabel(Led led) const { return ledLabels[static_cast<std::size_t>(led)]; }
    ImageControl* ledImage(Led led) const { return ledImages[static_cast<std::size_t>(led)]; }
};

// The items of the menu bar that the program reads or switches.
struct MainMenus {
    QAction* mnuNew = nullptr;
    QAction* mnuOpenSettings = nullptr;
    QAction* mnuSaveSettings = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuOpenLog = nullptr;
    QAction* mnuExit = nullptr;
    QAction* mnuDebugging = nullptr;
    QAction* mnuMonitoring = nullptr;
    QAction* mnuPortOpen = nullptr;
    QAction* mnuPortClose = nullptr;
    QAction* mnuSettings = nullptr;
    QAction* mnuHide = nullptr;
    QAction* mnuHideSend = nullptr;
    QAction* mnuAutoResp = nullptr;
    QAction* mnuMacro = nullptr;
    QAction* mnuRun = nullptr;
    QAction* mnuPause = nullptr;
    QAction* mnuStop = nullptr;
    QAction* mnuContinue = nullptr;
    QAction* mnuAscii = nullptr;
    QAction* mnuCal = nullptr;
    QAction* mnuProgBut = nullptr;
    QAction* mnuProgAutoResp = nullptr;
    QAction* mnuProgMacros = nullptr;
    QAction* mnuOptions = nullptr;
    QAction* mnuImport = nullptr;
    QAction* mnuAbout = nullptr;
    QAction* mnuContents = nullptr;
};

} // namespace kst
