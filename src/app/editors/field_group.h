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

// What the condition and send field groups build alike. Not for use outside them.
namespace field_group {

// The object name of a control: element `index` of the array `name` ("Text1(3)"), or
// `name` itself when the group is no element of an array (index -1).
QString nameOf(const QString& name, int index);

// A text field placed in twips on `frame`.
QLineEdit* textField(QWidget* frame, const QString& name, int left, int top, int width,
                     int maxLength);
QLabel* label(QWidget* frame, const QString& name, const QString& caption, int left, int top,
              int width);
LineControl* line(QWidget* frame, const QString& name, int x1, int y1, int x2, int y2);
// A connector line drawn as in use or greyed.
void setLineInUse(LineControl* line, bool inUse);
void resizeWidth(QWidget* control, int widthTwips);

// The one leaving of every field of the groups. The refusal of the field's check is
// told and keeps the focus; a field that differs from its text on entry marks the record
// changed, also when it is refused, except a refused delay or interval (`waitField`).
// A number field left empty shows "0".
bool leaveField(QLineEdit* field, const CheckedField& checked,
                const std::optional<Refusal>& refusal, bool numberField, bool waitField,
                const std::function<void()>& changed);

// Calls `entered` when one of the watched controls takes the focus, and `left` when it
// loses it to another control of its window.
class FocusWatch : public QObject {
public:
    FocusWatch(QObject* owner, std::function<void(QObject*)> entered,
               std::function<void(QObject*)> left);
    void watch(QWidget* control);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(QObject*)> entered_;
    std::function<void(QObject*)> left_;
};

} // namespace field_group
} // namespace kst
