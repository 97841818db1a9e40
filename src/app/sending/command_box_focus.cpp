#include "app/sending/command_box_focus.h"

#include "app/main/main_controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>

namespace kst {

namespace {

bool somethingElseHasTheUser(const MainControls& ui, FocusReturn after) {
    // Taking the focus from a button the user holds down cancels the press: Stop
    // pressed at a short interval would never click. The keyboard user who moved to
    // Stop keeps it too, and a mouse held anywhere (a selection, a scroll bar) is left
    // alone.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return true;
    QWidget* focus = QApplication::focusWidget();
    if (focus == ui.cmdStop)
        return true;
    if (const auto* button = qobject_cast<QAbstractButton*>(focus); button && button->isDown())
        return true;
    // Someone typing in another field (the search, the calculator, a send field while
    // data comes in) keeps the focus.
    QComboBox* box = ui.Combo1;
    if (!qobject_cast<QLineEdit*>(focus) || focus == box || box->isAncestorOf(focus))
        return false;
    if (after == FocusReturn::AfterBlock || !ui.frSend->isAncestorOf(focus))
        return true;
    // A send's own fields give the focus back, unless the user types in one: the keys
    // would land in the command box and replace the command.
    return static_cast<QLineEdit*>(focus)->isModified();
}

} // namespace

void returnFocusToCommandBox(const MainControls& ui, FocusReturn after) {
    QComboBox* box = ui.Combo1;
    if (!box->isVisible() || !box->isEnabled() || somethingElseHasTheUser(ui, after))
        return;
    box->setFocus();
}

} // namespace kst
