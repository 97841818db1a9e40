#include "app/receiving/receive_options.h"

#include "app/main/main_view.h"
#include "app/main/session.h"
#include "notation/view/styled_log.h"
#include "platform/desktop/bgr_color.h"
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
    if (session_.state().MonitoringMode && ticked)
        ui.Check2->setChecked(false);
    window_.describe(ticked ? QStringLiteral("\r\n# # # Receiving timer enabled # # # \r\n")
                            : QStringLiteral("\r\n# # # Receiving timer disabled # # # \r\n"));
}

void ReceiveOptions::Check2_Click() {
    const MainControls& ui = window_.ui();
    QCheckBox* box = ui.Check2;
    const bool ticked = box->isChecked();
    const bool debugging = !session_.state().MonitoringMode;
    if (ticked && !debugging)
        ui.Check1->setChecked(false);
    session_.shared().Prefs.bolDescription = ticked;
    if (!debugging && !session_.state().TwoPortActive) {
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
    session_.shared().Prefs.bolFormattedView = ticked;
    window_.describe(ticked ? QStringLiteral("\r\n# # # Formatted view ON # # # \r\n")
                            : QStringLiteral("\r\n# # # Formatted view OFF # # # \r\n"));
}

void ReceiveOptions::CbTimer_Click() {
    const qint32 ms = LongField(window_.ui().CbTimer->currentText());
    if (ms >= MinRxTimerMs && ms <= MaxRxTimerMs)
        session_.state().RxTimerMs = ms;
}

void ReceiveOptions::Option2_Click(int Index) {
    session_.state().RxFormat = Index;
    if (window_.log().isEmpty())
        return;
    window_.Add_Color(QStringLiteral("\r\n# # # RX data format changed to: ") +
                          window_.ui().Option2[static_cast<size_t>(Index)]->text() +
                          QStringLiteral(" # # # \r\n"),
                      session_.shared().Prefs.messageStyle());
}

void ReceiveOptions::Clear_Click() {
    window_.log().clear();
}

} // namespace kst
