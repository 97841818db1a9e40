#include "receive_options.h"

#include "frm_main.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/bgr_color.h"
#include "session.h"
#include "storage/field_values.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>

namespace kst {

void ReceiveOptions::Check1_Click() {
    const MainControls& ui = window_.ui();
    const bool ticked = ui.Check1->isChecked();
    ui.CbTimer->setEnabled(ticked);
    if (!window_.menus().mnuDebugging->isChecked() && ticked)
        ui.Check2->setChecked(false);
    window_.describe(ticked ? QStringLiteral("\r\n# # # Receiving timer enabled # # # \r\n")
                            : QStringLiteral("\r\n# # # Receiving timer disabled # # # \r\n"));
}

void ReceiveOptions::Check2_Click() {
    const MainControls& ui = window_.ui();
    Session& session = window_.session();
    QCheckBox* box = ui.Check2;
    const bool ticked = box->isChecked();
    const bool debugging = window_.menus().mnuDebugging->isChecked();
    if (ticked && !debugging)
        ui.Check1->setChecked(false);
    session.shared().Prefs.bolDescription = ticked;
    if (!debugging && !session.state().TwoPortActive) {
        // In half-duplex monitoring the time stamps are only as exact as the line is slow.
        box->setText(ticked ? QStringLiteral("Description*") : QStringLiteral("Description"));
        QPalette palette = box->palette();
        palette.setColor(QPalette::WindowText,
                         ticked ? colorFromBgr(0x40C0)
                                : QApplication::palette().color(QPalette::WindowText));
        box->setPalette(palette);
        ui.lblDescription->setVisible(ticked);
    }
}

void ReceiveOptions::Check3_Click() {
    const bool ticked = window_.ui().Check3->isChecked();
    window_.session().shared().Prefs.bolFormattedView = ticked;
    window_.describe(ticked ? QStringLiteral("\r\n# # # Formatted view ON # # # \r\n")
                            : QStringLiteral("\r\n# # # Formatted view OFF # # # \r\n"));
}

void ReceiveOptions::CbTimer_Click() {
    const qint32 ms = LongField(window_.ui().CbTimer->currentText());
    if (ms >= MinRxTimerMs && ms <= MaxRxTimerMs)
        window_.session().state().RxTimerMs = ms;
}

void ReceiveOptions::Option2_Click(int Index) {
    window_.session().state().RxFormat = Index;
    if (window_.log().isEmpty())
        return;
    window_.Add_Color(QStringLiteral("\r\n# # # RX data format changed to: ") +
                          window_.ui().Option2[static_cast<size_t>(Index)]->text() +
                          QStringLiteral(" # # # \r\n"),
                      window_.session().shared().Prefs.messageStyle());
}

void ReceiveOptions::Clear_Click() {
    window_.log().clear();
}

} // namespace kst
