#pragma once

class QBoxLayout;
class QDialog;
class QPushButton;

namespace kst {

// The "OK" (Command1, the default) and "Cancel" (Command2) buttons at the foot of a
// dialog, right-aligned in `layout`.
struct OkCancel {
    QPushButton* ok;
    QPushButton* cancel;
};
OkCancel addOkCancel(QDialog& dialog, QBoxLayout& layout);

// An editor's buttons act only when clicked: Enter in one of its fields, where a user
// ends a value, must never store, reset or close.
void ignoreEnterInFields(QDialog& editor);

} // namespace kst
