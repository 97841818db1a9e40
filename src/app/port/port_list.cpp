#include "app/port/port_list.h"

#include "app/main/main_controls.h"
#include "app/main/session.h"
#include "app/main/status_bar.h"
#include "app/port/port_settings.h"
#include "platform/runtime_error.h"
#include "platform/serial/com_port_map.h"
#include "platform/services.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace kst {

void PortListControl::ListComPorts() {
    comm::CommControl& port = session_.MSComm1();
    // Every step goes on after a failure: a port that fails is just not listed.
    try {
        if (port.PortOpen())
            port.setPortOpen(false);
    } catch (const RunTimeError&) {
    }
    comm::ComPortMap links(session_.programFolder());
    if (session_.discoverDevices)
        links.linkNewDevices(session_.discoverDevices());
    else
        links.linkNewDevices();

    // A port is found without opening it: an open sets DTR and RTS, which resets many
    // boards on the line. A port another program holds counts as found.
    QList<int> present;
    for (int n = 1; n <= 16; ++n) {
        if (port.portPresent(n))
            present << n;
    }
    port.setCommPort(16);
    FillPortList(present);
}

void PortListControl::FillPortList(const QList<int>& presentPorts) {
    QComboBox* list = ui_.portChoice;
    const QStringList entries = portListEntries(presentPorts);
    {
        // Filling the list is no choice of the user: the list's Click does not run.
        const QSignalBlocker blocker(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    }
    if (entries == QStringList{noPortPlaceholder()})
        msgBox(QStringLiteral("No COM port found or COM port number is over 16!"),
               MsgIcon::Exclamation, MsgButtons::Ok, QStringLiteral("COM port checking"));
}

QString PortListControl::settingsString() const {
    const MainControls& ui = ui_;
    return portSettingsString(ui.BaudChoice->currentText(), ui.ParityChoice->currentText(),
                              ui.DataBitChoice->currentText(), ui.StopBitChoice->currentText());
}

void PortListControl::ComSettings() {
    const MainControls& ui = ui_;
    ui.StatusBar1->setPanelText(
        QStringLiteral("Setting"),
        settingPanelText(settingsString(), handshakingText(session_.state().HandshakeName)));
    ui.StatusBar1->setPanelText(QStringLiteral("Status"),
                                statusPanelText(ui.portChoice->currentText()));
}

std::optional<int> PortListControl::portIndexToStore() const {
    const QComboBox* list = ui_.portChoice;
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->itemText(i);
    return storablePortIndex(entries, list->currentIndex());
}

} // namespace kst
