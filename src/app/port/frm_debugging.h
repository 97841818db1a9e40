#pragma once

#include <QDialog>

class QPushButton;

namespace kst {

class Session;
struct MainControls;

// "Debugging / Simulating": how to wire the optional cable, and OK, which returns the
// main window to talking on the line. Closing the window any other way acts as OK, so
// the mode the menus show is always the one in force.
class frmDebugging : public QDialog {
    Q_OBJECT
public:
    frmDebugging(QWidget* parent, Session& session, const MainControls& ui);

    QPushButton* Command1 = nullptr;
    void Command1_Click();

protected:
    void reject() override;

private:
    Session& session_;
    const MainControls& ui_;
};

} // namespace kst
