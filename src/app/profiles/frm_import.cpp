#include "app/profiles/frm_import.h"

#include "app/editors/dialog_buttons.h"
#include "app/main/session.h"
#include "app/profiles/profile_control.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/profile_files.h"
#include "tools/tool_design.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

namespace kst {

frmImport::frmImport(QWidget* parent, Session& session, ProfileControl& profile)
    : QDialog(parent), session_(session), profile_(profile) {
    setObjectName(QStringLiteral("frmImport"));
    setWindowTitle(QStringLiteral("Import Device Profile"));
    useDesignFont(this);
    setFixedSize(toPixels(5460), toPixels(2400));
    auto* frame = placed(new QGroupBox(QStringLiteral("Import Device Profile"), this),
                         QStringLiteral("Frame1"), 180, 315, 5085, 1320);
    placed(
        new QLabel(QStringLiteral("From previous version's .kst file to file being used"), frame),
        QStringLiteral("Label3"), 315, 300, 4095, 300);
    Text1 = placed(new QLineEdit(frame), QStringLiteral("Text1"), 315, 675, 3495, 315);
    Command1 = placed(new QPushButton(QStringLiteral("Browse"), frame), QStringLiteral("Command1"),
                      3915, 645, 960, 375);
    Command2 = placed(new QPushButton(QStringLiteral("Import"), this), QStringLiteral("Command2"),
                      2940, 1770, 990, 345);
    Command2->setEnabled(false);
    Command3 = placed(new QPushButton(QStringLiteral("Cancel"), this), QStringLiteral("Command3"),
                      4020, 1770, 990, 345);
    ProgressBar1 =
        placed(new QProgressBar(this), QStringLiteral("ProgressBar1"), 210, 1800, 1380, 285);
    ProgressBar1->setMaximum(100);
    ProgressBar1->hide();
    Label1 = placed(new QLabel(QStringLiteral("File imported successfully!"), this),
                    QStringLiteral("Label1"), 210, 1792, 2040, 300);
    Label1->hide();

    connect(Text1, &QLineEdit::textChanged, this,
            [this] { Command2->setEnabled(!Text1->text().isEmpty()); });
    connect(Command1, &QPushButton::clicked, this, &frmImport::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmImport::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmImport::Command3_Click);
    ignoreEnterInFields(*this);
}

void frmImport::Command1_Click() {
    cmdlg1_.prepare(ProfileFileFilter, session_.programFolder());
    if (const std::optional<ChosenFile> chosen = cmdlg1_.showOpen())
        Text1->setText(chosen->fileName);
}

void frmImport::Command2_Click() {
    Label1->hide();
    importDone_ = false;
    ProgressBar1->setValue(1);
    ProgressBar1->show();
    try {
        ImportOlderProfile(Text1->text(), session_.ini().settingsFile(),
                           [this](int percent) { ProgressBar1->setValue(percent); });
    } catch (const RunTimeError& e) {
        // The whole import or none of it: the profile is as it was.
        ProgressBar1->hide();
        msgBox(failureText(e.number(), e.description()) +
                   QStringLiteral("\nNothing was imported; the profile is as it was."),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("File Import Error:"));
        return;
    }
    ProgressBar1->hide();
    Label1->show();
    importDone_ = true;
    Command3->setText(QStringLiteral("Exit"));
}

void frmImport::Command3_Click() {
    accept();
}

void frmImport::done(int result) {
    QDialog::done(result);
    // However the dialog closes, the main window shows what was imported.
    if (importDone_) {
        importDone_ = false;
        profile_.reloadAfterImport();
    }
}

} // namespace kst
