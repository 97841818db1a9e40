#pragma once

#include "traffic/command_input.h"

#include <QObject>

class QKeyEvent;
class QLineEdit;
class QWidget;

namespace kst {

class frmMain;

// The send pane: the command box with its history, the control-code field, the delay,
// repeat and interval fields, Send and Stop, and the send notation. It filters the keys
// of its fields, tidies and checks what is typed, and hands each send to the engine.
class SendPane : public QObject {
    Q_OBJECT
public:
    explicit SendPane(frmMain& window);

    void Send_Click();
    void cmdStop_Click();
    // The enabling rule of the send fields, after the command box or the control codes
    // changed; the interval rule after the repeat count changed.
    void Combo1_Change();
    void Text3_Change();
    void txtCmdRepeat_Change();
    // Send, the delay and repeat fields and their captions for a pane with input or
    // without; the interval only when the repeat count is above 0.
    void enableFields(bool hasInput);
    // The send notation (0 Dec .. 4 ASCII).
    void Option1_Click(int Index);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Field { Command, ControlCodes, Delay, Repeat, Interval, None };
    Field fieldOf(QObject* watched) const;
    QLineEdit* editOf(Field field) const;
    bool keyPressed(Field field, QKeyEvent* event);
    void enter(Field field);
    void gotFocus(Field field);
    void lostFocus(Field field);
    // The field's check when the focus leaves it; false keeps the focus there.
    bool validate(Field field);
    // Tidies a byte list in place; false (after the message) when it is refused.
    bool reformat(Field field, const QString& refusal);

    frmMain& window_;
    CommandHistory history_;
    bool checking_ = false;
};

} // namespace kst
