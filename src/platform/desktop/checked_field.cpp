#include "checked_field.h"

#include "bgr_color.h"

#include <QApplication>
#include <QCursor>
#include <QDropEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QStackedWidget>
#include <QTabWidget>
#include <QWindow>

#include <algorithm>

namespace kst {

namespace {

constexpr quint32 Yellow = 0x00FFFF;
constexpr quint32 White = 0xFFFFFF;

// Drops the mouse press or wheel turn being delivered, with its release or double click,
// until the event loop turns again.
class InputDropper : public QObject {
public:
    static void dropCurrentInput() {
        auto* dropper = new InputDropper(qApp);
        qApp->installEventFilter(dropper);
        QMetaObject::invokeMethod(
            qApp, [dropper] { delete dropper; }, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        const QEvent::Type type = event->type();
        return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease ||
               type == QEvent::MouseButtonDblClick || type == QEvent::Wheel;
    }

private:
    using QObject::QObject;
};

// The page of a stack of pages (a tab) whose switch alone hides `widget`: still the user's,
// on a page not in front. Nothing when something else hides it.
QWidget* pageBehind(QWidget* widget) {
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget()) {
        if (!w->isHidden())
            continue;
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        return stack && stack->isVisible() ? w : nullptr;
    }
    return nullptr;
}

// Brings the pages that hold `widget` to the front, tab by tab.
void bringForward(QWidget* widget) {
    for (QWidget* w = widget; w && !w->isWindow(); w = w->parentWidget()) {
        auto* stack = qobject_cast<QStackedWidget*>(w->parentWidget());
        if (!stack || stack->currentWidget() == w)
            continue;
        if (auto* tabs = qobject_cast<QTabWidget*>(stack->parentWidget()))
            tabs->setCurrentWidget(w);
        else
            stack->setCurrentWidget(w);
    }
}

} // namespace

// Where the focus goes from the menu bar: the field handed it there without being left.
class CheckedField::MenuBarAside : public QObject {
public:
    explicit MenuBarAside(CheckedField& field) : QObject(&field), field_(field) {}
    void start() { qApp->installEventFilter(this); }
    void stop() { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::FocusIn)
            return false;
        auto* taker = qobject_cast<QWidget*>(watched);
        // Back to the field, or to the menu bar, is the field's own affair; another window
        // takes the focus only for a while.
        if (!taker || taker == field_.shown_ || qobject_cast<QMenuBar*>(taker) ||
            taker->window() != field_.shown_->window())
            return false;
        stop();
        field_.leave(static_cast<QFocusEvent*>(event)->reason());
        // A refusal's box has moved the focus since: the control no longer takes it.
        return QApplication::focusWidget() != taker;
    }

private:
    CheckedField& field_;
};

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

CheckedField::CheckedField(QLineEdit* field, Rules rules, QObject* owner, QWidget* shown)
    : QObject(owner), field_(field), shown_(shown ? shown : field), rules_(std::move(rules)),
      text_(field->text()), menuBarAside_(new MenuBarAside(*this)) {
    shown_->installEventFilter(this);
    // A drop goes to the line itself, also where the keys go to the box it belongs to.
    if (field_ != shown_)
        field_->installEventFilter(this);
    // An edit is told before the change it made, so the text kept here is the one it
    // changed. A change the filter makes within an edit is told again with the edit's own
    // text: the field's text is what counts.
    // The caret and selection are told after the edit too, so the place kept here is the
    // one the edit started from.
    const auto keepPlace = [this] {
        place_ = {field_->selectionStart(), field_->selectionLength(), field_->cursorPosition()};
    };
    connect(field, &QLineEdit::textChanged, this, [this, keepPlace] {
        text_ = field_->text();
        keepPlace();
    });
    connect(field, &QLineEdit::cursorPositionChanged, this, keepPlace);
    connect(field, &QLineEdit::selectionChanged, this, keepPlace);
    keepPlace();
    // A window going tells of the focus of controls that are gone already.
    connect(shown_, &QObject::destroyed, this, [this] { disconnect(watchedFocus_); });
    // Pasted or dropped text passes the same filter as typed keys.
    connect(field, &QLineEdit::textEdited, this, [this] { filterEdited(); });
}

CheckedField::Insertion CheckedField::insertion(const QString& before, const QString& text) const {
    // An insertion at the caret, or in place of the selection: the place the edit started
    // from tells where it went, whatever the characters around it.
    const qsizetype start = place_.length > 0 ? place_.selectionStart : place_.caret;
    const qsizetype removed = place_.length > 0 ? place_.length : 0;
    const qsizetype end = before.size() - start - removed;
    if (start >= 0 && end >= 0 && text.size() >= start + end &&
        QStringView(text).left(start) == QStringView(before).left(start) &&
        QStringView(text).right(end) == QStringView(before).right(end))
        return {start, end};
    // Another edit (a deletion, a drop elsewhere): what it put in is the text between what
    // it kept of the start and of the end.
    qsizetype same = 0;
    while (same < before.size() && same < text.size() && before[same] == text[same])
        ++same;
    qsizetype sameEnd = 0;
    while (sameEnd < before.size() - same && sameEnd < text.size() - same &&
           before[before.size() - 1 - sameEnd] == text[text.size() - 1 - sameEnd])
        ++sameEnd;
    return {same, sameEnd};
}

void CheckedField::filterEdited() {
    if (filtering_ || (!rules_.key && rules_.typingLimit <= 0))
        return;
    // An undo brings back what was there before the edit it takes back: nothing new.
    if (field_->isRedoAvailable())
        return;
    // The rest was there before and stays as it was, however long.
    const QString before = text_;
    const QString text = field_->text();
    const auto [start, end] = insertion(before, text);
    const QString inserted = text.mid(start, text.size() - start - end);
    QString kept;
    for (QChar c : inserted) {
        // No key puts a control character into a field that filters its keys.
        if (!rules_.key) {
            kept += c;
        } else if (c.category() != QChar::Other_Control) {
            if (const std::optional<QChar> taken = rules_.key(c))
                kept += *taken;
        }
    }
    if (rules_.typingLimit > 0)
        kept.truncate(std::max<qsizetype>(0, rules_.typingLimit - start - end));
    if (kept != inserted)
        replaceInsertion(before, start, end, kept);
}

void CheckedField::replaceInsertion(const QString& before, qsizetype start, qsizetype end,
                                    const QString& kept) {
    const QString wanted = field_->text().left(start) + kept + field_->text().right(end);
    filtering_ = true;
    // The edit is taken back and what is kept of it put in instead: one step, which Undo
    // takes back whole.
    field_->undo();
    if (field_->text() == before) {
        field_->setSelection(static_cast<int>(start),
                             static_cast<int>(before.size() - start - end));
        field_->insert(kept);
    }
    // A field with no such step to take back (its text was set since) only shows the result.
    if (field_->text() != wanted) {
        field_->setText(wanted);
        field_->setCursorPosition(static_cast<int>(start + kept.size()));
    }
    filtering_ = false;
    // The user typed, whatever the field kept of it.
    field_->setModified(true);
}

bool CheckedField::changedSinceEntry() const {
    return field_->text() != entryText_;
}

bool CheckedField::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Drop && watched == field_)
        return !dropping(*static_cast<QDropEvent*>(event));
    if (watched != shown_)
        return false;
    switch (event->type()) {
    case QEvent::KeyPress:
        return keyPressed(static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        menuBarAside_->stop();
        enter(static_cast<QFocusEvent*>(event)->reason());
        break;
    case QEvent::FocusOut: {
        const auto* focus = static_cast<QFocusEvent*>(event);
        // A menu (the field's own, or the window's) and the menu bar are the user's aside;
        // a list dropped down from the field chooses its text anew.
        asideInMenu_ = focus->reason() == Qt::MenuBarFocusReason ||
                       (focus->reason() == Qt::PopupFocusReason &&
                        qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr);
        if (focus->reason() == Qt::MenuBarFocusReason)
            menuBarAside_->start();
        else if (fieldLeft(*focus))
            leave(focus->reason());
        break;
    }
    case QEvent::Hide:
        // Shown again, the field is entered anew; a window minimised is still open.
        if (!event->spontaneous()) {
            // A tab switched in a window that is not the active one (the wheel reaches it)
            // moves no focus: the field on the page put behind is left all the same.
            if (entered_ && QApplication::focusWidget() != shown_ && pageBehind(shown_))
                leave(Qt::OtherFocusReason);
            entered_ = false;
            menuBarAside_->stop();
        }
        break;
    default:
        break;
    }
    return false;
}

bool CheckedField::dropping(QDropEvent& drop) {
    if (drop.source() == field_ || !drop.mimeData()->hasText())
        return true;
    if (!enteredForDrop()) {
        drop.ignore();
        // The drag drew the caret where it would have landed.
        QDragLeaveEvent left;
        QCoreApplication::sendEvent(field_, &left);
        return false;
    }
    // A drop from elsewhere is a paste by the mouse: its own step of Undo, which a filter
    // takes back alone. The field would add it to the keys typed just before it when it
    // lands where the caret stands; a move of the caret starts a step.
    const int at = field_->cursorPositionAt(drop.position().toPoint());
    if (field_->cursorPosition() == at && !field_->text().isEmpty())
        field_->setCursorPosition(at == 0 ? 1 : at - 1);
    field_->setCursorPosition(at);
    return true;
}

bool CheckedField::enteredForDrop() {
    QWidget* window = shown_->window();
    if (entered_ && window->focusWidget() == shown_)
        return true;
    // A drop enters the field as a click on it would: the control that held the focus is
    // left first, with its check, and the text before the drop is the entry's.
    if (window->focusWidget() != shown_ && !leaveFocusThen(*window, [] { return true; }))
        return false;
    enteringForDrop_ = true;
    takeFocus(Qt::MouseFocusReason);
    enteringForDrop_ = false;
    return true;
}

void CheckedField::takeFocus(Qt::FocusReason reason) {
    shown_->setFocus(reason);
    // A window that is not the active one tells no field that it took the focus.
    if (!entered_)
        enter(reason);
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
    if (text.size() != 1 || !text[0].isPrint())
        return false;
    // A key past the typing limit puts nothing in: cut after the edit, it would cost the
    // field its steps of Undo.
    if (rules_.typingLimit > 0 &&
        field_->text().size() - field_->selectedText().size() >= rules_.typingLimit)
        return true;
    if (!rules_.key)
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

void CheckedField::enter(Qt::FocusReason reason) {
    // Back without having been left (from a menu, the menu bar or another window), the
    // user goes on where the caret stood: nothing is selected, and the entry's text stays.
    // Only a list dropped down from the field has chosen its text anew.
    if (entered_ && (reason != Qt::PopupFocusReason || asideInMenu_)) {
        highlightField(shown_, true);
        return;
    }
    entered_ = true;
    watchWindowFocus();
    // Modified from now on means typed in since the field took the focus.
    field_->setModified(false);
    highlightField(shown_, true);
    // The text dropped in is not to be replaced by the next key.
    if (!enteringForDrop_)
        selectAllOnFocus(field_);
    entryText_ = field_->text();
    if (rules_.gotFocus)
        rules_.gotFocus();
}

void CheckedField::leave(Qt::FocusReason reason) {
    // The box of a failed check takes the focus too: that is no second leaving. Nor does
    // a user leave a field that is no longer shown: its window closed, or is going. A
    // field on a tab put behind another is left as the tab is switched.
    if (checking_ || (!shown_->isVisible() && (bringingForward_ || !pageBehind(shown_))))
        return;
    menuBarAside_->stop();
    entered_ = false;
    checking_ = true;
    if (rules_.validate && !rules_.validate()) {
        ++refusedLeavings_;
        // A press that moved the focus is delivered once the field has heard of it: the
        // click is the user's attempt to leave, refused with the check.
        if (reason == Qt::MouseFocusReason)
            InputDropper::dropCurrentInput();
        QMetaObject::invokeMethod(
            shown_,
            [shown = shown_, self = QPointer<CheckedField>(this)] {
                // The field that the page put behind took the focus only as the page came
                // forward, and is not checked: two refusals would bring their pages forward
                // in turn without end.
                bringingForward_ = true;
                bringForward(shown);
                bringingForward_ = false;
                // Entered again, so it is checked again at the next switch.
                if (self)
                    self->takeFocus(Qt::OtherFocusReason);
                else
                    shown->setFocus();
            },
            Qt::QueuedConnection);
    } else {
        highlightField(shown_, false);
        if (rules_.lostFocus)
            rules_.lostFocus();
    }
    checking_ = false;
}

void CheckedField::watchWindowFocus() {
    QWindow* handle = shown_->window()->windowHandle();
    if (!handle || handle == watchedWindow_)
        return;
    disconnect(watchedFocus_);
    watchedWindow_ = handle;
    watchedFocus_ =
        connect(handle, &QWindow::focusObjectChanged, this, &CheckedField::windowFocusMoved);
}

void CheckedField::windowFocusMoved(QObject* now) {
    // In the active window the field hears of its leaving itself. In another, the wheel
    // gives a list under it the focus and no one is told: the field is left all the same,
    // as a click on that list would leave it, and a refusal drops that turn of the wheel.
    if (!entered_ || now == shown_ || now == field_ || shown_->window()->isActiveWindow())
        return;
    const auto* taker = qobject_cast<QWidget*>(now);
    const bool underPointer = taker && taker->rect().contains(taker->mapFromGlobal(QCursor::pos()));
    leave(underPointer ? Qt::MouseFocusReason : Qt::OtherFocusReason);
}

bool CheckedField::leaveFocusThen(QWidget& window, const std::function<bool()>& settle) {
    const QPointer<QWidget> focused = window.focusWidget();
    const int refusedBefore = refusedLeavings_;
    if (focused && focused->hasFocus()) {
        focused->clearFocus();
    } else if (focused) {
        // The window is not the active one: its control hears of the leaving all the same.
        QFocusEvent left(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(focused, &left);
    }
    if (refusedLeavings_ == refusedBefore && settle())
        return true;
    if (focused && !window.focusWidget())
        focused->setFocus();
    return false;
}

} // namespace kst
