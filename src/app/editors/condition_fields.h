#pragma once

#include "storage/condition_send_rows.h"

#include <QObject>
#include <QString>
#include <array>
#include <functional>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace kst {

class LineControl;

// The names the group's controls take. An editor with several groups names them as
// elements of control arrays ("Text1(3)", index 3); one with a single group of a kind
// gives each control a name of its own (index -1).
struct ConditionNames {
    QString frame;
    QString kindOptions; // option of kind k: element kindOptionBase + k
    int kindOptionBase = 0;
    QString data;
    QString controlCodes;
    QString lineStateCheck;
    QString lineStateList;
    QString line; // between the check box and the list
    int index = -1;
};

// What differs between the editors that show a condition: the captions, the width of the
// data field with and without the control codes beside it, and of the frame (twips).
struct ConditionLook {
    QString caption;
    std::array<QString, ConditionKindOptions> kindCaptions;
    int dataWidth = 1890;
    int dataWidthAlone = 2700;
    // The frame's width: wider captions spread the kind options over a wider frame.
    int frameWidth = 3600;
};

// A condition on what the device sends, in a frame of its own: the seven kind options,
// the data (a hexadecimal list or ASCII text for the data kinds, a length for the length
// kinds, unused for Signaling) with its control codes in ASCII, and the "Line state" check
// with its list: the 13 line states for the data and length kinds, the 7 line events for
// Signaling. The group lays its controls out by notation and kind, filters keys, checks
// and tidies its fields when they are left, and tells its owner of changes; the owner's
// table holds the checks and the values stored.
//
// Layout rules: the control codes show only in ASCII with a data kind; whenever they are
// hidden by a choice of kind or notation they are emptied, so no code that nobody sees is
// stored. Moving between a data kind and the other kinds empties the data; every kind
// choice refills the list and selects its first entry. The line state is usable only
// when the condition has data (or codes); Signaling uses the list alone.
//
// Use: build it with the names and look of the editor, place frame(), show() a stored row
// on loading, read row() to save, setNotation() on the editor's notation switch, and ask
// kindChanged() besides the `changed` marks before closing. Its check is the owner's
// table's: checkConditionField() (storage/condition_send_rows.h), with or without the
// refusal of a list as a length.
class ConditionFields : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // The check of a field as it is left (the owner's table); its refusal is shown
        // by the group, which keeps the focus in the field. Unset, nothing is refused.
        std::function<std::optional<Refusal>(ConditionField field, const QString& text)> check;
        // The user changed a value of the record: a field left with another text (also
        // when it is refused), a check box, list or kind option left with another value
        // than shown.
        std::function<void()> changed;
        // A control of the group took the focus (bring its page forward).
        std::function<void()> entered;
    };

    // Builds the frame and its controls as children of `parent`, in `notation`.
    ConditionFields(QWidget* parent, const ConditionNames& names, const ConditionLook& look,
                    Hooks hooks, int notation);

    // Shows a stored condition (kind, texts and list position as they are) and takes it
    // as the values the change marks compare with. A kind or list position outside its
    // list shows the first entry.
    void show(const ConditionRow& row);
    // The condition as it is shown.
    ConditionRow row() const;
    // The notation of the editor (0 Hex, 1 ASCII): empties the control codes, lays out.
    void setNotation(int notation);
    // As a click on the option of `kind`.
    void chooseKind(int kind);
    int kind() const { return kind_; }
    // The kind differs from the one last shown by show().
    bool kindChanged() const { return kind_ != shown_.kind; }

    QGroupBox* frame() const { return frame_; }
    QLineEdit* field(ConditionField field) const;

    std::array<QRadioButton*, ConditionKindOptions> kindOptions{};
    QLineEdit* data = nullptr;
    QLineEdit* controlCodes = nullptr;
    QCheckBox* lineStateCheck = nullptr;
    QComboBox* lineStateList = nullptr;
    LineControl* line = nullptr;

private:
    void build(const ConditionNames& names, const ConditionLook& look);
    void connectFields();
    void layOut();
    void fillList();
    void updateLineState();
    void left(QObject* control);

    QGroupBox* frame_ = nullptr;
    QButtonGroup* options_ = nullptr;
    Hooks hooks_;
    ConditionLook look_;
    int notation_ = 0;
    int kind_ = 0;
    ConditionRow shown_;
};

} // namespace kst
