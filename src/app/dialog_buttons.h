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

} // namespace kst
