#pragma once

#include "app/app_fixtures.h"
#include "app/editors/frm_auto_sequence.h"
#include "app/editors/macro_step_fields.h"
#include "app/editors/sub_routine_fields.h"
#include "platform/db/recordset.h"

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTimer>
#include <functional>

namespace kst::test {

// The macro editor as the main window opens it; `act` runs on it while it is shown.
class MacroEditorTest : public ::testing::Test {
protected:
    MacroEditorTest() : main((folder.makeReady(), folder.path())) {
        main.InitMainWindow();
        main.setCommands(nullptr);
        boxes.clear();
        QApplication::setActiveWindow(&main);
    }
    QString conn() const { return main.session().shared().SettingsConnStr; }
    QString profile() const { return folder.file("Devices/Device1.kst"); }
    void set(const QString& table, int id, FieldValues fields) {
        setRow(conn(), table, id, fields);
    }
    // The text column `ordinal` of row `id` holds.
    QString stored(const QString& table, int id, int ordinal) const {
        db::Recordset rs;
        rs.open(QStringLiteral("SELECT * FROM %1 WHERE ID = %2").arg(table).arg(id), conn());
        rs.moveFirst();
        const QString text = rs.value(ordinal).toText();
        rs.close();
        return text;
    }

    void withEditor(const std::function<void(frmAutoSequence&)>& act) {
        QTimer::singleShot(0, [act] {
            auto* editor = qobject_cast<frmAutoSequence*>(QApplication::activeModalWidget());
            ASSERT_NE(editor, nullptr);
            QApplication::setActiveWindow(editor);
            act(*editor);
            if (editor->isVisible()) {
                editor->close();
            }
        });
        main.menuItem("mnuProgMacros")->trigger();
    }
    static void chooseMacro(frmAutoSequence& editor, int macro) {
        editor.cboMacros->setCurrentIndex(macro - 1);
        emit editor.cboMacros->activated(macro - 1);
    }
    static void clickStep(MacroStepFields& steps, int step) {
        steps.List1->setCurrentRow(step - 1);
    }
    static void pickSubRoutine(SubRoutineFields& subs, int sub) {
        subs.Combo3->setCurrentIndex(sub - 1);
        emit subs.Combo3->activated(sub - 1);
    }

    ProgramFolder folder;
    RecordingMessageBoxes boxes;
    RecordingMain main;
};

} // namespace kst::test
