#pragma once

#include "platform/desktop/checked_field.h"
#include "platform/runtime_error.h"
#include "platform/services.h"
#include "storage/editor_table.h"

#include <QCloseEvent>
#include <QDialog>
#include <QPushButton>
#include <QString>
#include <functional>
#include <optional>

namespace kst {

// The load, save, reset and closing that every editor of one table shares. A save checks
// the whole table, stores it in one transaction, says so and closes; a reset asks (Enter
// answers No), stores the defaults and stays open; closing leaves the control with the
// focus, checks the table's lists, asks about changes and saves on Yes, and a save that
// stops keeps the dialog and its edits. A table that could not be read is never stored:
// until a reset shows the defaults, the editor saves nothing and closes without a
// question, however it is closed. The editor says how its table is shown, read back and
// stored, and where a refusal points.
template <class Table> class TableEditor : public QDialog {
public:
    // The editor's own words.
    struct Texts {
        QString saveFailureTitle;
        QString resetQuestion;
        QString resetFailureTitle;
        QString resetDone;
        QString changedQuestion;
    };

    // True when the table was stored.
    bool cmdSave_Click() {
        // Everything is checked before anything is written.
        const Table edited = table();
        if (!passes(edited.validate()) || !store(edited, texts_.saveFailureTitle))
            return false;
        msgBox(QStringLiteral("Data has been saved successfully!"), MsgIcon::Information);
        settled(edited);
        closing_ = true;
        accept();
        return true;
    }

    void cmdReset_Click() {
        if (msgBox(texts_.resetQuestion, MsgIcon::Question, MsgButtons::YesNoDefaultNo) !=
            AnswerYes)
            return;
        const Table defaults = defaultTable();
        if (!store(defaults, texts_.resetFailureTitle))
            return;
        showStored(defaults);
        msgBox(texts_.resetDone, MsgIcon::Information);
    }

    // The table as the window shows it.
    virtual Table table() const = 0;

protected:
    TableEditor(QWidget* parent, Texts texts) : QDialog(parent), texts_(std::move(texts)) {}

    // Shows the table the profile holds, as `read` returns it; a table that cannot be read
    // is said under "Form Load Error:" and not shown.
    void loadTable(const std::function<Table()>& read) {
        try {
            showStored(read());
        } catch (const RunTimeError& e) {
            showFailure(QStringLiteral("Form Load Error:"), e);
            setRead(false);
        }
    }

    virtual void showTable(const Table& table) = 0;
    virtual Table defaultTable() const = 0;
    // Stores the table in the profile and hands it to whoever holds it in memory; false
    // after the failure's box, which `failureTitle` names.
    virtual bool store(const Table& table, const QString& failureTitle) = 0;
    // Brings the refused field into view and gives it the focus.
    virtual void focusRefused(const Refusal& refusal) = 0;
    // Whether the editor's own marks tell of a change.
    virtual bool changed() const = 0;
    virtual void markUnchanged() = 0;
    virtual QPushButton* saveButton() const = 0;

    // The window is closing: its fields are not checked as the focus leaves them.
    bool closing() const { return closing_; }

    // False after the refusal's box, with the focus in the field it names.
    bool passes(const std::optional<Refusal>& refusal) {
        if (!refusal)
            return true;
        showRefusal(*refusal);
        focusRefused(*refusal);
        return false;
    }

    void reject() override { close(); }

    void closeEvent(QCloseEvent* event) override {
        // A table never read is never stored: the window just goes.
        if (!closing_ && read_ && !mayClose()) {
            event->ignore();
            return;
        }
        // A save on Yes has closed the window already.
        if (!closing_) {
            markUnchanged();
            closing_ = true;
            QDialog::reject();
        }
        event->accept();
    }

private:
    // What is shown is what the profile holds: it may be stored.
    void showStored(const Table& table) {
        showTable(table);
        settled(this->table());
        setRead(true);
    }
    // What the window shows is what the profile holds.
    void settled(const Table& shown) {
        markUnchanged();
        settledTable_ = shown;
    }
    // A drop, or the wheel over a window that is not the active one, changes a field or a
    // list without the focus that the marks follow: what is shown is compared as well.
    bool differs() const { return changed() || table() != settledTable_; }
    void setRead(bool read) {
        read_ = read;
        saveButton()->setEnabled(read);
    }

    // Every way out hears the edit still in the focused field, as a click on Exit does by
    // taking the focus from it, and asks about the changes. False keeps the window open.
    bool mayClose() {
        return CheckedField::leaveFocusThen(*this, [this] {
            return passes(table().firstBadList()) &&
                   (!differs() ||
                    msgBox(texts_.changedQuestion, MsgIcon::Question, MsgButtons::YesNo) !=
                        AnswerYes ||
                    cmdSave_Click());
        });
    }

    Texts texts_;
    // The table as it was shown when it was loaded or last stored.
    Table settledTable_;
    bool closing_ = false;
    bool read_ = false;
};

} // namespace kst
