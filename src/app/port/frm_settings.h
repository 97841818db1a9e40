#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kst {

class PortListControl;
class Session;

// "Advanced Settings": the flow control (handshaking) and which input lines raise
// line events. OK keeps the choice for the next opening of the port; Cancel drops it.
class frmSettings : public QDialog {
    Q_OBJECT
public:
    frmSettings(QWidget* parent, Session& session, PortListControl& portList);

    QTabWidget* SSTab1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 4> Option1{};
    QGroupBox* Frame2 = nullptr;
    std::array<QCheckBox*, 4> chkFilter{};
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    void Form_Load();
    void Option1_Click(int Index);
    void Command1_Click();
    void Command2_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Session& session_;
    PortListControl& portList_;
    int chosen_ = 0;
};

} // namespace kst
