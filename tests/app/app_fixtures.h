#pragma once

#include "app/form_layout.h"
#include "app/frm_main.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "support/fakes.h"

#include "storage/profile_schema.h"
#include "support/profile_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kst::test {

inline const QSize FullScreen(1024, 768);

// A main window whose handlers of later features record that they ran.
class RecordingMain : public frmMain {
public:
    // The machine's own serial devices stay out of a test: only the links it makes count.
    explicit RecordingMain(const QString& programFolder, QSize screen = FullScreen)
        : frmMain(programFolder, screen) {
        hooks().discoverDevices = [] { return QStringList(); };
    }
    QStringList calls;

    void mnuNew_Click() override { calls << "mnuNew_Click"; }
    void mnuOpenSettings_Click() override { calls << "mnuOpenSettings_Click"; }
    void mnuSaveSettings_Click() override { calls << "mnuSaveSettings_Click"; }
    void mnuSave_Click() override { calls << "mnuSave_Click"; }
    void mnuOpenLog_Click() override { calls << "mnuOpenLog_Click"; }
    void mnuDebugging_Click() override { calls << "mnuDebugging_Click"; }
    void mnuMonitoring_Click() override { calls << "mnuMonitoring_Click"; }
    void mnuSettings_Click() override { calls << "mnuSettings_Click"; }
    void mnuAutoResp_Click() override { calls << "mnuAutoResp_Click"; }
    void mnuRun_Click() override { calls << "mnuRun_Click"; }
    void mnuPause_Click() override { calls << "mnuPause_Click"; }
    void mnuStop_Click() override { calls << "mnuStop_Click"; }
    void mnuContinue_Click() override { calls << "mnuContinue_Click"; }
    void mnuAscii_Click() override { calls << "mnuAscii_Click"; }
    void mnuCal_Click() override { calls << "mnuCal_Click"; }
    void mnuProgBut_Click() override { calls << "mnuProgBut_Click"; }
    void mnuProgAutoResp_Click() override { calls << "mnuProgAutoResp_Click"; }
    void mnuProgMacros_Click() override { calls << "mnuProgMacros_Click"; }
    void mnuOptions_Click() override { calls << "mnuOptions_Click"; }
    void mnuImport_Click() override { calls << "mnuImport_Click"; }
    void mnuAbout_Click() override { calls << "mnuAbout_Click"; }
    void OpenPort() override { calls << "OpenPort"; }
    void ClosePort() override { calls << "ClosePort"; }
};

// A program folder of its own for each test.
class ProgramFolder {
public:
    ProgramFolder() { EXPECT_TRUE(dir_.isValid()); }
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }
    // The support database the build makes.
    void addSupportDatabase() const {
        ASSERT_TRUE(QFile::copy(KST_SUPPORT_DB_PATH, file("mscomctl.2fl")));
        QFile::setPermissions(file("mscomctl.2fl"), QFile::ReadOwner | QFile::WriteOwner |
                                                        QFile::ReadUser | QFile::WriteUser);
    }
    // A program folder as the first start leaves it: support database and default profile.
    void makeReady() const {
        addSupportDatabase();
        addProfile("Devices/Device1.kst");
    }
    // A profile made from the templates, as New makes it; `relative` to the folder.
    void addProfile(const QString& relative) const {
        QDir(path()).mkpath(QFileInfo(file(relative)).path());
        createProfile(supportConnStr(path()), file(relative));
    }
    QByteArray read(const QString& name) const {
        QFile f(file(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(file(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private:
    QTemporaryDir dir_;
};

} // namespace kst::test
