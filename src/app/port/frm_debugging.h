#pragma once

#include <QDialog>

class QPushButton;

namespace kst {

class frmMain;

// "Debugging / Simulating": how to wire the optional cable, and OK, which returns the
// main window to talking on the line. Closing the window any other way acts as OK, so
// the mode the menus show is always the one in force.
class frmDebugging : public QDialog {
    Q_OBJECT
public:
    explicit frmDebugging(frmMain& main);

    QPushButton* Command1 = nullptr;
    void Command1_Click();

protected:
    void reject() override;

private:
    frmMain& main_;
};

} // namespace kst
