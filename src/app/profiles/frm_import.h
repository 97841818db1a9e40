#pragma once

#include "app/profiles/common_dialog.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace kst {

class ProfileControl;
class Session;

// "Import Device Profile": brings the settings of a profile of an earlier version into
// the profile that is open, which the main window then loads again.
class frmImport : public QDialog {
    Q_OBJECT
public:
    frmImport(QWidget* parent, Session& session, ProfileControl& profile);

    QLineEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr; // Browse
    QPushButton* Command2 = nullptr; // Import
    QPushButton* Command3 = nullptr; // Cancel, Exit after an import
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label1 = nullptr;

    void Command1_Click();
    void Command2_Click();
    void Command3_Click();

protected:
    void done(int result) override;

private:
    Session& session_;
    ProfileControl& profile_;
    // The dialog's own file dialog: what the main window's file commands chose last
    // (a title, a folder) plays no part here.
    CommonDialog cmdlg1_;
    bool importDone_ = false;
};

} // namespace kst
