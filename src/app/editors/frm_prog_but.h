#pragma once

#include "storage/button_table.h"

#include <QDialog>
#include <QHash>
#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace kst {

class frmMain;

// "Programmable buttons": the 32 buttons of the current profile, 16 to a tab, each row
// its caption, signal, command (and control codes in ASCII), delay, repeat, interval and
// chain link. Save stores all rows at once and relabels the main window's buttons.
class frmProgBut : public QDialog {
    Q_OBJECT
public:
    explicit frmProgBut(frmMain& main);
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
    // True when the rows were stored.
    bool cmdSave_Click();
    void cmdReset_Click();

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Kind { Caption, Command, ControlCodes, Delay, Repeat, Interval, Signal, Chain };
    struct Field {
        int row;
        Kind kind;
    };
    void buildRow(QWidget* page, int row, int gridRow);
    void connectRow(int row);
    QLineEdit* edit(const Field& field) const;
    bool keyPressed(const Field& field, QKeyEvent* event);
    void gotFocus(const Field& field);
    // False keeps the focus in the field.
    bool validate(const Field& field);
    void lostFocus(const Field& field);
    void enableRow(int row);
    void showTable(const ButtonTable& table);
    ButtonTable table() const;
    // The byte-list check of every row, in the notation shown; false (after the message,
    // with the focus in the failing field) at the first list that is no byte list.
    bool listsPass();
    bool captionsPass();
    // Stores `rows` and refreshes the main window's buttons; false after a message.
    bool store(const ButtonTable& rows, const QString& failureTitle);

    frmMain& main_;
    QHash<QObject*, Field> fields_;
    int editNotation_ = 0;
    int storedNotation_ = 0;
    QString focusText_;
    int focusListIndex_ = 0;
    bool dataChanged_ = false;
    bool checking_ = false;
    bool closing_ = false;
};

} // namespace kst
