#include "send_pane.h"

#include "controls.h"
#include "field_checks.h"
#include "focus_highlight.h"
#include "form_layout.h"
#include "frm_main.h"
#include "main_controller.h"
#include "notation/notation.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/bgr_color.h"
#include "platform/services.h"
#include "session.h"
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

SendPane::SendPane(frmMain& window) : window_(window) {
    const MainControls& ui = window.ui();
    for (QObject* watched :
         std::initializer_list<QObject*>{ui.Combo1, ui.Combo1->lineEdit(), ui.Text3, ui.txtCmdDelay,
                                         ui.txtCmdRepeat, ui.txtCmdInterval})
        watched->installEventFilter(this);
}

SendPane::Field SendPane::fieldOf(QObject* watched) const {
    const MainControls& ui = window_.ui();
    if (watched == ui.Combo1 || watched == ui.Combo1->lineEdit())
        return Field::Command;
    if (watched == ui.Text3)
        return Field::ControlCodes;
    if (watched == ui.txtCmdDelay)
        return Field::Delay;
    if (watched == ui.txtCmdRepeat)
        return Field::Repeat;
    if (watched == ui.txtCmdInterval)
        return Field::Interval;
    return Field::None;
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
    case Field::None:
        break;
    }
    return nullptr;
}

// ---------------------------------------------------------------------------------------
// Sending

void SendPane::Send_Click() {
    Session& session = window_.session();
    const MainControls& ui = window_.ui();
    const bool ascii = session.state().TxFormat == ncAscii;
    const QString command = ui.Combo1->currentText();
    SendAction action;
    action.command = command;
    action.controlCodes = ascii ? ui.Text3->text() : QString();
    action.delayMs = LongField(ui.txtCmdDelay->text());
    action.repeat = IntegerField(ui.txtCmdRepeat->text());
    action.intervalMs = LongField(ui.txtCmdInterval->text());
    session.sender().send(action, QStringLiteral("Command Pane"));

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
    Session& session = window_.session();
    session.state().StopSending = true;
    session.sender().stopAll();
}

// ---------------------------------------------------------------------------------------
// Enabling

void SendPane::Combo1_Change() {
    const MainControls& ui = window_.ui();
    const bool ascii = window_.session().state().TxFormat == ncAscii;
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
    Session& session = window_.session();
    const MainControls& ui = window_.ui();
    MainState& state = session.state();
    if (Index != state.TxFormat)
        ui.Combo1->setEditText(QString());
    state.TxFormat = Index;
    window_.controller().buttons().Option6_Click(state.ButtonPage);
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
    window_.surface().set(QStringLiteral("Combo1"), Prop::Width, ascii ? 4260 : 5055);
    if (!window_.log().isEmpty()) {
        window_.Add_Color(QStringLiteral("\r\n# # # TX data format changed to: ") +
                              ui.Option1[static_cast<size_t>(Index)]->text() +
                              QStringLiteral(" # # # \r\n"),
                          session.shared().Prefs.messageStyle());
    }
}

// ---------------------------------------------------------------------------------------
// Keys, focus and checks

bool SendPane::eventFilter(QObject* watched, QEvent* event) {
    const Field field = fieldOf(watched);
    if (field == Field::None)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        // The combo box hands its keys on to its line: take them once, at the box.
        if (watched == window_.ui().Combo1->lineEdit())
            break;
        return keyPressed(field, static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn:
        if (watched != window_.ui().Combo1->lineEdit())
            gotFocus(field);
        break;
    case QEvent::FocusOut:
        if (watched != window_.ui().Combo1->lineEdit() &&
            fieldLeft(*static_cast<QFocusEvent*>(event)))
            lostFocus(field);
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

bool SendPane::keyPressed(Field field, QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        enter(field);
        return true;
    }
    const QString text = event->text();
    if (text.size() != 1 || text[0].unicode() < 32)
        return false; // Backspace, arrows and the like
    const bool number = field == Field::Delay || field == Field::Repeat || field == Field::Interval;
    const int notation = field == Field::ControlCodes ? ncHex : window_.session().state().TxFormat;
    const std::optional<QChar> taken =
        number ? numberFieldKey(text[0]) : commandFieldKey(text[0], notation);
    if (!taken)
        return true;
    if (*taken != text[0]) {
        editOf(field)->insert(QString(*taken));
        return true;
    }
    return false;
}

void SendPane::enter(Field field) {
    const int format = window_.session().state().TxFormat;
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
    const int notation = field == Field::ControlCodes ? ncHex : window_.session().state().TxFormat;
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

void SendPane::gotFocus(Field field) {
    QLineEdit* edit = editOf(field);
    highlightField(field == Field::Command ? static_cast<QWidget*>(window_.ui().Combo1) : edit,
                   true);
    selectAllOnFocus(edit);
}

bool SendPane::validate(Field field) {
    QLineEdit* edit = editOf(field);
    const int format = window_.session().state().TxFormat;
    switch (field) {
    case Field::Command:
        if (!ValidateByteList(edit->text(), format)) {
            refuse(ByteListRefusal(format));
            return false;
        }
        return true;
    case Field::ControlCodes:
        if (!ValidateByteList(edit->text(), ncHex)) {
            refuse(ByteListRefusal(ncHex));
            return false;
        }
        return true;
    case Field::Delay:
    case Field::Interval:
        if (!waitFieldInRange(edit, field == Field::Delay))
            return false;
        if (edit->text().isEmpty())
            edit->setText(QStringLiteral("0"));
        return true;
    default:
        return true;
    }
}

void SendPane::lostFocus(Field field) {
    // A message box of a check takes the focus too: that is no second leaving.
    if (checking_)
        return;
    checking_ = true;
    QLineEdit* edit = editOf(field);
    QWidget* shown = field == Field::Command ? static_cast<QWidget*>(window_.ui().Combo1) : edit;
    bool keep = !validate(field);
    if (!keep) {
        const int format = window_.session().state().TxFormat;
        if (field == Field::Command && format != ncAscii) {
            keep = !reformat(field, QStringLiteral("Invalid data: Hexadecimal codes exceed 2 "
                                                   "digits, or no command codes in between two "
                                                   "(,) sign!"));
        } else if (field == Field::ControlCodes) {
            keep = !reformat(field, QStringLiteral("Invalid data: Control code (hexadecimal) "
                                                   "exceed 2 digits, or no control codes in "
                                                   "between two (,) sign!"));
        } else if (field == Field::Repeat && edit->text().isEmpty()) {
            edit->setText(QStringLiteral("0"));
        }
    }
    if (keep)
        QMetaObject::invokeMethod(shown, "setFocus", Qt::QueuedConnection);
    else
        highlightField(shown, false);
    checking_ = false;
}

} // namespace kst
