#pragma once

#include "app/main/controls.h"
#include "app/main/form_layout.h"
#include "app/main/frm_main.h"
#include "app/main/main_controller.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/main/tool_bar.h"
#include "notation/view/log_view.h"
#include "notation/view/styled_log.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "support/fakes.h"

#include "storage/profile_schema.h"
#include "support/profile_rows.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kst::test {

inline const QSize FullScreen(1024, 768);

// The nine LEDs by the names of their images ("img" + name) and labels ("lbl" + name).
inline const QStringList& ledNames() {
    static const QStringList names = {"RX", "TX", "DSR", "CTS", "CD", "RI", "DTR", "RTS", "BRK"};
    return names;
}

// Records every command the window dispatches. The commands of the window itself
// (exit, the panes, help) also run; the others only leave their name.
class RecordingCommands : public MainCommands {
public:
    explicit RecordingCommands(MainCommands& real) : real_(real) {}
    QStringList calls;

#define KST_RECORDED(name)                                                                         \
    void name() override {                                                                         \
        calls << QStringLiteral(#name);                                                            \
    }
#define KST_RECORDED_AND_RUN(name)                                                                 \
    void name() override {                                                                         \
        calls << QStringLiteral(#name);                                                            \
        real_.name();                                                                              \
    }
    KST_RECORDED(newProfile)
    KST_RECORDED(openProfile)
    KST_RECORDED(saveProfileAs)
    KST_RECORDED(saveLog)
    KST_RECORDED(openLog)
    KST_RECORDED_AND_RUN(exitProgram)
    KST_RECORDED(switchToDebugging)
    KST_RECORDED(switchToMonitoring)
    KST_RECORDED(openPort)
    KST_RECORDED(closePort)
    KST_RECORDED(advancedSettings)
    KST_RECORDED_AND_RUN(toggleCalculatorPane)
    KST_RECORDED_AND_RUN(toggleSendPane)
    KST_RECORDED(toggleAutoResponse)
    KST_RECORDED(runMacro)
    KST_RECORDED(pauseMacro)
    KST_RECORDED(stopMacro)
    KST_RECORDED(togglePlayMode)
    KST_RECORDED(showAsciiChart)
    KST_RECORDED(showCalculator)
    KST_RECORDED(editButtons)
    KST_RECORDED(editAutoResponse)
    KST_RECORDED(editMacros)
    KST_RECORDED(editOptions)
    KST_RECORDED(importProfile)
    KST_RECORDED(showAbout)
    KST_RECORDED_AND_RUN(showHelp)
#undef KST_RECORDED
#undef KST_RECORDED_AND_RUN

private:
    MainCommands& real_;
};

// A main window whose commands are recorded, with the look-ups tests use to reach its
// controls by their object names.
class RecordingMain : public frmMain {
public:
    // The machine's own serial devices stay out of a test: only the links it makes count.
    explicit RecordingMain(const QString& programFolder, QSize screen = FullScreen,
                           Scheduler* scheduler = nullptr)
        : frmMain(programFolder, screen, scheduler), recorder(controller()) {
        session().discoverDevices = [] { return QStringList(); };
        setCommands(&recorder);
    }
    RecordingCommands recorder;
    QStringList& calls = recorder.calls;

    template <class T = QWidget> T* control(const QString& name) const {
        return findChild<T*>(name);
    }
    template <class T = QWidget> T* control(const QString& name, int index) const {
        return findChild<T*>(name + QLatin1Char('(') + QString::number(index) + QLatin1Char(')'));
    }
    QAction* menuItem(const QString& name) const { return findChild<QAction*>(name); }
    QStringList menuItemNames() const {
        QStringList names;
        for (QAction* item : findChildren<QAction*>())
            if (item->objectName().startsWith(QLatin1String("mnu")))
                names << item->objectName();
        return names;
    }

    MainState& state() { return session().state(); }
    SharedState& shared() { return session().shared(); }
    IniFile& ini() { return session().ini(); }
    comm::CommControl& MSComm1() { return session().MSComm1(); }
    KeyedToolBar* Toolbar1() const { return ui().Toolbar1; }
    PanelStatusBar* StatusBar1() const { return ui().StatusBar1; }
    QComboBox* portChoice() const { return ui().portChoice; }
    LogView* responseBox() const { return ui().responseBox; }
    ImageControl* imgLedSample(int index) const { return ui().imgLedSample[index]; }

    void Open_DB(const QString& file, const QString& title) {
        controller().profile().Open_DB(file, title);
    }
    void cboMacros_Click() { controller().profile().cboMacros_Click(); }
    void ExitSave() { controller().profile().ExitSave(); }
    void ListComPorts() { controller().portList().ListComPorts(); }
    void FillPortList(const QList<int>& ports) { controller().portList().FillPortList(ports); }
    std::optional<int> portIndexToStore() { return controller().portList().portIndexToStore(); }
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

// How many characters typing or pasting puts into `field`: a paste of 300 digits, which
// the keys of every field take, into the emptied field. The field is left as it was.
inline qsizetype typedLength(QLineEdit* field) {
    const QString before = field->text();
    field->clear();
    field->insert(QString(300, u'1')); // as a paste does
    const qsizetype length = field->text().size();
    field->setText(before);
    return length;
}

// The characters a text column of the profile holds (0 for other kinds).
inline int columnSize(const QString& table, const QString& column) {
    for (const db::TableDef& t : profileTables()) {
        if (t.name == table && t.ordinalOf(column) >= 0)
            return t.columns[static_cast<size_t>(t.ordinalOf(column))].size;
    }
    ADD_FAILURE() << "no column " << column.toStdString() << " in " << table.toStdString();
    return 0;
}

// A field, how much typing it takes, and the column it is stored in, which must hold it.
struct TypedField {
    QLineEdit* field;
    qsizetype limit;
    const char* table;
    const char* column;
};
inline void expectTypingLimits(std::initializer_list<TypedField> fields) {
    for (const TypedField& f : fields) {
        SCOPED_TRACE(f.column);
        EXPECT_EQ(typedLength(f.field), f.limit);
        const int size = columnSize(f.table, f.column);
        if (size > 0) {
            EXPECT_LE(f.limit, size) << "a typed value must load again";
        }
    }
}

} // namespace kst::test
