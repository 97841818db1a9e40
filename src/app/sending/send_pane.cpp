#include "app/sending/send_pane.h"

#include "app/main/controls.h"
#include "app/main/form_layout.h"
#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/sending/send_buttons.h"
#include "notation/notation.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/bgr_color.h"
#include "platform/desktop/checked_field.h"
#include "platform/services.h"
#include "storage/editor_table.h"
#include "storage/field_values.h"
#include "tools/tool_design.h"
#include "traffic/send_engine.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace kst {

namespace {

void refuse(const QString& message) {
    msgBox(message, MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("Error:"));
}

} // namespace

SendPane::SendPane(Session& session, MainView& window, TwipsSurface& surface, SendButtons& buttons)
    : session_(session), window_(window), surface_(surface), buttons_(buttons) {
    for (Field field :
         {Field::Command, Field::ControlCodes, Field::Delay, Field::Repeat, Field::Interval}) {
        // The command box is seen, and takes its keys, as the combo box around its line.
        QWidget* shown = field == Field::Command ? window.ui().Combo1 : nullptr;
        new CheckedField(editOf(field),
                         {.key = [this, field](QChar typed) { return key(field, typed); },
                          .typingLimit = typingLimitOf(field),
                          .enter = [this, field] { enter(field); },
                          .validate = [this, field] { return validate(field) && tidy(field); }},
                         this, shown);
    }
}

QLineEdit* SendPane::editOf(Field field) const {
    const MainControls& ui = window_.ui();
    switch (field) {
    case Field::Command:
        return ui.Combo1->lineEdit();
    case Field::ControlCodes:
        return ui.Text3;
    case Field::Delay:
        return ui.txtCmdDelay;
    case Field::Repeat:
        return ui.txtCmdRepeat;
    case Field::Interval:
        return ui.txtCmdInterval;
    }
    return nullptr;
}

int SendPane::typingLimitOf(Field field) {
    switch (field) {
    case Field::Delay:
    case Field::Interval:
        return TimeTypingLimit;
    case Field::Repeat:
        return 3;
    default:
        return 0;
    }
}

int SendPane::notationOf(Field field) const {
    return field == Field::ControlCodes ? ncHex : session_.state().TxFormat;
}

// ---------------------------------------------------------------------------------------
// Sending

void SendPane::Send_Click() {
    const MainControls& ui = window_.ui();
    const bool ascii = session_.state().TxFormat == ncAscii;
    const QString command = ui.Combo1->currentText();
    SendAction action;
    action.command = command;
    action.controlCodes = ascii ? ui.Text3->text() : QString();
    action.delayMs = LongField(ui.txtCmdDelay->text());
    action.repeat = IntegerField(ui.txtCmdRepeat->text());
    action.intervalMs = LongField(ui.txtCmdInterval->text());
    session_.sender().send(action, QStringLiteral("Command Pane"));

    // The history follows whatever the send did.
    if (history_.remember(command)) {
        const QSignalBlocker blocker(ui.Combo1);
        ui.Combo1->clear();
        ui.Combo1->addItems(history_.newestFirst());
        ui.Combo1->setCurrentIndex(0);
        ui.Combo1->setEditText(command);
    }
    ui.Combo1->lineEdit()->selectAll();
}

void SendPane::cmdStop_Click() {
    session_.sender().stopAll();
}

// ---------------------------------------------------------------------------------------
// Enabling

void SendPane::Combo1_Change() {
    const MainControls& ui = window_.ui();
    const bool ascii = session_.state().TxFormat == ncAscii;
    enableFields(!ui.Combo1->currentText().isEmpty() || (ascii && !ui.Text3->text().isEmpty()));
}

void SendPane::Text3_Change() {
    const MainControls& ui = window_.ui();
    enableFields(!ui.Combo1->currentText().isEmpty() || !ui.Text3->text().isEmpty());
}

void SendPane::enableFields(bool hasInput) {
    const MainControls& ui = window_.ui();
    for (QWidget* field :
         std::initializer_list<QWidget*>{ui.Send, ui.lblCmdDelay, ui.txtCmdDelay, ui.lblCmdDelay1,
                                         ui.lblCmdRepeat, ui.txtCmdRepeat})
        field->setEnabled(hasInput);
    if (hasInput) {
        txtCmdRepeat_Change();
    } else {
        for (QWidget* field : std::initializer_list<QWidget*>{ui.lblCmdInterval, ui.lblCmdInterval1,
                                                              ui.txtCmdInterval})
            field->setEnabled(false);
    }
    const quint32 color = hasInput ? syscolor::MenuText : syscolor::ScrollBar;
    ui.Line1->setBorderColor(color);
    ui.Line2->setBorderColor(color);
}

void SendPane::txtCmdRepeat_Change() {
    const MainControls& ui = window_.ui();
    const bool repeats = LeadingNumber(ui.txtCmdRepeat->text()) > 0;
    for (QWidget* field :
         std::initializer_list<QWidget*>{ui.txtCmdInterval, ui.lblCmdInterval, ui.lblCmdInterval1})
        field->setEnabled(repeats);
}

// ---------------------------------------------------------------------------------------
// The send notation

void SendPane::Option1_Click(int Index) {
    const MainControls& ui = window_.ui();
    MainState& state = session_.state();
    if (Index != state.TxFormat)
        ui.Combo1->setEditText(QString());
    state.TxFormat = Index;
    buttons_.Option6_Click(state.ButtonPage);
    const bool ascii = Index == ncAscii;
    if (ascii) {
        ui.Label4->setText(QStringLiteral(
            "Input ASCII (e.g. ATI1) and control code (Hex format: e.g. D, A,) to be sent"));
        ui.Frame4->setTitle(QStringLiteral("Programmable buttons (ASCII)"));
        ui.Text3->show();
    } else {
        ui.Label4->setText(Index == ncBin ? QStringLiteral("Append (,) after each byte of command "
                                                           "code (e.g. 11110000,10101010,)")
                                          : QStringLiteral("Append (,) after each byte of command "
                                                           "code (e.g. 65,66,)"));
        ui.Frame4->setTitle(QStringLiteral("Programmable buttons (hex format)"));
        ui.Text3->clear();
        ui.Text3->hide();
    }
    surface_.set(QStringLiteral("Combo1"), Prop::Width, ascii ? 4260 : 5055);
    if (!window_.log().isEmpty()) {
        window_.Add_Color(QStringLiteral("\r\n# # # TX data format changed to: ") +
                              ui.Option1[static_cast<size_t>(Index)]->text() +
                              QStringLiteral(" # # # \r\n"),
                          session_.shared().Prefs.messageStyle());
    }
}

// ---------------------------------------------------------------------------------------
// Keys, focus and checks

std::optional<QChar> SendPane::key(Field field, QChar typed) const {
    switch (field) {
    case Field::Delay:
    case Field::Repeat:
    case Field::Interval:
        return numberFieldKey(typed);
    default:
        return commandFieldKey(typed, notationOf(field));
    }
}

void SendPane::enter(Field field) {
    const int format = session_.state().TxFormat;
    switch (field) {
    case Field::Command:
        if (format == ncAscii) {
            if (!reformat(Field::ControlCodes,
                          QStringLiteral("Invalid data: Control code exceed 2 digits, or no "
                                         "command codes in between two (,) sign!")))
                return;
        } else if (!reformat(Field::Command,
                             QStringLiteral("Invalid data: Hexadecimal code exceed 2 digits, or no "
                                            "command codes in between two (,) sign!"))) {
            return;
        }
        break;
    case Field::ControlCodes:
        if (!reformat(Field::ControlCodes,
                      QStringLiteral("Invalid data: Control code (hexadecimal) exceed 2 digits, "
                                     "or no control code in between two (,) sign!")))
            return;
        break;
    default:
        break;
    }
    editOf(field)->end(false);
    Send_Click();
}

bool SendPane::reformat(Field field, const QString& refusal) {
    const int notation = notationOf(field);
    QLineEdit* edit = editOf(field);
    const std::optional<QString> tidy = reformatByteList(edit->text(), notation);
    if (!tidy) {
        refuse(refusal);
        return false;
    }
    if (field == Field::Command)
        window_.ui().Combo1->setEditText(*tidy);
    else
        edit->setText(*tidy);
    return true;
}

bool SendPane::validate(Field field) {
    QLineEdit* edit = editOf(field);
    switch (field) {
    case Field::Command:
    case Field::ControlCodes:
        if (const int notation = notationOf(field); !ValidateByteList(edit->text(), notation)) {
            refuse(ByteListRefusal(notation));
            return false;
        }
        return true;
    case Field::Delay:
    case Field::Interval:
        if (const auto refusal = waitRefusal(0, 0, edit->text(), field == Field::Delay)) {
            showRefusal(*refusal);
            return false;
        }
        if (edit->text().isEmpty())
            edit->setText(QStringLiteral("0"));
        return true;
    default:
        return true;
    }
}

bool SendPane::tidy(Field field) {
    const int format = session_.state().TxFormat;
    if (field == Field::Command && format != ncAscii) {
        return reformat(field, QStringLiteral("Invalid data: Hexadecimal codes exceed 2 digits, "
                                              "or no command codes in between two (,) sign!"));
    }
    if (field == Field::ControlCodes) {
        return reformat(field, QStringLiteral("Invalid data: Control code (hexadecimal) exceed 2 "
                                              "digits, or no control codes in between two (,) "
                                              "sign!"));
    }
    QLineEdit* edit = editOf(field);
    if (field == Field::Repeat && edit->text().isEmpty())
        edit->setText(QStringLiteral("0"));
    return true;
}

} // namespace kst
