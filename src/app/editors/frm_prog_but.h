#pragma once

#include "app/editors/table_editor.h"
#include "storage/button_table.h"

#include <QDialog>
#include <QHash>
#include <array>
#include <functional>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kst {

struct SharedState;

// "Programmable buttons": the 32 buttons of the current profile, 16 to a tab, each row
// its caption, signal, command (and control codes in ASCII), delay, repeat, interval and
// chain link. Save stores all rows at once and relabels the main window's buttons.
class frmProgBut : public TableEditor<ButtonTable> {
    Q_OBJECT
public:
    // `stored`: after a save or reset has stored the rows in the profile and in
    // `shared`, the main window shows its buttons again.
    frmProgBut(QWidget* parent, SharedState& shared, std::function<void()> stored);
    ~frmProgBut() override;

    // One button's row.
    struct Row {
        QPushButton* cmdBut = nullptr;
        QLineEdit* txtCaption = nullptr;
        QComboBox* Combo2 = nullptr; // signal
        QLineEdit* txtCmd = nullptr;
        QLineEdit* txtCtrlCode = nullptr;
        QLineEdit* txtDelay = nullptr;
        QLineEdit* txtRepeat = nullptr;
        QLineEdit* txtInterval = nullptr;
        QComboBox* Combo1 = nullptr; // chain
    };
    std::array<Row, 32> rows;
    QTabWidget* SSTab1 = nullptr;
    std::array<QRadioButton*, 2> Option1{};
    QLabel* Label10 = nullptr;
    QPushButton* cmdReset = nullptr;
    QPushButton* cmdSave = nullptr;
    QPushButton* cmdExit = nullptr;

    void Form_Load();
    void Option1_Click(int Index);
    ButtonTable table() const override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showTable(const ButtonTable& table) override;
    ButtonTable defaultTable() const override { return DefaultButtonTable(); }
    // Stores the rows and refreshes the main window's buttons; false after a message.
    bool store(const ButtonTable& rows, const QString& failureTitle) override;
    void focusRefused(const Refusal& refusal) override;
    bool changed() const override { return dataChanged_; }
    void markUnchanged() override { dataChanged_ = false; }
    QPushButton* saveButton() const override { return cmdSave; }

private:
    void buildRow(QWidget* page, int row, int gridRow);
    void connectRow(int row);
    void checkField(int row, ButtonField field);
    QLineEdit* edit(int row, ButtonField field) const;
    void enableRow(int row);

    SharedState& shared_;
    std::function<void()> stored_;
    QHash<QObject*, int> lists_; // the two lists of each row, by their row
    int editNotation_ = 0;
    int storedNotation_ = 0;
    int focusListIndex_ = 0;
    bool dataChanged_ = false;
};

} // namespace kst
