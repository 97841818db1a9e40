#pragma once

#include <QDialog>
#include <QList>
#include <array>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kst {

class Session;
struct MainControls;
struct MainMenus;

// "Monitoring (Monitor / Spy)": half-duplex monitoring on the primary port, or
// full-duplex on the primary and a second port. OK switches the main window to
// Monitoring mode; closing the window otherwise changes nothing.
class frmMonitoring : public QDialog {
    Q_OBJECT
public:
    frmMonitoring(QWidget* parent, Session& session, const MainControls& ui,
                  const MainMenus& menus);

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command1 = nullptr;

    void Form_Load();
    void Option1_Click(int Index);
    void Command1_Click();

private:
    // The COM numbers a second port can take: every port present but the primary's.
    void FillSecondPortList();
    void showSecondPort(bool shown);

    Session& session_;
    const MainControls& ui_;
    const MainMenus& menus_;
    QList<int> found_;
};

} // namespace kst
