#include "app/sending/command_box_focus.h"

#include "app/main/main_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTextEdit>

namespace kst {

namespace {

// A control the user types text into: a field, a multi-line box (the notes), a number box,
// a list with a line to type in. The log is read, not typed in.
bool takesTypedText(const QWidget* control) {
    if (const auto* line = qobject_cast<const QLineEdit*>(control))
        return !line->isReadOnly();
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(control))
        return !box->isReadOnly();
    if (const auto* box = qobject_cast<const QTextEdit*>(control))
        return !box->isReadOnly();
    if (const auto* number = qobject_cast<const QAbstractSpinBox*>(control))
        return !number->isReadOnly();
    const auto* list = qobject_cast<const QComboBox*>(control);
    return list && list->isEditable();
}

bool somethingElseHasTheUser(const MainControls& ui, FocusReturn after) {
    // Taking the focus from a button the user holds down cancels the press: Stop
    // pressed at a short interval would never click. The keyboard user who moved to
    // Stop keeps it too, and a mouse held anywhere (a selection, a scroll bar) is left
    // alone.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
    // The main window's own focus, whether it is the active window or not: the focus it
    // gives back when the user returns to it is the user's too.
    QComboBox* box = ui.Combo1;
    QWidget* focus = box->window()->focusWidget();
    if (focus == ui.cmdStop)
        return true;
    if (const auto* button = qobject_cast<QAbstractButton*>(focus); button && button->isDown())
        return true;
    // Someone typing elsewhere (the notes, the search, the calculator, a send field while
    // data comes in) keeps the focus. A control on a page put behind while the window was
    // not the active one still holds it there, unseen.
    if (!takesTypedText(focus) || !focus->isVisible() || focus == box || box->isAncestorOf(focus))
        return false;
    if (after == FocusReturn::AfterBlock || !ui.frSend->isAncestorOf(focus))
        return true;
    // A send's own fields give the focus back, unless the user types in one: the keys
    // would land in the command box and replace the command.
    const auto* line = qobject_cast<QLineEdit*>(focus);
    return !line || line->isModified();
}

} // namespace

void returnFocusToCommandBox(const MainControls& ui, FocusReturn after) {
    QComboBox* box = ui.Combo1;
    if (!box->isVisible() || !box->isEnabled() || somethingElseHasTheUser(ui, after))
        return;
    box->setFocus();
}

} // namespace kst
