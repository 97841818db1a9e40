#include "checked_field.h"

#include "bgr_color.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>

namespace kst {

namespace {

constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 White = 0xFFFFFF;

} // namespace

void highlightField(QWidget* field, bool on) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, colorFromBgr(on ? Yellow : White));
    field->setPalette(palette);
}

void selectAllOnFocus(QLineEdit* field) {
    QMetaObject::invokeMethod(field, &QLineEdit::selectAll, Qt::QueuedConnection);
}

bool fieldLeft(const QFocusEvent& event) {
    return event.reason() != Qt::PopupFocusReason && event.reason() != Qt::ActiveWindowFocusReason;
}

CheckedField::CheckedField(QLineEdit* field, Rules rules, QObject* owner,
                           QAbstractButton* ownButton, QWidget* shown)
    : QObject(owner), field_(field), shown_(shown ? shown : field), ownButton_(ownButton),
      rules_(std::move(rules)) {
    shown_->installEventFilter(this);
    // Pasted or dropped text passes the same filter as typed keys.
    connect(field, &QLineEdit::textEdited, this, [this] { filterEdited(); });
}

void CheckedField::filterEdited() {
    if (!rules_.key)
        return;
    const QString text = field_->text();
    QString kept;
    int cursor = field_->cursorPosition();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const std::optional<QChar> taken =
            text[i].unicode() < 32 ? std::optional<QChar>(text[i]) : rules_.key(text[i]);
        if (taken)
            kept += *taken;
        else if (i < cursor)
            --cursor;
    }
    if (kept == text)
        return;
    field_->setText(kept);
    field_->setCursorPosition(cursor);
}

bool CheckedField::changedSinceEntry() const {
    return field_->text() != entryText_;
}

bool CheckedField::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        // Modified from now on means typed in since the field took the focus.
        field_->setModified(false);
        highlightField(shown_, true);
        selectAllOnFocus(field_);
        entryText_ = field_->text();
        if (rules_.gotFocus)
            rules_.gotFocus();
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
        if (!rules_.enter)
            return false;
        rules_.enter();
        return true;
    }
    // Only a printable character is the field's to filter. Editing keys (Backspace,
    // Delete, whose text is the DEL character, arrows, Ctrl+ combinations) always reach it.
    const QString text = event->text();
    if (text.size() != 1 || !text[0].isPrint() || !rules_.key)
        return false;
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
    // The box of a failed check takes the focus too: that is no second leaving. Nor does
    // a user leave a field that is no longer shown: its window closed, or is going.
    if (checking_ || !shown_->isVisible())
        return;
    checking_ = true;
    // The focus has already moved on when the field hears that it lost it.
    const bool buttonChecks = ownButton_ && QApplication::focusWidget() == ownButton_;
    if (!buttonChecks && rules_.validate && !rules_.validate()) {
        QMetaObject::invokeMethod(shown_, "setFocus", Qt::QueuedConnection);
    } else {
        highlightField(shown_, false);
        if (rules_.lostFocus)
            rules_.lostFocus();
    }
    checking_ = false;
}

} // namespace kst
