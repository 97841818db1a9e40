#pragma once

#include <QString>
#include <array>
#include <functional>

class QBoxLayout;
class QDialog;
class QObject;
class QPushButton;
class QRadioButton;

namespace kst {

// The "OK" (Command1, the default) and "Cancel" (Command2) buttons at the foot of a
// dialog, right-aligned in `layout`.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel addOkCancel(QDialog& dialog, QBoxLayout& layout);

// The "Data notation" frame (Frame2) with the options Option1(0) "Hex" and Option1(1)
// "ASCII", added to `layout`: a click calls `clicked` with the option's index, and
// `focusFilter` watches the options' focus.
std::array<QRadioButton*, 2> addNotationOptions(QDialog& dialog, QBoxLayout& layout,
                                                QObject* focusFilter,
                                                const std::function<void(int)>& clicked);

// The note that tells how a command is typed in the editor's notation (0 Hex, 1 ASCII).
QString commandNote(int notation);

// An editor's buttons act only when clicked: Enter in one of its fields, where a user
// ends a value, must never store, reset or close.
void ignoreEnterInFields(QDialog& editor);

} // namespace kst
