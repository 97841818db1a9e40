#pragma once

#include "platform/services.h"
#include "storage/editor_table.h"

#include <QCloseEvent>
#include <QDialog>
#include <QString>
#include <optional>

namespace kst {

// The save, reset and closing that every editor of one table shares. A save checks the
// whole table, stores it in one transaction, says so and closes; a reset asks (Enter
// answers No), stores the defaults and stays open; closing checks the table's lists, asks
// about changes and saves on Yes, and a save that stops keeps the dialog and its edits.
// The editor says how its table is shown, read back and stored, and where a refusal
// points.
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
        markUnchanged();
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
        showTable(defaults);
        msgBox(texts_.resetDone, MsgIcon::Information);
        markUnchanged();
    }

    // The table as the window shows it.
    virtual Table table() const = 0;

protected:
    TableEditor(QWidget* parent, Texts texts) : QDialog(parent), texts_(std::move(texts)) {}

    virtual void showTable(const Table& table) = 0;
    virtual Table defaultTable() const = 0;
    // Stores the table in the profile and hands it to whoever holds it in memory; false
    // after the failure's box, which `failureTitle` names.
    virtual bool store(const Table& table, const QString& failureTitle) = 0;
    // Brings the refused field into view and gives it the focus.
    virtual void focusRefused(const Refusal& refusal) = 0;
    virtual bool changed() const = 0;
    virtual void markUnchanged() = 0;

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
        if (closing_) {
            event->accept();
            return;
        }
        if (!passes(table().firstBadList())) {
            event->ignore();
            return;
        }
        if (changed() &&
            msgBox(texts_.changedQuestion, MsgIcon::Question, MsgButtons::YesNo) == AnswerYes) {
            if (!cmdSave_Click())
                event->ignore();
            return;
        }
        markUnchanged();
        closing_ = true;
        event->accept();
        QDialog::reject();
    }

private:
    Texts texts_;
    bool closing_ = false;
};

} // namespace kst
