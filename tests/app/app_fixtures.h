#pragma once

#include "app/form_layout.h"
#include "app/frm_main.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "support/fakes.h"

#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kst::test {

// Ends nothing: it counts, so a window can be closed inside a test the way the user
// closes it (the recording ender's exception must not cross Qt's event handlers).
class CountingEnder : public ProgramEnder {
public:
    CountingEnder() { previous_ = Platform::setEnder(this); }
    ~CountingEnder() override { Platform::setEnder(previous_); }
    void endProgram() override { ++count; }
    int count = 0;

private:
    ProgramEnder* previous_;
};

// A main window whose handlers of later features record that they ran.
class RecordingMain : public frmMain {
public:
    using frmMain::frmMain;
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
    // The start-up only tests that the support database is there.
    void addSupportDatabase() const {
        QFile f(file("mscomctl.2fl"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
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

inline const QSize FullScreen(1024, 768);

} // namespace kst::test
