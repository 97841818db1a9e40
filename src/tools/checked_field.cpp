#include "checked_field.h"

#include "tool_design.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kst {

CheckedField::CheckedField(QLineEdit* field, QAbstractButton* ownButton, Rules rules,
                           QObject* owner)
    : QObject(owner), field_(field), ownButton_(ownButton), rules_(std::move(rules)) {
    field->installEventFilter(this);
}

bool CheckedField::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        highlightField(field_, true);
        selectAllOnFocus(field_);
        break;
    case QEvent::FocusOut:
        if (fieldLeft(*static_cast<QFocusEvent*>(event)))
            leave();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool CheckedField::keyPressed(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (rules_.enter)
            rules_.enter();
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || text[0].unicode() < 32 || !rules_.key)
        return false; // Backspace, arrows and the like
    const std::optional<QChar> taken = rules_.key(text[0]);
    if (!taken)
        return true;
    if (*taken != text[0]) {
        field_->insert(QString(*taken));
        return true;
    }
    return false;
}

void CheckedField::leave() {
    // The box of a failed check takes the focus too: that is no second leaving.
    if (checking_)
        return;
    checking_ = true;
    // The focus has already moved on when the field hears that it lost it.
    const bool buttonChecks = ownButton_ && QApplication::focusWidget() == ownButton_;
    if (!buttonChecks && rules_.validate && !rules_.validate()) {
        QMetaObject::invokeMethod(field_, "setFocus", Qt::QueuedConnection);
    } else {
        highlightField(field_, false);
        if (rules_.lostFocus)
            rules_.lostFocus();
    }
    checking_ = false;
}

} // namespace kst
