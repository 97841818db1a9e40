#pragma once

#include "storage/editor_table.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QLineEdit;
class QWidget;

namespace kst {

class CheckedField;
class LineControl;

// What the editors' field groups build alike.
namespace field_group {

// The object name of a control: element `index` of the array `name` ("Text1(3)"), or
// `name` itself when the group is no element of an array (index -1).
QString nameOf(const QString& name, int index);

// A text field placed in twips on `frame`. How much may be typed in it is a rule of its
// check (FieldRules::typingLimit), not the field's own maximum, which would cut a longer
// stored text.
QLineEdit* textField(QWidget* frame, const QString& name, int left, int top, int width);
QLabel* label(QWidget* frame, const QString& name, const QString& caption, int left, int top,
              int width);
LineControl* line(QWidget* frame, const QString& name, int x1, int y1, int x2, int y2);
// A connector line drawn as in use or greyed.
void setLineInUse(LineControl* line, bool inUse);
void resizeWidth(QWidget* control, int widthTwips);

// What a text field of a group does, besides what every field does.
struct FieldRules {
    // The character a key puts in, or nothing.
    std::function<std::optional<QChar>(QChar)> key;
    // How many characters may be typed in (CheckedField::Rules::typingLimit).
    int typingLimit = 0;
    // The check of the field's text as it is left.
    std::function<std::optional<Refusal>(const QString&)> check;
    // The text once the check passed.
    std::function<QString(const QString&)> tidy;
    // Left empty, the field shows "0".
    bool number = false;
    // A refusal marks nothing (a delay or interval out of range).
    bool refusalUnchanged = false;
};

// Makes `field` a checked field of `owner`. Leaving it tells the refusal of its check and
// keeps the focus; a text that differs from the one on entry calls `changed`, also when
// it is refused (unless `refusalUnchanged`). Only a text typed is tidied: what the field
// was given stays as it is. `entered` runs when it takes the focus.
void checkField(QLineEdit* field, QObject* owner, FieldRules rules,
                const std::function<void()>& changed, const std::function<void()>& entered);

// Calls `entered` when one of the watched controls takes the focus, and `left` when it
// loses it to another control of its window.
class FocusWatch : public QObject {
public:
    FocusWatch(QObject* owner, std::function<void()> entered, std::function<void(QObject*)> left);
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> entered_;
    std::function<void(QObject*)> left_;
};

} // namespace field_group
} // namespace kst
