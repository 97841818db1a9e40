#pragma once

#include "storage/condition_send_rows.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace kst {

class LineControl;

// The names the group's controls take: elements of control arrays ("Text2(3)", index 3)
// or, with index -1, names of their own.
struct SendNames {
    QString frame;
    QString commandLabel;
    QString command;
    QString controlCodes;
    QString delayLabel;
    QString delay;
    QString repeatLabel;
    QString repeat;
    QString intervalLabel;
    QString interval;
    QString signalCheck;
    QString signalList;
    QString signalLine;                  // between the check box and the list
    std::array<QString, 3> commandLines; // joining the command to its numbers
    int index = -1;
    // Optional (an empty name builds none): the "ms" beside the delay and the interval,
    // and a line from the repeat to the interval that is in use with the interval.
    QString delayUnit;
    QString intervalUnit;
    QString intervalLine;
};

// What differs between the editors that show a send: the captions, the width of the
// command field with and without the control codes beside it (twips), and whether the
// control codes are tidied into capitals without leading zeros when left (else only cut
// after their last comma).
struct SendLook {
    QString caption;
    QString commandCaption = QStringLiteral("Send commands *");
    QString signalCaption = QStringLiteral("Send signals");
    QString delayCaption = QStringLiteral("Delay (ms)");
    QString repeatCaption = QStringLiteral("Repeat");
    QString intervalCaption = QStringLiteral("Interval (ms)");
    int commandWidth = 2325;
    int commandWidthAlone = 3135;
    bool normalizeControlCodes = true;
};

// A send to the device, in a frame of its own: the command (a hexadecimal list in Hex, text
// in ASCII) with its control codes in ASCII, the delay, the repeat count and the interval,
// and the "Send signals" check with the list of output signals. The group lays its controls
// out by notation, filters keys, checks and tidies its fields when they are left, and
// tells its owner of changes; the owner's table holds the checks and the values stored.
//
// Availability: without a command (or control codes) there is nothing to repeat, so the
// repeat, the interval and the command's connector lines are greyed; without a repeat
// there is no interval, and a repeat typed as 0 sets the interval to 0. The signal list
// follows its check box. The delay is always open.
//
// Use: build it with the names and look of the editor, place frame(), show() a stored row
// on loading, read row() to save and setNotation() on the editor's notation switch. Its
// check is the owner's table's: checkSendField() (storage/condition_send_rows.h).
class SendFields : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // The check of a field as it is left (the owner's table); its refusal is shown
        // by the group, which keeps the focus in the field. Unset, nothing is refused.
        std::function<std::optional<Refusal>(SendField field, const QString& text)> check;
        // The user changed a value of the record: a field left with another text (also
        // when it is refused, but for a refused delay or interval), the check box or list
        // left with another value than shown.
        std::function<void()> changed;
        // A control of the group took the focus (bring its page forward).
        std::function<void()> entered;
    };

    // Builds the frame and its controls as children of `parent`, in `notation`.
    SendFields(QWidget* parent, const SendNames& names, const SendLook& look, Hooks hooks,
               int notation);

    // Shows a stored send and takes it as the values the change marks compare with. A
    // signal outside its list shows the first entry.
    void show(const SendRow& row);
    // The send as it is shown.
    SendRow row() const;
    // The notation of the editor (0 Hex, 1 ASCII): empties the control codes, lays out.
    void setNotation(int notation);

    QGroupBox* frame() const { return frame_; }
    QLineEdit* field(SendField field) const;

    QLabel* commandLabel = nullptr;
    QLineEdit* command = nullptr;
    QLineEdit* controlCodes = nullptr;
    QLabel* delayLabel = nullptr;
    QLineEdit* delay = nullptr;
    QLabel* repeatLabel = nullptr;
    QLineEdit* repeat = nullptr;
    QLabel* intervalLabel = nullptr;
    QLineEdit* interval = nullptr;
    QLabel* delayUnit = nullptr;
    QLabel* intervalUnit = nullptr;
    LineControl* intervalLine = nullptr;
    QCheckBox* signalCheck = nullptr;
    QComboBox* signalList = nullptr;
    LineControl* signalLine = nullptr;
    std::array<LineControl*, 3> commandLines{};

private:
    void build(const SendNames& names);
    void connectFields();
    void layOut();
    bool hasCommand() const;
    void updateCommand();
    void updateInterval();
    void updateSignal();
    void left(QObject* control);

    QGroupBox* frame_ = nullptr;
    Hooks hooks_;
    SendLook look_;
    int notation_ = 0;
    SendRow shown_;
};

} // namespace kst
