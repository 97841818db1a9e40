#pragma once

#include "traffic/command_input.h"

#include <QChar>
#include <QObject>
#include <optional>

class QLineEdit;
class QWidget;

namespace kst {

class MainView;
class SendButtons;
class Session;
class TwipsSurface;

// The send pane: the command box with its history, the control-code field, the delay,
// repeat and interval fields, Send and Stop, and the send notation. It filters the keys
// of its fields, tidies and checks what is typed, and hands each send to the engine.
class SendPane : public QObject {
    Q_OBJECT
public:
    SendPane(Session& session, MainView& window, TwipsSurface& surface, SendButtons& buttons);

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

private:
    enum class Field { Command, ControlCodes, Delay, Repeat, Interval };
    QLineEdit* editOf(Field field) const;
    // How many characters typing or pasting may put in the field; 0, no limit.
    static int typingLimitOf(Field field);
    // The notation of a byte-list field: the control codes are always hexadecimal.
    int notationOf(Field field) const;
    std::optional<QChar> key(Field field, QChar typed) const;
    void enter(Field field);
    // The field's check when the focus leaves it, then its tidying; false keeps the
    // focus there.
    bool validate(Field field);
    bool tidy(Field field);
    // Tidies a byte list in place; false (after the message) when it is refused.
    bool reformat(Field field, const QString& refusal);

    Session& session_;
    MainView& window_;
    TwipsSurface& surface_;
    SendButtons& buttons_;
    CommandHistory history_;
};

} // namespace kst
