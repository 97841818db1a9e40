#include "app/port/mode_control.h"

#include "app/main/main_commands.h"
#include "app/main/main_view.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/port/frm_debugging.h"
#include "app/port/frm_monitoring.h"
#include "app/port/frm_settings.h"
#include "app/port/port_control.h"
#include "app/port/port_list.h"
#include "app/port/port_settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

namespace kst {

void showMode(const MainMenus& menus, bool monitoring) {
    menus.mnuDebugging->setChecked(!monitoring);
    menus.mnuMonitoring->setChecked(monitoring);
}

void ModeControl::mnuDebugging_Click() {
    const MainControls& ui = window_.ui();
    const MainMenus& menus = window_.menus();
    if (!session_.state().MonitoringMode)
        return;
    if (session_.MSComm1().PortOpen())
        port_.ClosePort();
    frmDebugging dialog(window_.widget(), session_, ui);
    dialog.exec();
    showMode(menus, false);
    // Undoes the marking of Description in half-duplex monitoring.
    ui.Check2->setText(QStringLiteral("Description"));
    ui.Check2->setPalette(QApplication::palette(ui.Check2));
    ui.lblDescription->hide();
    port_.SetControlsForPortState(true);
    ui.frMonitoring->setTitle(QStringLiteral("Communication mode: Debugging / Simulating"));
    // Monitoring hid the send pane; this mode is the one that sends.
    if (menus.mnuHideSend->isChecked())
        window_.commands().toggleSendPane();
    ui.StatusBar1->setPanelText(
        QStringLiteral("Setting"),
        settingPanelText(
            session_.MSComm1().Settings(),
            handshakingText(handshakeNameOf(session_.state().HandshakeIndex).value_or(QString()))));
}

void ModeControl::mnuMonitoring_Click() {
    const MainControls& ui = window_.ui();
    {
        frmMonitoring dialog(window_.widget(), session_, ui, window_.menus());
        dialog.exec();
    }
    if (!session_.state().MonitoringMode)
        return;
    if (session_.MSComm1().PortOpen())
        port_.ClosePort();
    // The senders go off with the mode, as the controls of a closed port in it.
    port_.SetControlsForPortState(true);
    if (!window_.menus().mnuHideSend->isChecked())
        window_.commands().toggleSendPane();
    ui.frMonitoring->setTitle(session_.state().TwoPortActive
                                  ? QStringLiteral("Communication mode: Monitoring (Full-duplex)")
                                  : QStringLiteral("Communication mode: Monitoring (Half-duplex)"));
    ui.StatusBar1->setPanelText(QStringLiteral("Setting"),
                                settingPanelText(portList_.settingsString()));
}

void ModeControl::mnuSettings_Click() {
    frmSettings dialog(window_.widget(), session_, portList_);
    dialog.exec();
}

} // namespace kst
