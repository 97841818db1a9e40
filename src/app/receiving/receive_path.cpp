#include "app/receiving/receive_path.h"

#include "app/main/main_controls.h"
#include "app/main/session.h"
#include "app/receiving/engine_dispatch.h"
#include "app/receiving/receive_display.h"
#include "app/sending/command_box_focus.h"
#include "platform/serial/line_settings.h"
#include "traffic/receive_lines.h"

#include <QCheckBox>

namespace kst {

namespace {

// Start, data, parity and stop bits of one character on the line.
int bitsPerCharacter(const comm::LineSettings& line) {
    return 1 + line.dataBits + (line.parity == comm::Parity::None ? 0 : 1) +
           (line.stopBits == comm::StopBits::One ? 1 : 2);
}

} // namespace

ReceivePath::ReceivePath(Session& session, const MainControls& ui, ReceiveDisplay& display,
                         ReceiveLines& lines, EngineDispatch& engines)
    : session_(session), ui_(ui), display_(display), lines_(lines), engines_(engines),
      cutter_(
          session.scheduler(), *this, session.state().NoDataTickLimit,
          [this](const QByteArray& block, BlockCutter::Cut cut) { blockReady(block, cut); },
          [this](BlockCutter::Cut cut) { blockEnded(cut); }) {}

QByteArray ReceivePath::take() {
    return session_.MSComm1().Input();
}

bool ReceivePath::isOpen() const {
    return session_.MSComm1().PortOpen();
}

// ---------------------------------------------------------------------------------------
// Receive events

void ReceivePath::primaryReceived() {
    comm::CommControl& port = session_.MSComm1();
    if (display_.mode() != ReceiveMode::Debugging) {
        showMonitored(port, port.Input());
        return;
    }
    display_.busy();
    display_.beepOnReceive();
    display_.setLed(Led::RX, true);
    const MainState& state = session_.state();
    cutter_.receiveEvent(ui_.Check1->isChecked() ? state.RxTimerMs : 0);
}

void ReceivePath::secondReceived() {
    comm::CommControl& port = session_.MSComm2();
    if (session_.state().TwoPortActive)
        showMonitored(port, port.Input());
}

void ReceivePath::showMonitored(const comm::CommControl& port, const QByteArray& data) {
    // A receive event queued behind bytes that were taken already has nothing to show.
    if (data.isEmpty())
        return;
    const qint64 elapsed = display_.elapsedMs();
    display_.busy();
    display_.beepOnReceive();
    if (session_.state().TwoPortActive) {
        const bool primary = &port == &session_.MSComm1();
        lines_.portData(elapsed, port.CommPort(), data, primary ? LogStyle::Rx1 : LogStyle::Rx2);
    } else {
        lines_.monitoredData(elapsed, data);
    }
    display_.ready();
}

// ---------------------------------------------------------------------------------------
// The end of a block

void ReceivePath::blockReady(const QByteArray& block, BlockCutter::Cut cut) {
    lines_.dataReceived(block);
    blockEnded(cut);
    if (cut == BlockCutter::Cut::FixedDelay)
        returnFocusToCommandBox(ui_, FocusReturn::AfterBlock);
    if (display_.mode() == ReceiveMode::Debugging)
        engines_.block(block);
}

void ReceivePath::blockEnded(BlockCutter::Cut cut) {
    display_.ready();
    display_.setLed(Led::RX, false);
    if (cut == BlockCutter::Cut::FixedDelay)
        display_.setLed(Led::TX, false);
}

// ---------------------------------------------------------------------------------------
// Sessions

void ReceivePath::portOpened() {
    cutter_.reset();
    const auto line = comm::SettingsText::parse(session_.MSComm1().Settings());
    cutter_.setGapTickMs(line ? BlockCutter::gapTickFor(line->baud, bitsPerCharacter(*line))
                              : BlockCutter::GapTickMs);
}

void ReceivePath::portClosing() {
    if (display_.mode() == ReceiveMode::Debugging) {
        const QByteArray unfinished = cutter_.takeUnfinished();
        if (!unfinished.isEmpty())
            lines_.dataReceived(unfinished);
        display_.setLed(Led::RX, false);
        return;
    }
    comm::CommControl& primary = session_.MSComm1();
    showMonitored(primary, primary.Input());
    secondReceived();
}

} // namespace kst
