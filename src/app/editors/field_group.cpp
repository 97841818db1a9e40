#include "app/editors/field_group.h"

#include "app/main/controls.h"
#include "platform/desktop/checked_field.h"
#include "platform/twips.h"
#include "tools/tool_design.h"

#include <QEvent>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>

namespace kst::field_group {

QString nameOf(const QString& name, int index) {
    return index < 0 ? name : elementName(name, index);
}

QLineEdit* textField(QWidget* frame, const QString& name, int left, int top, int width) {
    return placed(new QLineEdit(frame), name, left, top, width, 285);
}

QLabel* label(QWidget* frame, const QString& name, const QString& caption, int left, int top,
              int width) {
    return placed(new QLabel(caption, frame), name, left, top, width, 240);
}

LineControl* line(QWidget* frame, const QString& name, int x1, int y1, int x2, int y2) {
    auto* connector = new LineControl(frame);
    connector->setObjectName(name);
    connector->setPoints(toPixels(x1), toPixels(y1), toPixels(x2), toPixels(y2));
    return connector;
}

void setLineInUse(LineControl* line, bool inUse) {
    line->setBorderColor(inUse ? syscolor::MenuText : syscolor::ScrollBar);
}

void resizeWidth(QWidget* control, int widthTwips) {
    control->resize(toPixels(widthTwips), control->height());
}

void checkField(QLineEdit* field, QObject* owner, FieldRules rules,
                const std::function<void()>& changed, const std::function<void()>& entered) {
    auto* checked = new CheckedField(field, {}, owner);
    auto validate = [field, checked, rules, changed] {
        const std::optional<Refusal> refusal = rules.check(field->text());
        if (refusal && rules.refusalUnchanged) {
            showRefusal(*refusal);
            return false;
        }
        if (!refusal && rules.number && field->text().isEmpty())
            field->setText(QStringLiteral("0"));
        if (checked->changedSinceEntry() && changed)
            changed();
        if (refusal)
            showRefusal(*refusal);
        return !refusal;
    };
    auto lostFocus = [field, checked, tidy = rules.tidy] {
        // A stored text the user did not touch may mean more than its tidied form (a tail
        // after its last comma goes out in ASCII): it is neither rewritten nor marked.
        if (!checked->changedSinceEntry())
            return;
        const QString tidied = tidy ? tidy(field->text()) : field->text();
        if (tidied != field->text())
            field->setText(tidied);
    };
    checked->setRules({
        .key = rules.key,
        .typingLimit = rules.typingLimit,
        .gotFocus = entered,
        .validate = validate,
        .lostFocus = lostFocus,
    });
}

FocusWatch::FocusWatch(QObject* owner, std::function<void()> entered,
                       std::function<void(QObject*)> left)
    : QObject(owner), entered_(std::move(entered)), left_(std::move(left)) {}

void FocusWatch::watch(QWidget* control) {
    control->installEventFilter(this);
}

bool FocusWatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && entered_)
        entered_();
    else if (event->type() == QEvent::FocusOut && fieldLeft(*static_cast<QFocusEvent*>(event)))
        left_(watched);
    return QObject::eventFilter(watched, event);
}

} // namespace kst::field_group
