#pragma once

#include "traffic/block_cutter.h"

#include <QByteArray>

namespace kst {

class EngineDispatch;
class ReceiveDisplay;
class ReceiveLines;
class Session;
struct MainControls;

namespace comm {
class CommControl;
}

// The received data of both ports. In Debugging / Simulating mode a receive event only
// arms the block cutter ("RX timer:" ticked: the fixed delay, else gap detection); each
// block it cuts is written as a "Data received: " line and offered to the engines. In
// Monitoring mode the event reads at once and writes stamped lines.
class ReceivePath : private BlockCutter::Input {
public:
    ReceivePath(Session& session, const MainControls& ui, ReceiveDisplay& display,
                ReceiveLines& lines, EngineDispatch& engines);

    // A receive event of the primary port, and of the second one (full duplex).
    void primaryReceived();
    void secondReceived();

    // A session starts empty, its gap tick fitted to the line's rate.
    void portOpened();
    // What was received and not yet written is written now, before the ports close,
    // and goes to no engine.
    void portClosing();

    const BlockCutter& cutter() const { return cutter_; }

private:
    // BlockCutter::Input: the primary port.
    QByteArray take() override;
    bool isOpen() const override;

    void blockReady(const QByteArray& block, BlockCutter::Cut cut);
    void blockEnded(BlockCutter::Cut cut);
    // Writes what a port read in Monitoring mode.
    void showMonitored(const comm::CommControl& port, const QByteArray& data);

    Session& session_;
    const MainControls& ui_;
    ReceiveDisplay& display_;
    ReceiveLines& lines_;
    EngineDispatch& engines_;
    BlockCutter cutter_;
};

} // namespace kst
